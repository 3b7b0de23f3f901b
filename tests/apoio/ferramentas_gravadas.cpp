#include "apoio/ferramentas_gravadas.h"

#include <cstdint>
#include <cstdio>
#include <cstdlib>
#include <filesystem>
#include <fstream>
#include <optional>
#include <sstream>
#include <stdexcept>

namespace fs = std::filesystem;

namespace quorvel::teste {

namespace {

std::optional<std::string> Conteudo(const std::string& caminho) {
    std::ifstream f(caminho, std::ios::binary);
    if (!f) return std::nullopt;
    std::ostringstream s;
    s << f.rdbuf();
    return s.str();
}

void Gravar(const std::string& caminho, const std::string& conteudo) {
    std::error_code erro;
    fs::create_directories(fs::path(caminho).parent_path(), erro);
    std::ofstream f(caminho, std::ios::binary | std::ios::trunc);
    f << conteudo;
    if (!f) throw std::runtime_error("cannot write " + caminho);
}

// Two 64-bit FNV-1a hashes with different starting values: a 128-bit key in hexadecimal.
std::string Chave(const std::string& dados) {
    uint64_t a = 14695981039346656037ull, b = 0x84222325cbf29ce4ull;
    for (unsigned char c : dados) {
        a = (a ^ c) * 1099511628211ull;
        b = (b ^ c) * 0x100000001b3ull;
        b ^= b >> 29;
    }
    char texto[40];
    std::snprintf(texto, sizeof texto, "%016llx%016llx", static_cast<unsigned long long>(a),
                  static_cast<unsigned long long>(b));
    return texto;
}

std::string Pasta(const char* variavel) {
    const char* v = std::getenv(variavel);
    return v && *v ? v : "";
}

}  // namespace

#ifdef _WIN32

bool FerramentasDisponiveis() { return !Pasta("QUORVEL_FERRAMENTAS_GRAVADAS").empty(); }

std::string PassoDeFerramenta(const std::string& descricao, const std::string& arquivo, bool leArquivo,
                              const std::function<std::string()>&) {
    const std::string pasta = Pasta("QUORVEL_FERRAMENTAS_GRAVADAS");
    std::string dados = descricao;
    if (leArquivo) dados += '\0' + Conteudo(arquivo).value_or("\x01 no file");
    const std::string base = pasta + "\\" + Chave(dados);
    const auto saida = Conteudo(base + ".saida");
    if (pasta.empty() || !saida)
        throw std::runtime_error("no recording of this step (scripts/windows.sh records them on Linux): " + descricao);
    if (const auto feito = Conteudo(base + ".arquivo")) Gravar(arquivo, *feito);
    return *saida;
}

#else

bool FerramentasDisponiveis() { return true; }

std::string PassoDeFerramenta(const std::string& descricao, const std::string& arquivo, bool leArquivo,
                              const std::function<std::string()>& executar) {
    const std::string pasta = Pasta("QUORVEL_GRAVAR_FERRAMENTAS");
    std::string dados = descricao;
    if (!pasta.empty() && leArquivo) dados += '\0' + Conteudo(arquivo).value_or("\x01 no file");
    const std::string saida = executar();
    if (!pasta.empty()) {
        const std::string base = pasta + "/" + Chave(dados);
        if (const auto feito = Conteudo(arquivo)) Gravar(base + ".arquivo", *feito);
        Gravar(base + ".saida", saida);
    }
    return saida;
}

#endif

}  // namespace quorvel::teste
