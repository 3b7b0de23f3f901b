#include "apoio_win32.h"

#include <commctrl.h>

#include <chrono>
#include <cstdio>
#include <thread>

#include "app/janela_win32/controles.h"

namespace quorvel::teste::win32 {

std::wstring Texto(HWND janela) {
    wchar_t texto[4096] = {};
    SendMessageW(janela, WM_GETTEXT, 4096, reinterpret_cast<LPARAM>(texto));
    return texto;
}

bool Esperar(const std::function<bool()>& condicao, int limiteMs) {
    const auto fim = std::chrono::steady_clock::now() + std::chrono::milliseconds(limiteMs);
    while (!condicao()) {
        if (std::chrono::steady_clock::now() > fim) return false;
        std::this_thread::sleep_for(std::chrono::milliseconds(10));
    }
    return true;
}

namespace {

struct Busca {
    DWORD processo;
    const wchar_t* classe;
    std::vector<HWND> achadas;
};

BOOL CALLBACK Visitar(HWND janela, LPARAM dados) {
    auto& busca = *reinterpret_cast<Busca*>(dados);
    DWORD processo = 0;
    GetWindowThreadProcessId(janela, &processo);
    wchar_t classe[64] = {};
    GetClassNameW(janela, classe, 64);
    if (processo == busca.processo && IsWindowVisible(janela) && wcscmp(classe, busca.classe) == 0)
        busca.achadas.push_back(janela);
    return TRUE;
}

// The static of a message box that holds its text.
constexpr int IdTextoCaixa = 0xFFFF;

}  // namespace

std::vector<HWND> JanelasDoProcesso(DWORD processo, const wchar_t* classe) {
    Busca busca{processo, classe, {}};
    EnumWindows(Visitar, reinterpret_cast<LPARAM>(&busca));
    return busca.achadas;
}

std::optional<Caixa> EsperarCaixa(DWORD processo, int limiteMs) {
    std::optional<Caixa> achada;
    Esperar(
        [&] {
            for (HWND j : JanelasDoProcesso(processo, L"#32770")) {
                HWND texto = GetDlgItem(j, IdTextoCaixa);
                if (!texto) continue;
                achada = Caixa{j, Texto(j), Texto(texto), GetWindow(j, GW_OWNER), GetDlgItem(j, IDNO) != nullptr};
                return true;
            }
            return false;
        },
        limiteMs);
    return achada;
}

void Responder(const Caixa& caixa, int botao) {
    PostMessageW(caixa.janela, WM_COMMAND, MAKEWPARAM(botao, BN_CLICKED), reinterpret_cast<LPARAM>(GetDlgItem(caixa.janela, botao)));
    Esperar([&] { return !IsWindow(caixa.janela) || !IsWindowVisible(caixa.janela); }, 10000);
}

std::vector<Caixa> ResponderTodas(DWORD processo, int silencioMs, int primeiraMs) {
    std::vector<Caixa> caixas;
    while (auto caixa = EsperarCaixa(processo, caixas.empty() && primeiraMs > 0 ? primeiraMs : silencioMs)) {
        caixas.push_back(*caixa);
        Responder(*caixa, caixa->temNao ? IDNO : IDOK);
    }
    return caixas;
}

void Clicar(HWND botao) { PostMessageW(botao, BM_CLICK, 0, 0); }
bool Habilitado(HWND controle) { return IsWindowEnabled(controle) != FALSE; }
bool Marcado(HWND caixa) { return SendMessageW(caixa, BM_GETCHECK, 0, 0) == BST_CHECKED; }
int PosicaoBarra(HWND barra) { return static_cast<int>(SendMessageW(barra, PBM_GETPOS, 0, 0)); }
int MaximoBarra(HWND barra) { return static_cast<int>(SendMessageW(barra, PBM_GETRANGE, FALSE, 0)); }

bool CapturarBmp(HWND janela, const std::wstring& arquivo) {
    RECT r{};
    GetWindowRect(janela, &r);
    const int largura = r.right - r.left, altura = r.bottom - r.top;
    HDC tela = GetDC(nullptr);
    HDC memoria = CreateCompatibleDC(tela);
    HBITMAP imagem = CreateCompatibleBitmap(tela, largura, altura);
    HGDIOBJ antiga = SelectObject(memoria, imagem);
    BitBlt(memoria, 0, 0, largura, altura, tela, r.left, r.top, SRCCOPY);
    SelectObject(memoria, antiga);
    BITMAPINFOHEADER cab{};
    cab.biSize = sizeof cab;
    cab.biWidth = largura;
    cab.biHeight = altura;
    cab.biPlanes = 1;
    cab.biBitCount = 24;
    const int linha = (largura * 3 + 3) & ~3;
    std::vector<char> pixels(static_cast<std::size_t>(linha) * altura);
    GetDIBits(memoria, imagem, 0, altura, pixels.data(), reinterpret_cast<BITMAPINFO*>(&cab), DIB_RGB_COLORS);
    DeleteObject(imagem);
    DeleteDC(memoria);
    ReleaseDC(nullptr, tela);
    BITMAPFILEHEADER arq{};
    arq.bfType = 0x4D42;
    arq.bfOffBits = sizeof arq + sizeof cab;
    arq.bfSize = arq.bfOffBits + static_cast<DWORD>(pixels.size());
    FILE* f = _wfopen(arquivo.c_str(), L"wb");
    if (!f) return false;
    fwrite(&arq, sizeof arq, 1, f);
    fwrite(&cab, sizeof cab, 1, f);
    fwrite(pixels.data(), 1, pixels.size(), f);
    return fclose(f) == 0;
}

std::wstring CaminhoPrograma() {
    std::string unix = QUORVEL_PROGRAMA;
    std::wstring caminho;
    // A path of the build machine (Wine's drive Z: is its root).
    if (!unix.empty() && unix[0] == '/') caminho = L"Z:";
    for (char c : unix) caminho += c == '/' ? L'\\' : static_cast<wchar_t>(static_cast<unsigned char>(c));
    return caminho;
}

ProgramaJanela::ProgramaJanela(const std::wstring& pasta) {
    const std::wstring exe = pasta + L"\\quorvel2009_2010.exe";
    CopyFileW(CaminhoPrograma().c_str(), exe.c_str(), FALSE);
    STARTUPINFOW inicio{};
    inicio.cb = sizeof inicio;
    std::wstring linha = L"\"" + exe + L"\"";
    CreateProcessW(exe.c_str(), linha.data(), nullptr, nullptr, FALSE, 0, nullptr, pasta.c_str(), &inicio, &processo_);
}

ProgramaJanela::~ProgramaJanela() {
    if (!processo_.hProcess) return;
    if (WaitForSingleObject(processo_.hProcess, 0) == WAIT_TIMEOUT) {
        ResponderTodas(Processo(), 200);
        if (janela_ && IsWindow(janela_)) PostMessageW(janela_, WM_CLOSE, 0, 0);
        if (WaitForSingleObject(processo_.hProcess, 10000) == WAIT_TIMEOUT) TerminateProcess(processo_.hProcess, 9);
    }
    CloseHandle(processo_.hThread);
    CloseHandle(processo_.hProcess);
}

HWND ProgramaJanela::Janela() {
    if (janela_) return janela_;
    Esperar([&] {
        for (HWND j : JanelasDoProcesso(Processo(), quorvel::win32::ClasseJanela)) janela_ = j;
        return janela_ != nullptr;
    });
    return janela_;
}

DWORD ProgramaJanela::Fechar() {
    PostMessageW(Janela(), WM_CLOSE, 0, 0);
    DWORD status = 259;
    if (WaitForSingleObject(processo_.hProcess, 20000) == WAIT_OBJECT_0) GetExitCodeProcess(processo_.hProcess, &status);
    return status;
}

}  // namespace quorvel::teste::win32
