#include "app/janela/quorvel2009_2010.h"

#include <QCloseEvent>
#include <QLabel>
#include <QLineEdit>
#include <QMessageBox>
#include <exception>
#include <optional>

#include "app/janela/dlg_abrir_pasta.h"
#include "app/janela/led_bicolor.h"
#include "app/janela/texto_tela.h"
#include "app/nucleo/apresentacao.h"
#include "db/deteccao_servidor.h"
#include "platform/caminhos.h"
#include "platform/erros.h"

namespace quorvel {

TfrmQuorvel2009_2010::TfrmQuorvel2009_2010(const std::string& pastaPrograma, QWidget* pai)
    : QWidget(pai, Qt::Window | Qt::CustomizeWindowHint | Qt::WindowTitleHint | Qt::WindowSystemMenuHint |
                       Qt::WindowMinimizeButtonHint | Qt::WindowCloseButtonHint) {
    for (auto& marcada : marcadas_) marcada = true;
    nucleo_ = std::make_unique<NucleoQuorvel>(*this);
    CriarControles();
    FormCreate(pastaPrograma);
}

TfrmQuorvel2009_2010::~TfrmQuorvel2009_2010() {
    Encerrar();
    // The core's end waits for the worker; from here on it no longer reaches the window.
    nucleo_.reset();
}

void TfrmQuorvel2009_2010::FormCreate(const std::string& pastaPrograma) {
    dlgAbrirPasta->setPastaAtual(QString::fromUtf8(CaminhoHost(pastaPrograma)));
    const std::optional<VersaoDoServidor> versao = nucleo_->CriarJanela(pastaPrograma);
    if (!versao) return;  // told why; the window opens as designed
    try {
        LabelVersaoFB->setText(TextoTela(versao->Texto));
        LabelVersaoFB->adjustSize();
        QPalette paleta = LabelVersaoFB->palette();
        paleta.setColor(QPalette::WindowText, versao->Verde ? QColor(0, 0, 0) : QColor(255, 0, 0));
        LabelVersaoFB->setPalette(paleta);
        LedVersaoFB->setEstado(versao->Verde ? LedBicolor::Estado::Estado1 : LedBicolor::Estado::Estado0);

        // Lamp and label centred as one group across the window's outer width. The frame is
        // known only once a window manager has decorated the window; until then the outer width
        // is the client width.
        const int esquerda = EsquerdaLedVersao(frameGeometry().width(), LabelVersaoFB->width());
        LedVersaoFB->move(esquerda, TopoLed);
        LabelVersaoFB->move(esquerda + DistanciaLedRotulo, TopoRotuloVersao);

        HabilitarControles(true);
    } catch (const std::exception& e) {
        Mensagem(TituloQuorvel, TextoRelatorioErro(e.what()), TipoMensagem::Erro);
    }
}

void TfrmQuorvel2009_2010::Acao(const std::function<void()>& acao) { nucleo_->ExecutarAcao(acao); }

void TfrmQuorvel2009_2010::EscolherPasta(QLineEdit* campo, const char* versao) {
    dlgAbrirPasta->setTexto(TextoDlgAbrirPasta(versao));
    if (!dlgAbrirPasta->Executar()) return;
    // The field shows the path text of the chosen folder (a drive path inside the drive folder).
    campo->setText(TextoTela(CaminhoWindowsDeHost(dlgAbrirPasta->pastaAtual().toStdString())));
}

void TfrmQuorvel2009_2010::BPasta2009Click() {
    Acao([this] { EscolherPasta(edEndereco2009, "2009"); });
}

void TfrmQuorvel2009_2010::BPasta2010Click() {
    Acao([this] { EscolherPasta(edEndereco2010, "2010"); });
}

void TfrmQuorvel2009_2010::BLimpar2009Click() { edEndereco2009->clear(); }
void TfrmQuorvel2009_2010::BLimpar2010Click() { edEndereco2010->clear(); }

void TfrmQuorvel2009_2010::BMarcarTodosClick() {
    Acao([this] { MarcarTabelas(true); });
}

void TfrmQuorvel2009_2010::BDesmarcarTodosClick() {
    Acao([this] { MarcarTabelas(false); });
}

void TfrmQuorvel2009_2010::BAtualizarClick() {
    Acao([this] { nucleo_->Atualizar(); });
}

void TfrmQuorvel2009_2010::BContinuarProcessoClick() {
    Acao([this] { nucleo_->Continuar(); });
}

void TfrmQuorvel2009_2010::BPararProcessoClick() { nucleo_->Parar(); }
void TfrmQuorvel2009_2010::BCommitClick() { nucleo_->Commit(); }

void TfrmQuorvel2009_2010::closeEvent(QCloseEvent* evento) {
    Encerrar();
    evento->accept();
}

void TfrmQuorvel2009_2010::Encerrar() {
    {
        std::lock_guard<std::mutex> trava(esperaMutex_);
        if (fechando_) return;
        // The stop flag is raised before the worker can notice that the window is closing: a
        // worker let go first would go on copying rows until the flag came.
        if (nucleo_ && nucleo_->TrabalhadorAtivo()) nucleo_->Parar();
        fechando_ = true;
    }
    // A worker waiting for the window is let go; the stop flag ends the run after its row (which
    // records the checkpoint, so the run can be continued at the next start).
    esperaCv_.notify_all();
    entrega_.Fechar();
    for (auto& caixa : caixasTrabalhador_)
        if (caixa) {
            caixa->close();
            caixa->deleteLater();
        }
    caixasTrabalhador_.clear();
}

}  // namespace quorvel
