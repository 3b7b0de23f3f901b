#pragma once
// Files on Windows path texts (mapped through CaminhoHost).
#include <cstddef>
#include <cstdint>
#include <memory>
#include <optional>
#include <string>

namespace quorvel {

bool ArquivoExiste(const std::string& caminho);  // true only for a file, not for a folder
bool PastaExiste(const std::string& caminho);
// Copies a file, replacing the destination. The copy is written beside the destination and
// renamed over it, so a destination is never left half-written. False on any failure.
bool CopiarArquivo(const std::string& origem, const std::string& destino);
bool ApagarArquivo(const std::string& caminho);
// Renames (replacing an existing destination atomically where the system allows).
bool RenomearArquivo(const std::string& origem, const std::string& destino);
// Clears the file's attributes: read-only, hidden, system (on Windows; elsewhere it gives the
// owner write permission).
bool LimparAtributos(const std::string& caminho);
bool CriarPasta(const std::string& caminho);  // creates missing parents too
// The whole content; nullopt when the file cannot be read.
std::optional<std::string> LerArquivo(const std::string& caminho);
// Writes (creates or replaces) a whole file through a temporary file and an atomic rename.
bool GravarArquivoCompleto(const std::string& caminho, const std::string& conteudo);
std::optional<int64_t> TamanhoArquivo(const std::string& caminho);

// An open file for positioned reads and in-place writes.
class Arquivo {
public:
    enum class Modo { Leitura, LeituraEscrita, Criar };
    // Opens; returns nullptr when the file cannot be opened in that mode.
    static std::unique_ptr<Arquivo> Abrir(const std::string& caminho, Modo modo);
    ~Arquivo();
    Arquivo(const Arquivo&) = delete;
    Arquivo& operator=(const Arquivo&) = delete;

    int64_t Tamanho() const;
    // Reads up to n bytes at the offset; returns the count read (short at the end of the file).
    size_t LerEm(int64_t posicao, void* destino, size_t n) const;
    // Writes all n bytes at the offset; false on failure.
    bool GravarEm(int64_t posicao, const void* origem, size_t n);
    bool Sincronizar();  // flushes the data to the disk
    const std::string& CaminhoHostAberto() const { return host_; }

private:
#ifdef _WIN32
    using Descritor = void*;  // HANDLE
#else
    using Descritor = int;
#endif
    Arquivo(Descritor fd, std::string host) : fd_(fd), host_(std::move(host)) {}
    Descritor fd_;
    std::string host_;
};

}  // namespace quorvel
