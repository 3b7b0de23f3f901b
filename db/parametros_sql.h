#pragma once
// Named parameters of a statement text: every colon followed by a name, outside quoted literals
// (single or double quotes, as dialect 1 has both) and comments, becomes a '?' marker.
#include <string>
#include <vector>

namespace quorvel {

struct AnaliseParametros {
    std::string textoPosicional;    // the text with a '?' for every parameter
    std::vector<std::string> nomes;  // distinct names, in the order of first use (as written)
    std::vector<int> marcadores;     // for every '?', the index of its name in `nomes`
};

// Names are compared without regard to the case of a-z.
AnaliseParametros AnalisarParametros(const std::string& texto);

}  // namespace quorvel
