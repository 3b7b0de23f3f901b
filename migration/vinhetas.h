#pragma once
// The migration of the jingles (TB_VINHETAS), every jingle file relocated.
#include "migration/ambiente.h"

namespace quorvel {

void ConverterTabelaVinhetas(AmbienteMigracao& ambiente, const TabelaMigracao& entrada);

}  // namespace quorvel
