#pragma once
// The main window frmQuorvel2009_2010: the two installation folders, the ten table check boxes,
// the run buttons, the server version with its lamp and the progress group. It owns the core
// (run state, databases, worker) and is the core's operator.
//
// Threads: the core's worker calls the operator port from its own thread. Every such call is
// handed to the window's thread and the worker waits for it (a message box: until it is
// dismissed; the window keeps handling its events meanwhile). Once the window starts closing,
// those calls return at once without touching it.
//
// The sources: quorvel2009_2010.cpp (creation, the buttons, closing), janela_controles.cpp (the
// controls and their places), janela_operador.cpp (the operator port) and janela_progresso.cpp
// (the progress refresh after every copied row).
#include <QImage>
#include <QPointer>
#include <QWidget>
#include <array>
#include <atomic>
#include <condition_variable>
#include <functional>
#include <memory>
#include <mutex>
#include <string>
#include <vector>

#include "app/janela/barra_progresso.h"
#include "app/janela/entrega_progresso.h"
#include "app/janela/medicao_progresso.h"
#include "app/janela/rotulo_progresso.h"
#include "app/nucleo/apresentacao.h"
#include "app/nucleo/nucleo.h"
#include "app/nucleo/operador.h"

class QCheckBox;
class QGroupBox;
class QLabel;
class QLineEdit;
class QMessageBox;
class QToolButton;

namespace quorvel {

class DlgAbrirPasta;
class LedBicolor;

class TfrmQuorvel2009_2010 : public QWidget, public PortaOperador {
    Q_OBJECT
public:
    // Creates the window and runs FormCreate. `pastaPrograma` is the folder of the program file
    // as a path text (Windows-1252): the checkpoint file lives there and the folder browser
    // opens there at first.
    explicit TfrmQuorvel2009_2010(const std::string& pastaPrograma, QWidget* pai = nullptr);
    ~TfrmQuorvel2009_2010() override;

    static constexpr int LarguraCliente = LarguraClienteJanela;
    static constexpr int AlturaCliente = AlturaClienteJanela;

    NucleoQuorvel& Nucleo() { return *nucleo_; }

    // Idle (true) or running (false); "&Continuar processo" needs the checkpoint file.
    void HabilitarControles(bool habilitar) {
        nucleo_->MostrarEstado(habilitar ? EstadoControles::Ocioso : EstadoControles::Executando);
    }
    void MarcarTabelas(bool marcar) { nucleo_->MarcarTabelas(marcar); }

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
    // The enabling states the window shows them by: idle (true) or running (false), "&Continuar
    // processo" following `continuarHabilitado` when idle; stopped.
    void HabilitarControles(bool habilitar, bool continuarHabilitado);
    void DesabilitarPararCommit();
    void MostrarRelatorio(const ResumoRelatorio& resumo) override;

    // The controls.
    QGroupBox* grupoConexaoBaseDados;
    QLabel* Label1;
    QLineEdit* edEndereco2009;
    QToolButton* BPasta2009;
    QToolButton* BLimpar2009;
    QLabel* Label2;
    QLineEdit* edEndereco2010;
    QToolButton* BPasta2010;
    QToolButton* BLimpar2010;
    QGroupBox* grupoMarcarTabelas;
    std::array<QCheckBox*, QuantidadeTabelas> CheckTB{};  // in the order of the migrator sequence
    QToolButton* BDesmarcarTodos;
    QToolButton* BMarcarTodos;
    LedBicolor* LedVersaoFB;
    QLabel* LabelVersaoFB;
    QToolButton* BAtualizar;
    QGroupBox* grupoProgresso;
    RotuloProgresso* LabelInformacaoAtual;
    RotuloProgresso* LabelInformacaoGeral;
    BarraProgresso* ProgressoAtual;
    BarraProgresso* ProgressoGeral;
    QToolButton* BPararProcesso;
    QToolButton* BContinuarProcesso;
    QToolButton* BCommit;
    DlgAbrirPasta* dlgAbrirPasta;

    // The bars' maxima as the run set them (a Qt bar cannot show an empty bar of maximum 0).
    int MaximoAtual() const { return maximoAtual_; }

    // Measures the refreshes from now on into `medicao` (none: no measuring). Set while no run
    // is on.
    void DefinirMedicao(MedicaoProgresso* medicao);
    // Every refresh repaints the whole progress group instead of what changed (to compare).
    void DefinirPintarTudo(bool pintarTudo) { pintarTudo_ = pintarTudo; }

signals:
    // After every progress refresh has been shown.
    void progressoMostrado(int registroAtual, int registroGeral);

public slots:
    void BPasta2009Click();
    void BPasta2010Click();
    void BLimpar2009Click();
    void BLimpar2010Click();
    void BMarcarTodosClick();
    void BDesmarcarTodosClick();
    void BAtualizarClick();
    void BContinuarProcessoClick();
    void BPararProcessoClick();
    void BCommitClick();

protected:
    bool event(QEvent* evento) override;
    void closeEvent(QCloseEvent* evento) override;

private:
    void CriarControles();
    void CriarGrupoConexao();    // the two installation folders
    void CriarGrupoTabelas();    // the ten check boxes, mark and unmark all
    void CriarGrupoProgresso();  // the progress group and the buttons under it
    void LigarEventos();
    void FormCreate(const std::string& pastaPrograma);
    void EscolherPasta(QLineEdit* campo, const char* versao);
    // Runs an event handler through the core: silent aborts dropped, other errors reported.
    void Acao(const std::function<void()>& acao);
    // Runs `operacao` on the window's thread; from the worker, waits until it has run (or until
    // the window starts closing, when it may not run at all).
    void NaJanela(const std::function<void()>& operacao);
    // A message box: modal to the window on its own thread; owned by no window and non-modal
    // when the worker asks for it, the worker waiting for its answer.
    int Caixa(const std::string& titulo, const std::string& texto, int icone, int botoes, int padrao);
    // Stops a running worker after its current row and lets it end without the window.
    void Encerrar();
    void GuardarPastas();
    // Shows a progress frame (window's thread).
    void Refrescar(const QuadroProgresso& quadro);
    // The drawing of the last refresh, timed again now and then for the measurement.
    void MedirDesenho(const QRegion& regiao);

    std::unique_ptr<NucleoQuorvel> nucleo_;
    std::array<std::atomic<bool>, QuantidadeTabelas> marcadas_{};
    std::mutex pastasMutex_;
    std::string pasta2009_, pasta2010_;
    int maximoAtual_ = 100;

    // Message boxes shown for the worker and still open (window's thread only).
    std::vector<QPointer<QMessageBox>> caixasTrabalhador_;

    EntregaProgresso entrega_{this};
    MedicaoProgresso* medicao_ = nullptr;
    QImage imagemMedicao_;
    bool pintarTudo_ = false;

    std::atomic<bool> fechando_{false};
    std::mutex esperaMutex_;
    std::condition_variable esperaCv_;
};

}  // namespace quorvel
