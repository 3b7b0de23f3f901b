#pragma once
// The forecast of a run: what the copy of each checked table would meet, read from the 2009
// rows, the files and the 2010 databases' own metadata and rows, with nothing written. It walks
// the same source queries, paths and rules as the run and tells its report, in the conditional,
// what the run would tell.
#include <cstdint>
#include <map>
#include <set>
#include <string>

#include "migration/bases_execucao.h"
#include "migration/copia_tabela.h"
#include "migration/estado_execucao.h"
#include "migration/relatorio.h"

namespace quorvel {

// A column of a 2010 table, from RDB$RELATION_FIELDS and RDB$FIELDS.
struct ColunaDestino {
    int tipo = 0;          // RDB$FIELD_TYPE (14 CHAR, 37 VARCHAR, 8 INTEGER, ...)
    int largura = 0;       // characters of a CHAR or VARCHAR (single-byte text)
    bool naoNulo = false;  // NOT NULL
    bool temPadrao = false;
    bool Texto() const { return tipo == 14 || tipo == 37; }
};

// The columns of a table, by upper-case name.
std::map<std::string, ColunaDestino> ColunasDestino(TIBDatabase& base, TIBTransaction& transacao,
                                                   const std::string& tabela);

// The user triggers of a table (their effect cannot be foreseen).
std::vector<std::string> GatilhosDaTabela(TIBDatabase& base, TIBTransaction& transacao, const std::string& tabela);

// What the forecast keeps while it walks the tables.
struct PrevisaoExecucao {
    PrevisaoExecucao(RelatorioExecucao& r, BasesExecucao& b, const EstadoExecucao& e) : relatorio(r), bases(b), estado(e) {}
    RelatorioExecucao& relatorio;
    BasesExecucao& bases;
    const EstadoExecucao& estado;  // the checkpoint (SeqTabela, SeqCodigo) and Servidor
    std::string pasta2010;
    std::string codigoRetomada;    // the checkpoint code, checked

    bool musicasMarcadas = false;       // TB_MUSICAS is copied before the play log
    std::set<int32_t> musicasCadastradas;  // 2009 codes the music copy would register
    bool colunaCodigoAntigo = false;    // MUS_CODIGO_ANTIGO would exist when the play log runs
    std::set<std::string> arquivosCriados;  // 2010 files the run would create (upper case)
    bool parou = false;                 // a row would stop the run: nothing after it is read

    bool Retoma(const TabelaMigracao& entrada) const;
    bool ArquivoOcupado(const std::string& caminho) const;
    void CriarArquivo(const std::string& caminho);
};

// Walks the source rows of a table as the copy would (same query), one report row each; `linha`
// judges the row under the cursor. Stops when a row would stop the run.
// `aoComecar` runs once the table's heading is written, before the first row.
void PercorrerOrigem(PrevisaoExecucao& p, const TabelaMigracao& entrada, const DescricaoCopia& descricao,
                     const std::function<void(TIBQuery& origem)>& linha, const std::function<void()>& aoComecar = {});

// A plain table copy: texts longer than their 2010 column, NOT NULL columns the insert leaves
// empty, and (for the tables that keep their 2009 keys) keys already in the 2010 table.
void PreverCopia(PrevisaoExecucao& p, const TabelaMigracao& entrada, const DescricaoCopia& descricao,
                 const char* colunaChaveMantida);

// The play log: plays whose music would have no 2010 record, rows the 2010 table would reject.
void PreverEcad(PrevisaoExecucao& p, const TabelaMigracao& entrada);

// The jingles: files missing or renamed on a collision, names longer than their column.
void PreverVinhetas(PrevisaoExecucao& p, const TabelaMigracao& entrada);

// The text "TEXTO longer than COLUMN" of a value that does not fit its 2010 column ("" when it fits).
std::string TextoNaoCabe(const std::string& coluna, const std::string& valor, const ColunaDestino& destino);

}  // namespace quorvel
