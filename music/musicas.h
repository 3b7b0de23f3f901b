#pragma once
// The migration of the music library (TB_MUSICAS): files relocated, folders, lookups and records registered.
#include "migration/ambiente.h"

namespace quorvel {

void ConverterTabelaMusicas(AmbienteMigracao& ambiente, const TabelaMigracao& entrada);

}  // namespace quorvel
