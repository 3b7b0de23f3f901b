// Files on Windows: the path texts are the system's own paths, converted from Windows-1252 to
// UTF-16 at each call (the POSIX calls are in arquivos.cpp).
#ifdef _WIN32
#include <windows.h>

#include <string>

#include "platform/arquivos.h"
#include "platform/nome_temporario.h"
#include "platform/texto.h"
#include "platform/utf16.h"

namespace quorvel {

namespace {

std::wstring Largo(const std::string& caminho) {
    const std::u16string u = Utf16De1252(caminho);
    return std::wstring(u.begin(), u.end());
}

DWORD Atributos(const std::string& caminho) {
    if (caminho.empty()) return INVALID_FILE_ATTRIBUTES;
    return GetFileAttributesW(Largo(caminho).c_str());
}

bool MoverSubstituindo(const std::wstring& de, const std::wstring& para) {
    return MoveFileExW(de.c_str(), para.c_str(), MOVEFILE_REPLACE_EXISTING | MOVEFILE_WRITE_THROUGH) != 0;
}

// A read-only file is replaced as on the other systems: its attribute is cleared first.
void PermitirSubstituicao(const std::wstring& destino) {
    const DWORD a = GetFileAttributesW(destino.c_str());
    if (a != INVALID_FILE_ATTRIBUTES && !(a & FILE_ATTRIBUTE_DIRECTORY) && (a & FILE_ATTRIBUTE_READONLY))
        SetFileAttributesW(destino.c_str(), a & ~static_cast<DWORD>(FILE_ATTRIBUTE_READONLY));
}

OVERLAPPED Posicao(int64_t posicao) {
    OVERLAPPED o{};
    o.Offset = static_cast<DWORD>(static_cast<uint64_t>(posicao) & 0xFFFFFFFFu);
    o.OffsetHigh = static_cast<DWORD>(static_cast<uint64_t>(posicao) >> 32);
    return o;
}

}  // namespace

bool ArquivoExiste(const std::string& caminho) {
    const DWORD a = Atributos(caminho);
    return a != INVALID_FILE_ATTRIBUTES && !(a & FILE_ATTRIBUTE_DIRECTORY);
}

bool PastaExiste(const std::string& caminho) {
    const DWORD a = Atributos(caminho);
    return a != INVALID_FILE_ATTRIBUTES && (a & FILE_ATTRIBUTE_DIRECTORY);
}

bool ApagarArquivo(const std::string& caminho) {
    return !caminho.empty() && DeleteFileW(Largo(caminho).c_str()) != 0;
}

bool RenomearArquivo(const std::string& origem, const std::string& destino) {
    if (origem.empty() || destino.empty()) return false;
    const std::wstring para = Largo(destino);
    PermitirSubstituicao(para);
    return MoverSubstituindo(Largo(origem), para);
}

bool LimparAtributos(const std::string& caminho) {
    if (Atributos(caminho) == INVALID_FILE_ATTRIBUTES) return false;
    return SetFileAttributesW(Largo(caminho).c_str(), FILE_ATTRIBUTE_NORMAL) != 0 || PastaExiste(caminho);
}

bool CriarPasta(const std::string& caminho) {
    if (caminho.empty()) return false;
    // Every folder from the first one after the root: "C:\", "\\host\share\" are not created.
    size_t inicio = 0;
    if (caminho.size() >= 2 && caminho[1] == ':') {
        inicio = 2;
    } else if (caminho.size() >= 2 && (caminho[0] == '\\' || caminho[0] == '/') &&
               (caminho[1] == '\\' || caminho[1] == '/')) {
        const size_t host = caminho.find_first_of("\\/", 2);
        const size_t compartilhamento = host == std::string::npos ? host : caminho.find_first_of("\\/", host + 1);
        if (compartilhamento == std::string::npos) return PastaExiste(caminho);
        inicio = compartilhamento;
    }
    for (size_t i = inicio + 1; i <= caminho.size(); ++i) {
        if (i == caminho.size() || caminho[i] == '\\' || caminho[i] == '/') {
            const std::string parte = caminho.substr(0, i);
            if (parte.empty() || parte.back() == ':' || parte.back() == '\\' || parte.back() == '/') continue;
            if (!CreateDirectoryW(Largo(parte).c_str(), nullptr) && GetLastError() != ERROR_ALREADY_EXISTS)
                return false;
        }
    }
    return PastaExiste(caminho);
}

// Windows has no flush of a whole volume for a program without rights over the volume: each file
// is flushed through a handle opened for writing. A file that cannot be opened so (gone, or made
// read-only) is passed over.
bool SincronizarArquivos(const std::vector<std::string>& caminhos, std::string* falhou) {
    for (const std::string& caminho : caminhos) {
        if (caminho.empty()) continue;
        const HANDLE h = CreateFileW(Largo(caminho).c_str(), GENERIC_WRITE,
                                     FILE_SHARE_READ | FILE_SHARE_WRITE | FILE_SHARE_DELETE, nullptr, OPEN_EXISTING,
                                     FILE_ATTRIBUTE_NORMAL, nullptr);
        if (h == INVALID_HANDLE_VALUE) continue;
        const bool ok = FlushFileBuffers(h) != 0;
        CloseHandle(h);
        if (!ok) {
            if (falhou) *falhou = caminho;
            return false;
        }
    }
    return true;
}

std::optional<int64_t> TamanhoArquivo(const std::string& caminho) {
    WIN32_FILE_ATTRIBUTE_DATA dados;
    if (caminho.empty() || !GetFileAttributesExW(Largo(caminho).c_str(), GetFileExInfoStandard, &dados) ||
        (dados.dwFileAttributes & FILE_ATTRIBUTE_DIRECTORY))
        return std::nullopt;
    return static_cast<int64_t>((static_cast<uint64_t>(dados.nFileSizeHigh) << 32) | dados.nFileSizeLow);
}

std::unique_ptr<Arquivo> Arquivo::Abrir(const std::string& caminho, Modo modo) {
    if (caminho.empty()) return nullptr;
    DWORD acesso = GENERIC_READ, criacao = OPEN_EXISTING;
    switch (modo) {
        case Modo::Leitura: break;
        case Modo::LeituraEscrita: acesso |= GENERIC_WRITE; break;
        case Modo::Criar: acesso |= GENERIC_WRITE; criacao = CREATE_ALWAYS; break;
    }
    // Shared as POSIX files are: others may read, write, rename or delete meanwhile. A folder
    // does not open (no FILE_FLAG_BACKUP_SEMANTICS).
    const HANDLE h = CreateFileW(Largo(caminho).c_str(), acesso, FILE_SHARE_READ | FILE_SHARE_WRITE | FILE_SHARE_DELETE,
                                 nullptr, criacao, FILE_ATTRIBUTE_NORMAL, nullptr);
    if (h == INVALID_HANDLE_VALUE) return nullptr;
    return std::unique_ptr<Arquivo>(new Arquivo(h));
}

Arquivo::~Arquivo() { CloseHandle(fd_); }

int64_t Arquivo::Tamanho() const {
    LARGE_INTEGER t;
    return GetFileSizeEx(fd_, &t) ? static_cast<int64_t>(t.QuadPart) : -1;
}

size_t Arquivo::LerEm(int64_t posicao, void* destino, size_t n) const {
    if (posicao < 0) return 0;
    size_t lidos = 0;
    auto* p = static_cast<char*>(destino);
    while (lidos < n) {
        OVERLAPPED o = Posicao(posicao + static_cast<int64_t>(lidos));
        const DWORD pedido = n - lidos > (1u << 30) ? (1u << 30) : static_cast<DWORD>(n - lidos);
        DWORD r = 0;
        if (!ReadFile(fd_, p + lidos, pedido, &r, &o) || r == 0) break;  // ERROR_HANDLE_EOF at the end
        lidos += r;
    }
    return lidos;
}

bool Arquivo::GravarEm(int64_t posicao, const void* origem, size_t n) {
    if (posicao < 0) return false;
    size_t gravados = 0;
    const auto* p = static_cast<const char*>(origem);
    while (gravados < n) {
        OVERLAPPED o = Posicao(posicao + static_cast<int64_t>(gravados));
        const DWORD pedido = n - gravados > (1u << 30) ? (1u << 30) : static_cast<DWORD>(n - gravados);
        DWORD w = 0;
        if (!WriteFile(fd_, p + gravados, pedido, &w, &o) || w == 0) return false;
        gravados += w;
    }
    return true;
}

bool Arquivo::Sincronizar() { return FlushFileBuffers(fd_) != 0; }

bool Arquivo::CopiarDe(const Arquivo& origem, int64_t de, int64_t para, int64_t n) {
    return de >= 0 && para >= 0 && CopiarPorBlocos(origem, *this, de, para, n);
}

// Created without sharing for writing or deleting: while it is open, another run's cleaning
// cannot remove it.
std::unique_ptr<ArquivoTemporario> ArquivoTemporario::Criar(const std::string& destino) {
    if (destino.empty()) return nullptr;
    for (int tentativa = 0; tentativa < 100; ++tentativa) {
        std::string nome = destino + SufixoTemporario();
        const HANDLE h = CreateFileW(Largo(nome).c_str(), GENERIC_READ | GENERIC_WRITE, FILE_SHARE_READ, nullptr,
                                     CREATE_NEW, FILE_ATTRIBUTE_NORMAL, nullptr);
        if (h == INVALID_HANDLE_VALUE) {
            const DWORD erro = GetLastError();
            if (erro == ERROR_FILE_EXISTS || erro == ERROR_ALREADY_EXISTS) continue;
            return nullptr;
        }
        auto arquivo = std::unique_ptr<Arquivo>(new Arquivo(h));
        return std::unique_ptr<ArquivoTemporario>(new ArquivoTemporario(std::move(arquivo), std::move(nome), destino));
    }
    return nullptr;
}

ArquivoTemporario::~ArquivoTemporario() {
    if (concluido_) return;
    arquivo_.reset();
    DeleteFileW(Largo(nome_).c_str());
}

bool ArquivoTemporario::Substituir(const std::string& modelo, bool sincronizar) {
    if (concluido_ || !arquivo_) return false;
    // The attributes that a copy keeps (read-only, hidden, system, archive), set on the final
    // file after the rename, so that the temporary file itself is never read-only.
    constexpr DWORD kMantidos =
        FILE_ATTRIBUTE_READONLY | FILE_ATTRIBUTE_HIDDEN | FILE_ATTRIBUTE_SYSTEM | FILE_ATTRIBUTE_ARCHIVE;
    const DWORD a = modelo.empty() ? INVALID_FILE_ATTRIBUTES : Atributos(modelo);
    const DWORD atributos = (a == INVALID_FILE_ATTRIBUTES || (a & FILE_ATTRIBUTE_DIRECTORY)) ? 0 : (a & kMantidos);
    bool ok = !sincronizar || arquivo_->Sincronizar();
    arquivo_.reset();
    const std::wstring destino = Largo(destino_);
    if (ok) {
        PermitirSubstituicao(destino);
        ok = MoverSubstituindo(Largo(nome_), destino);
    }
    if (!ok) return false;  // the destructor removes it
    concluido_ = true;
    if (atributos) SetFileAttributesW(destino.c_str(), atributos);
    return true;
}

int LimparTemporariosAbandonados(const std::string& pasta, const std::string& deArquivo) {
    if (!PastaExiste(pasta)) return 0;
    std::string base = pasta;
    if (base.back() != '\\' && base.back() != '/') base += '\\';
    const std::wstring baseLarga = Largo(base);
    WIN32_FIND_DATAW dados;
    const HANDLE busca = FindFirstFileW((baseLarga + L"*").c_str(), &dados);
    if (busca == INVALID_HANDLE_VALUE) return 0;
    int removidos = 0;
    do {
        if (dados.dwFileAttributes & FILE_ATTRIBUTE_DIRECTORY) continue;
        const std::wstring largo = dados.cFileName;
        const std::string nome = Utf16Para1252(std::u16string(largo.begin(), largo.end()));
        if (!NomeDeTemporario(nome, deArquivo)) continue;
        const std::wstring caminho = baseLarga + largo;
        // A file still open in a running program is not shared for deleting and stays. A
        // read-only one (an earlier version's copy kept the source's attributes) is cleared first.
        if (dados.dwFileAttributes & FILE_ATTRIBUTE_READONLY)
            SetFileAttributesW(caminho.c_str(), dados.dwFileAttributes & ~static_cast<DWORD>(FILE_ATTRIBUTE_READONLY));
        if (DeleteFileW(caminho.c_str())) ++removidos;
    } while (FindNextFileW(busca, &dados));
    FindClose(busca);
    return removidos;
}

}  // namespace quorvel

#endif
