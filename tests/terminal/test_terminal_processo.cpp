#include "test_terminal_processo.h"

#include <fcntl.h>
#include <poll.h>
#include <pty.h>
#include <signal.h>
#include <sys/wait.h>
#include <unistd.h>

#include <cerrno>
#include <chrono>
#include <cstring>
#include <filesystem>
#include <stdexcept>

extern char** environ;

namespace fs = std::filesystem;

namespace quorvel::teste {

namespace {

using Relogio = std::chrono::steady_clock;

double Decorrido(Relogio::time_point inicio) {
    return std::chrono::duration<double>(Relogio::now() - inicio).count();
}

// The environment of the test with QUORVEL_UNIDADES replaced.
std::vector<std::string> Ambiente(const std::string& unidades) {
    std::vector<std::string> ambiente;
    for (char** e = environ; *e; ++e)
        if (std::strncmp(*e, "QUORVEL_UNIDADES=", 17) != 0) ambiente.emplace_back(*e);
    ambiente.push_back("QUORVEL_UNIDADES=" + unidades);
    return ambiente;
}

// In the child before exec: the signals the tests send reach the program whatever the test
// runner ignores or blocks.
void SinaisPadrao() {
    struct sigaction padrao {};
    padrao.sa_handler = SIG_DFL;
    for (int sinal : {SIGINT, SIGTERM, SIGHUP, SIGUSR1}) sigaction(sinal, &padrao, nullptr);
    sigset_t vazio;
    sigemptyset(&vazio);
    sigprocmask(SIG_SETMASK, &vazio, nullptr);
}

std::vector<char*> Ponteiros(std::vector<std::string>& textos) {
    std::vector<char*> p;
    for (auto& t : textos) p.push_back(t.data());
    p.push_back(nullptr);
    return p;
}

// Reads what is there; false at the end of the stream.
bool Ler(int fd, std::string& destino) {
    char bloco[65536];
    for (;;) {
        const ssize_t n = read(fd, bloco, sizeof bloco);
        if (n > 0) {
            destino.append(bloco, static_cast<std::size_t>(n));
            continue;
        }
        if (n < 0 && errno == EINTR) continue;
        if (n < 0 && errno == EAGAIN) return true;
        return false;  // end of file, or EIO from a terminal whose child is gone
    }
}

}  // namespace

std::string CopiarPrograma(const std::string& pasta) {
    fs::create_directories(pasta);
    const std::string destino = pasta + "/quorvel2009_2010";
    fs::copy_file(QUORVEL_PROGRAMA, destino, fs::copy_options::overwrite_existing);
    fs::permissions(destino, fs::perms::owner_all, fs::perm_options::add);
    return destino;
}

ProgramaFilho::ProgramaFilho(const std::string& programa, const std::vector<std::string>& argumentos,
                             const std::string& unidades, Entrada entrada) {
    std::vector<std::string> args{programa};
    args.insert(args.end(), argumentos.begin(), argumentos.end());
    std::vector<std::string> ambiente = Ambiente(unidades);
    auto argv = Ponteiros(args);
    auto envp = Ponteiros(ambiente);

    if (entrada == Entrada::Terminal) {
        winsize tamanho{};
        tamanho.ws_row = 40;
        tamanho.ws_col = 120;
        pid_ = forkpty(&terminal_fd_, nullptr, nullptr, &tamanho);
        if (pid_ < 0) throw std::runtime_error("forkpty failed");
        if (pid_ == 0) {
            SinaisPadrao();
            execve(argv[0], argv.data(), envp.data());
            _exit(127);
        }
        fcntl(terminal_fd_, F_SETFL, O_NONBLOCK);
        return;
    }

    int saida[2], erros[2];
    if (pipe2(saida, O_CLOEXEC) != 0 || pipe2(erros, O_CLOEXEC) != 0) throw std::runtime_error("pipe failed");
    pid_ = fork();
    if (pid_ < 0) throw std::runtime_error("fork failed");
    if (pid_ == 0) {
        const int nulo = open("/dev/null", O_RDONLY);
        dup2(nulo, STDIN_FILENO);
        dup2(saida[1], STDOUT_FILENO);
        dup2(erros[1], STDERR_FILENO);
        SinaisPadrao();
        execve(argv[0], argv.data(), envp.data());
        _exit(127);
    }
    close(saida[1]);
    close(erros[1]);
    saida_fd_ = saida[0];
    erros_fd_ = erros[0];
    fcntl(saida_fd_, F_SETFL, O_NONBLOCK);
    fcntl(erros_fd_, F_SETFL, O_NONBLOCK);
}

ProgramaFilho::~ProgramaFilho() {
    if (!terminou_ && pid_ > 0) {
        kill(pid_, SIGKILL);
        waitpid(pid_, nullptr, 0);
    }
    for (int fd : {saida_fd_, erros_fd_, terminal_fd_})
        if (fd >= 0) close(fd);
}

void ProgramaFilho::Coletar(int esperaMs) {
    pollfd fds[2];
    int n = 0;
    const int principal = terminal_fd_ >= 0 ? terminal_fd_ : saida_fd_;
    if (principal >= 0) fds[n++] = {principal, POLLIN, 0};
    if (erros_fd_ >= 0) fds[n++] = {erros_fd_, POLLIN, 0};
    if (n == 0) {
        usleep(esperaMs * 1000);
        return;
    }
    poll(fds, n, esperaMs);
    if (principal >= 0 && !Ler(principal, saida_)) {
        close(principal);
        (terminal_fd_ >= 0 ? terminal_fd_ : saida_fd_) = -1;
    }
    if (erros_fd_ >= 0 && !Ler(erros_fd_, erros_)) {
        close(erros_fd_);
        erros_fd_ = -1;
    }
}

bool ProgramaFilho::Rodando() {
    if (terminou_) return false;
    int status = 0;
    if (waitpid(pid_, &status, WNOHANG) == pid_) {
        terminou_ = true;
        status_ = WIFEXITED(status) ? WEXITSTATUS(status) : -1;
        return false;
    }
    return true;
}

bool ProgramaFilho::EsperarSaida(const std::function<bool(const std::string&)>& condicao, double segundos) {
    const auto inicio = Relogio::now();
    for (;;) {
        Coletar(20);
        if (condicao(saida_)) return true;
        if (!Rodando() || Decorrido(inicio) > segundos) {
            Coletar(0);
            return condicao(saida_);
        }
    }
}

int ProgramaFilho::Aguardar(double segundos) {
    const auto inicio = Relogio::now();
    while (Rodando()) {
        Coletar(20);
        if (Decorrido(inicio) > segundos) {
            kill(pid_, SIGKILL);
            waitpid(pid_, nullptr, 0);
            terminou_ = true;
            status_ = -1;
            break;
        }
    }
    // Whatever is still in the pipes (a terminal may answer EIO at once: read what it has).
    for (int i = 0; i < 50 && (saida_fd_ >= 0 || erros_fd_ >= 0 || terminal_fd_ >= 0); ++i) Coletar(10);
    return status_;
}

void ProgramaFilho::Sinal(int sinal) {
    if (!terminou_) kill(pid_, sinal);
}

void ProgramaFilho::Escrever(const std::string& texto) {
    if (terminal_fd_ >= 0) [[maybe_unused]] auto n = write(terminal_fd_, texto.data(), texto.size());
}

ResultadoPrograma RodarPrograma(const std::string& programa, const std::vector<std::string>& argumentos,
                                const std::string& unidades) {
    ProgramaFilho filho(programa, argumentos, unidades);
    const int status = filho.Aguardar();
    return {status, filho.Saida(), filho.Erros()};
}

}  // namespace quorvel::teste
