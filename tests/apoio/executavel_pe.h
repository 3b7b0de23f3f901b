#pragma once
// Tiny Windows executables made at test time by Debian's binutils-mingw-w64 (windres, as, ld,
// objcopy), with or without a version resource.
#include <optional>
#include <string>
#include <utility>
#include <vector>

namespace quorvel::teste {

struct RecursoVersao {
    std::string bloco = "040904E4";  // the string table's language and code page
    // Name and text of each string value, Windows-1252.
    std::vector<std::pair<std::string, std::string>> valores;
    std::string traducao = "0x409, 1252";  // the VarFileInfo translation
};

// Writes the executable to the host path `destino` (its folder must exist): an x86-64 PE32+
// file, or a 32-bit PE32 file when `pe32`. Without `recurso` it has no resource section.
// Throws std::runtime_error with the tool's output when a tool fails.
void CriarExecutavelWindows(const std::string& destino, const std::optional<RecursoVersao>& recurso,
                            bool pe32 = false);

// A version resource with FileDescription and FileVersion (and CompanyName "Firebird Project").
RecursoVersao RecursoServidor(const std::string& descricao, const std::string& versao);

}  // namespace quorvel::teste
