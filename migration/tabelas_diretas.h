#pragma once
// The descriptions of the seven tables copied by the plain procedure: the contacts into the
// administration database, and six tables into the audio database.
#include "migration/copia_tabela.h"

namespace quorvel {

const DescricaoCopia& DescricaoAgenda();
const DescricaoCopia& DescricaoAvancoManual();
const DescricaoCopia& DescricaoPerfilBotoes();  // keeps the 2009 keys
const DescricaoCopia& DescricaoBotoneira();
const DescricaoCopia& DescricaoGenero();        // keeps the 2009 keys
const DescricaoCopia& DescricaoIrradiacao();    // the file name computed by the source query
const DescricaoCopia& DescricaoProgAuto();      // the operator flag converted by the source query

}  // namespace quorvel
