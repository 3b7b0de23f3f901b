#include "platform/arquivos.h"

#ifndef _WIN32
#include <fcntl.h>
#include <sys/stat.h>
#include <unistd.h>

#include <cerrno>
#include <cstdlib>
#include <vector>
#endif

#include "platform/caminhos.h"

namespace quorvel {

// The same content read on every system, through the positioned reads of Arquivo.
std::optional<std::string> LerArquivo(const std::string& caminho) {
    auto arquivo = Arquivo::Abrir(caminho, Arquivo::Modo::Leitura);
    if (!arquivo) return std::nullopt;
    const int64_t tamanho = arquivo->Tamanho();
    if (tamanho < 0) return std::nullopt;
    std::string conteudo(static_cast<size_t>(tamanho), '\0');
    if (arquivo->LerEm(0, conteudo.data(), conteudo.size()) != conteudo.size()) return std::nullopt;
    return conteudo;
}

#ifndef _WIN32

// POSIX (the Windows calls are in arquivos_windows.cpp).

namespace {

bool StatHost(const std::string& host, struct stat& st) { return !host.empty() && ::stat(host.c_str(), &st) == 0; }

bool GravarTudo(int fd, const char* dados, size_t n) {
    while (n > 0) {
        const ssize_t w = ::write(fd, dados, n);
        if (w < 0) {
            if (errno == EINTR) continue;
            return false;
        }
        dados += w;
        n -= static_cast<size_t>(w);
    }
    return true;
}

// A new, empty temporary file beside `destinoHost`; its descriptor and name.
int CriarTemporario(const std::string& destinoHost, std::string& nome) {
    std::vector<char> modelo(destinoHost.begin(), destinoHost.end());
    const char sufixo[] = ".~qvXXXXXX";
    modelo.insert(modelo.end(), sufixo, sufixo + sizeof sufixo);  // includes the NUL
    const int fd = ::mkstemp(modelo.data());
    if (fd >= 0) nome = modelo.data();
    return fd;
}

// Writes a whole new file through a temporary file renamed over the destination. The producer
// writes into the descriptor; `sincronizar` flushes the data to the disk before the rename.
template <typename Produtor>
bool SubstituirPorTemporario(const std::string& destinoHost, mode_t modo, bool sincronizar, Produtor produzir) {
    if (destinoHost.empty()) return false;
    std::string temporario;
    const int fd = CriarTemporario(destinoHost, temporario);
    if (fd < 0) return false;
    bool ok = produzir(fd);
    if (ok) ok = ::fchmod(fd, modo) == 0;
    if (ok && sincronizar) ok = ::fsync(fd) == 0;
    ok = (::close(fd) == 0) && ok;
    if (ok) ok = ::rename(temporario.c_str(), destinoHost.c_str()) == 0;
    if (!ok) ::unlink(temporario.c_str());
    return ok;
}

mode_t ModoPadrao() {
    const mode_t mascara = ::umask(0);
    ::umask(mascara);
    return 0666 & ~mascara;
}

}  // namespace

bool ArquivoExiste(const std::string& caminho) {
    struct stat st;
    return StatHost(CaminhoHost(caminho), st) && S_ISREG(st.st_mode);
}

bool PastaExiste(const std::string& caminho) {
    struct stat st;
    return StatHost(CaminhoHost(caminho), st) && S_ISDIR(st.st_mode);
}

bool CopiarArquivo(const std::string& origem, const std::string& destino) {
    const std::string origemHost = CaminhoHost(origem);
    const int entrada = origemHost.empty() ? -1 : ::open(origemHost.c_str(), O_RDONLY | O_CLOEXEC);
    if (entrada < 0) return false;
    struct stat st;
    if (::fstat(entrada, &st) != 0 || !S_ISREG(st.st_mode)) {
        ::close(entrada);
        return false;
    }
    const bool ok = SubstituirPorTemporario(CaminhoHost(destino), st.st_mode & 07777, false, [&](int saida) {
        std::vector<char> buffer(1 << 20);
        for (;;) {
            const ssize_t r = ::read(entrada, buffer.data(), buffer.size());
            if (r < 0) {
                if (errno == EINTR) continue;
                return false;
            }
            if (r == 0) return true;
            if (!GravarTudo(saida, buffer.data(), static_cast<size_t>(r))) return false;
        }
    });
    ::close(entrada);
    return ok;
}

bool ApagarArquivo(const std::string& caminho) {
    const std::string host = CaminhoHost(caminho);
    return !host.empty() && ::unlink(host.c_str()) == 0;
}

bool RenomearArquivo(const std::string& origem, const std::string& destino) {
    const std::string de = CaminhoHost(origem), para = CaminhoHost(destino);
    return !de.empty() && !para.empty() && ::rename(de.c_str(), para.c_str()) == 0;
}

bool LimparAtributos(const std::string& caminho) {
    const std::string host = CaminhoHost(caminho);
    struct stat st;
    if (!StatHost(host, st)) return false;
    return ::chmod(host.c_str(), (st.st_mode & 07777) | S_IWUSR) == 0;
}

bool CriarPasta(const std::string& caminho) {
    const std::string host = CaminhoHost(caminho);
    if (host.empty()) return false;
    for (size_t i = 1; i <= host.size(); ++i) {
        if (i == host.size() || host[i] == '/') {
            const std::string parte = host.substr(0, i);
            if (::mkdir(parte.c_str(), 0777) != 0 && errno != EEXIST) return false;
        }
    }
    struct stat st;
    return StatHost(host, st) && S_ISDIR(st.st_mode);
}

bool GravarArquivoCompleto(const std::string& caminho, const std::string& conteudo) {
    const std::string host = CaminhoHost(caminho);
    struct stat st;
    const mode_t modo = StatHost(host, st) ? (st.st_mode & 07777) : ModoPadrao();
    return SubstituirPorTemporario(host, modo, true,
                                   [&](int fd) { return GravarTudo(fd, conteudo.data(), conteudo.size()); });
}

std::optional<int64_t> TamanhoArquivo(const std::string& caminho) {
    struct stat st;
    if (!StatHost(CaminhoHost(caminho), st) || !S_ISREG(st.st_mode)) return std::nullopt;
    return static_cast<int64_t>(st.st_size);
}

std::unique_ptr<Arquivo> Arquivo::Abrir(const std::string& caminho, Modo modo) {
    std::string host = CaminhoHost(caminho);
    if (host.empty()) return nullptr;
    int flags = O_CLOEXEC;
    switch (modo) {
        case Modo::Leitura: flags |= O_RDONLY; break;
        case Modo::LeituraEscrita: flags |= O_RDWR; break;
        case Modo::Criar: flags |= O_RDWR | O_CREAT | O_TRUNC; break;
    }
    const int fd = ::open(host.c_str(), flags, 0666);
    if (fd < 0) return nullptr;
    struct stat st;
    if (::fstat(fd, &st) != 0 || !S_ISREG(st.st_mode)) {
        ::close(fd);
        return nullptr;
    }
    return std::unique_ptr<Arquivo>(new Arquivo(fd, std::move(host)));
}

Arquivo::~Arquivo() { ::close(fd_); }

int64_t Arquivo::Tamanho() const {
    struct stat st;
    return ::fstat(fd_, &st) == 0 ? static_cast<int64_t>(st.st_size) : -1;
}

size_t Arquivo::LerEm(int64_t posicao, void* destino, size_t n) const {
    if (posicao < 0) return 0;
    size_t lidos = 0;
    auto* p = static_cast<char*>(destino);
    while (lidos < n) {
        const ssize_t r = ::pread(fd_, p + lidos, n - lidos, static_cast<off_t>(posicao + static_cast<int64_t>(lidos)));
        if (r < 0) {
            if (errno == EINTR) continue;
            break;
        }
        if (r == 0) break;
        lidos += static_cast<size_t>(r);
    }
    return lidos;
}

bool Arquivo::GravarEm(int64_t posicao, const void* origem, size_t n) {
    if (posicao < 0) return false;
    size_t gravados = 0;
    const auto* p = static_cast<const char*>(origem);
    while (gravados < n) {
        const ssize_t w =
            ::pwrite(fd_, p + gravados, n - gravados, static_cast<off_t>(posicao + static_cast<int64_t>(gravados)));
        if (w < 0) {
            if (errno == EINTR) continue;
            return false;
        }
        gravados += static_cast<size_t>(w);
    }
    return true;
}

bool Arquivo::Sincronizar() { return ::fsync(fd_) == 0; }

#endif

}  // namespace quorvel
