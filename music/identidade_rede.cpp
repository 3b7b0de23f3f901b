#include "music/identidade_rede.h"

#include "platform/caminhos.h"
#include "platform/rede.h"
#include "platform/texto.h"

namespace quorvel {

std::string IPLocal() {
    const SessaoSockets sockets(2, 0);
    const std::vector<std::string> enderecos = EnderecosIPv4(NomeHostLocal());
    return enderecos.empty() ? std::string() : enderecos.front();
}

std::string NomeHost(const std::string& endereco) {
    const SessaoSockets sockets(1, 1);
    if (!sockets.Iniciada()) return {};
    const std::string nome = NomeDoEndereco(endereco);
    return nome.empty() ? std::string(HostNaoEncontrado) : nome;
}

bool ServidorEhEstaMaquina(const std::string& servidor) {
    const std::string ip = IPLocal();
    if (!ip.empty()) {
        if (servidor == ip) return true;
        const std::string nome = NomeHost(ip);
        if (nome != HostNaoEncontrado && MaiusculasAscii(servidor) == MaiusculasAscii(nome)) return true;
    }
    const std::string maiusculo = MaiusculasAscii(servidor);
    if (servidor == "127.0.0.1" || maiusculo == "C" || maiusculo == "LOCALHOST") return true;
    // A server with several network cards, a VPN or a virtual adapter, or whose reverse lookup
    // answers with its full name, is still this machine when it is named by its own host name
    // (short or full) or by any of its IPv4 addresses.
    return NomeDesteComputador(servidor);
}

}  // namespace quorvel
