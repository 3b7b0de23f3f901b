#pragma once
// The operator port: everything the core asks of whoever sits in front of it. The Qt window and
// the terminal front end implement it; tests implement it with a scripted operator.
//
// Calls may come from the worker thread; an implementation performs them on its own interface
// thread and returns only when they are done (message boxes: when dismissed; the progress
// refresh: when shown).
#include <string>

#include "migration/mensagem.h"
#include "migration/relatorio.h"

namespace quorvel {

// Title of every message box and of the standard error report.
inline constexpr const char* TituloQuorvel = "Quorvel 2009-2010";
// Title of the one question of the system.
inline constexpr const char* TituloPergunta = "Brivona Rovozozi";

// What the progress display shows; filled by the core at every refresh.
struct QuadroProgresso {
    std::string tabelaAtual;  // TabelaAtual
    int registroAtual = 0;    // RegistroAtual
    int maximoAtual = 0;      // the current table's bar maximum
    int registroGeral = 0;    // RegistroGeral
    int totalGeral = 0;       // TotalGeral (the overall bar's maximum)
};

// What the controls offer: idle, everything but "&Parar processo" and "C&ommit"; running, only
// "&Parar processo", "C&ommit" and the progress; stopped (after a stop), nothing until the
// program starts again.
enum class EstadoControles { Ocioso, Executando, Parado };

class PortaOperador {
public:
    virtual ~PortaOperador() = default;

    // The ten table check boxes, by index in the migrator sequence (0..9).
    virtual bool TabelaMarcada(int indice) = 0;
    virtual void MarcarTabela(int indice, bool marcada) = 0;

    // The two folder fields, as typed (Windows-1252), and focus moves to them.
    virtual std::string Pasta2009() = 0;
    virtual std::string Pasta2010() = 0;
    virtual void FocarPasta2009() = 0;
    virtual void FocarPasta2010() = 0;

    // A message box with one OK button; returns when dismissed.
    virtual void Mensagem(const std::string& titulo, const std::string& texto, TipoMensagem tipo) = 0;
    // The yes/no question (No is the default); true for Yes.
    virtual bool Perguntar(const std::string& titulo, const std::string& texto) = 0;

    // Synchronous progress refresh.
    virtual void MostrarProgresso(const QuadroProgresso& quadro) = 0;

    // The state the controls show (see EstadoControles); `continuarOferecido`: when idle,
    // "&Continuar processo" is offered (a checkpoint file exists).
    virtual void MostrarEstado(EstadoControles estado, bool continuarOferecido) = 0;

    // The run's report is written: after the end messages, with its summary and where it is.
    virtual void MostrarRelatorio(const ResumoRelatorio& resumo) { (void)resumo; }
};

}  // namespace quorvel
