#pragma once
// Values, fields and parameters of the database layer's statements.
#include <cstdint>
#include <functional>
#include <string>
#include <variant>
#include <vector>

#include "db/data_hora.h"

namespace quorvel {

class TIBQuery;

// The kinds of column and parameter the layer tells apart.
enum class TipoCampo {
    Desconhecido,  // a parameter whose type was not declared
    Texto,         // CHAR, VARCHAR
    Inteiro,       // SMALLINT, INTEGER
    Inteiro64,     // BIGINT, and NUMERIC/DECIMAL kept as scaled integers
    Decimal,       // FLOAT, DOUBLE PRECISION (and dialect 1 NUMERIC(15,x))
    Data,          // DATE (a timestamp in dialect 1), TIMESTAMP, TIME
    Blob,
};

// A NULL is the empty variant; integers (scaled or not) are int64_t.
using Valor = std::variant<std::monostate, int64_t, double, DataHora, std::string>;

// Readings of a value by the NULL rules of the layer: a NULL reads as empty text, 0, or the zero
// date-time. `escala` is the decimal scale of a scaled integer (0 or negative).
std::string ValorComoTexto(const Valor& v, int escala = 0, bool soData = false);
int32_t ValorComoInteiro(const Valor& v, int escala = 0);
int64_t ValorComoInteiro64(const Valor& v, int escala = 0);
double ValorComoDecimal(const Valor& v, int escala = 0);
DataHora ValorComoDataHora(const Valor& v, int escala = 0);

// A named parameter of a statement.
class TParam {
public:
    explicit TParam(std::string nome) : nome_(std::move(nome)) {}

    const std::string& Name() const { return nome_; }
    TipoCampo DataType() const { return tipo_; }
    void SetDataType(TipoCampo tipo) { tipo_ = tipo; }

    // Assigning a value also sets the type.
    void SetAsString(const std::string& texto);
    void SetAsBlob(const std::string& conteudo);
    void SetAsInteger(int32_t valor);
    void SetAsLargeInt(int64_t valor);
    void SetAsFloat(double valor);
    void SetAsDateTime(const DataHora& valor);
    void Clear();  // assigns NULL
    // Back to the state of a new parameter: no type, no value.
    void Reiniciar() {
        tipo_ = TipoCampo::Desconhecido;
        valor_ = std::monostate{};
    }

    bool IsNull() const { return std::holds_alternative<std::monostate>(valor_); }
    const Valor& ValorAtual() const { return valor_; }
    std::string AsString() const { return ValorComoTexto(valor_); }
    int32_t AsInteger() const { return ValorComoInteiro(valor_); }

private:
    std::string nome_;
    TipoCampo tipo_ = TipoCampo::Desconhecido;
    Valor valor_;
};

// A result column of an open statement, read (and in a cached-update dataset written) on the
// statement's current row.
class TField {
public:
    TField(TIBQuery& dono, int indice, std::string nome, TipoCampo tipo, int tamanho, int escala,
           bool required, bool soData)
        : dono_(&dono), indice_(indice), nome_(std::move(nome)), tipo_(tipo), tamanho_(tamanho),
          escala_(escala), soData_(soData) {
        Required = required;
    }

    const std::string& FieldName() const { return nome_; }
    TipoCampo DataType() const { return tipo_; }
    int Size() const { return tamanho_; }  // declared width of a text column, in characters
    int Scale() const { return escala_; }
    int Index() const { return indice_; }

    bool IsNull() const;
    std::string AsString() const;  // a blob's whole content as text
    int32_t AsInteger() const;
    int64_t AsLargeInt() const;
    double AsFloat() const;
    DataHora AsDateTime() const;
    const Valor& ValorAtual() const;

    // Writes, only while the dataset is appending a row.
    //  - text into a text field: cut to the declared size, an empty text stores NULL;
    //  - text into an integer field: an empty text stores NULL, other texts must be decimal
    //    integers ("'%s' is not a valid integer value for field '%s'");
    //  - text into a decimal or date field: the text is read as such, an empty text stores NULL.
    void SetAsString(const std::string& texto);
    void SetAsInteger(int32_t valor);
    void SetAsLargeInt(int64_t valor);
    void SetAsFloat(double valor);
    void SetAsDateTime(const DataHora& valor);
    void Clear();  // stores NULL

    bool Required;  // a post fails while the field is NULL

private:
    void Gravar(Valor v);
    TIBQuery* dono_;
    int indice_;
    std::string nome_;
    TipoCampo tipo_;
    int tamanho_;
    int escala_;
    bool soData_;
};

// A list of text lines (the SQL of a statement). Every change is told to the owner.
class ListaTexto {
public:
    explicit ListaTexto(std::function<void()> aoMudar = {}) : aoMudar_(std::move(aoMudar)) {}
    ListaTexto(const ListaTexto&) = delete;
    ListaTexto& operator=(const ListaTexto&) = delete;

    void Clear();
    void Add(const std::string& linha);
    // Replaces the lines by the lines of the text (split at line breaks).
    void SetText(const std::string& texto);
    // The lines joined by line breaks.
    std::string Text() const;
    const std::vector<std::string>& Linhas() const { return linhas_; }

private:
    void Mudou() {
        if (aoMudar_) aoMudar_();
    }
    std::vector<std::string> linhas_;
    std::function<void()> aoMudar_;
};

}  // namespace quorvel
