#pragma once
// The kinds of message box a run shows: the information icon for refusals and notices, the
// warning icon for the stop notice, the error icon for errors.
namespace quorvel {

enum class TipoMensagem { Informacao, Aviso, Erro };

}  // namespace quorvel
