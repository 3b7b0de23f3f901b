#pragma once
// The names of the program's temporary files: the final file's name, ".~qv" and random letters
// and digits. Nothing else makes such names, so a file named so beside a destination is known to
// be a temporary file of the program (one that a killed run left behind, when no run holds it).
#include <string>
#include <string_view>

namespace quorvel {

// ".~qv" followed by 8 random lower-case letters and digits.
std::string SufixoTemporario();

// Whether `nome` (a file name without folder, Windows-1252 or UTF-8) is a temporary file's name:
// a name, ".~qv", then 6 or 8 ASCII letters or digits (6: the copies of earlier versions). With
// `deArquivo` not empty, only a temporary file of that one file name (without regard to ASCII
// letter case).
bool NomeDeTemporario(std::string_view nome, std::string_view deArquivo = {});

}  // namespace quorvel
