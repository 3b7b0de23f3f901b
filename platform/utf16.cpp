#include "platform/utf16.h"

namespace quorvel {

namespace {

// The characters of bytes 0x80 to 0x9F; the other bytes are their own code points.
constexpr char16_t Faixa80a9F[32] = {
    0x20AC, 0x0081, 0x201A, 0x0192, 0x201E, 0x2026, 0x2020, 0x2021,
    0x02C6, 0x2030, 0x0160, 0x2039, 0x0152, 0x008D, 0x017D, 0x008F,
    0x0090, 0x2018, 0x2019, 0x201C, 0x201D, 0x2022, 0x2013, 0x2014,
    0x02DC, 0x2122, 0x0161, 0x203A, 0x0153, 0x009D, 0x017E, 0x0178,
};

char ByteDe(char16_t c) {
    if (c < 0x80 || (c >= 0xA0 && c <= 0xFF)) return static_cast<char>(c);
    for (int i = 0; i < 32; ++i)
        if (Faixa80a9F[i] == c) return static_cast<char>(0x80 + i);
    return '?';
}

}  // namespace

std::u16string Utf16De1252(std::string_view texto) {
    std::u16string resultado;
    resultado.reserve(texto.size());
    for (unsigned char b : texto)
        resultado.push_back(b >= 0x80 && b <= 0x9F ? Faixa80a9F[b - 0x80] : static_cast<char16_t>(b));
    return resultado;
}

std::string Utf16Para1252(std::u16string_view texto) {
    std::string resultado;
    resultado.reserve(texto.size());
    for (size_t i = 0; i < texto.size(); ++i) {
        const char16_t c = texto[i];
        if (c >= 0xD800 && c <= 0xDBFF && i + 1 < texto.size() && texto[i + 1] >= 0xDC00 &&
            texto[i + 1] <= 0xDFFF) {
            ++i;  // one character outside the basic plane
            resultado.push_back('?');
            continue;
        }
        resultado.push_back(ByteDe(c));
    }
    return resultado;
}

}  // namespace quorvel
