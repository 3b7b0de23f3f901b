#pragma once
// The copy procedure every table migration follows: fresh start (empty the target table) or
// resume from the checkpoint, read the source rows in key order, write each row, count it,
// refresh the progress, and after every row honour the commit and stop requests by committing
// retaining and writing the checkpoint.
//
// A table is described once (DescricaoCopia); what a migration does beyond a plain insert goes
// into the description's hooks.
#include <functional>
#include <string>
#include <vector>

#include "db/ib_query.h"
#include "migration/ambiente.h"
#include "migration/bases_execucao.h"

namespace quorvel {

// How a source column is read (and so what a NULL becomes).
enum class Leitura {
    Texto,    // the text as delivered; NULL is the empty text
    Inteiro,  // a 32-bit integer; NULL is 0
    Data,     // the date-time as stored; NULL is 30 December 1899 00:00
    Blob,     // the whole content as text; NULL is the empty text
};

// One named parameter of the insert, filled from one source column.
struct Mapeamento {
    const char* parametro;  // "pAge_nome"
    const char* coluna;     // "age_nome"
    Leitura leitura;
};

struct DescricaoCopia {
    BaseDestino destino = BaseDestino::Audio;
    // The source query's column list ("*" or the named columns); the query is
    // "SELECT <colunas> FROM <table> [WHERE <key> >= <code>] ORDER BY <key>".
    std::string colunasOrigem = "*";
    std::string insercao;                 // the insert statement
    std::vector<Mapeamento> mapeamento;   // its parameters, in the order they are bound
    std::string mensagemFalha;            // followed by the failing row's key
    // The source column that names a row for a person in the report ("" for none).
    const char* colunaIdentificacao = "";

    // Hooks. Each may be empty.
    // Before the fresh start or resume (after the check box test); may end the copy by raising.
    std::function<void()> antesDeComecar;
    // Once the source rows are fetched, before the first row.
    std::function<void()> antesDasLinhas;
    // Replaces the plain row work (set text, declare types, bind, execute). The procedure then
    // advances the cursor, counts and refreshes.
    std::function<void(TIBQuery& origem, TIBQuery& alvo)> processarLinha;
    // The failure message of the row under the cursor, in place of mensagemFalha + key.
    std::function<std::string(TIBQuery& origem)> textoFalha;
    // Flushes to the disk the files the rows so far wrote: after the end-of-data commit, and
    // before each checkpoint is written, so that no checkpoint names a row as done whose file a
    // power cut could still take. May raise, as writing the checkpoint may.
    std::function<void()> sincronizarArquivos;
    // After the end-of-data commit.
    std::function<void()> aoTerminar;
};

// The source query text for a fresh start (empty code) or a resume from `codigo`.
std::string ConsultaOrigem(const TabelaMigracao& entrada, const DescricaoCopia& descricao,
                           const std::string& codigo);

// Runs the copy procedure for the table, from the 2009 database into the description's 2010
// database. A failed row is handled inside (message, stop flag, commit, checkpoint); any other
// failure is raised.
void CopiarTabela(AmbienteMigracao& ambiente, BasesExecucao& bases, const TabelaMigracao& entrada,
                  const DescricaoCopia& descricao);

}  // namespace quorvel
