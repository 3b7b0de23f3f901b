#pragma once
// The file and service names of the two database server products. An entry is read from the row
// of a product: 0 none, 1 InterBase, 2 Firebird; with no product every entry is empty text.
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

// Entry `entrada` of the product's row; empty text for no product (any value other than 1 or 2)
// or an entry that does not exist.
std::string NomeServidor(int produto, int entrada);

}  // namespace quorvel
