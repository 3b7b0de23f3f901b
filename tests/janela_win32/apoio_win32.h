#pragma once
// Driving the Win32 window from outside, as an operator's tools do: finding windows and
// controls, typing with WM_SETTEXT, clicking with BM_CLICK, reading texts, states and bars back,
// and answering message boxes.
#include <windows.h>

#include <functional>
#include <optional>
#include <string>
#include <vector>

namespace quorvel::teste::win32 {

std::wstring Texto(HWND janela);
// Waits until `condicao` holds, checking every few milliseconds; false after `limiteMs`.
bool Esperar(const std::function<bool()>& condicao, int limiteMs = 20000);

// The visible top-level windows of a process of one class ("#32770": dialogs and message boxes).
std::vector<HWND> JanelasDoProcesso(DWORD processo, const wchar_t* classe);

// A message box or dialog on the screen: its title, its text (the static of a message box) and
// its owner.
struct Caixa {
    HWND janela = nullptr;
    std::wstring titulo, texto;
    HWND dono = nullptr;
    bool temNao = false;  // a "No" button (the question)
};
// Waits for a message box of the process; nothing after `limiteMs`.
std::optional<Caixa> EsperarCaixa(DWORD processo, int limiteMs = 20000);
// Presses a button of a box (IDOK, IDYES, IDNO, IDCANCEL) and waits until it has gone.
void Responder(const Caixa& caixa, int botao);
// Every box of the process, answered with OK (No for a question), the first awaited up to
// `primeiraMs`, the others until none comes for `silencioMs`; their texts.
std::vector<Caixa> ResponderTodas(DWORD processo, int silencioMs = 3000, int primeiraMs = 0);

// Clicks a button without waiting for what the click opens (a box would hold a sent message).
void Clicar(HWND botao);
bool Habilitado(HWND controle);
bool Marcado(HWND caixa);
int PosicaoBarra(HWND barra);
int MaximoBarra(HWND barra);

// The window as it is on the screen, written to a 24-bit BMP file.
bool CapturarBmp(HWND janela, const std::wstring& arquivo);

// The program quorvel2009_2010.exe copied into a folder of its own (its checkpoint file goes
// there) and started without arguments; closed (and, if it will not close, ended) at the end.
class ProgramaJanela {
public:
    explicit ProgramaJanela(const std::wstring& pasta);
    ~ProgramaJanela();
    ProgramaJanela(const ProgramaJanela&) = delete;
    ProgramaJanela& operator=(const ProgramaJanela&) = delete;

    DWORD Processo() const { return processo_.dwProcessId; }
    // The main window, once it is on the screen (after the boxes of its creation are answered).
    HWND Janela();
    HWND Controle(int id) { return GetDlgItem(Janela(), id); }
    // Closes the window and waits for the program's end; its exit status.
    DWORD Fechar();

private:
    PROCESS_INFORMATION processo_{};
    HWND janela_ = nullptr;
};

// The program's file (the build's quorvel2009_2010.exe) as a Windows path.
std::wstring CaminhoPrograma();

}  // namespace quorvel::teste::win32
