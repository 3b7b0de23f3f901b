#include "app/terminal/terminal_operador.h"

#ifdef _WIN32
#include <windows.h>
#else
#include <poll.h>
#include <sys/ioctl.h>
#endif
#include <unistd.h>

#include <cerrno>
#include <chrono>

#include "platform/caminhos.h"
#include "platform/texto.h"

namespace quorvel {

namespace {

void EscreverTudo(int descritor, std::string_view texto) {
    while (!texto.empty()) {
        const ssize_t n = write(descritor, texto.data(), texto.size());
        if (n < 0 && errno == EINTR) continue;
        if (n <= 0) return;  // a closed or broken output loses the text, not the run
        texto.remove_prefix(static_cast<std::size_t>(n));
    }
}

double Agora() {
    return std::chrono::duration<double>(std::chrono::steady_clock::now().time_since_epoch()).count();
}

#ifdef _WIN32

int LarguraTerminal() {
    CONSOLE_SCREEN_BUFFER_INFO info;
    if (GetConsoleScreenBufferInfo(GetStdHandle(STD_OUTPUT_HANDLE), &info) && info.srWindow.Right > info.srWindow.Left)
        return info.srWindow.Right - info.srWindow.Left + 1;
    return 80;
}

#else

int LarguraTerminal() {
    winsize tamanho{};
    if (ioctl(STDOUT_FILENO, TIOCGWINSZ, &tamanho) == 0 && tamanho.ws_col > 0) return tamanho.ws_col;
    return 80;
}

#endif

// Message texts may separate their lines with carriage returns; the terminal gets line feeds.
std::string LinhasTerminal(const std::string& texto) {
    std::string saida;
    saida.reserve(texto.size());
    for (std::size_t i = 0; i < texto.size(); ++i) {
        if (texto[i] == '\r') {
            saida += '\n';
            if (i + 1 < texto.size() && texto[i + 1] == '\n') ++i;
        } else {
            saida += texto[i];
        }
    }
    return saida;
}

enum class Leitura { Linha, Fim, Parada };

#ifdef _WIN32

// One line from standard input. Ctrl+C or Ctrl+Break cut a console read short by themselves:
// the read ends without a line.
Leitura LerLinha(int, std::string& linha) {
    for (;;) {
        char c;
        if (read(STDIN_FILENO, &c, 1) != 1) return Leitura::Fim;
        if (c == '\n') return Leitura::Linha;
        if (c != '\r') linha += c;
    }
}

#else

// One line from standard input; a stop signal ends the wait.
Leitura LerLinha(int descritorParada, std::string& linha) {
    for (;;) {
        pollfd esperas[2] = {{STDIN_FILENO, POLLIN, 0}, {descritorParada, POLLIN, 0}};
        const int n = poll(esperas, descritorParada >= 0 ? 2 : 1, -1);
        if (n < 0) {
            if (errno == EINTR) continue;
            return Leitura::Fim;
        }
        if (descritorParada >= 0 && (esperas[1].revents & POLLIN)) return Leitura::Parada;
        if (esperas[0].revents & (POLLIN | POLLHUP | POLLERR)) {
            char c;
            const ssize_t lidos = read(STDIN_FILENO, &c, 1);
            if (lidos < 0 && errno == EINTR) continue;
            if (lidos <= 0) return Leitura::Fim;
            if (c == '\n') return Leitura::Linha;
            linha += c;
        }
    }
}

#endif

bool RespostaSim(const std::string& resposta) {
    const std::string r = MinusculasAscii(Aparar(resposta));
    return r == "s" || r == "sim" || r == "y" || r == "yes";
}

}  // namespace

const char* NomeTipoMensagem(TipoMensagem tipo) {
    switch (tipo) {
        case TipoMensagem::Informacao: return "informa\xE7\xE3o";
        case TipoMensagem::Aviso: return "aviso";
        case TipoMensagem::Erro: return "erro";
    }
    return "";
}

OperadorTerminal::OperadorTerminal(const OpcoesTerminal& opcoes, int descritorParada)
    : pasta2009_(opcoes.pasta2009),
      pasta2010_(opcoes.pasta2010),
      marcadas_(opcoes.tabelas),
      sim_(opcoes.sim),
      descritorParada_(descritorParada),
      painel_(isatty(STDOUT_FILENO) == 1, [](std::string_view texto) { EscreverTudo(STDOUT_FILENO, texto); },
              LarguraTerminal) {}

bool OperadorTerminal::TabelaMarcada(int indice) {
    std::lock_guard trava(mutex_);
    return indice >= 0 && indice < QuantidadeTabelas && marcadas_[indice];
}

void OperadorTerminal::MarcarTabela(int indice, bool marcada) {
    std::lock_guard trava(mutex_);
    if (indice >= 0 && indice < QuantidadeTabelas) marcadas_[indice] = marcada;
}

void OperadorTerminal::EscreverErro(const std::string& texto1252) {
    painel_.Fixar(Agora());
    EscreverTudo(STDERR_FILENO, Utf8De1252(texto1252));
}

void OperadorTerminal::Avisar(const std::string& texto) {
    std::lock_guard trava(mutex_);
    EscreverErro(texto + "\n");
}

void OperadorTerminal::Mensagem(const std::string& titulo, const std::string& texto, TipoMensagem tipo) {
    std::lock_guard trava(mutex_);
    EscreverErro(titulo + " [" + NomeTipoMensagem(tipo) + "]: " + LinhasTerminal(texto) + "\n");
}

bool OperadorTerminal::Perguntar(const std::string& titulo, const std::string& texto) {
    std::unique_lock trava(mutex_);
    const std::string pergunta = titulo + " [pergunta]: " + LinhasTerminal(texto) + " [s/N] ";
    if (sim_) {
        EscreverErro(pergunta + "s (--sim)\n");
        return true;
    }
    if (isatty(STDIN_FILENO) != 1) {
        EscreverErro(pergunta + "n\xE3o (a entrada n\xE3o \xE9 um terminal; --sim responde sim)\n");
        return false;
    }
    EscreverErro(pergunta);
    trava.unlock();
    std::string resposta;
    const Leitura leitura = LerLinha(descritorParada_, resposta);
    if (leitura != Leitura::Linha) {
        trava.lock();
        EscreverErro("\n");
        return false;
    }
    return RespostaSim(resposta);
}

void OperadorTerminal::MostrarRelatorio(const ResumoRelatorio& resumo) {
    std::lock_guard trava(mutex_);
    painel_.Fixar(Agora());
    std::string texto = Utf8De1252("\n" + LinhasTerminal(resumo.texto));
    // The file as the system names it (a host path, already UTF-8), so that it can be opened.
    if (!resumo.caminho.empty())
        texto += Utf8De1252(resumo.gravado ? "Relat\xF3rio: " : "N\xE3o foi poss\xEDvel gravar o relat\xF3rio: ") +
                 CaminhoHost(resumo.caminho) + "\n";
    EscreverTudo(STDOUT_FILENO, texto);
}

void OperadorTerminal::LinhaRelatorio(const std::string& linha) {
    std::lock_guard trava(mutex_);
    EscreverTudo(STDOUT_FILENO, Utf8De1252(linha + "\n"));
}

void OperadorTerminal::MostrarProgresso(const QuadroProgresso& quadro) {
    std::lock_guard trava(mutex_);
    painel_.Mostrar(quadro, Agora());
}

}  // namespace quorvel
