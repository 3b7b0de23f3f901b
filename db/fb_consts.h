#pragma once
// The file and service names of the two database server products, and the product selector.
//
// The selector is one value for the whole program: 0 none (the starting value), 1 InterBase,
// 2 Firebird. An entry is read from the row of the selected product; with no product selected
// every entry is empty text.
#include <string>

namespace quorvel {

enum ProdutoServidor : int { ProdutoNenhum = 0, ProdutoInterBase = 1, ProdutoFirebird = 2 };

// Entries of a row: 0 the server program, 1 the guardian program, 2 and 3 the short server and
// guardian names, 4 and 5 the service names.
inline constexpr int QuantidadeNomesServidor = 6;
inline constexpr const char* FB_Consts[2][QuantidadeNomesServidor] = {
    {"ibserver.exe", "ibguard.exe", "IB_Server", "IB_Guard", "InterBaseServer", "InterBaseGuardian"},
    {"fbserver.exe", "fbguard.exe", "FB_Server", "FB_Guard", "FirebirdServerDefaultInstance",
     "FirebirdGuardianDefaultInstance"},
};

// Selects the product (any other value than 1 or 2 selects none).
void SelecionarProdutoServidor(int produto);
int ProdutoServidorSelecionado();
// Entry `entrada` of the selected product's row; empty text when no product is selected or the
// entry does not exist.
std::string NomeServidor(int entrada);

}  // namespace quorvel
