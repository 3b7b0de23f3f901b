#pragma once
// Internal to the database layer: what the statement, its cursor and the blob transfers share of
// the client library's descriptor areas.
#include <ibase.h>

#include <cstdint>
#include <cstdlib>
#include <memory>
#include <new>
#include <string>
#include <vector>

#include "db/data_hora.h"
#include "db/ib_query.h"

namespace quorvel {

namespace ib {

constexpr int DiaZeroJuliano = 15018;  // 30 December 1899 as a modified Julian day
constexpr short CodigoBoolean = 32764;   // SQL_BOOLEAN of Firebird 3

struct LiberarXsqlda {
    void operator()(XSQLDA* d) const { std::free(d); }
};
using PtrXsqlda = std::unique_ptr<XSQLDA, LiberarXsqlda>;

// A descriptor area of `n` columns (at least one).
inline PtrXsqlda NovoXsqlda(int n) {
    if (n < 1) n = 1;
    auto* d = static_cast<XSQLDA*>(std::calloc(1, XSQLDA_LENGTH(n)));
    if (!d) throw std::bad_alloc();
    d->version = SQLDA_VERSION1;
    d->sqln = static_cast<ISC_SHORT>(n);
    return PtrXsqlda(d);
}

inline DataHora DeTimestamp(const ISC_TIMESTAMP& ts) {
    return DataHora{static_cast<int32_t>(ts.timestamp_date - DiaZeroJuliano), ts.timestamp_time};
}

inline ISC_TIMESTAMP ParaTimestamp(const DataHora& d) {
    ISC_TIMESTAMP ts;
    ts.timestamp_date = d.dia + DiaZeroJuliano;
    ts.timestamp_time = d.tempo % DataHora::UnidadesPorDia;
    return ts;
}

// Storage of one bound marker: numbers are written here, texts point at the parameter's value.
union Celula {
    int32_t i32;
    int64_t i64;
    double d;
    ISC_TIMESTAMP ts;
    ISC_QUAD quad;
};

// How the server describes one marker of the statement.
struct Descricao {
    short tipo;         // sqltype without the nullable bit
    short comprimento;  // sqllen
    short escala;
    short subtipo;
};

}  // namespace ib

// The prepared statement and its descriptor areas.
struct TIBQuery::Impl {
    isc_stmt_handle stmt = 0;
    std::string textoPreparado;
    uint64_t geracao = 0;
    int tipoComando = 0;
    ib::PtrXsqlda saida;
    ib::PtrXsqlda entrada;
    std::vector<ib::Descricao> descEntrada;
    std::vector<ib::Celula> celulasEntrada;
    std::vector<short> indEntrada;
    // A NULL keeps the described type, so its data area must be as long as that type's.
    std::vector<std::vector<char>> bufNulos;
    std::vector<std::vector<char>> bufSaida;
    std::vector<short> indSaida;
};

}  // namespace quorvel
