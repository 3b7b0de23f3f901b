#pragma once
// The migration of the play log (TB_ECAD), its music codes translated through MUS_CODIGO_ANTIGO.
#include "migration/ambiente.h"
#include "migration/bases_execucao.h"

namespace quorvel {

void ConverterTabelaEcad(AmbienteMigracao& ambiente, BasesExecucao& bases, const TabelaMigracao& entrada);

}  // namespace quorvel
