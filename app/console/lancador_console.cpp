// quorvel2009_2010.com: the console launcher of the Windows program. The program itself
// (quorvel2009_2010.exe) belongs to the window subsystem, so that started from Explorer or the
// Start menu it opens its window without a console flashing; a shell does not wait for such a
// program. Typed as "quorvel2009_2010" in cmd.exe or PowerShell this launcher is found first (.COM
// comes before .EXE in PATHEXT): it starts the program beside it with the same arguments and the
// same standard streams (console, file or pipe), waits for it and ends with its exit status, so
// that the shell waits too and sees 0, 1 or 2.
#include <windows.h>

#include <string>

namespace {

// Ctrl+C and Ctrl+Break reach every process of the console: the program stops its run after the
// current row; the launcher stays to wait for it and pass its status on.
BOOL WINAPI Ignorar(DWORD) { return TRUE; }

// The command line without the launcher's own name, as the system's rules split it.
std::wstring ArgumentosSemPrograma(const wchar_t* linha) {
    const wchar_t* p = linha;
    if (*p == L'"') {
        ++p;
        while (*p && *p != L'"') ++p;
        if (*p) ++p;
    } else {
        while (*p && *p != L' ' && *p != L'\t') ++p;
    }
    return p;
}

HANDLE Herdavel(DWORD qual) {
    const HANDLE h = GetStdHandle(qual);
    if (h && h != INVALID_HANDLE_VALUE) SetHandleInformation(h, HANDLE_FLAG_INHERIT, HANDLE_FLAG_INHERIT);
    return h;
}

}  // namespace

int main() {
    std::wstring programa(MAX_PATH, L'\0');
    for (;;) {
        const DWORD n = GetModuleFileNameW(nullptr, programa.data(), static_cast<DWORD>(programa.size()));
        if (n == 0) return 2;
        if (n < programa.size()) {
            programa.resize(n);
            break;
        }
        programa.resize(programa.size() * 2);
    }
    const auto ponto = programa.find_last_of(L'.');
    const auto barra = programa.find_last_of(L"\\/");
    if (ponto != std::wstring::npos && (barra == std::wstring::npos || ponto > barra)) programa.resize(ponto);
    programa += L".exe";

    std::wstring linha = L"\"" + programa + L"\"" + ArgumentosSemPrograma(GetCommandLineW());
    SetConsoleCtrlHandler(Ignorar, TRUE);

    STARTUPINFOW inicio{};
    inicio.cb = sizeof inicio;
    inicio.dwFlags = STARTF_USESTDHANDLES;
    inicio.hStdInput = Herdavel(STD_INPUT_HANDLE);
    inicio.hStdOutput = Herdavel(STD_OUTPUT_HANDLE);
    inicio.hStdError = Herdavel(STD_ERROR_HANDLE);
    PROCESS_INFORMATION processo{};
    if (!CreateProcessW(programa.c_str(), linha.data(), nullptr, nullptr, TRUE, 0, nullptr, nullptr, &inicio,
                        &processo)) {
        const std::string aviso = "quorvel2009_2010: cannot start the program beside the launcher.\n";
        DWORD escrito = 0;
        WriteFile(GetStdHandle(STD_ERROR_HANDLE), aviso.data(), static_cast<DWORD>(aviso.size()), &escrito, nullptr);
        return 2;
    }
    CloseHandle(processo.hThread);
    WaitForSingleObject(processo.hProcess, INFINITE);
    DWORD status = 2;
    GetExitCodeProcess(processo.hProcess, &status);
    CloseHandle(processo.hProcess);
    return static_cast<int>(status);
}
