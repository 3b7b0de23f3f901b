#pragma once
// The forecast of the music copy: each 2009 music's file, folder, duplicate test, tag and
// lookups, judged by the same functions as the run, with nothing written.
#include "migration/previsao.h"
#include "music/cadastro_datasets.h"

namespace quorvel {

void PreverMusicas(PrevisaoExecucao& p, DatasetsCadastro& cad, const TabelaMigracao& entrada);

}  // namespace quorvel
