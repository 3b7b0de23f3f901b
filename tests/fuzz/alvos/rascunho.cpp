#include "alvos/rascunho.h"

#include <fcntl.h>
#include <unistd.h>

#include <cerrno>
#include <cstdio>
#include <cstdlib>
#include <filesystem>
#include <stdexcept>
#include <vector>

namespace fs = std::filesystem;

namespace quorvel::fuzz {

namespace {

class PastaProcesso {
public:
    PastaProcesso() {
        std::string base;
        if (const char* v = std::getenv("QUORVEL_FUZZ_PASTA"); v && *v) base = v;
        else if (fs::is_directory("/dev/shm")) base = "/dev/shm";
        else base = fs::temp_directory_path().string();
        std::string modelo = base + "/quorvel-fuzz-" + std::to_string(::getpid()) + "-XXXXXX";
        std::vector<char> buf(modelo.begin(), modelo.end());
        buf.push_back('\0');
        if (!::mkdtemp(buf.data())) throw std::runtime_error("mkdtemp failed in " + base);
        caminho_ = buf.data();
    }
    ~PastaProcesso() {
        std::error_code erro;
        fs::remove_all(caminho_, erro);
    }
    const std::string& Caminho() const { return caminho_; }

private:
    std::string caminho_;
};

bool lancarFalhas = false;

const PastaProcesso& Pasta() {
    static const PastaProcesso pasta;
    return pasta;
}

}  // namespace

std::string CaminhoRascunho(const std::string& nome) { return Pasta().Caminho() + "/" + nome; }

std::string GravarRascunho(const std::string& nome, const uint8_t* dados, size_t tamanho) {
    const std::string caminho = CaminhoRascunho(nome);
    const int fd = ::open(caminho.c_str(), O_WRONLY | O_CREAT | O_TRUNC | O_CLOEXEC, 0644);
    if (fd < 0) Falha("rascunho", "cannot create the scratch file", caminho);
    size_t feito = 0;
    while (feito < tamanho) {
        const ssize_t n = ::write(fd, dados + feito, tamanho - feito);
        if (n < 0 && errno == EINTR) continue;
        if (n <= 0) {
            ::close(fd);
            Falha("rascunho", "cannot write the scratch file", caminho);
        }
        feito += static_cast<size_t>(n);
    }
    ::close(fd);
    return caminho;
}

std::string GravarRascunho(const std::string& nome, const std::string& conteudo) {
    return GravarRascunho(nome, reinterpret_cast<const uint8_t*>(conteudo.data()), conteudo.size());
}

std::string LerRascunho(const std::string& caminho) {
    std::string conteudo;
    const int fd = ::open(caminho.c_str(), O_RDONLY | O_CLOEXEC);
    if (fd < 0) return conteudo;
    char bloco[65536];
    for (;;) {
        const ssize_t n = ::read(fd, bloco, sizeof bloco);
        if (n < 0 && errno == EINTR) continue;
        if (n <= 0) break;
        conteudo.append(bloco, static_cast<size_t>(n));
    }
    ::close(fd);
    return conteudo;
}

void LancarFalhas(bool lancar) { lancarFalhas = lancar; }

void Falha(const char* alvo, const char* regra, const std::string& detalhe) {
    if (lancarFalhas)
        throw FalhaAlvo(std::string(alvo) + ": " + regra + (detalhe.empty() ? "" : ": ") + detalhe);
    std::fprintf(stderr, "\n*** fuzz target %s: %s%s%s\n", alvo, regra, detalhe.empty() ? "" : ": ",
                 detalhe.c_str());
    std::fflush(stderr);
    std::abort();
}

}  // namespace quorvel::fuzz
