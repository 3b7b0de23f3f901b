#pragma once
// Detection of the database server installed on this machine: its root folder from the registry,
// its server program and the description and version of that program.
#include <string>

#include "db/fb_consts.h"

#include "platform/erros.h"

namespace quorvel {

// Registry keys (under HKEY_LOCAL_MACHINE) and values that hold the root folders, in the order
// they are tried.
inline constexpr const char* ChaveFirebird = "\\Software\\Firebird Project\\Firebird Server\\Instances";
inline constexpr const char* ValorFirebird = "DefaultInstance";
inline constexpr const char* ChaveInterBase = "\\Software\\Borland\\InterBase\\CurrentVersion";
inline constexpr const char* ValorInterBase = "RootDirectory";

// The server's root folder as the registry holds it (with or without a final backslash): the
// Firebird instance when there is one, else the InterBase root; empty text when neither.
// A value that is not a text raises Erro.
std::string DiretorioServidor();

// What the window shows of the server: the text of LabelVersaoFB and the lamp.
struct VersaoDoServidor {
    std::string Texto;   // description, blank, version; a single blank without a version resource
    bool Verde = false;  // black label and green lamp; red label and red lamp otherwise
    int Produto = ProdutoNenhum;  // the product whose server program was found
};

// True when the version text contains "2.1.3" anywhere.
bool VersaoAceita(const std::string& texto);

// Why no server was found, in the words the operator is told (a message box with the information
// icon); after showing it the caller goes on as after a silent abort.
class ServidorNaoEncontrado : public Erro {
public:
    using Erro::Erro;
};

// Finds the server program below the root folder's "bin" ("fbserver.exe", else "ibserver.exe")
// and reads its version, leaving the product selector of db/fb_consts.h at the product found.
// Raises ServidorNaoEncontrado when no server is registered, the root folder is missing or
// neither program exists.
VersaoDoServidor VersaoServidor();

}  // namespace quorvel
