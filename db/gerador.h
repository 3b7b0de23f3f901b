#pragma once
// Moves a generator past the highest key of its table after rows were copied with their own keys.
#include <string>

#include "db/ib_conexao.h"

namespace quorvel {

// The two 2010 databases with their transactions.
struct Bases2010 {
    TIBDatabase* adm = nullptr;
    TIBTransaction* transacaoAdm = nullptr;
    TIBDatabase* audio = nullptr;
    TIBTransaction* transacaoAudio = nullptr;
};

// Sets `generator` to the highest `campo` of `tabela` plus 10 (0 for an empty table) and commits
// retaining. `base` "ADM" in any letter case selects the administration database, any other text
// the audio database. Database errors are raised; the generator then keeps its value.
void AtualizarGenerator(const std::string& tabela, const std::string& campo,
                        const std::string& generator, const std::string& base,
                        const Bases2010& bases);

}  // namespace quorvel
