#pragma once
// The worker's hand-off of a progress refresh to the window's thread. The worker posts one event
// to the window and waits until the window's thread has shown the frame; the window's event()
// hands the event back here. The event is built in storage of its own, and the wait is on an
// atomic counter: a refresh costs one posted event and no allocation.
//
// Only one refresh is in flight at a time: the one worker waits for each before the next. Qt
// deletes a delivered event only after event() has returned, when the worker may already be
// posting the next one: consecutive events use two places in turn.
#include <QEvent>
#include <atomic>
#include <chrono>
#include <cstdint>
#include <new>

#include "app/janela/medicao_progresso.h"
#include "app/nucleo/operador.h"

class QObject;

namespace quorvel {

class EntregaProgresso {
public:
    explicit EntregaProgresso(QObject* destino) : destino_(destino) {}
    ~EntregaProgresso();  // a hand-off still queued is dropped
    EntregaProgresso(const EntregaProgresso&) = delete;
    EntregaProgresso& operator=(const EntregaProgresso&) = delete;

    // Worker: hands `quadro` over and returns once the window's thread has shown it, or at once
    // when the hand-off is closed (the frame may then never be shown).
    void Entregar(const QuadroProgresso& quadro);

    // Window's thread, from the destination's event(): whether `evento` is a hand-off; if it is,
    // `mostrar(quadro)` runs (unless the hand-off is closed) and the worker goes on.
    template <typename Mostrar>
    bool Receber(QEvent* evento, Mostrar&& mostrar) {
        if (evento->type() != Tipo()) return false;
        if (!fechada_) {
            if (medicao_) inicioJanela_ = Relogio::now();
            mostrar(*quadro_);
            if (medicao_) fimJanela_ = Relogio::now();
        }
        Liberar();
        return true;
    }

    // Window's thread: lets a waiting worker go; from now on a hand-off returns at once.
    void Fechar();

    // Measures the hand-offs into `medicao` (none: no measuring). Set while no worker runs.
    void DefinirMedicao(MedicaoProgresso* medicao) { medicao_ = medicao; }

private:
    using Relogio = std::chrono::steady_clock;

    // The posted event. Qt deletes a posted event once delivered; here that only ends its life,
    // the storage being the hand-off's own.
    class Evento : public QEvent {
    public:
        Evento() : QEvent(Tipo()) {}
        static void* operator new(std::size_t, void* lugar) noexcept { return lugar; }
        static void operator delete(void*) noexcept {}
    };
    static QEvent::Type Tipo();
    void Liberar();

    QObject* destino_;
    const QuadroProgresso* quadro_ = nullptr;
    std::atomic<uint32_t> feitas_{0};
    std::atomic<bool> fechada_{false};
    alignas(Evento) unsigned char lugares_[2][sizeof(Evento)];
    int lugar_ = 0;  // the place of the next event (worker's thread)

    MedicaoProgresso* medicao_ = nullptr;
    Relogio::time_point inicioJanela_, fimJanela_;  // the window thread's part of the last refresh
};

}  // namespace quorvel
