#pragma once
// Durations as whole seconds and as the five-character mm:ss text of MUS_TEMPO and vin_tempo.
#include <cstdint>
#include <string>

namespace quorvel {

// Drops the leading characters of code 32 or below, then cuts to `largura` characters or pads on
// the left with `preenchimento`. A width of zero or less gives the empty text.
std::string PreencherEsquerda(const std::string& texto, char preenchimento, int32_t largura);
// mm:ss; minutes of 100 or more keep their first two digits (6000 gives 10:00).
std::string SegundosParaTempo(int32_t segundos);
// minutes ":" seconds (the seconds may have a fraction with ',' or '.'), rounded half to even.
// Raises ErroConversao on malformed text.
int32_t TempoParaSegundos(const std::string& tempo);

}  // namespace quorvel
