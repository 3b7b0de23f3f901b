#include "platform/programa.h"

#include "platform/erros.h"
#include "platform/texto.h"

#ifdef _WIN32
#include <fcntl.h>
#include <io.h>
#include <windows.h>
#include <shellapi.h>

#include <cstdio>

#include "platform/utf16.h"
#else
#include <unistd.h>
#endif

namespace quorvel {

#ifdef _WIN32

std::string PastaDoPrograma() {
    std::wstring caminho(MAX_PATH, L'\0');
    for (;;) {
        const DWORD n = GetModuleFileNameW(nullptr, caminho.data(), static_cast<DWORD>(caminho.size()));
        if (n == 0) throw Erro("Cannot find the program's folder");
        if (n < caminho.size()) {
            caminho.resize(n);
            break;
        }
        caminho.resize(caminho.size() * 2);  // a long path: the name was cut
    }
    const auto barra = caminho.find_last_of(L"\\/");
    if (barra != std::wstring::npos) caminho.resize(barra);
    return Utf16Para1252(std::u16string(caminho.begin(), caminho.end()));
}

std::vector<std::string> ArgumentosUtf8(int argc, char** argv) {
    int n = 0;
    wchar_t** largos = CommandLineToArgvW(GetCommandLineW(), &n);
    std::vector<std::string> r;
    if (!largos) {
        for (int i = 0; i < argc; ++i) r.emplace_back(argv[i]);
        return r;
    }
    for (int i = 0; i < n; ++i) {
        const int tamanho = WideCharToMultiByte(CP_UTF8, 0, largos[i], -1, nullptr, 0, nullptr, nullptr);
        std::string texto(tamanho > 0 ? static_cast<size_t>(tamanho) : 1, '\0');
        if (tamanho > 0) WideCharToMultiByte(CP_UTF8, 0, largos[i], -1, texto.data(), tamanho, nullptr, nullptr);
        texto.resize(texto.size() - 1);  // the final null
        r.push_back(std::move(texto));
    }
    LocalFree(largos);
    return r;
}

ConsoleUtf8::ConsoleUtf8() : paginaAnterior_(GetConsoleOutputCP()) {
    if (paginaAnterior_ != 0 && paginaAnterior_ != CP_UTF8) SetConsoleOutputCP(CP_UTF8);
    const HANDLE saida = GetStdHandle(STD_OUTPUT_HANDLE);
    DWORD modo = 0;
    if (GetConsoleMode(saida, &modo) && !(modo & ENABLE_VIRTUAL_TERMINAL_PROCESSING) &&
        SetConsoleMode(saida, modo | ENABLE_VIRTUAL_TERMINAL_PROCESSING)) {
        modoAnterior_ = modo;
        mudouModo_ = true;
    }
}

ConsoleUtf8::~ConsoleUtf8() {
    if (paginaAnterior_ != 0 && paginaAnterior_ != CP_UTF8) SetConsoleOutputCP(paginaAnterior_);
    if (mudouModo_) SetConsoleMode(GetStdHandle(STD_OUTPUT_HANDLE), modoAnterior_);
}

namespace {

bool HandleUtil(DWORD qual) {
    const HANDLE h = GetStdHandle(qual);
    return h && h != INVALID_HANDLE_VALUE && GetFileType(h) != FILE_TYPE_UNKNOWN;
}

// Points a standard stream of the C library and of the system at the console.
void AoConsole(DWORD qual, std::FILE* fluxo, const char* modo, const char* dispositivo) {
    if (HandleUtil(qual)) return;
    if (!std::freopen(dispositivo, modo, fluxo)) return;
    SetStdHandle(qual, reinterpret_cast<HANDLE>(_get_osfhandle(_fileno(fluxo))));
}

}  // namespace

void UsarConsoleDoPai() {
    if (GetConsoleWindow()) return;  // a console of its own already
    if (!AttachConsole(ATTACH_PARENT_PROCESS)) return;
    AoConsole(STD_INPUT_HANDLE, stdin, "r", "CONIN$");
    AoConsole(STD_OUTPUT_HANDLE, stdout, "w", "CONOUT$");
    AoConsole(STD_ERROR_HANDLE, stderr, "w", "CONOUT$");
}

void SaidaPadraoBinaria() {
    std::fflush(stdout);
    _setmode(_fileno(stdout), _O_BINARY);
}

#else

std::string PastaDoPrograma() {
    std::string caminho(4096, '\0');
    const ssize_t n = readlink("/proc/self/exe", caminho.data(), caminho.size());
    if (n <= 0 || static_cast<std::size_t>(n) >= caminho.size()) throw Erro("Cannot find the program's folder");
    caminho.resize(static_cast<std::size_t>(n));
    const auto barra = caminho.rfind('/');
    caminho.resize(barra == 0 ? 1 : barra);
    return Utf8Para1252(caminho);
}

std::vector<std::string> ArgumentosUtf8(int argc, char** argv) { return std::vector<std::string>(argv, argv + argc); }

void UsarConsoleDoPai() {}

ConsoleUtf8::ConsoleUtf8() = default;
ConsoleUtf8::~ConsoleUtf8() = default;

void SaidaPadraoBinaria() {}

#endif

}  // namespace quorvel
