#pragma once
// The migration of the jingles (TB_VINHETAS), every jingle file relocated.
#include "migration/ambiente.h"
#include "migration/bases_execucao.h"

namespace quorvel {

void ConverterTabelaVinhetas(AmbienteMigracao& ambiente, BasesExecucao& bases, const TabelaMigracao& entrada);

}  // namespace quorvel
