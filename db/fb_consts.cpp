#include "db/fb_consts.h"

#include <atomic>

namespace quorvel {

namespace {
std::atomic<int> produtoSelecionado{ProdutoNenhum};
}

void SelecionarProdutoServidor(int produto) {
    produtoSelecionado = produto == ProdutoInterBase || produto == ProdutoFirebird ? produto : ProdutoNenhum;
}

int ProdutoServidorSelecionado() { return produtoSelecionado; }

std::string NomeServidor(int entrada) {
    const int produto = produtoSelecionado;
    if (produto == ProdutoNenhum || entrada < 0 || entrada >= QuantidadeNomesServidor) return {};
    return FB_Consts[produto - 1][entrada];
}

}  // namespace quorvel
