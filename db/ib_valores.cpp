#include "db/ib_valores.h"

#include <cmath>
#include <cstdio>
#include <cstdlib>

#include "db/ib_query.h"
#include "platform/erros.h"
#include "platform/texto.h"

namespace quorvel {

namespace {

double Potencia10(int escala) {
    double r = 1;
    for (int i = 0; i < -escala; ++i) r *= 10;
    return r;
}

// A floating-point number as text with 15 significant digits, ',' as the decimal separator and
// an exponent only for very large or small numbers ("1E20", "1,5E-7").
std::string DecimalParaTexto(double v) {
    if (std::isnan(v)) return "NAN";
    if (std::isinf(v)) return v > 0 ? "INF" : "-INF";
    char buf[64];
    std::snprintf(buf, sizeof buf, "%.15G", v);
    std::string s = buf;
    std::string r;
    for (size_t i = 0; i < s.size(); ++i) {
        char c = s[i];
        if (c == '.') {
            r += ',';
        } else if (c == 'E') {
            r += 'E';
            ++i;
            if (i < s.size() && s[i] == '-') r += '-';
            if (i < s.size() && (s[i] == '+' || s[i] == '-')) ++i;
            while (i + 1 < s.size() && s[i] == '0') ++i;
            r += s.substr(i);
            break;
        } else {
            r += c;
        }
    }
    return r;
}

// A decimal integer text: optional blanks, an optional sign, digits, optional blanks.
bool TextoInteiroDecimal(const std::string& t, int64_t& v) {
    size_t i = 0;
    while (i < t.size() && t[i] == ' ') ++i;
    bool negativo = false;
    if (i < t.size() && (t[i] == '+' || t[i] == '-')) negativo = t[i++] == '-';
    const size_t inicio = i;
    uint64_t acc = 0;
    while (i < t.size() && t[i] >= '0' && t[i] <= '9') {
        acc = acc * 10 + static_cast<uint64_t>(t[i] - '0');
        if (acc > 9223372036854775807ull) return false;
        ++i;
    }
    if (i == inicio) return false;
    while (i < t.size() && t[i] == ' ') ++i;
    if (i != t.size()) return false;
    v = negativo ? -static_cast<int64_t>(acc) : static_cast<int64_t>(acc);
    return true;
}

}  // namespace

std::string ValorComoTexto(const Valor& v, int escala, bool soData) {
    switch (v.index()) {
        case 0: return std::string();
        case 1: {
            const int64_t i = std::get<int64_t>(v);
            if (escala == 0) return std::to_string(i);
            return DecimalParaTexto(static_cast<double>(i) / Potencia10(escala));
        }
        case 2: return DecimalParaTexto(std::get<double>(v));
        case 3: {
            DataHora d = std::get<DataHora>(v);
            if (soData) d.tempo = 0;
            return DataHoraParaTexto(d);
        }
        default: return std::get<std::string>(v);
    }
}

int64_t ValorComoInteiro64(const Valor& v, int escala) {
    switch (v.index()) {
        case 0: return 0;
        case 1: {
            const int64_t i = std::get<int64_t>(v);
            if (escala == 0) return i;
            return static_cast<int64_t>(std::nearbyint(static_cast<double>(i) / Potencia10(escala)));
        }
        case 2: return static_cast<int64_t>(std::nearbyint(std::get<double>(v)));
        case 3: return std::get<DataHora>(v).dia;
        default: {
            const std::string& t = std::get<std::string>(v);
            int32_t i32;
            if (TentarTextoParaInteiro(t, i32)) return i32;
            int64_t i64;
            if (TextoInteiroDecimal(t, i64)) return i64;
            throw ErroConversao("'" + t + "' is not a valid integer value");
        }
    }
}

int32_t ValorComoInteiro(const Valor& v, int escala) {
    if (std::holds_alternative<std::string>(v)) return TextoParaInteiro(std::get<std::string>(v));
    return static_cast<int32_t>(ValorComoInteiro64(v, escala));
}

double ValorComoDecimal(const Valor& v, int escala) {
    switch (v.index()) {
        case 0: return 0;
        case 1: return static_cast<double>(std::get<int64_t>(v)) / Potencia10(escala);
        case 2: return std::get<double>(v);
        case 3: return std::get<DataHora>(v).ComoDouble();
        default: {
            const std::string& t = std::get<std::string>(v);
            double d;
            if (!TentarTextoParaDecimal(t, d))
                throw ErroConversao("'" + t + "' is not a valid floating point value");
            return d;
        }
    }
}

DataHora ValorComoDataHora(const Valor& v, int escala) {
    switch (v.index()) {
        case 0: return DataHora{};
        case 1: return DataHora::DeDouble(ValorComoDecimal(v, escala));
        case 2: return DataHora::DeDouble(std::get<double>(v));
        case 3: return std::get<DataHora>(v);
        default: return TextoParaDataHora(std::get<std::string>(v));
    }
}

// ---- TParam ----

void TParam::SetAsString(const std::string& texto) {
    if (tipo_ != TipoCampo::Blob) tipo_ = TipoCampo::Texto;
    valor_ = texto;
}

void TParam::SetAsBlob(const std::string& conteudo) {
    tipo_ = TipoCampo::Blob;
    valor_ = conteudo;
}

void TParam::SetAsInteger(int32_t valor) {
    tipo_ = TipoCampo::Inteiro;
    valor_ = static_cast<int64_t>(valor);
}

void TParam::SetAsLargeInt(int64_t valor) {
    tipo_ = TipoCampo::Inteiro64;
    valor_ = valor;
}

void TParam::SetAsFloat(double valor) {
    tipo_ = TipoCampo::Decimal;
    valor_ = valor;
}

void TParam::SetAsDateTime(const DataHora& valor) {
    tipo_ = TipoCampo::Data;
    valor_ = valor;
}

void TParam::Clear() {
    valor_ = std::monostate{};
}

// ---- TField ----

const Valor& TField::ValorAtual() const { return dono_->ValorCampo(indice_); }
bool TField::IsNull() const { return std::holds_alternative<std::monostate>(ValorAtual()); }
std::string TField::AsString() const { return ValorComoTexto(ValorAtual(), escala_, soData_); }
int32_t TField::AsInteger() const { return ValorComoInteiro(ValorAtual(), escala_); }
int64_t TField::AsLargeInt() const { return ValorComoInteiro64(ValorAtual(), escala_); }
double TField::AsFloat() const { return ValorComoDecimal(ValorAtual(), escala_); }
DataHora TField::AsDateTime() const { return ValorComoDataHora(ValorAtual(), escala_); }

void TField::Gravar(Valor v) { dono_->GravarCampo(indice_, std::move(v)); }

void TField::Clear() { Gravar(std::monostate{}); }

void TField::SetAsString(const std::string& texto) {
    if (texto.empty()) {
        Gravar(std::monostate{});
        return;
    }
    switch (tipo_) {
        case TipoCampo::Texto:
            Gravar(tamanho_ > 0 && static_cast<int>(texto.size()) > tamanho_
                       ? texto.substr(0, static_cast<size_t>(tamanho_))
                       : texto);
            return;
        case TipoCampo::Blob:
        case TipoCampo::Desconhecido:
            Gravar(texto);
            return;
        case TipoCampo::Inteiro:
        case TipoCampo::Inteiro64: {
            int64_t v;
            const bool ok = TextoInteiroDecimal(texto, v) &&
                            (tipo_ == TipoCampo::Inteiro64 ||
                             (v >= INT32_MIN && v <= INT32_MAX));
            if (!ok || escala_ != 0) {
                double d;
                if (escala_ != 0 && TentarTextoParaDecimal(texto, d)) {
                    Gravar(static_cast<int64_t>(std::llround(d * Potencia10(escala_))));
                    return;
                }
                if (!ok)
                    throw ErroConversao("'" + texto + "' is not a valid integer value for field '" +
                                        nome_ + "'");
                Gravar(v * static_cast<int64_t>(Potencia10(escala_)));
                return;
            }
            Gravar(v);
            return;
        }
        case TipoCampo::Decimal: {
            double d;
            if (!TentarTextoParaDecimal(texto, d))
                throw ErroConversao("'" + texto + "' is not a valid floating point value for field '" +
                                    nome_ + "'");
            Gravar(d);
            return;
        }
        case TipoCampo::Data: {
            DataHora dh;
            if (!TentarTextoParaDataHora(texto, dh))
                throw ErroConversao("'" + texto + "' is not a valid date and time");
            Gravar(dh);
            return;
        }
    }
}

void TField::SetAsLargeInt(int64_t valor) {
    switch (tipo_) {
        case TipoCampo::Texto:
        case TipoCampo::Blob: SetAsString(std::to_string(valor)); return;
        case TipoCampo::Decimal: Gravar(static_cast<double>(valor)); return;
        case TipoCampo::Data: Gravar(DataHora::DeDouble(static_cast<double>(valor))); return;
        default:
            Gravar(escala_ == 0 ? valor : valor * static_cast<int64_t>(Potencia10(escala_)));
            return;
    }
}

void TField::SetAsInteger(int32_t valor) { SetAsLargeInt(valor); }

void TField::SetAsFloat(double valor) {
    switch (tipo_) {
        case TipoCampo::Texto:
        case TipoCampo::Blob: SetAsString(DecimalParaTexto(valor)); return;
        case TipoCampo::Decimal: Gravar(valor); return;
        case TipoCampo::Data: Gravar(DataHora::DeDouble(valor)); return;
        default: Gravar(static_cast<int64_t>(std::llround(valor * Potencia10(escala_)))); return;
    }
}

void TField::SetAsDateTime(const DataHora& valor) {
    switch (tipo_) {
        case TipoCampo::Texto:
        case TipoCampo::Blob: SetAsString(DataHoraParaTexto(valor)); return;
        case TipoCampo::Data: Gravar(valor); return;
        default: SetAsFloat(valor.ComoDouble()); return;
    }
}

// ---- ListaTexto ----

void ListaTexto::Clear() {
    linhas_.clear();
    Mudou();
}

void ListaTexto::Add(const std::string& linha) {
    linhas_.push_back(linha);
    Mudou();
}

void ListaTexto::SetText(const std::string& texto) {
    linhas_.clear();
    size_t inicio = 0;
    while (inicio < texto.size()) {
        size_t fim = texto.find_first_of("\r\n", inicio);
        if (fim == std::string::npos) {
            linhas_.push_back(texto.substr(inicio));
            break;
        }
        linhas_.push_back(texto.substr(inicio, fim - inicio));
        if (texto[fim] == '\r' && fim + 1 < texto.size() && texto[fim + 1] == '\n') ++fim;
        inicio = fim + 1;
    }
    Mudou();
}

std::string ListaTexto::Text() const {
    std::string r;
    for (size_t i = 0; i < linhas_.size(); ++i) {
        if (i) r += '\n';
        r += linhas_[i];
    }
    return r;
}

}  // namespace quorvel
