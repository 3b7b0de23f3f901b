#include "platform/arquivos.h"

#include <algorithm>
#include <set>
#include <vector>

#ifndef _WIN32
#include <dirent.h>
#include <fcntl.h>
#include <sys/file.h>
#include <sys/stat.h>
#include <unistd.h>

#include <cerrno>
#endif

#include "platform/caminhos.h"
#include "platform/nome_temporario.h"
#include "platform/texto.h"

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

// Copies through a temporary file beside the destination, renamed over it at the end: the
// destination is the old file or the whole copy, never a part. Not flushed to the disk: a copy
// lost to a power cut is copied again by the next run.
bool CopiarArquivo(const std::string& origem, const std::string& destino) {
    auto entrada = Arquivo::Abrir(origem, Arquivo::Modo::Leitura);
    if (!entrada) return false;
    const int64_t tamanho = entrada->Tamanho();
    auto saida = ArquivoTemporario::Criar(destino);
    if (!saida || tamanho < 0) return false;
    if (!saida->Conteudo().CopiarDe(*entrada, 0, 0, tamanho)) return false;
    // Closed first: on Windows an open file cannot be replaced, and the destination may be the
    // source itself named in another case.
    entrada.reset();
    return saida->Substituir(origem, false);
}

// The part that goes through the program's memory, for every system and for what the system
// could not copy by itself.
bool Arquivo::CopiarPorBlocos(const Arquivo& origem, Arquivo& destino, int64_t de, int64_t para, int64_t n) {
    if (n <= 0) return n == 0;
    std::vector<char> bloco(static_cast<size_t>(std::min<int64_t>(n, int64_t{1} << 20)));
    while (n > 0) {
        const size_t pedido = static_cast<size_t>(std::min<int64_t>(n, static_cast<int64_t>(bloco.size())));
        if (origem.LerEm(de, bloco.data(), pedido) != pedido) return false;  // a read error, or a shorter file
        if (!destino.GravarEm(para, bloco.data(), pedido)) return false;
        de += static_cast<int64_t>(pedido);
        para += static_cast<int64_t>(pedido);
        n -= static_cast<int64_t>(pedido);
    }
    return true;
}

bool GravarArquivoCompleto(const std::string& caminho, const std::string& conteudo) {
    auto temporario = ArquivoTemporario::Criar(caminho);
    return temporario && temporario->Conteudo().GravarEm(0, conteudo.data(), conteudo.size()) &&
           temporario->Substituir(caminho, true);
}

#ifndef _WIN32

// POSIX (the Windows calls are in arquivos_windows.cpp).

namespace {

bool StatHost(const std::string& host, struct stat& st) { return !host.empty() && ::stat(host.c_str(), &st) == 0; }

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

// syncfs writes out a whole file system, data and names alike: one call covers every file there,
// however many.
bool SincronizarArquivos(const std::vector<std::string>& caminhos, std::string* falhou) {
    std::set<dev_t> feitos;
    for (const std::string& caminho : caminhos) {
        const std::string host = CaminhoHost(caminho);
        struct stat st;
        if (!StatHost(host, st) || feitos.count(st.st_dev)) continue;
        const int fd = ::open(host.c_str(), O_RDONLY | O_CLOEXEC);
        if (fd < 0) continue;
        const bool ok = ::syncfs(fd) == 0;
        ::close(fd);
        if (!ok) {
            if (falhou) *falhou = caminho;
            return false;
        }
        feitos.insert(st.st_dev);
    }
    return true;
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
    return std::unique_ptr<Arquivo>(new Arquivo(fd));
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

// copy_file_range copies inside the kernel; where it cannot (another file system, an old kernel,
// a file system without it) the rest goes through memory. A full disk or an I/O error is a
// failure, not a reason to try again.
bool Arquivo::CopiarDe(const Arquivo& origem, int64_t de, int64_t para, int64_t n) {
    if (de < 0 || para < 0 || n < 0) return false;
    while (n > 0) {
        off_t a = static_cast<off_t>(de), b = static_cast<off_t>(para);
        const ssize_t r = ::copy_file_range(origem.fd_, &a, fd_, &b, static_cast<size_t>(n), 0);
        if (r > 0) {
            de += r;
            para += r;
            n -= r;
            continue;
        }
        if (r == 0) return false;  // the source ends before n bytes
        if (errno == EINTR) continue;
        if (errno == EXDEV || errno == ENOSYS || errno == EINVAL || errno == EOPNOTSUPP || errno == EBADF) break;
        return false;
    }
    return CopiarPorBlocos(origem, *this, de, para, n);
}

// The temporary file holds an exclusive lock from its creation to its end: the cleaning of
// another run passes over it while this one still writes it.
std::unique_ptr<ArquivoTemporario> ArquivoTemporario::Criar(const std::string& destino) {
    const std::string host = CaminhoHost(destino);
    if (host.empty()) return nullptr;
    for (int tentativa = 0; tentativa < 100; ++tentativa) {
        std::string nome = host + SufixoTemporario();
        const int fd = ::open(nome.c_str(), O_RDWR | O_CREAT | O_EXCL | O_CLOEXEC, 0600);
        if (fd < 0) {
            if (errno == EEXIST) continue;
            return nullptr;
        }
        ::flock(fd, LOCK_EX | LOCK_NB);
        auto arquivo = std::unique_ptr<Arquivo>(new Arquivo(fd));
        return std::unique_ptr<ArquivoTemporario>(new ArquivoTemporario(std::move(arquivo), std::move(nome), host));
    }
    return nullptr;
}

ArquivoTemporario::~ArquivoTemporario() {
    if (concluido_) return;
    ::unlink(nome_.c_str());
    arquivo_.reset();
}

bool ArquivoTemporario::Substituir(const std::string& modelo, bool sincronizar) {
    if (concluido_ || !arquivo_) return false;
    struct stat st;
    const std::string modeloHost = modelo.empty() ? std::string() : CaminhoHost(modelo);
    const mode_t modo = StatHost(modeloHost, st) && S_ISREG(st.st_mode) ? (st.st_mode & 07777) : ModoPadrao();
    bool ok = ::fchmod(arquivo_->fd_, modo) == 0;
    if (ok && sincronizar) ok = arquivo_->Sincronizar();
    // Renamed while still open and locked, then closed.
    if (ok) ok = ::rename(nome_.c_str(), destino_.c_str()) == 0;
    if (!ok) return false;  // the destructor removes it
    concluido_ = true;
    arquivo_.reset();
    return true;
}

int LimparTemporariosAbandonados(const std::string& pasta, const std::string& deArquivo) {
    const std::string host = CaminhoHost(pasta);
    DIR* d = host.empty() ? nullptr : ::opendir(host.c_str());
    if (!d) return 0;
    const std::string deArquivoHost = Utf8De1252(deArquivo);
    const int dfd = ::dirfd(d);
    int removidos = 0;
    while (const dirent* e = ::readdir(d)) {
        const std::string nome = e->d_name;
        if (!NomeDeTemporario(nome, deArquivoHost)) continue;
        const int fd = ::openat(dfd, nome.c_str(), O_RDONLY | O_NOFOLLOW | O_NONBLOCK | O_CLOEXEC);
        if (fd < 0) continue;
        struct stat aberto, atual;
        // Only a file no running program holds, and still the one that was opened.
        if (::fstat(fd, &aberto) == 0 && S_ISREG(aberto.st_mode) && ::flock(fd, LOCK_EX | LOCK_NB) == 0 &&
            ::fstatat(dfd, nome.c_str(), &atual, AT_SYMLINK_NOFOLLOW) == 0 && atual.st_dev == aberto.st_dev &&
            atual.st_ino == aberto.st_ino && ::unlinkat(dfd, nome.c_str(), 0) == 0)
            ++removidos;
        ::close(fd);
    }
    ::closedir(d);
    return removidos;
}

#endif

}  // namespace quorvel
