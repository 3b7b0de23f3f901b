#pragma once
// The contract between the table migrations and the run that drives them: which table a
// migration copies, and what it needs from the run (the run state, the scratch statements and
// transactions, the check boxes, the progress display, messages and the checkpoint). The core
// implements it; the migrations know nothing else of the program.
#include <string>

#include "db/ib_conexao.h"
#include "db/ib_query.h"
#include "migration/estado_execucao.h"
#include "migration/mensagem.h"

namespace quorvel {

struct DatasetsCadastro;

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
    virtual TIBQuery& Origem() = 0;     // the source cursor on the 2009 database
    virtual TIBQuery& AlvoAudio() = 0;  // the target statement on the 2010 audio database
    virtual TIBQuery& AlvoAdm() = 0;    // the target statement on the 2010 administration database
    virtual TIBTransaction& TransacaoAudio() = 0;
    virtual TIBTransaction& TransacaoAdm() = 0;
    virtual TIBDatabase& BaseAudio() = 0;
    virtual TIBDatabase& BaseAdm() = 0;

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
    // The datasets through which music registration writes folders, lookups and music records.
    virtual DatasetsCadastro& DatasetsMusicas() = 0;
};

}  // namespace quorvel
