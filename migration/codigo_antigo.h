#pragma once
// The column MUS_CODIGO_ANTIGO of the 2010 TB_MUSICAS: the 2009 code of each music, kept by the
// music migration so that the play log can translate its music codes, and dropped by the play-log
// migration once the whole log has been copied.
#include "migration/bases_execucao.h"

namespace quorvel {

inline constexpr const char* ColunaCodigoAntigo = "MUS_CODIGO_ANTIGO";

// True when the 2010 TB_MUSICAS has the column. Uses the audio target statement, which it leaves
// open on an empty result ("SELECT * FROM TB_MUSICAS WHERE 1 = 2").
bool ExisteCodigoAntigo(BasesExecucao& bases);

}  // namespace quorvel
