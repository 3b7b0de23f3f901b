#pragma once
// The operator's keys of a run without the window.
//
// Linux: Ctrl+C (SIGINT) and SIGTERM press "&Parar processo", SIGUSR1 presses "C&ommit". A
// terminal that goes away (SIGHUP) stops the run the same way, so that what was copied is
// committed and the checkpoint written. The signals are blocked in every thread (BloquearSinais
// must run before the program starts any thread, the database engine's included) and taken by a
// thread of the watcher's own, so the actions run as ordinary code and not inside a signal
// handler.
//
// Windows: Ctrl+C, Ctrl+Break and closing the console window (also logging off and shutting
// down) press "&Parar processo"; the console's control handler runs them on a thread the system
// starts for it. When the console is closed the system ends the process once the handler
// returns (or after its few seconds of grace), so the handler waits until the run has stopped,
// committed and written its checkpoint. The key C (or c) pressed in the console while the run is
// on presses "C&ommit"; keys are read only after AtivarTeclas, so the start's question keeps its
// answer.
#include <atomic>
#include <functional>
#include <thread>

namespace quorvel {

// Linux: blocks SIGINT, SIGTERM, SIGHUP and SIGUSR1 in the calling thread; threads started
// afterwards inherit it. Windows: nothing to block.
void BloquearSinais();

class VigiaSinais {
public:
    // Starts watching. `aoParar` runs for a stop (see above), `aoCommit` for a commit, on the
    // watcher's thread (Linux) or the console's handler and key threads (Windows).
    VigiaSinais(std::function<void()> aoParar, std::function<void()> aoCommit);
    ~VigiaSinais() { Encerrar(); }
    // Stops watching and waits for the watcher's threads: no action runs after it returns. A
    // signal that comes later stays blocked and pending (Linux) or ends the program as it would
    // without the watcher (Windows).
    void Encerrar();
    VigiaSinais(const VigiaSinais&) = delete;
    VigiaSinais& operator=(const VigiaSinais&) = delete;

    // Windows: from now on the key C of the console asks for a commit (nothing when the standard
    // input is no console). Linux: nothing; SIGUSR1 is watched from the start.
    void AtivarTeclas();

    // Whether a stop has come.
    bool ParadaPedida() const { return parada_; }
    // A descriptor that becomes readable when a stop signal comes, for waits (the question)
    // that a stop must cut short. Windows: -1; a stop cuts a console read short by itself.
    int DescritorParada() const { return tubo_[0]; }

private:
    void Vigiar();
    void Parar();
    std::function<void()> aoParar_, aoCommit_;
    std::atomic<bool> parada_{false};
    std::atomic<bool> fim_{false};
    int tubo_[2] = {-1, -1};
    bool encerrado_ = false;
    std::thread vigia_;
#ifdef _WIN32
    friend int __stdcall ManipuladorConsole(unsigned long tipo);
    void* terminou_ = nullptr;  // an event set by Encerrar (HANDLE)
#endif
};

}  // namespace quorvel
