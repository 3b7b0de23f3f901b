#pragma once
// Files on Windows path texts (mapped through CaminhoHost).
#include <cstddef>
#include <cstdint>
#include <memory>
#include <optional>
#include <string>
#include <vector>

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
// Flushes to the disk what was written to these files and the folders that name them (on Linux,
// the whole file system each one is on, once per file system). A file that is no longer there is
// passed over. False, with the file's path in `falhou`, when the system reports a failure.
bool SincronizarArquivos(const std::vector<std::string>& caminhos, std::string* falhou = nullptr);

// Removes from the folder the temporary files that a killed run of the program left behind: files
// named like those ArquivoTemporario makes (a name, ".~qv", then 6 or 8 letters or digits; no
// other program makes such names) that no running program holds. With `deArquivo` only those of
// that one file name ("Seq.ini"). Every other file stays, whatever its name. Returns the number
// removed; a folder that does not exist has none.
int LimparTemporariosAbandonados(const std::string& pasta, const std::string& deArquivo = "");

class ArquivoTemporario;

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
    // Copies n bytes of `origem`, from its offset `de`, to this file's offset `para`; false when
    // the source has fewer bytes there or a write fails (what was copied before stays written). Inside the system where it can (no pass
    // through the program's memory), by reads and writes otherwise.
    bool CopiarDe(const Arquivo& origem, int64_t de, int64_t para, int64_t n);
    bool Sincronizar();  // flushes the data to the disk

private:
    friend class ArquivoTemporario;
    // The copy through the program's memory, in blocks.
    static bool CopiarPorBlocos(const Arquivo& origem, Arquivo& destino, int64_t de, int64_t para, int64_t n);
#ifdef _WIN32
    using Descritor = void*;  // HANDLE
#else
    using Descritor = int;
#endif
    explicit Arquivo(Descritor fd) : fd_(fd) {}
    Descritor fd_;
};

// A new file beside a destination, to be written whole and then put in the destination's place.
// It is created exclusively (never opening a file that exists) under a name no file had: the
// destination's name followed by ".~qv" and 8 random letters and digits, the mark by which
// LimparTemporariosAbandonados knows it. While it lives, no other run's cleaning removes it. It is
// removed on every path that does not end in a successful Substituir, also when the caller fails.
class ArquivoTemporario {
public:
    // nullptr when no such file could be made (missing folder, no permission, ...).
    static std::unique_ptr<ArquivoTemporario> Criar(const std::string& destino);
    ~ArquivoTemporario();
    ArquivoTemporario(const ArquivoTemporario&) = delete;
    ArquivoTemporario& operator=(const ArquivoTemporario&) = delete;

    Arquivo& Conteudo() { return *arquivo_; }
    const std::string& Nome() const { return nome_; }  // the temporary file's own path (host form)

    // Gives it the permissions of the file `modelo` (the defaults when `modelo` is empty or no
    // file), flushes its data to the disk when `sincronizar`, and renames it over the destination,
    // replacing a file there atomically. False, and the temporary file removed, on any failure.
    bool Substituir(const std::string& modelo, bool sincronizar = true);

private:
    ArquivoTemporario(std::unique_ptr<Arquivo> arquivo, std::string nome, std::string destino)
        : arquivo_(std::move(arquivo)), nome_(std::move(nome)), destino_(std::move(destino)) {}
    std::unique_ptr<Arquivo> arquivo_;
    std::string nome_;     // host form
    std::string destino_;  // host form
    bool concluido_ = false;
};

}  // namespace quorvel
