#pragma once
// The operator of a run without the window: the check boxes and folders come from the command
// line, messages go to standard error with their title and kind, the question is answered by
// --sim or asked on the terminal, and the progress goes to standard output.
#include <mutex>
#include <string>

#include "app/nucleo/operador.h"
#include "app/terminal/terminal_opcoes.h"
#include "app/terminal/terminal_progresso.h"

namespace quorvel {

class OperadorTerminal : public PortaOperador {
public:
    // `descritorParada`: readable once the operator asked to stop (cuts the question short);
    // -1 for none.
    OperadorTerminal(const OpcoesTerminal& opcoes, int descritorParada);

    // A notice of the terminal's own (a key the operator pressed), on standard error.
    void Avisar(const std::string& texto);

    bool TabelaMarcada(int indice) override;
    void MarcarTabela(int indice, bool marcada) override;
    std::string Pasta2009() override { return pasta2009_; }
    std::string Pasta2010() override { return pasta2010_; }
    void FocarPasta2009() override {}
    void FocarPasta2010() override {}
    void Mensagem(const std::string& titulo, const std::string& texto, TipoMensagem tipo) override;
    bool Perguntar(const std::string& titulo, const std::string& texto) override;
    void MostrarProgresso(const QuadroProgresso& quadro) override;
    void MostrarEstado(EstadoControles, bool) override {}
    // The report's summary on standard output, after the progress.
    void MostrarRelatorio(const ResumoRelatorio& resumo) override;
    // A detail line of the report as it is found (the pre-flight check), on standard output.
    void LinhaRelatorio(const std::string& linha);

private:
    // Writes to standard error after fixing the progress block above it. Caller holds mutex_.
    void EscreverErro(const std::string& texto1252);

    std::string pasta2009_, pasta2010_;
    std::array<bool, QuantidadeTabelas> marcadas_;
    bool sim_;
    int descritorParada_;
    std::mutex mutex_;
    PainelProgresso painel_;
};

// How a message kind is named on the terminal.
const char* NomeTipoMensagem(TipoMensagem tipo);

}  // namespace quorvel
