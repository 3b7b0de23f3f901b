#include "platform/texto.h"

#include <cerrno>
#include <cmath>
#include <cstdarg>
#include <cstdio>
#include <cstdlib>
#include <limits>

#include "platform/erros.h"

namespace quorvel {

namespace {

// Unicode code points of the bytes 0x80..0x9F in Windows-1252 (0 where the byte is undefined;
// such bytes are shown as the C1 control of the same value).
constexpr char32_t kAlto1252[32] = {
    0x20AC, 0,      0x201A, 0x0192, 0x201E, 0x2026, 0x2020, 0x2021, 0x02C6, 0x2030, 0x0160,
    0x2039, 0x0152, 0,      0x017D, 0,      0,      0x2018, 0x2019, 0x201C, 0x201D, 0x2022,
    0x2013, 0x2014, 0x02DC, 0x2122, 0x0161, 0x203A, 0x0153, 0,      0x017E, 0x0178};

char32_t CodigoUnicode(unsigned char c) {
    if (c >= 0x80 && c <= 0x9F) {
        const char32_t u = kAlto1252[c - 0x80];
        return u ? u : c;
    }
    return c;
}

// The Windows-1252 byte of a code point; -1 when it has none.
int Byte1252(char32_t u) {
    if (u < 0x80 || (u >= 0xA0 && u <= 0xFF)) return static_cast<int>(u);
    for (int i = 0; i < 32; ++i)
        if (kAlto1252[i] == u) return 0x80 + i;
    if (u >= 0x80 && u <= 0x9F && kAlto1252[u - 0x80] == 0) return static_cast<int>(u);
    return -1;
}

void AnexarUtf8(std::string& saida, char32_t u) {
    if (u < 0x80) {
        saida += static_cast<char>(u);
    } else if (u < 0x800) {
        saida += static_cast<char>(0xC0 | (u >> 6));
        saida += static_cast<char>(0x80 | (u & 0x3F));
    } else if (u < 0x10000) {
        saida += static_cast<char>(0xE0 | (u >> 12));
        saida += static_cast<char>(0x80 | ((u >> 6) & 0x3F));
        saida += static_cast<char>(0x80 | (u & 0x3F));
    } else {
        saida += static_cast<char>(0xF0 | (u >> 18));
        saida += static_cast<char>(0x80 | ((u >> 12) & 0x3F));
        saida += static_cast<char>(0x80 | ((u >> 6) & 0x3F));
        saida += static_cast<char>(0x80 | (u & 0x3F));
    }
}

bool EhBranco(unsigned char c) { return c <= 0x20; }

int ValorHex(char c) {
    if (c >= '0' && c <= '9') return c - '0';
    if (c >= 'a' && c <= 'f') return c - 'a' + 10;
    if (c >= 'A' && c <= 'F') return c - 'A' + 10;
    return -1;
}

}  // namespace

std::string MaiusculasAscii(std::string_view texto) {
    std::string r(texto);
    for (char& c : r)
        if (c >= 'a' && c <= 'z') c = static_cast<char>(c - 'a' + 'A');
    return r;
}

std::string MinusculasAscii(std::string_view texto) {
    std::string r(texto);
    for (char& c : r)
        if (c >= 'A' && c <= 'Z') c = static_cast<char>(c - 'A' + 'a');
    return r;
}

std::string MaiusculasLocal(std::string_view texto) {
    std::string r(texto);
    for (char& ch : r) {
        const auto c = static_cast<unsigned char>(ch);
        unsigned char m = c;
        if (c >= 'a' && c <= 'z') m = static_cast<unsigned char>(c - 0x20);
        else if (c >= 0xE0 && c <= 0xFE && c != 0xF7) m = static_cast<unsigned char>(c - 0x20);
        else if (c == 0x9A) m = 0x8A;  // š Š
        else if (c == 0x9C) m = 0x8C;  // œ Œ
        else if (c == 0x9E) m = 0x8E;  // ž Ž
        else if (c == 0xFF) m = 0x9F;  // ÿ Ÿ
        ch = static_cast<char>(m);
    }
    return r;
}

bool IguaisSemCaixa(std::string_view a, std::string_view b) {
    return a.size() == b.size() && MaiusculasAscii(a) == MaiusculasAscii(b);
}

std::string Aparar(std::string_view texto) {
    size_t i = 0, f = texto.size();
    while (i < f && EhBranco(static_cast<unsigned char>(texto[i]))) ++i;
    while (f > i && EhBranco(static_cast<unsigned char>(texto[f - 1]))) --f;
    return std::string(texto.substr(i, f - i));
}

std::string ApararInicio(std::string_view texto) {
    size_t i = 0;
    while (i < texto.size() && EhBranco(static_cast<unsigned char>(texto[i]))) ++i;
    return std::string(texto.substr(i));
}

std::string ApararFim(std::string_view texto) {
    size_t f = texto.size();
    while (f > 0 && EhBranco(static_cast<unsigned char>(texto[f - 1]))) --f;
    return std::string(texto.substr(0, f));
}

std::string Utf8De1252(std::string_view texto) {
    std::string r;
    r.reserve(texto.size() + texto.size() / 4);
    for (char c : texto) AnexarUtf8(r, CodigoUnicode(static_cast<unsigned char>(c)));
    return r;
}

std::string Utf8Para1252(std::string_view texto) {
    std::string r;
    r.reserve(texto.size());
    size_t i = 0;
    while (i < texto.size()) {
        const auto c = static_cast<unsigned char>(texto[i]);
        int n = 0;
        char32_t u = 0;
        if (c < 0x80) { u = c; n = 1; }
        else if ((c & 0xE0) == 0xC0) { u = c & 0x1F; n = 2; }
        else if ((c & 0xF0) == 0xE0) { u = c & 0x0F; n = 3; }
        else if ((c & 0xF8) == 0xF0) { u = c & 0x07; n = 4; }
        bool valido = n > 0 && i + n <= texto.size();
        for (int k = 1; valido && k < n; ++k) {
            const auto d = static_cast<unsigned char>(texto[i + k]);
            if ((d & 0xC0) != 0x80) valido = false;
            else u = (u << 6) | (d & 0x3F);
        }
        if (valido && n > 1) {
            // Overlong forms and surrogates are not valid UTF-8.
            static constexpr char32_t minimo[5] = {0, 0, 0x80, 0x800, 0x10000};
            if (u < minimo[n] || (u >= 0xD800 && u <= 0xDFFF) || u > 0x10FFFF) valido = false;
        }
        if (!valido) {  // a stray byte is taken as Windows-1252 already
            r += static_cast<char>(c);
            ++i;
            continue;
        }
        const int b = Byte1252(u);
        r += b < 0 ? '?' : static_cast<char>(b);
        i += static_cast<size_t>(n);
    }
    return r;
}

std::string FormatarDecimal(double valor, int casas) {
    if (casas < 0) casas = 0;
    // glibc prints the exact binary value rounded to nearest, an exact half to even.
    char buf[512];
    std::snprintf(buf, sizeof buf, "%.*f", casas, valor);
    std::string r = buf;
    const auto ponto = r.find('.');
    if (ponto != std::string::npos) r[ponto] = ',';
    // No digit before the separator when the integer part is zero (".0" has no '0' before it).
    const size_t inicio = (!r.empty() && r[0] == '-') ? 1 : 0;
    if (r.size() > inicio + 1 && r[inicio] == '0' && (r[inicio + 1] == ',' )) r.erase(inicio, 1);
    if (casas == 0 && r.size() == inicio + 1 && r[inicio] == '0') r.erase(inicio, 1);
    // A negative value that rounds to zero prints without its sign.
    if (inicio == 1 && r.find_first_not_of("0,", 1) == std::string::npos) r.erase(0, 1);
    return r;
}

bool TentarTextoParaInteiro(std::string_view texto, int32_t& valor) {
    size_t i = 0;
    while (i < texto.size() && texto[i] == ' ') ++i;
    bool negativo = false;
    if (i < texto.size() && (texto[i] == '+' || texto[i] == '-')) {
        negativo = texto[i] == '-';
        ++i;
    }
    int base = 10;
    if (i < texto.size() && texto[i] == '$') {
        base = 16;
        ++i;
    } else if (i + 1 < texto.size() && texto[i] == '0' && (texto[i + 1] == 'x' || texto[i + 1] == 'X')) {
        base = 16;
        i += 2;
    }
    if (i >= texto.size()) return false;
    int64_t acumulado = 0;
    for (; i < texto.size(); ++i) {
        const int d = base == 16 ? ValorHex(texto[i]) : (texto[i] >= '0' && texto[i] <= '9' ? texto[i] - '0' : -1);
        if (d < 0) return false;
        acumulado = acumulado * base + d;
        if (acumulado > (base == 16 ? int64_t(0xFFFFFFFF) : int64_t(2147483648LL))) return false;
    }
    if (base == 16) {
        // Hexadecimal texts cover the 32 bits; they are taken as their two's complement value.
        int32_t v = static_cast<int32_t>(static_cast<uint32_t>(acumulado));
        valor = negativo ? -v : v;
        return true;
    }
    if (negativo) acumulado = -acumulado;
    if (acumulado < std::numeric_limits<int32_t>::min() || acumulado > std::numeric_limits<int32_t>::max())
        return false;
    valor = static_cast<int32_t>(acumulado);
    return true;
}

int32_t TextoParaInteiro(std::string_view texto) {
    int32_t v = 0;
    if (!TentarTextoParaInteiro(texto, v))
        throw ErroConversao("'" + std::string(texto) + "' is not a valid integer value");
    return v;
}

bool TentarTextoParaDecimal(std::string_view texto, double& valor) {
    std::string t = Aparar(texto);
    if (t.empty()) return false;
    // Only digits, one ',' as the decimal separator, a leading sign and an exponent are allowed.
    std::string c;
    size_t i = 0;
    if (t[i] == '+' || t[i] == '-') c += t[i++];
    bool digitos = false, separador = false;
    for (; i < t.size() && ((t[i] >= '0' && t[i] <= '9') || t[i] == ','); ++i) {
        if (t[i] == ',') {
            if (separador) return false;
            separador = true;
            c += '.';
        } else {
            digitos = true;
            c += t[i];
        }
    }
    if (!digitos) return false;
    if (i < t.size() && (t[i] == 'e' || t[i] == 'E')) {
        c += 'e';
        ++i;
        if (i < t.size() && (t[i] == '+' || t[i] == '-')) c += t[i++];
        bool expoente = false;
        for (; i < t.size() && t[i] >= '0' && t[i] <= '9'; ++i) {
            c += t[i];
            expoente = true;
        }
        if (!expoente) return false;
    }
    if (i != t.size()) return false;
    errno = 0;
    char* fim = nullptr;
    const double v = std::strtod(c.c_str(), &fim);
    if (fim != c.c_str() + c.size() || errno == ERANGE || !std::isfinite(v)) return false;
    valor = v;
    return true;
}

std::string Formatar(const char* formato, ...) {
    va_list args;
    va_start(args, formato);
    va_list copia;
    va_copy(copia, args);
    const int n = std::vsnprintf(nullptr, 0, formato, copia);
    va_end(copia);
    std::string r(n > 0 ? static_cast<size_t>(n) : 0, '\0');
    if (n > 0) std::vsnprintf(r.data(), r.size() + 1, formato, args);
    va_end(args);
    return r;
}

}  // namespace quorvel
