#pragma once
// The migration of the jingles (TB_VINHETAS), every jingle file relocated.
#include "app/sequencia.h"
#include "migration/ambiente.h"

namespace quorvel {

void ConverterTabelaVinhetas(AmbienteMigracao& ambiente, const EntradaSequencia& entrada);

}  // namespace quorvel
