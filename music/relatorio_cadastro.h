#pragma once
// What the run's report says of a music registration.
#include <string>

#include "migration/relatorio.h"
#include "music/cadastro_datasets.h"
#include "music/cadastro_musica.h"

namespace quorvel {

// The reason a music is a duplicate: the first 2010 record with its full name (by the same
// condition as the duplicate test), with the 2009 code that record came from when it is known.
std::string DescreverDuplicata(DatasetsCadastro& cad, const std::string& arquivo);

// The tag's outcome for the file and the lookup rows the registration created.
void RelatarEventosCadastro(RelatorioExecucao& relatorio, const EventosCadastro& eventos, const std::string& caminho);

}  // namespace quorvel
