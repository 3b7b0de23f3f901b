#pragma once
// The texts of the run report, all in one place: the detail lines, the table headings and the
// summary, in the indicative for a run and in the conditional for a forecast. Windows-1252,
// lines without their end (the report ends each with CR LF).
#include <cstdint>
#include <string>

#include "migration/relatorio.h"

namespace quorvel {

// The label of an occurrence between brackets: "[DEIXADA DE FORA]" or "[SERIA DEIXADA DE FORA]".
std::string RotuloOcorrencia(Ocorrencia ocorrencia, bool previsao);

// A detail line: "  [LABEL] código 2009 12 (Ana - Luz): reason" for a row's event, or
// "  [LABEL] text" for an event of no row.
std::string LinhaOcorrencia(Ocorrencia ocorrencia, bool previsao, bool daLinha, int64_t chave,
                            const std::string& identificacao, const std::string& texto);

// "== TB_MUSICAS: 120 registros na origem ==".
std::string CabecalhoTabela(const std::string& tabela, int64_t naOrigem);

// The one-screen summary (lines separated by CR LF, ending with one).
std::string TextoResumo(const ResumoRelatorio& resumo, const std::string& desfecho);

// The notice that follows a run's end messages when rows or files did not arrive (or the report
// could not be written); "" when there is nothing to tell. Lines separated by carriage returns.
std::string TextoAvisoPerdas(const ResumoRelatorio& resumo);

// The reasons a row is left out, shared by the run and the forecast so that they read alike.
// A play whose 2009 music has no 2010 record.
std::string MotivoMusicaNaoEncontrada(int32_t codigoMusica2009);
// A music whose full name a 2010 record has already; `codigoAntigo` is the 2009 code that
// record came from in this or an earlier run (0 when unknown).
std::string MotivoDuplicata(int64_t codigo2010, const std::string& nomeCompleto, int64_t codigoAntigo);
// The same, foreseen: the record an earlier 2009 music of the run would create.
std::string MotivoDuplicataPrevista(const std::string& nomeCompleto, int64_t codigo2009);
// A music whose folder is itself a network path.
std::string MotivoPastaDeRede(const std::string& caminhoServidor);

// What a missing file means for its row: a music is registered with 00:00 and no tag data; a
// jingle's row names a file that does not exist.
std::string NotaMusicaSemArquivo();
std::string NotaVinhetaSemArquivo(const std::string& destino);

// A moment as "2026-12-09 14:03:22" (local time).
std::string DataHoraTexto(int64_t segundosDesde1970);

// The name of a report file for the moment given (local time): "Relatorio 2026-12-09 14-03-22.txt".
std::string NomeArquivoRelatorio(int64_t segundosDesde1970);

}  // namespace quorvel
