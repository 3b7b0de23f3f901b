#pragma once
// Network identity of this machine (IPv4 only), and the check that the program runs on the
// machine that serves the administration database.
#include <string>

namespace quorvel {

inline constexpr const char* HostNaoEncontrado = "Host inv\xE1lido ou n\xE3o encontrado";

// The first IPv4 address of the local host name, dotted decimal without leading zeros
// ("192.168.0.10"); empty text when the name has no IPv4 address.
std::string IPLocal();

// The host name an IPv4 dotted address resolves to; "Host inválido ou não encontrado" when the
// text is no address or the address does not resolve.
std::string NomeHost(const std::string& endereco);

// Whether `servidor` (the host part of the administration database's location) names this
// machine, by these rules in this order: it equals IPLocal; it equals, in upper case of a-z,
// NomeHost of IPLocal; it is "127.0.0.1"; in upper case it is "C" or "LOCALHOST"; it is, without
// regard to case, this machine's host name (short or full) or any of its IPv4 addresses. The
// first two rules apply only when IPLocal has an address, and the second only when that address
// resolves to a name, so an empty text (a location without a colon) never matches.
bool ServidorEhEstaMaquina(const std::string& servidor);

}  // namespace quorvel
