#include "db/fb_status.h"

#include <string>

#include "db/erro_banco.h"

namespace quorvel::fb {

void Lancar(const ISC_STATUS* status) {
    std::string texto;
    const ISC_STATUS* p = status;
    char linha[1024];
    while (fb_interpret(linha, sizeof linha, &p) > 0) {
        if (!texto.empty()) texto += '\n';
        texto += linha;
    }
    if (texto.empty()) texto = "Unknown database error";
    throw ErroBanco(texto, static_cast<int64_t>(status[1]));
}

}  // namespace quorvel::fb
