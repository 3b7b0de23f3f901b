#include "migration/codigo_antigo.h"

namespace quorvel {

bool ExisteCodigoAntigo(BasesExecucao& bases) {
    TIBQuery& alvo = bases.QueryConverteAudio;
    alvo.Close();
    // No row is returned; only the column list of the result is looked at.
    alvo.SQL.SetText("SELECT * FROM TB_MUSICAS WHERE 1 = 2");
    alvo.Open();
    return alvo.FindField(ColunaCodigoAntigo) != nullptr;
}

}  // namespace quorvel
