#pragma once
// Music folders as the station's computers reach them, and their rows in TB_PASTAS.
#include <string>

#include "music/cadastro_datasets.h"

namespace quorvel {

// The folder as recorded for the databases' host: when `servidor` (the host part of the
// administration database's location) is not C, "D:\Musicas\" becomes "\\servidor\D\Musicas\"
// (every ':' removed); with C the folder is kept as it is.
std::string CaminhoServidor(const std::string& pasta, const std::string& servidor);

// True when the server path holds three consecutive backslashes: a folder that was itself a
// network path, reached through the host. Such folders cannot be registered from here.
bool CaminhoDeRedeDireta(const std::string& caminhoServidor);

// Registers the folder (upper-cased by the locale's rules) in TB_PASTAS unless a row with that
// path exists; a new row is written and committed at once. True when a row was written.
bool CadastrarPasta(DatasetsCadastro& cad, const std::string& caminho);

}  // namespace quorvel
