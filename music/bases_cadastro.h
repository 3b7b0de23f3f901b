#pragma once
// The databases of a run together with the cached-update datasets through which music
// registration writes into the audio database: everything of the databases a run holds.
#include "migration/bases_execucao.h"
#include "music/cadastro_datasets.h"

namespace quorvel {

struct BasesComCadastro : BasesExecucao {
    DatasetsCadastro CadastroMusicas{DB_Audio, Transaction_Audio};
};

}  // namespace quorvel
