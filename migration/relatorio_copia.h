#pragma once
// What the run's report says of one relocated audio file.
#include "migration/relatorio.h"
#include "migration/relocacao.h"

namespace quorvel {

// One line for the file: copied (renamed when it went to another name than the wished one),
// missing, or failed to copy with the error.
// `notaAusente` says what a missing file means for its row.
void RelatarCopia(RelatorioExecucao& relatorio, const CopiaArquivo& copia, const std::string& notaAusente);

}  // namespace quorvel
