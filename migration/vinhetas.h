#pragma once
// The migration of the jingles (TB_VINHETAS), every jingle file relocated.
#include "migration/ambiente.h"
#include "migration/bases_execucao.h"

namespace quorvel {

// The 2010 name of a jingle row: its file name without the last four characters.
std::string NomeSemExtensao(const std::string& arquivo);

void ConverterTabelaVinhetas(AmbienteMigracao& ambiente, BasesExecucao& bases, const TabelaMigracao& entrada);

}  // namespace quorvel
