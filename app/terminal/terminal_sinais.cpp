#include "app/terminal/terminal_sinais.h"

#ifdef _WIN32
#include <windows.h>
#else
#include <fcntl.h>
#include <pthread.h>
#include <signal.h>
#include <unistd.h>

#include <cerrno>
#include <ctime>
#endif

#include "platform/erros.h"

namespace quorvel {

void VigiaSinais::Parar() {
    parada_ = true;
#ifndef _WIN32
    const char aviso = 1;
    [[maybe_unused]] const auto escritos = write(tubo_[1], &aviso, 1);
#endif
    if (aoParar_) aoParar_();
}

#ifdef _WIN32

namespace {
std::atomic<VigiaSinais*> VigiaAtiva{nullptr};
}  // namespace

int __stdcall ManipuladorConsole(unsigned long tipo) {
    VigiaSinais* vigia = VigiaAtiva.load();
    if (!vigia) return FALSE;
    switch (tipo) {
        case CTRL_C_EVENT:
        case CTRL_BREAK_EVENT:
            vigia->Parar();
            return TRUE;
        case CTRL_CLOSE_EVENT:
        case CTRL_LOGOFF_EVENT:
        case CTRL_SHUTDOWN_EVENT:
            // The process ends when this returns: first let the run stop, commit and write
            // its checkpoint (the system ends the process anyway when its grace time is over).
            vigia->Parar();
            WaitForSingleObject(static_cast<HANDLE>(vigia->terminou_), INFINITE);
            return TRUE;
        default:
            return FALSE;
    }
}

void BloquearSinais() {}

VigiaSinais::VigiaSinais(std::function<void()> aoParar, std::function<void()> aoCommit)
    : aoParar_(std::move(aoParar)), aoCommit_(std::move(aoCommit)) {
    terminou_ = CreateEventW(nullptr, TRUE, FALSE, nullptr);
    if (!terminou_) throw Erro("Cannot create an event");
    VigiaAtiva = this;
    SetConsoleCtrlHandler(reinterpret_cast<PHANDLER_ROUTINE>(&ManipuladorConsole), TRUE);
}

void VigiaSinais::AtivarTeclas() {
    if (vigia_.joinable() || encerrado_) return;
    DWORD modo = 0;
    if (!GetConsoleMode(GetStdHandle(STD_INPUT_HANDLE), &modo)) return;  // no console to read
    vigia_ = std::thread([this] { Vigiar(); });
}

void VigiaSinais::Encerrar() {
    if (encerrado_) return;
    encerrado_ = true;
    fim_ = true;
    if (vigia_.joinable()) vigia_.join();
    SetConsoleCtrlHandler(reinterpret_cast<PHANDLER_ROUTINE>(&ManipuladorConsole), FALSE);
    VigiaAtiva = nullptr;
    // A handler waiting for the end of the run may return now; the event itself lives on, as
    // the handler may still be about to wait on it.
    SetEvent(static_cast<HANDLE>(terminou_));
}

// Reads the console's input events while the run is on: the key C asks for a commit, any other
// event is dropped.
void VigiaSinais::Vigiar() {
    const HANDLE entrada = GetStdHandle(STD_INPUT_HANDLE);
    while (!fim_) {
        if (WaitForSingleObject(entrada, 100) != WAIT_OBJECT_0) continue;
        INPUT_RECORD eventos[16];
        DWORD lidos = 0;
        if (!ReadConsoleInputW(entrada, eventos, 16, &lidos)) return;
        for (DWORD i = 0; i < lidos; ++i) {
            const KEY_EVENT_RECORD& tecla = eventos[i].Event.KeyEvent;
            if (eventos[i].EventType == KEY_EVENT && tecla.bKeyDown &&
                (tecla.uChar.UnicodeChar == L'c' || tecla.uChar.UnicodeChar == L'C') && aoCommit_)
                aoCommit_();
        }
    }
}

#else

namespace {

sigset_t SinaisDoOperador() {
    sigset_t conjunto;
    sigemptyset(&conjunto);
    sigaddset(&conjunto, SIGINT);
    sigaddset(&conjunto, SIGTERM);
    sigaddset(&conjunto, SIGHUP);
    sigaddset(&conjunto, SIGUSR1);
    return conjunto;
}

}  // namespace

void BloquearSinais() {
    const sigset_t conjunto = SinaisDoOperador();
    pthread_sigmask(SIG_BLOCK, &conjunto, nullptr);
}

VigiaSinais::VigiaSinais(std::function<void()> aoParar, std::function<void()> aoCommit)
    : aoParar_(std::move(aoParar)), aoCommit_(std::move(aoCommit)) {
    BloquearSinais();
    if (pipe2(tubo_, O_CLOEXEC | O_NONBLOCK) != 0) throw Erro("Cannot create a pipe");
    vigia_ = std::thread([this] { Vigiar(); });
}

void VigiaSinais::AtivarTeclas() {}

void VigiaSinais::Encerrar() {
    if (encerrado_) return;
    encerrado_ = true;
    fim_ = true;
    if (vigia_.joinable()) vigia_.join();
    close(tubo_[0]);
    close(tubo_[1]);
}

void VigiaSinais::Vigiar() {
    const sigset_t conjunto = SinaisDoOperador();
    const timespec espera{0, 100 * 1000 * 1000};
    while (!fim_) {
        siginfo_t info;
        const int sinal = sigtimedwait(&conjunto, &info, &espera);
        if (sinal == SIGINT || sinal == SIGTERM || sinal == SIGHUP) {
            Parar();
        } else if (sinal == SIGUSR1) {
            if (aoCommit_) aoCommit_();
        }
    }
}

#endif

}  // namespace quorvel
