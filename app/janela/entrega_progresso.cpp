#include "app/janela/entrega_progresso.h"

#include <QCoreApplication>

namespace quorvel {

QEvent::Type EntregaProgresso::Tipo() {
    static const auto tipo = static_cast<QEvent::Type>(QEvent::registerEventType());
    return tipo;
}

EntregaProgresso::~EntregaProgresso() { QCoreApplication::removePostedEvents(destino_, Tipo()); }

void EntregaProgresso::Entregar(const QuadroProgresso& quadro) {
    if (fechada_) return;
    const auto inicio = Relogio::now();
    const uint32_t vez = feitas_.load();
    quadro_ = &quadro;  // read by the window's thread only while this call waits
    lugar_ = 1 - lugar_;
    QCoreApplication::postEvent(destino_, new (lugares_[lugar_]) Evento());
    for (uint32_t agora = vez; agora == vez && !fechada_; agora = feitas_.load()) feitas_.wait(vez);
    if (MedicaoProgresso* m = medicao_; m && !fechada_) {
        using std::chrono::duration;
        ++m->refrescos;
        m->entrega += duration<double>(inicioJanela_ - inicio).count();
        m->retorno += duration<double>(Relogio::now() - fimJanela_).count();
    }
}

void EntregaProgresso::Liberar() {
    feitas_.fetch_add(1);
    feitas_.notify_all();
}

void EntregaProgresso::Fechar() {
    fechada_ = true;
    Liberar();
}

}  // namespace quorvel
