#include "migration/vinhetas.h"

#include "platform/erros.h"

namespace quorvel {

// Not built yet: an unchecked table passes as every migrator does; a checked one ends the run
// with an error naming it.
void ConverterTabelaVinhetas(AmbienteMigracao& ambiente, const EntradaSequencia& entrada) {
    ambiente.EstadoRun().RegistroAtual = 0;
    ambiente.AtualizarProgresso();
    if (!ambiente.TabelaMarcada(entrada.numero - 1)) return;
    throw Erro(std::string("A migra\xE7\xE3o da tabela ") + entrada.tabela + " ainda n\xE3o est\xE1 dispon\xEDvel nesta vers\xE3o");
}

}  // namespace quorvel
