#pragma once
// The migration of the play log (TB_ECAD), its music codes translated through MUS_CODIGO_ANTIGO.
#include "migration/ambiente.h"
#include "migration/bases_execucao.h"

namespace quorvel {

// What names a play for a person: its date, time and 2009 music code.
std::string IdentificacaoEcad(TIBQuery& origem, int32_t codigoMusica);

void ConverterTabelaEcad(AmbienteMigracao& ambiente, BasesExecucao& bases, const TabelaMigracao& entrada);

}  // namespace quorvel
