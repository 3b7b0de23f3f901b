#include "db/data_hora.h"

#include <cctype>
#include <cmath>
#include <vector>

#include "platform/erros.h"
#include "platform/texto.h"

namespace quorvel {

namespace {

// Days since 1 January 1970 of a proleptic Gregorian date (H. Hinnant's algorithm).
int64_t DiasDesde1970(int64_t a, unsigned m, unsigned d) {
    a -= m <= 2;
    const int64_t era = (a >= 0 ? a : a - 399) / 400;
    const unsigned aDaEra = static_cast<unsigned>(a - era * 400);
    const unsigned diaDoAno = (153 * (m > 2 ? m - 3 : m + 9) + 2) / 5 + d - 1;
    const unsigned diaDaEra = aDaEra * 365 + aDaEra / 4 - aDaEra / 100 + diaDoAno;
    return era * 146097 + static_cast<int64_t>(diaDaEra) - 719468;
}

void DataDeDias(int64_t z, int& ano, int& mes, int& dia) {
    z += 719468;
    const int64_t era = (z >= 0 ? z : z - 146096) / 146097;
    const unsigned diaDaEra = static_cast<unsigned>(z - era * 146097);
    const unsigned aDaEra = (diaDaEra - diaDaEra / 1460 + diaDaEra / 36524 - diaDaEra / 146096) / 365;
    const int64_t a = static_cast<int64_t>(aDaEra) + era * 400;
    const unsigned diaDoAno = diaDaEra - (365 * aDaEra + aDaEra / 4 - aDaEra / 100);
    const unsigned mp = (5 * diaDoAno + 2) / 153;
    dia = static_cast<int>(diaDoAno - (153 * mp + 2) / 5 + 1);
    mes = static_cast<int>(mp < 10 ? mp + 3 : mp - 9);
    ano = static_cast<int>(a + (mes <= 2));
}

constexpr int64_t DiaZero = -25569;  // 30 December 1899, counted from 1 January 1970

bool Bissexto(int a) { return (a % 4 == 0 && a % 100 != 0) || a % 400 == 0; }

int DiasNoMes(int a, int m) {
    static const int dias[] = {31, 28, 31, 30, 31, 30, 31, 31, 30, 31, 30, 31};
    return m == 2 && Bissexto(a) ? 29 : dias[m - 1];
}

bool DataValida(int a, int m, int d) {
    return a >= 1 && a <= 9999 && m >= 1 && m <= 12 && d >= 1 && d <= DiasNoMes(a, m);
}

// Splits a text into runs of digits and the single separators between them.
struct Leitor {
    std::string_view t;
    size_t p = 0;
    void Brancos() {
        while (p < t.size() && (t[p] == ' ' || t[p] == '\t')) ++p;
    }
    bool Numero(int& v, int& digitos) {
        v = 0;
        digitos = 0;
        while (p < t.size() && std::isdigit(static_cast<unsigned char>(t[p]))) {
            if (digitos < 9) v = v * 10 + (t[p] - '0');
            ++digitos;
            ++p;
        }
        return digitos > 0;
    }
    bool Caractere(char c) {
        if (p < t.size() && t[p] == c) {
            ++p;
            return true;
        }
        return false;
    }
    bool Fim() const { return p >= t.size(); }
};

bool LerHora(Leitor& l, int& h, int& n, int& s, int& ms) {
    int dig = 0;
    h = n = s = ms = 0;
    if (!l.Numero(h, dig) || dig > 2) return false;
    if (!l.Caractere(':')) return false;
    if (!l.Numero(n, dig) || dig > 2) return false;
    if (l.Caractere(':')) {
        if (!l.Numero(s, dig) || dig > 2) return false;
        if (l.Caractere('.') || l.Caractere(',')) {
            int frac = 0;
            if (!l.Numero(frac, dig) || dig > 4) return false;
            while (dig < 3) {
                frac *= 10;
                ++dig;
            }
            while (dig > 3) {
                frac /= 10;
                --dig;
            }
            ms = frac;
        }
    }
    return h < 24 && n < 60 && s < 60;
}

}  // namespace

DataHora DataHora::De(int ano, int mes, int dia, int hora, int minuto, int segundo,
                      int milissegundo) {
    if (!DataValida(ano, mes, dia) || hora < 0 || hora > 23 || minuto < 0 || minuto > 59 ||
        segundo < 0 || segundo > 59 || milissegundo < 0 || milissegundo > 999)
        throw ErroConversao("Invalid argument to date encode");
    DataHora r;
    r.dia = static_cast<int32_t>(DiasDesde1970(ano, mes, dia) - DiaZero);
    r.tempo = static_cast<uint32_t>(((hora * 60 + minuto) * 60 + segundo)) * UnidadesPorSegundo +
              static_cast<uint32_t>(milissegundo) * 10;
    return r;
}

void DataHora::Decompor(int& ano, int& mes, int& diaMes) const {
    DataDeDias(static_cast<int64_t>(dia) + DiaZero, ano, mes, diaMes);
}

void DataHora::DecomporHora(int& hora, int& minuto, int& segundo, int& milissegundo) const {
    uint32_t t = tempo % UnidadesPorDia;
    milissegundo = static_cast<int>((t % UnidadesPorSegundo) / 10);
    t /= UnidadesPorSegundo;
    segundo = static_cast<int>(t % 60);
    t /= 60;
    minuto = static_cast<int>(t % 60);
    hora = static_cast<int>(t / 60);
}

double DataHora::ComoDouble() const {
    // Before the zero point the fraction counts forward from the day, as the floating-point
    // date-time does: -1.25 is 29 December 1899 06:00.
    const double fracao = static_cast<double>(tempo) / UnidadesPorDia;
    return dia >= 0 ? dia + fracao : dia - fracao;
}

DataHora DataHora::DeDouble(double valor) {
    DataHora r;
    const double inteiro = std::trunc(valor);
    double fracao = std::fabs(valor - inteiro);
    int64_t unidades = std::llround(fracao * UnidadesPorDia);
    int64_t d = static_cast<int64_t>(inteiro);
    if (unidades >= UnidadesPorDia) {
        unidades -= UnidadesPorDia;
        d += valor >= 0 ? 1 : -1;
    }
    r.dia = static_cast<int32_t>(d);
    r.tempo = static_cast<uint32_t>(unidades);
    return r;
}

std::string DataHoraParaTexto(const DataHora& valor) {
    int a, m, d, h, n, s, ms;
    valor.Decompor(a, m, d);
    valor.DecomporHora(h, n, s, ms);
    if (valor.tempo == 0) return Formatar("%02d/%02d/%04d", d, m, a);
    return Formatar("%02d/%02d/%04d %02d:%02d:%02d", d, m, a, h, n, s);
}

bool TentarTextoParaDataHora(std::string_view texto, DataHora& valor) {
    Leitor l{texto};
    l.Brancos();
    int n1, n2, n3, d1, d2, d3;
    if (!l.Numero(n1, d1)) return false;
    char sep = l.p < texto.size() ? texto[l.p] : '\0';
    if (sep != '/' && sep != '-' && sep != '.') return false;
    ++l.p;
    if (!l.Numero(n2, d2) || !l.Caractere(sep) || !l.Numero(n3, d3)) return false;
    int ano, mes, dia;
    if (d1 == 4 && sep == '-') {  // ISO: yyyy-mm-dd
        ano = n1;
        mes = n2;
        dia = n3;
        if (d2 > 2 || d3 > 2) return false;
    } else {
        if (d1 > 2 || d2 > 2 || (d3 != 2 && d3 != 4 && d3 != 1 && d3 != 3)) return false;
        dia = n1;
        mes = n2;
        ano = n3;
        if (d3 <= 2) ano += ano < 50 ? 2000 : 1900;
    }
    if (!DataValida(ano, mes, dia)) return false;
    int h = 0, n = 0, s = 0, ms = 0;
    l.Brancos();
    if (!l.Fim() && (texto[l.p] == 'T' || std::isdigit(static_cast<unsigned char>(texto[l.p])))) {
        if (texto[l.p] == 'T') ++l.p;
        if (!LerHora(l, h, n, s, ms)) return false;
        l.Brancos();
    }
    if (!l.Fim()) return false;
    valor = DataHora::De(ano, mes, dia, h, n, s, ms);
    return true;
}

DataHora TextoParaDataHora(std::string_view texto) {
    DataHora r;
    if (!TentarTextoParaDataHora(texto, r))
        throw ErroConversao("'" + std::string(texto) + "' is not a valid date and time");
    return r;
}

}  // namespace quorvel
