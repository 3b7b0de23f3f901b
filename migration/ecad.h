#pragma once
// The migration of the play log (TB_ECAD), its music codes translated through MUS_CODIGO_ANTIGO.
#include "migration/ambiente.h"

namespace quorvel {

void ConverterTabelaEcad(AmbienteMigracao& ambiente, const TabelaMigracao& entrada);

}  // namespace quorvel
