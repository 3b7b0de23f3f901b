#pragma once
// Host identity through the sockets layer, IPv4 only.
#include <string>
#include <vector>

namespace quorvel {

std::string NomeHostLocal();  // the local host name (at most 255 characters)
// The IPv4 addresses of a name in the resolver's order, dotted decimal; empty when none.
std::vector<std::string> EnderecosIPv4(const std::string& nome);
// The IPv4 addresses of this machine's network interfaces, dotted decimal.
std::vector<std::string> EnderecosIPv4Locais();
// The host name an IPv4 dotted address resolves to; empty when the text is no address or the
// address does not resolve.
std::string NomeDoEndereco(const std::string& endereco);

}  // namespace quorvel
