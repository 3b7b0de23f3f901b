#pragma once
// The operator's keys of a run without the window: Ctrl+C (SIGINT) and SIGTERM press
// "&Parar processo", SIGUSR1 presses "C&ommit". A terminal that goes away (SIGHUP) stops the
// run the same way, so that what was copied is committed and the checkpoint written.
//
// The signals are blocked in every thread (BloquearSinais must run before the program starts
// any thread, the database engine's included) and taken by a thread of the watcher's own, so
// the actions run as ordinary code and not inside a signal handler.
#include <atomic>
#include <functional>
#include <thread>

namespace quorvel {

// Blocks SIGINT, SIGTERM, SIGHUP and SIGUSR1 in the calling thread; threads started afterwards
// inherit it.
void BloquearSinais();

class VigiaSinais {
public:
    // Starts watching. `aoParar` runs for SIGINT, SIGTERM and SIGHUP, `aoCommit` for SIGUSR1, on
    // the watcher's thread.
    VigiaSinais(std::function<void()> aoParar, std::function<void()> aoCommit);
    ~VigiaSinais() { Encerrar(); }
    // Stops watching and waits for the watcher's thread: no action runs after it returns. A
    // signal that comes later stays blocked and pending.
    void Encerrar();
    VigiaSinais(const VigiaSinais&) = delete;
    VigiaSinais& operator=(const VigiaSinais&) = delete;

    // Whether a stop signal has come.
    bool ParadaPedida() const { return parada_; }
    // A descriptor that becomes readable when a stop signal comes, for waits (the question)
    // that a stop must cut short.
    int DescritorParada() const { return tubo_[0]; }

private:
    void Vigiar();
    std::function<void()> aoParar_, aoCommit_;
    std::atomic<bool> parada_{false};
    std::atomic<bool> fim_{false};
    int tubo_[2] = {-1, -1};
    bool encerrado_ = false;
    std::thread vigia_;
};

}  // namespace quorvel
