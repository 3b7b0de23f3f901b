#pragma once
// Internal to the database layer: names of parameters and columns compared without regard to
// the case of a-z, without allocating (the lookups run for every bound parameter of every row).
#include <string_view>

namespace quorvel {

inline bool NomesIguais(std::string_view a, std::string_view b) {
    if (a.size() != b.size()) return false;
    for (size_t i = 0; i < a.size(); ++i) {
        char x = a[i], y = b[i];
        if (x >= 'a' && x <= 'z') x = static_cast<char>(x - 32);
        if (y >= 'a' && y <= 'z') y = static_cast<char>(y - 32);
        if (x != y) return false;
    }
    return true;
}

}  // namespace quorvel
