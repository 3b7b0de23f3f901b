// Files on Windows: the path texts are the system's own paths, converted from Windows-1252 to
// UTF-16 at each call (the POSIX calls are in arquivos.cpp).
#ifdef _WIN32
#include <windows.h>

#include <atomic>
#include <string>

#include "platform/arquivos.h"
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

bool Substituir(const std::wstring& de, const std::wstring& para) {
    return MoveFileExW(de.c_str(), para.c_str(), MOVEFILE_REPLACE_EXISTING | MOVEFILE_WRITE_THROUGH) != 0;
}

// A read-only file is replaced as on the other systems: its attribute is cleared first.
void PermitirSubstituicao(const std::wstring& destino) {
    const DWORD a = GetFileAttributesW(destino.c_str());
    if (a != INVALID_FILE_ATTRIBUTES && !(a & FILE_ATTRIBUTE_DIRECTORY) && (a & FILE_ATTRIBUTE_READONLY))
        SetFileAttributesW(destino.c_str(), a & ~static_cast<DWORD>(FILE_ATTRIBUTE_READONLY));
}

// A name beside `destino` for a temporary file: destino + ".~qv" + 8 hexadecimal digits.
std::wstring NomeTemporario(const std::wstring& destino) {
    static std::atomic<unsigned> contador{0};
    const unsigned n = (GetCurrentProcessId() * 2654435761u) ^ static_cast<unsigned>(GetTickCount64()) ^
                       (++contador * 40503u);
    wchar_t sufixo[16];
    swprintf(sufixo, 16, L".~qv%08x", n);
    return destino + sufixo;
}

// Makes a new temporary file beside `destino` with `criar(nome)`, which fails when the name is
// taken (CREATE_NEW, or a copy that may not overwrite); false when no free name was found or
// `criar` failed otherwise.
template <typename Criar>
bool CriarTemporario(const std::wstring& destino, std::wstring& nome, Criar criar) {
    for (int tentativa = 0; tentativa < 100; ++tentativa) {
        nome = NomeTemporario(destino);
        if (criar(nome)) return true;
        const DWORD erro = GetLastError();
        if (erro != ERROR_FILE_EXISTS && erro != ERROR_ALREADY_EXISTS) return false;
    }
    return false;
}

bool GravarTudo(HANDLE h, const char* dados, size_t n) {
    while (n > 0) {
        const DWORD pedido = n > (1u << 30) ? (1u << 30) : static_cast<DWORD>(n);
        DWORD escritos = 0;
        if (!WriteFile(h, dados, pedido, &escritos, nullptr) || escritos == 0) return false;
        dados += escritos;
        n -= escritos;
    }
    return true;
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

bool CopiarArquivo(const std::string& origem, const std::string& destino) {
    if (origem.empty() || destino.empty() || !ArquivoExiste(origem)) return false;
    const std::wstring de = Largo(origem), para = Largo(destino);
    std::wstring temporario;
    // The copy may not overwrite: a taken name is tried again with another.
    if (!CriarTemporario(para, temporario,
                         [&](const std::wstring& nome) { return CopyFileW(de.c_str(), nome.c_str(), TRUE) != 0; }))
        return false;
    PermitirSubstituicao(para);
    // The copy keeps the source's attributes; a read-only copy must still be renamed.
    if (Substituir(temporario, para)) return true;
    SetFileAttributesW(temporario.c_str(), FILE_ATTRIBUTE_NORMAL);
    DeleteFileW(temporario.c_str());
    return false;
}

bool ApagarArquivo(const std::string& caminho) {
    return !caminho.empty() && DeleteFileW(Largo(caminho).c_str()) != 0;
}

bool RenomearArquivo(const std::string& origem, const std::string& destino) {
    if (origem.empty() || destino.empty()) return false;
    const std::wstring para = Largo(destino);
    PermitirSubstituicao(para);
    return Substituir(Largo(origem), para);
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

bool GravarArquivoCompleto(const std::string& caminho, const std::string& conteudo) {
    if (caminho.empty()) return false;
    const std::wstring destino = Largo(caminho);
    std::wstring temporario;
    HANDLE h = INVALID_HANDLE_VALUE;
    if (!CriarTemporario(destino, temporario, [&](const std::wstring& nome) {
            h = CreateFileW(nome.c_str(), GENERIC_WRITE, 0, nullptr, CREATE_NEW, FILE_ATTRIBUTE_NORMAL, nullptr);
            return h != INVALID_HANDLE_VALUE;
        }))
        return false;
    bool ok = GravarTudo(h, conteudo.data(), conteudo.size()) && FlushFileBuffers(h);
    ok = CloseHandle(h) && ok;
    if (ok) {
        PermitirSubstituicao(destino);
        ok = Substituir(temporario, destino);
    }
    if (!ok) DeleteFileW(temporario.c_str());
    return ok;
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
    return std::unique_ptr<Arquivo>(new Arquivo(h, caminho));
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

}  // namespace quorvel

#endif
