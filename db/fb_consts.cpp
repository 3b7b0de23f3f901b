#include "db/fb_consts.h"

namespace quorvel {

std::string NomeServidor(int produto, int entrada) {
    if ((produto != ProdutoInterBase && produto != ProdutoFirebird) || entrada < 0 ||
        entrada >= QuantidadeNomesServidor)
        return {};
    return FB_Consts[produto - 1][entrada];
}

}  // namespace quorvel
