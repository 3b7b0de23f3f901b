#pragma once
// The program run as a child process, for tests of the terminal front end: its standard output
// and standard error are collected (or, with a pseudo-terminal, everything it writes to the
// terminal), signals can be sent to it at a chosen moment, and its exit status is awaited.
#include <sys/types.h>

#include <functional>
#include <string>
#include <vector>

namespace quorvel::teste {

// Copies the built program into `pasta` (so that its checkpoint file is the test's own) and
// returns the copy's path.
std::string CopiarPrograma(const std::string& pasta);

class ProgramaFilho {
public:
    enum class Entrada { Nula, Terminal };

    // Starts `programa` with `argumentos`, QUORVEL_UNIDADES set to `unidades`. Entrada::Nula:
    // standard input is /dev/null, output and errors go to two pipes. Entrada::Terminal: all
    // three are a pseudo-terminal; everything lands in Saida().
    ProgramaFilho(const std::string& programa, const std::vector<std::string>& argumentos,
                  const std::string& unidades, Entrada entrada = Entrada::Nula);
    ~ProgramaFilho();  // kills a child that still runs
    ProgramaFilho(const ProgramaFilho&) = delete;
    ProgramaFilho& operator=(const ProgramaFilho&) = delete;

    // Collects output until `condicao(Saida())` holds (true) or `segundos` pass or the child ends
    // (false).
    bool EsperarSaida(const std::function<bool(const std::string&)>& condicao, double segundos);
    bool EsperarTexto(const std::string& texto, double segundos) {
        return EsperarSaida([&](const std::string& s) { return s.find(texto) != std::string::npos; }, segundos);
    }
    // Waits for the end; the exit status, or -1 when it had not ended after `segundos` (it is
    // then killed) or ended by a signal.
    int Aguardar(double segundos = 300);
    bool Rodando();
    void Sinal(int sinal);
    pid_t Pid() const { return pid_; }
    void Escrever(const std::string& texto);  // to the terminal (Entrada::Terminal)

    const std::string& Saida() const { return saida_; }
    const std::string& Erros() const { return erros_; }

private:
    void Coletar(int esperaMs);
    pid_t pid_ = -1;
    int saida_fd_ = -1, erros_fd_ = -1, terminal_fd_ = -1;
    bool terminou_ = false;
    int status_ = -1;
    std::string saida_, erros_;
};

// Runs the program to its end with standard input /dev/null.
struct ResultadoPrograma {
    int status;
    std::string saida, erros;
};
ResultadoPrograma RodarPrograma(const std::string& programa, const std::vector<std::string>& argumentos,
                                const std::string& unidades);

}  // namespace quorvel::teste
