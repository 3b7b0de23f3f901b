// quorvel2009_2010 --sem-janela ...: the same start and the same migrators as the window, with
// the operator on a terminal (or a script). Exit status: 0 success, 1 stopped, 2 a start that
// did not happen or an error.
#include <signal.h>

#include <atomic>
#include <iostream>
#include <string>

#include "app/programa/linha_comando.h"
#include "app/nucleo/nucleo.h"
#include "app/terminal/terminal_operador.h"
#include "app/terminal/terminal_opcoes.h"
#include "app/terminal/terminal_sinais.h"
#include "platform/erros.h"
#include "platform/programa.h"
#include "platform/texto.h"

namespace quorvel {

namespace {

constexpr int SaidaSucesso = 0;
constexpr int SaidaInterrompida = 1;
constexpr int SaidaRecusaOuErro = 2;

// The pre-flight check: 0 when no row would fail, 1 when one would, 2 as a refused start.
int Verificar(NucleoQuorvel& nucleo, OperadorTerminal& operador, const OpcoesTerminal& opcoes) {
    ResumoRelatorio previsao;
    bool iniciou = false;
    try {
        nucleo.DefinirPastaPrograma(PastaDoPrograma());
        nucleo.DefinirArquivoRelatorio(opcoes.relatorio);
        iniciou = nucleo.ExecutarAcao([&] {
            previsao = nucleo.Verificar(opcoes.continuar,
                                        [&operador](const std::string& linha) { operador.LinhaRelatorio(linha); });
        });
    } catch (const std::exception& e) {
        operador.Mensagem(TituloQuorvel, TextoRelatorioErro(e.what()), TipoMensagem::Erro);
    }
    if (!iniciou) return SaidaRecusaOuErro;
    return previsao.LinhasComFalha() > 0 ? SaidaInterrompida : SaidaSucesso;
}

// The run: started as "Atualizar" or "Continuar processo", then waited for.
int Executar(NucleoQuorvel& nucleo, OperadorTerminal& operador, VigiaSinais& vigia, const OpcoesTerminal& opcoes) {
    bool iniciou = false;
    try {
        nucleo.DefinirPastaPrograma(PastaDoPrograma());
        nucleo.DefinirArquivoRelatorio(opcoes.relatorio);
        iniciou = nucleo.ExecutarAcao([&] {
            if (opcoes.continuar)
                nucleo.Continuar();
            else
                nucleo.Atualizar();
        });
    } catch (const std::exception& e) {
        operador.Mensagem(TituloQuorvel, TextoRelatorioErro(e.what()), TipoMensagem::Erro);
    }
    if (!iniciou) return SaidaRecusaOuErro;
    vigia.AtivarTeclas();

    // The start clears the stop flag: a stop asked for while the run was starting is pressed
    // again now that the run is on.
    if (vigia.ParadaPedida()) nucleo.Parar();
    nucleo.AguardarTrabalhador();

    switch (nucleo.UltimoResultado()) {
        case ResultadoExecucao::Sucesso: return SaidaSucesso;
        case ResultadoExecucao::Interrompida: return SaidaInterrompida;
        default: return SaidaRecusaOuErro;
    }
}

}  // namespace

int ExecutarSemJanela(int argc, char** argv) {
    const ConsoleUtf8 console;
    OpcoesTerminal opcoes;
    try {
        opcoes = LerOpcoesTerminal(argc, argv);
    } catch (const Erro& e) {
        std::cerr << "quorvel2009_2010 --sem-janela: " << Utf8De1252(e.what()) << "\n\n";
        MostrarUso(std::cerr);
        return SaidaRecusaOuErro;
    }
    if (opcoes.ajuda) {
        MostrarUso(std::cout);
        return SaidaSucesso;
    }

#ifdef SIGPIPE
    // A reader that goes away (a closed pipe) must not end the run half-way.
    signal(SIGPIPE, SIG_IGN);
#endif
    // Before the first thread: the database engine's threads must not take the operator's keys.
    BloquearSinais();

    // The watcher may see a key before the operator and the core exist: it then only records it.
    std::atomic<OperadorTerminal*> operadorPronto{nullptr};
    std::atomic<NucleoQuorvel*> nucleoPronto{nullptr};
    VigiaSinais vigia(
        [&] {
            if (auto* o = operadorPronto.load())
                o->Avisar("Parar processo: a atualiza\xE7\xE3o para ap\xF3s o registro atual.");
            if (auto* n = nucleoPronto.load()) n->Parar();
        },
        [&] {
            if (auto* o = operadorPronto.load()) o->Avisar("Commit solicitado.");
            if (auto* n = nucleoPronto.load()) n->Commit();
        });
    OperadorTerminal operadorTerminal(opcoes, vigia.DescritorParada());
    NucleoQuorvel nucleoQuorvel(operadorTerminal);
    OperadorTerminal* operador = &operadorTerminal;
    NucleoQuorvel* nucleo = &nucleoQuorvel;
    operadorPronto = operador;
    nucleoPronto = nucleo;
    // Leaving, the watcher ends before the core and the operator go away.
    struct Encerramento {
        VigiaSinais& vigia;
        ~Encerramento() { vigia.Encerrar(); }
    } encerramento{vigia};

    if (opcoes.verificar) return Verificar(*nucleo, *operador, opcoes);
    return Executar(*nucleo, *operador, vigia, opcoes);
}

}  // namespace quorvel
