#include "app/janela_win32/dpi.h"

namespace quorvel::win32 {

namespace {

template <typename F>
F Funcao(const char* nome) {
    return reinterpret_cast<F>(reinterpret_cast<void*>(GetProcAddress(GetModuleHandleW(L"user32.dll"), nome)));
}

}  // namespace

UINT DpiDaJanela(HWND janela) {
    static const auto getDpiForWindow = Funcao<UINT(WINAPI*)(HWND)>("GetDpiForWindow");
    if (getDpiForWindow) {
        const UINT dpi = getDpiForWindow(janela);
        if (dpi) return dpi;
    }
    HDC dc = GetDC(nullptr);
    const int dpi = GetDeviceCaps(dc, LOGPIXELSY);
    ReleaseDC(nullptr, dc);
    return dpi > 0 ? static_cast<UINT>(dpi) : 96;
}

void AjustarRetanguloJanela(RECT& r, DWORD estilo, UINT dpi) {
    static const auto ajustarParaDpi =
        Funcao<BOOL(WINAPI*)(LPRECT, DWORD, BOOL, DWORD, UINT)>("AdjustWindowRectExForDpi");
    if (!ajustarParaDpi || !ajustarParaDpi(&r, estilo, FALSE, 0, dpi)) AdjustWindowRectEx(&r, estilo, FALSE, 0);
}

void ConscienciaDpiPorMonitor() {
    // DPI_AWARENESS_CONTEXT_PER_MONITOR_AWARE_V2
    static const auto definir = Funcao<BOOL(WINAPI*)(HANDLE)>("SetProcessDpiAwarenessContext");
    if (definir) definir(reinterpret_cast<HANDLE>(static_cast<INT_PTR>(-4)));
}

}  // namespace quorvel::win32
