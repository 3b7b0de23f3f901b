#pragma once
// INI files with the semantics of the Windows private-profile functions.
//
// Section and key names match without regard to case; the value is the text after the first '='
// with surrounding blanks removed, and then one pair of matching quotes (" or ') around all of it;
// a missing file, section or key reads as empty text; a value is
// read up to 2,047 characters. A write creates the file and the section when missing and keeps
// every other line; lines end in CR LF. A failed write raises Erro "Unable to write to <path>".
// Paths are Windows path texts (see platform/caminhos.h).
#include <optional>
#include <string>
#include <utility>
#include <vector>

namespace quorvel {

std::string LerIni(const std::string& arquivo, const std::string& secao, const std::string& chave);
void GravarIni(const std::string& arquivo, const std::string& secao, const std::string& chave,
               const std::string& valor);
// Several keys of one section in one write, in order: the file holds all of them or none, also
// when the program dies in the middle.
void GravarIni(const std::string& arquivo, const std::string& secao,
               const std::vector<std::pair<std::string, std::string>>& valores);

// The lines of a text file (CR LF, LF or CR line ends), as a list of strings loads them.
// nullopt when the file cannot be read.
std::optional<std::vector<std::string>> LerLinhas(const std::string& arquivo);

}  // namespace quorvel
