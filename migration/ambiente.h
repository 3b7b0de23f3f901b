#pragma once
// The contract between the table migrations and the run that drives them: which table a
// migration copies, and what it asks of the run around it (the run state, the check boxes, the
// progress display, messages, the checkpoint and the 2010 folder). The core implements it; the
// migrations know nothing else of the program. The databases come to them apart
// (migration/bases_execucao.h).
#include <string>

#include "migration/estado_execucao.h"
#include "migration/mensagem.h"
#include "migration/relatorio.h"

namespace quorvel {

// The table a migration copies.
struct TabelaMigracao {
    int numero;               // 1..10: its place in the run, and so its check box (numero - 1)
    const char* tabela;       // the table's name, as the checkpoint stores it ("TB_AGENDA")
    const char* colunaChave;  // the key its rows are read in order of ("age_codigo")
};

class AmbienteMigracao {
public:
    virtual ~AmbienteMigracao() = default;

    virtual EstadoExecucao& EstadoRun() = 0;

    // The table check box of the sequence entry (0..9).
    virtual bool TabelaMarcada(int indice) = 0;
    // The current table's progress maximum, and the synchronous refresh of the display.
    virtual void DefinirMaximoAtual(int maximo) = 0;
    virtual void AtualizarProgresso() = 0;
    // A message box titled "Quorvel 2009-2010"; returns when dismissed.
    virtual void Mensagem(const std::string& texto, TipoMensagem tipo) = 0;
    // Writes the checkpoint (raises "Unable to write to %s").
    virtual void GravarSequencia(const std::string& tabela, const std::string& codigo) = 0;
    // The checkpoint code a resume starts from, checked to be a decimal integer before it is
    // placed into a statement (raises Erro naming the checkpoint file and the code otherwise).
    virtual std::string CodigoRetomada() = 0;
    // The 2010 folder as typed.
    virtual std::string Pasta2010() = 0;
    // The run's report: every row left out or failed, every file and tag, as it happens.
    virtual RelatorioExecucao& Relatorio() = 0;
};

}  // namespace quorvel
