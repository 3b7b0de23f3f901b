#include "db/localizacao.h"

#include <cctype>

#include "platform/caminhos.h"

namespace quorvel {

bool ComecaComUnidade(const std::string& texto) {
    return texto.size() >= 2 && std::isalpha(static_cast<unsigned char>(texto[0])) &&
           texto[1] == ':' && (texto.size() == 2 || texto[2] == '\\' || texto[2] == '/');
}

namespace {

// The drive path of the text, mapped to this machine; the text itself when it has no drive.
std::string CaminhoLocal(const std::string& caminho) {
    if (!ComecaComUnidade(caminho)) return caminho;
    const std::string host = CaminhoHost(caminho);
    return host.empty() ? caminho : host;
}

}  // namespace

std::string LocalParaCliente(const std::string& local) {
    if (ComecaComUnidade(local)) return CaminhoLocal(local);
    // A UNC text (\\host\share\file) and any text without a colon are handed over unchanged.
    if (local.rfind("\\\\", 0) == 0) return local;
    const size_t doisPontos = local.find(':');
    if (doisPontos == std::string::npos || doisPontos == 0) return local;
    // "host:path" or "host/port:path" (the port, or a service name, after a slash).
    const std::string caminho = local.substr(doisPontos + 1);
    if (ComecaComUnidade(caminho) && NomeDesteComputador(HostDaLocalizacao(local)))
        return local.substr(0, doisPontos) + ":" + CaminhoLocal(caminho);
    return local;
}

std::string HostDaLocalizacao(const std::string& local) {
    const size_t doisPontos = local.find(':');
    if (doisPontos == std::string::npos) return {};
    const std::string prefixo = local.substr(0, doisPontos);
    return prefixo.substr(0, prefixo.find('/'));
}

}  // namespace quorvel
