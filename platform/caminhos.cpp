#include "platform/caminhos.h"

#ifndef _WIN32
#include <sys/stat.h>
#endif

#include <algorithm>
#include <cstdlib>
#include <vector>

#include "platform/indice_pastas.h"
#include "platform/pasta_estado.h"
#include "platform/rede.h"
#include "platform/texto.h"

namespace quorvel {

#ifndef _WIN32

namespace {

bool EhSeparador(char c) { return c == '\\' || c == '/'; }

std::vector<std::string> Componentes(const std::string& resto) {
    std::vector<std::string> partes;
    std::string atual;
    for (char c : resto) {
        if (EhSeparador(c)) {
            if (!atual.empty()) partes.push_back(std::move(atual));
            atual.clear();
        } else {
            atual += c;
        }
    }
    if (!atual.empty()) partes.push_back(std::move(atual));
    return partes;
}

bool Existe(const std::string& host) {
    struct stat st;
    return ::lstat(host.c_str(), &st) == 0;
}

// Appends the components to a base folder, each found without regard to case while the path
// exists; from the first missing component on, the rest is kept as written.
std::string Resolver(std::string base, const std::vector<std::string>& partes) {
    bool existe = Existe(base);
    for (const auto& parte : partes) {
        if (parte == ".") continue;
        if (parte == "..") {
            const auto barra = base.find_last_of('/');
            if (barra != std::string::npos && barra > 0) base.erase(barra);
            continue;
        }
        std::string nome = Utf8De1252(parte);
        std::string candidato = base + "/" + nome;
        if (existe && !Existe(candidato)) {
            const std::string achado = EntradaSemCaixa(base, parte);
            if (!achado.empty()) candidato = base + "/" + achado;
            else existe = false;
        }
        base = std::move(candidato);
    }
    return base;
}

bool EhLetra(char c) { return (c >= 'A' && c <= 'Z') || (c >= 'a' && c <= 'z'); }

std::string CaminhoDaUnidade(char letra, const std::string& resto) {
    std::vector<std::string> partes{std::string(1, static_cast<char>(MinusculasAscii(std::string(1, letra))[0]))};
    for (auto& p : Componentes(resto)) partes.push_back(std::move(p));
    return Resolver(PastaUnidades(), partes);
}

}  // namespace

#endif

std::string ExtrairExtensao(const std::string& caminho) {
    const auto ponto = caminho.find_last_of('.');
    if (ponto == std::string::npos) return {};
    const auto separador = caminho.find_last_of("\\:");
    if (separador != std::string::npos && separador > ponto) return {};
    return caminho.substr(ponto);
}

std::string ExtrairNomeArquivo(const std::string& caminho) {
    const auto separador = caminho.find_last_of("\\:");
    return separador == std::string::npos ? caminho : caminho.substr(separador + 1);
}

std::string ExtrairCaminho(const std::string& caminho) {
    const auto separador = caminho.find_last_of("\\:");
    return separador == std::string::npos ? std::string() : caminho.substr(0, separador + 1);
}

#ifdef _WIN32

// Windows: the path texts are the system's own paths.

std::string PastaUnidades() { return {}; }

std::string CaminhoHost(const std::string& caminho) { return caminho; }

std::string CaminhoWindowsDeHost(const std::string& host) {
    std::string r = host;
    std::replace(r.begin(), r.end(), '/', '\\');
    return r;
}

#else

std::string PastaUnidades() {
    if (const char* v = std::getenv("QUORVEL_UNIDADES"); v && *v) {
        std::string p = v;
        while (p.size() > 1 && p.back() == '/') p.pop_back();
        return p;
    }
    return PastaPessoal() + "/.quorvel/unidades";
}

std::string CaminhoHost(const std::string& caminho) {
    if (caminho.size() >= 2 && EhLetra(caminho[0]) && caminho[1] == ':')
        return CaminhoDaUnidade(caminho[0], caminho.substr(2));
    if (caminho.size() >= 2 && EhSeparador(caminho[0]) && EhSeparador(caminho[1])) {
        // \\host\X\rest: only this machine's one-letter shares exist here.
        const auto partes = Componentes(caminho.substr(2));
        if (partes.size() < 2 || !NomeDesteComputador(partes[0])) return {};
        const std::string& compartilhamento = partes[1];
        if (compartilhamento.size() != 1 || !EhLetra(compartilhamento[0])) return {};
        std::string resto;
        for (size_t i = 2; i < partes.size(); ++i) resto += "\\" + partes[i];
        return CaminhoDaUnidade(compartilhamento[0], resto);
    }
    std::string r = Utf8De1252(caminho);
    std::replace(r.begin(), r.end(), '\\', '/');
    return r;
}

std::string CaminhoWindowsDeHost(const std::string& host) {
    const std::string base = PastaUnidades() + "/";
    if (host.size() >= base.size() + 1 && host.compare(0, base.size(), base) == 0 && EhLetra(host[base.size()]) &&
        (host.size() == base.size() + 1 || host[base.size() + 1] == '/')) {
        std::string resto = host.substr(base.size() + 1);
        std::replace(resto.begin(), resto.end(), '/', '\\');
        if (resto.empty()) resto = "\\";
        return MaiusculasAscii(std::string(1, host[base.size()])) + ":" + Utf8Para1252(resto);
    }
    return Utf8Para1252(host);
}

#endif

namespace {

// The name itself or its short form (the first label of a qualified name), without regard to case.
bool NomeOuFormaCurta(const std::string& host, const std::string& nome) {
    if (nome.empty()) return false;
    if (IguaisSemCaixa(host, nome)) return true;
    const auto ponto = nome.find('.');
    return ponto != std::string::npos && IguaisSemCaixa(host, nome.substr(0, ponto));
}

}  // namespace

bool NomeDesteComputador(const std::string& host) {
    if (host.empty()) return false;
    if (IguaisSemCaixa(host, "localhost") || host == "127.0.0.1") return true;
    const std::string local = NomeHostLocal();
    if (!local.empty()) {
        if (NomeOuFormaCurta(host, local)) return true;
        for (const auto& ip : EnderecosIPv4(local))
            if (host == ip) return true;
    }
    for (const auto& ip : EnderecosIPv4Locais())
        if (host == ip) return true;
    // The full name last: it may ask the resolver.
    return !local.empty() && NomeOuFormaCurta(host, NomeHostCompleto());
}

}  // namespace quorvel
