#pragma once
// Internal to the database layer: the client library's status vector turned into errors.
#include <ibase.h>

namespace quorvel::fb {

// Raises ErroBanco with the texts of the status vector, one line per message.
[[noreturn]] void Lancar(const ISC_STATUS* status);

// Raises when the status vector holds an error.
inline void Verificar(const ISC_STATUS* status) {
    if (status[0] == 1 && status[1] != 0) Lancar(status);
}

inline bool Falhou(const ISC_STATUS* status) { return status[0] == 1 && status[1] != 0; }

}  // namespace quorvel::fb
