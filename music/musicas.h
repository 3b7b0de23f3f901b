#pragma once
// The migration of the music library (TB_MUSICAS): files relocated, folders, lookups and records registered.
#include "migration/ambiente.h"
#include "music/bases_cadastro.h"

namespace quorvel {

void ConverterTabelaMusicas(AmbienteMigracao& ambiente, BasesComCadastro& bases, const TabelaMigracao& entrada);

}  // namespace quorvel
