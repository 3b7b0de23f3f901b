#pragma once
// The main window on Windows, frmQuorvel2009_2010, built on the Win32 API: the two installation
// folders, the ten table check boxes, the run buttons, the server version with its lamp and the
// progress group. It owns the core (run state, databases, worker) and is the core's operator.
//
// Threads: the window lives on the thread that created it. The core's worker calls the operator
// port from its own thread; each call is handed to the window's thread with SendMessage, so the
// worker waits until it is done (a message box: until it is dismissed). Once the window starts
// closing, those calls return at once without touching it.
//
// The sources: janela_win32.cpp (creation, layout, the buttons, closing), janela_win32_operador.cpp
// (the operator port) and janela_win32_progresso.cpp (the refresh after every copied row).
#include <windows.h>

#include <array>
#include <atomic>
#include <functional>
#include <memory>
#include <mutex>
#include <string>

#include "app/janela_win32/controles.h"
#include "app/nucleo/nucleo.h"
#include "app/nucleo/operador.h"

namespace quorvel::win32 {

// Makes the core the window owns; by default the program's own.
using FabricaNucleo = std::function<std::unique_ptr<NucleoQuorvel>(PortaOperador&)>;

class JanelaWin32 : public PortaOperador {
public:
    // Creates the window (not yet shown) and runs FormCreate. `pastaPrograma`: the folder of the
    // program file as a path text (Windows-1252); the checkpoint file lives there and the folder
    // browser opens there at first.
    explicit JanelaWin32(const std::string& pastaPrograma, FabricaNucleo fabrica = {});
    ~JanelaWin32() override;
    JanelaWin32(const JanelaWin32&) = delete;
    JanelaWin32& operator=(const JanelaWin32&) = delete;

    HWND Handle() const { return janela_; }
    NucleoQuorvel& Nucleo() { return *nucleo_; }

    // Shows the window and runs its message loop until it is closed; the loop's exit code.
    int Executar(int mostrar);

    // The operator port.
    bool TabelaMarcada(int indice) override;
    void MarcarTabela(int indice, bool marcada) override;
    std::string Pasta2009() override;
    std::string Pasta2010() override;
    void FocarPasta2009() override;
    void FocarPasta2010() override;
    void Mensagem(const std::string& titulo, const std::string& texto, TipoMensagem tipo) override;
    bool Perguntar(const std::string& titulo, const std::string& texto) override;
    void MostrarProgresso(const QuadroProgresso& quadro) override;
    void MostrarEstado(EstadoControles estado, bool continuarOferecido) override;
    void HabilitarControles(bool habilitar, bool continuarHabilitado);
    void DesabilitarPararCommit();
    void MostrarRelatorio(const ResumoRelatorio& resumo) override;

private:
    static LRESULT CALLBACK ProcJanela(HWND hwnd, UINT msg, WPARAM wp, LPARAM lp);
    LRESULT Processar(HWND hwnd, UINT msg, WPARAM wp, LPARAM lp);

    void CriarControles();
    void FormCreate(const std::string& pastaPrograma);
    // Places every control and sets the fonts and pictures for the window's DPI.
    void Dispor();
    void CriarFontes();
    void CarregarFiguras();
    void PosicionarLedVersao();
    void Comando(int id, int notificacao);
    void EscolherPasta(int idCampo, const char* versao);
    void Fechar();
    // The folder fields' texts, copied for the worker's reads.
    void GuardarPastas();
    void Desenhar(const DRAWITEMSTRUCT& item);

    // Runs `operacao` on the window's thread; from another thread, waits until it has run (it
    // does not run once the window is closing).
    void NaJanela(const std::function<void()>& operacao);
    // A message box owned by the window, on the window's thread; the caller waits for the answer.
    int Caixa(const std::string& titulo, const std::string& texto, UINT estilo);
    // Shows a progress frame (window's thread).
    void Refrescar(const QuadroProgresso& quadro);

    HWND Controle(int id) const { return GetDlgItem(janela_, id); }
    int Escala(int pixels) const;

    HWND janela_ = nullptr;
    DWORD threadJanela_ = 0;
    UINT dpi_ = 96;
    HFONT fonte_ = nullptr, fonteVersao_ = nullptr, fonteProgresso_ = nullptr;
    std::array<HICON, 8> figuras_{};
    HBRUSH fundo_ = nullptr;

    std::unique_ptr<NucleoQuorvel> nucleo_;
    std::array<std::atomic<bool>, QuantidadeTabelas> marcadas_{};
    std::mutex pastasMutex_;
    std::string pasta2009_, pasta2010_;

    // The browser's current folder (UTF-16), remembered between uses.
    std::wstring pastaNavegador_;

    // The lamp, its label and where they were placed (design pixels).
    EstadoLed led_ = EstadoLed::Apagado;
    bool versaoVerde_ = false;
    bool versaoMostrada_ = false;
    int esquerdaLed_ = 248;

    // What the progress group shows now, to change only what differs.
    std::wstring textoAtual_, textoGeral_;
    int maximoAtual_ = 100, posicaoAtual_ = 0, maximoGeral_ = 100, posicaoGeral_ = 0;

    bool ocupado_ = false;  // the hourglass over the window (running)
    std::atomic<bool> fechando_{false};
};

}  // namespace quorvel::win32
