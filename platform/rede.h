#pragma once
// Host identity through the sockets layer, IPv4 only.
#include <string>
#include <vector>

namespace quorvel {

// The sockets layer for the life of the object: on Windows WSAStartup with the version asked for
// (and WSACleanup at the end; Winsock counts the sessions), elsewhere nothing to start. Every
// function below opens its own session.
class SessaoSockets {
public:
    explicit SessaoSockets(int maior = 2, int menor = 2);
    ~SessaoSockets();
    SessaoSockets(const SessaoSockets&) = delete;
    SessaoSockets& operator=(const SessaoSockets&) = delete;
    bool Iniciada() const { return iniciada_; }

private:
    bool iniciada_ = false;
};

std::string NomeHostLocal();  // the local host name (at most 255 characters)
// The full name of this machine as its resolver knows it ("servidor.radio.local"); the host
// name itself when the resolver knows no other, empty when it has none.
std::string NomeHostCompleto();
// The IPv4 addresses of a name in the resolver's order, dotted decimal; empty when none.
std::vector<std::string> EnderecosIPv4(const std::string& nome);
// The IPv4 addresses of this machine's network interfaces, dotted decimal.
std::vector<std::string> EnderecosIPv4Locais();
// The host name an IPv4 dotted address resolves to; empty when the text is no address or the
// address does not resolve.
std::string NomeDoEndereco(const std::string& endereco);

}  // namespace quorvel
