#pragma once
// Windows-1252 text: the core keeps every text as single-byte Windows-1252 in std::string.
#include <cstdint>
#include <string>
#include <string_view>

namespace quorvel {

// Upper case of the letters a to z only; every other byte unchanged.
std::string MaiusculasAscii(std::string_view texto);
// Upper case by the locale's rules: a-z, the accented letters à-þ (but ÷) and š œ ž ÿ.
std::string MaiusculasLocal(std::string_view texto);
// Lower case of the letters A to Z only.
std::string MinusculasAscii(std::string_view texto);
// Compare without regard to case of a-z.
bool IguaisSemCaixa(std::string_view a, std::string_view b);

// Removes the characters of code 0x20 or below from both ends / from the start / from the end.
std::string Aparar(std::string_view texto);
std::string ApararInicio(std::string_view texto);
std::string ApararFim(std::string_view texto);

// Conversion for display (window, terminal, JSON) and back. Characters that Windows-1252 cannot
// hold become '?'; invalid UTF-8 bytes are taken as Windows-1252 bytes.
std::string Utf8De1252(std::string_view texto);
std::string Utf8Para1252(std::string_view texto);

// Formats a number with ',' as decimal separator and exactly `casas` decimals, as the formats
// ".0" and ".000" do: no digit before the separator when the integer part is 0, the last decimal
// rounded (an exact half to the even neighbour).
std::string FormatarDecimal(double valor, int casas);

// Integer text conversions as StrToInt does them: leading blanks allowed, an optional sign,
// decimal digits (or '$' / "0x" followed by hexadecimal digits), nothing after them, within the
// signed 32-bit range.
bool TentarTextoParaInteiro(std::string_view texto, int32_t& valor);
// Raises ErroConversao "'%s' is not a valid integer value".
int32_t TextoParaInteiro(std::string_view texto);

// Decimal number text with ',' as separator (StrToFloat under a ',' locale). Leading and
// trailing blanks allowed, optional sign, digits with at most one ',', optional exponent.
bool TentarTextoParaDecimal(std::string_view texto, double& valor);

// printf into a std::string.
std::string Formatar(const char* formato, ...) __attribute__((format(printf, 1, 2)));

}  // namespace quorvel
