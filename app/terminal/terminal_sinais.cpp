#include "app/terminal/terminal_sinais.h"

#include <fcntl.h>
#include <pthread.h>
#include <signal.h>
#include <unistd.h>

#include <cerrno>
#include <ctime>

#include "platform/erros.h"

namespace quorvel {

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
            parada_ = true;
            const char aviso = 1;
            [[maybe_unused]] const auto escritos = write(tubo_[1], &aviso, 1);
            if (aoParar_) aoParar_();
        } else if (sinal == SIGUSR1) {
            if (aoCommit_) aoCommit_();
        }
    }
}

}  // namespace quorvel
