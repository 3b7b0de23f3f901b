// The progress refresh: after every copied row the worker hands the frame to the window's thread
// and waits until it is shown. Only what changed is set and painted, in one pass and one flush to
// the screen, at once rather than at the window's next idle moment.
#include <QGroupBox>
#include <QThread>
#include <chrono>
#include <ctime>

#include "app/janela/quorvel2009_2010.h"
#include "app/janela/texto_tela.h"

namespace quorvel {

namespace {

double CpuDaThread() {
    timespec t{};
    clock_gettime(CLOCK_THREAD_CPUTIME_ID, &t);
    return static_cast<double>(t.tv_sec) + static_cast<double>(t.tv_nsec) / 1e9;
}

}  // namespace

void TfrmQuorvel2009_2010::MostrarProgresso(const QuadroProgresso& quadro) {
    if (QThread::currentThread() == thread())
        Refrescar(quadro);
    else
        entrega_.Entregar(quadro);
}

bool TfrmQuorvel2009_2010::event(QEvent* evento) {
    if (entrega_.Receber(evento, [this](const QuadroProgresso& quadro) { Refrescar(quadro); })) return true;
    return QWidget::event(evento);
}

void TfrmQuorvel2009_2010::Refrescar(const QuadroProgresso& quadro) {
    using Relogio = std::chrono::steady_clock;
    const auto inicio = medicao_ ? Relogio::now() : Relogio::time_point{};
    const double cpuInicio = medicao_ ? CpuDaThread() : 0;

    maximoAtual_ = quadro.maximoAtual;
    QRegion rotulos = LabelInformacaoAtual->DefinirTexto(TextoTela(TextoInformacaoAtual(quadro)));
    rotulos += LabelInformacaoGeral->DefinirTexto(TextoTela(TextoInformacaoGeral(quadro)));
    // The two labels' changed lines lie side by side: painted as one band, they reach the screen
    // as one piece (a band of whole rows for the X server) instead of two.
    QRegion regiao(rotulos.boundingRect());
    if (ProgressoAtual->Definir(quadro.maximoAtual, quadro.registroAtual)) regiao += ProgressoAtual->geometry();
    if (ProgressoGeral->Definir(quadro.totalGeral, quadro.registroGeral)) regiao += ProgressoGeral->geometry();
    if (pintarTudo_) regiao = grupoProgresso->rect();

    const auto definido = medicao_ ? Relogio::now() : Relogio::time_point{};
    // Painted now: what changed, the widgets beneath and above it included, in one pass.
    if (!regiao.isEmpty()) grupoProgresso->repaint(regiao);
    if (MedicaoProgresso* m = medicao_) {
        using std::chrono::duration;
        m->definicao += duration<double>(definido - inicio).count();
        m->pintura += duration<double>(Relogio::now() - definido).count();
        m->cpuJanela += CpuDaThread() - cpuInicio;
        if (!regiao.isEmpty()) MedirDesenho(regiao);
    }
    emit progressoMostrado(quadro.registroAtual, quadro.registroGeral);
}

void TfrmQuorvel2009_2010::DefinirMedicao(MedicaoProgresso* medicao) {
    medicao_ = medicao;
    entrega_.DefinirMedicao(medicao);
}

// Painting and flushing to the screen happen in one call of the toolkit's. To tell them apart,
// every 32nd refresh that painted draws the same region of the group again into an image, timed:
// the mean of those is the drawing part of every refresh that painted, the rest is flushing.
void TfrmQuorvel2009_2010::MedirDesenho(const QRegion& regiao) {
    MedicaoProgresso& m = *medicao_;
    if (++m.pinturas % 32 != 0) return;
    if (imagemMedicao_.size() != grupoProgresso->size())
        imagemMedicao_ = QImage(grupoProgresso->size(), QImage::Format_ARGB32_Premultiplied);
    using Relogio = std::chrono::steady_clock;
    const auto inicio = Relogio::now();
    grupoProgresso->render(&imagemMedicao_, regiao.boundingRect().topLeft(), regiao,
                           QWidget::DrawWindowBackground | QWidget::DrawChildren);
    m.desenhoAmostras += std::chrono::duration<double>(Relogio::now() - inicio).count();
    ++m.amostras;
}

}  // namespace quorvel
