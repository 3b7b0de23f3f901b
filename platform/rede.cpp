#include "platform/rede.h"

#ifdef _WIN32
#include <winsock2.h>
#include <ws2tcpip.h>
#else
#include <arpa/inet.h>
#include <ifaddrs.h>
#include <netdb.h>
#include <netinet/in.h>
#include <sys/socket.h>
#include <unistd.h>
#endif

#include <cstring>

namespace quorvel {

#ifdef _WIN32

SessaoSockets::SessaoSockets(int maior, int menor) {
    WSADATA dados;
    iniciada_ = WSAStartup(MAKEWORD(maior, menor), &dados) == 0;
}

SessaoSockets::~SessaoSockets() {
    if (iniciada_) WSACleanup();
}

#else

SessaoSockets::SessaoSockets(int, int) : iniciada_(true) {}
SessaoSockets::~SessaoSockets() = default;

#endif

namespace {
std::string Pontuado(const in_addr& a) {
    char buf[INET_ADDRSTRLEN] = {};
    ::inet_ntop(AF_INET, &a, buf, sizeof buf);
    return buf;
}
}  // namespace

std::string NomeHostLocal() {
    const SessaoSockets sockets;
    if (!sockets.Iniciada()) return {};
    char buf[256] = {};
    if (::gethostname(buf, sizeof buf - 1) != 0) return {};
    return buf;
}

std::string NomeHostCompleto() {
    const std::string nome = NomeHostLocal();
    if (nome.empty()) return {};
    const SessaoSockets sockets;
    if (!sockets.Iniciada()) return nome;
    addrinfo dica{};
    dica.ai_family = AF_UNSPEC;
    dica.ai_socktype = SOCK_STREAM;
    dica.ai_flags = AI_CANONNAME;
    addrinfo* lista = nullptr;
    if (::getaddrinfo(nome.c_str(), nullptr, &dica, &lista) != 0) return nome;
    std::string completo = lista && lista->ai_canonname ? lista->ai_canonname : "";
    ::freeaddrinfo(lista);
    return completo.empty() ? nome : completo;
}

std::vector<std::string> EnderecosIPv4(const std::string& nome) {
    std::vector<std::string> r;
    if (nome.empty()) return r;
    const SessaoSockets sockets;
    if (!sockets.Iniciada()) return r;
    addrinfo dica{};
    dica.ai_family = AF_INET;
    dica.ai_socktype = SOCK_STREAM;
    addrinfo* lista = nullptr;
    if (::getaddrinfo(nome.c_str(), nullptr, &dica, &lista) != 0) return r;
    for (addrinfo* a = lista; a; a = a->ai_next) {
        if (a->ai_family != AF_INET) continue;
        const std::string ip = Pontuado(reinterpret_cast<sockaddr_in*>(a->ai_addr)->sin_addr);
        bool repetido = false;
        for (const auto& x : r) repetido = repetido || x == ip;
        if (!repetido) r.push_back(ip);
    }
    ::freeaddrinfo(lista);
    return r;
}

#ifdef _WIN32

// Windows resolves its own host name to the addresses of all its interfaces.
std::vector<std::string> EnderecosIPv4Locais() {
    std::vector<std::string> r = EnderecosIPv4(NomeHostLocal());
    r.insert(r.begin(), "127.0.0.1");
    return r;
}

#else

std::vector<std::string> EnderecosIPv4Locais() {
    std::vector<std::string> r;
    ifaddrs* lista = nullptr;
    if (::getifaddrs(&lista) != 0) return r;
    for (ifaddrs* a = lista; a; a = a->ifa_next)
        if (a->ifa_addr && a->ifa_addr->sa_family == AF_INET)
            r.push_back(Pontuado(reinterpret_cast<sockaddr_in*>(a->ifa_addr)->sin_addr));
    ::freeifaddrs(lista);
    return r;
}

#endif

std::string NomeDoEndereco(const std::string& endereco) {
    const SessaoSockets sockets;
    if (!sockets.Iniciada()) return {};
    sockaddr_in sa{};
    sa.sin_family = AF_INET;
    if (::inet_pton(AF_INET, endereco.c_str(), &sa.sin_addr) != 1) return {};
    char nome[NI_MAXHOST] = {};
    if (::getnameinfo(reinterpret_cast<sockaddr*>(&sa), sizeof sa, nome, sizeof nome, nullptr, 0, NI_NAMEREQD) != 0)
        return {};
    return nome;
}

}  // namespace quorvel
