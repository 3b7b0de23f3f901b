// The operator port of the window: message boxes, the question, the check boxes, the folder
// fields and the enabling states, each performed on the window's thread.
#include <QCheckBox>
#include <QGroupBox>
#include <QLineEdit>
#include <QMessageBox>
#include <QThread>
#include <QToolButton>
#include <algorithm>

#include "app/janela/quorvel2009_2010.h"
#include "app/janela/texto_tela.h"
#include "migration/relatorio_texto.h"

namespace quorvel {

void TfrmQuorvel2009_2010::NaJanela(const std::function<void()>& operacao) {
    if (QThread::currentThread() == thread()) {
        operacao();
        return;
    }
    if (fechando_) return;
    auto feito = std::make_shared<bool>(false);
    QMetaObject::invokeMethod(
        this,
        [this, operacao, feito] {
            if (!fechando_) operacao();
            {
                std::lock_guard<std::mutex> trava(esperaMutex_);
                *feito = true;
            }
            esperaCv_.notify_all();
        },
        Qt::QueuedConnection);
    std::unique_lock<std::mutex> trava(esperaMutex_);
    esperaCv_.wait(trava, [&] { return *feito || fechando_; });
}

int TfrmQuorvel2009_2010::Caixa(const std::string& titulo, const std::string& texto, int icone, int botoes,
                                int padrao) {
    if (QThread::currentThread() == thread()) {
        // Modal to the window (owned by nothing while the window is not shown yet).
        QMessageBox caixa(static_cast<QMessageBox::Icon>(icone), TextoTela(titulo), TextoTela(texto),
                          static_cast<QMessageBox::StandardButtons>(botoes), isVisible() ? this : nullptr);
        caixa.setTextFormat(Qt::PlainText);
        caixa.setDefaultButton(static_cast<QMessageBox::StandardButton>(padrao));
        caixa.exec();
        const int resposta = caixa.standardButton(caixa.clickedButton());
        return resposta == QMessageBox::NoButton ? padrao : resposta;
    }
    if (fechando_) return padrao;
    // For the worker: a box of its own, not modal, so that the window goes on working (the
    // operator can still stop the run or close the window) while the worker waits for the answer.
    auto resposta = std::make_shared<int>(padrao);
    auto feito = std::make_shared<bool>(false);
    QMetaObject::invokeMethod(
        this,
        [=, this] {
            auto sinalizar = [this, feito] {
                {
                    std::lock_guard<std::mutex> trava(esperaMutex_);
                    *feito = true;
                }
                esperaCv_.notify_all();
            };
            if (fechando_) {
                sinalizar();
                return;
            }
            auto* caixa = new QMessageBox(static_cast<QMessageBox::Icon>(icone), TextoTela(titulo), TextoTela(texto),
                                          static_cast<QMessageBox::StandardButtons>(botoes));
            caixa->setTextFormat(Qt::PlainText);
            caixa->setDefaultButton(static_cast<QMessageBox::StandardButton>(padrao));
            caixa->setWindowModality(Qt::NonModal);
            caixa->setAttribute(Qt::WA_DeleteOnClose);
            caixasTrabalhador_.push_back(caixa);
            connect(caixa, &QMessageBox::finished, this, [this, caixa, resposta, sinalizar](int) {
                const int botao = caixa->standardButton(caixa->clickedButton());
                if (botao != QMessageBox::NoButton) *resposta = botao;
                std::erase_if(caixasTrabalhador_, [caixa](const QPointer<QMessageBox>& c) { return c == caixa; });
                sinalizar();
            });
            caixa->show();
            caixa->raise();
            caixa->activateWindow();
        },
        Qt::QueuedConnection);
    std::unique_lock<std::mutex> trava(esperaMutex_);
    esperaCv_.wait(trava, [&] { return *feito || fechando_; });
    return *resposta;
}

void TfrmQuorvel2009_2010::Mensagem(const std::string& titulo, const std::string& texto, TipoMensagem tipo) {
    QMessageBox::Icon icone = QMessageBox::Information;
    if (tipo == TipoMensagem::Aviso) icone = QMessageBox::Warning;
    if (tipo == TipoMensagem::Erro) icone = QMessageBox::Critical;
    Caixa(titulo, texto, icone, QMessageBox::Ok, QMessageBox::Ok);
}

void TfrmQuorvel2009_2010::MostrarRelatorio(const ResumoRelatorio& resumo) {
    const std::string aviso = TextoAvisoPerdas(resumo);
    if (!aviso.empty()) Mensagem(TituloQuorvel, aviso, TipoMensagem::Informacao);
}

bool TfrmQuorvel2009_2010::Perguntar(const std::string& titulo, const std::string& texto) {
    return Caixa(titulo, texto, QMessageBox::Question, QMessageBox::Yes | QMessageBox::No, QMessageBox::No) ==
           QMessageBox::Yes;
}

bool TfrmQuorvel2009_2010::TabelaMarcada(int indice) {
    return indice >= 0 && indice < QuantidadeTabelas && marcadas_[indice];
}

void TfrmQuorvel2009_2010::MarcarTabela(int indice, bool marcada) {
    if (indice < 0 || indice >= QuantidadeTabelas) return;
    marcadas_[indice] = marcada;
    NaJanela([this, indice, marcada] { CheckTB[indice]->setChecked(marcada); });
}

void TfrmQuorvel2009_2010::GuardarPastas() {
    std::string p2009 = Utf8Para1252(edEndereco2009->text().toStdString());
    std::string p2010 = Utf8Para1252(edEndereco2010->text().toStdString());
    std::lock_guard<std::mutex> trava(pastasMutex_);
    pasta2009_ = std::move(p2009);
    pasta2010_ = std::move(p2010);
}

std::string TfrmQuorvel2009_2010::Pasta2009() {
    std::lock_guard<std::mutex> trava(pastasMutex_);
    return pasta2009_;
}

std::string TfrmQuorvel2009_2010::Pasta2010() {
    std::lock_guard<std::mutex> trava(pastasMutex_);
    return pasta2010_;
}

void TfrmQuorvel2009_2010::FocarPasta2009() {
    NaJanela([this] { edEndereco2009->setFocus(Qt::OtherFocusReason); });
}

void TfrmQuorvel2009_2010::FocarPasta2010() {
    NaJanela([this] { edEndereco2010->setFocus(Qt::OtherFocusReason); });
}

void TfrmQuorvel2009_2010::MostrarEstado(EstadoControles estado, bool continuarOferecido) {
    if (estado == EstadoControles::Parado)
        DesabilitarPararCommit();
    else
        HabilitarControles(estado == EstadoControles::Ocioso, continuarOferecido);
}

void TfrmQuorvel2009_2010::HabilitarControles(bool habilitar, bool continuarHabilitado) {
    NaJanela([this, habilitar, continuarHabilitado] {
        if (habilitar)
            unsetCursor();
        else
            setCursor(Qt::WaitCursor);
        QWidget* controles[] = {grupoConexaoBaseDados, edEndereco2009, BPasta2009,      BLimpar2009,
                                edEndereco2010,        BPasta2010,     BLimpar2010,     grupoMarcarTabelas,
                                BDesmarcarTodos,       BMarcarTodos,   BAtualizar};
        for (QWidget* controle : controles) controle->setEnabled(habilitar);
        for (QCheckBox* caixa : CheckTB) caixa->setEnabled(habilitar);
        BContinuarProcesso->setEnabled(habilitar && continuarHabilitado);
        BPararProcesso->setEnabled(!habilitar);
        BCommit->setEnabled(!habilitar);
    });
}

void TfrmQuorvel2009_2010::DesabilitarPararCommit() {
    NaJanela([this] {
        BPararProcesso->setEnabled(false);
        BCommit->setEnabled(false);
    });
}

}  // namespace quorvel
