// The buffered cursor of a statement: opening a SELECT, fetching its rows into the buffer,
// moving over them and reading their columns.
#include "db/ib_query.h"

#include <cstring>

#include "db/fb_status.h"
#include "db/ib_blob.h"
#include "db/ib_query_interno.h"
#include "db/nomes_sem_caixa.h"
#include "platform/erros.h"

namespace quorvel {

void TIBQuery::Open() {
    if (Active()) return;
    Preparar();
    Impl& p = *impl_;
    if (p.tipoComando != isc_info_sql_stmt_select &&
        p.tipoComando != isc_info_sql_stmt_select_for_upd &&
        !(p.tipoComando == isc_info_sql_stmt_exec_procedure && p.saida->sqld > 0))
        throw Erro("The statement returns no rows: use it with execute, not open");
    Vincular();
    TIBTransaction* tr = Transaction();
    const unsigned short dialeto = static_cast<unsigned short>(banco_->SQLDialect);
    XSQLDA* entrada = marcadores_.empty() ? nullptr : p.entrada.get();
    ISC_STATUS_ARRAY st;
    LimparLinhas();
    // A select may change the database too (a procedure, a generator): it counts as work.
    tr->MarcarTrabalho();
    if (p.tipoComando == isc_info_sql_stmt_exec_procedure) {
        // A procedure's output is one row, left in the output area.
        isc_dsql_execute2(st, tr->HandlePtr(), &p.stmt, dialeto, entrada, p.saida.get());
        fb::Verificar(st);
        cursorAberto_ = false;
        fimDosDados_ = false;
    } else {
        isc_dsql_execute(st, tr->HandlePtr(), &p.stmt, dialeto, entrada);
        fb::Verificar(st);
        cursorAberto_ = true;
        fimDosDados_ = false;
    }
    estado_ = EstadoDataset::Navegando;
    try {
        if (BuscarLinha()) {
            atual_ = 0;
            eof_ = false;
        } else {
            atual_ = -1;
            eof_ = true;
        }
    } catch (...) {
        try {
            Close();
        } catch (...) {
        }
        throw;
    }
}

namespace {

// A value of the client's output area, which need not be aligned for its type.
template <typename T>
T Ler(const char* dado) {
    T x;
    std::memcpy(&x, dado, sizeof x);
    return x;
}

}  // namespace

bool TIBQuery::BuscarLinha() {
    if (fimDosDados_) return false;
    Impl& p = *impl_;
    ISC_STATUS_ARRAY st;
    if (cursorAberto_) {
        const ISC_STATUS r = isc_dsql_fetch(st, &p.stmt, static_cast<unsigned short>(banco_->SQLDialect),
                                            p.saida.get());
        if (r == 100) {
            fimDosDados_ = true;
            FecharCursor(false);
            return false;
        }
        fb::Verificar(st);
    } else {
        // The output of an executed procedure, already in the output area.
        fimDosDados_ = true;
    }
    const int n = p.saida->sqld;
    buscadas_.Comecar();
    for (int i = 0; i < n; ++i) {
        const XSQLVAR& v = p.saida->sqlvar[i];
        if ((v.sqltype & 1) && *v.sqlind < 0) {
            buscadas_.Nulo();
            continue;
        }
        const char* dado = v.sqldata;
        switch (v.sqltype & ~1) {
            case SQL_TEXT: buscadas_.Texto(dado, static_cast<size_t>(v.sqllen)); break;
            case SQL_VARYING: buscadas_.Texto(dado + 2, static_cast<size_t>(Ler<short>(dado))); break;
            case SQL_SHORT: buscadas_.Inteiro(Ler<int16_t>(dado)); break;
            case SQL_LONG: buscadas_.Inteiro(Ler<int32_t>(dado)); break;
            case SQL_INT64: buscadas_.Inteiro(Ler<int64_t>(dado)); break;
            case SQL_FLOAT: buscadas_.Decimal(static_cast<double>(Ler<float>(dado))); break;
            case SQL_DOUBLE:
            case SQL_D_FLOAT: buscadas_.Decimal(Ler<double>(dado)); break;
            case SQL_TIMESTAMP: buscadas_.Data(ib::DeTimestamp(Ler<ISC_TIMESTAMP>(dado))); break;
            case SQL_TYPE_DATE:
                buscadas_.Data(DataHora{static_cast<int32_t>(Ler<ISC_DATE>(dado) - ib::DiaZeroJuliano), 0});
                break;
            case SQL_TYPE_TIME: buscadas_.Data(DataHora{0, Ler<ISC_TIME>(dado)}); break;
            case ib::CodigoBoolean: buscadas_.Inteiro(dado[0] != 0); break;
            case SQL_BLOB: {
                const std::string conteudo = LerBlob(*banco_, *Transaction(), Ler<ISC_QUAD>(dado));
                buscadas_.Texto(conteudo.data(), conteudo.size());
                break;
            }
            default: throw Erro("Unsupported column type in '" + campos_[static_cast<size_t>(i)]->FieldName() + "'");
        }
    }
    buscadas_.Terminar();
    return true;
}

void TIBQuery::FecharCursor(bool jaFechadoPeloServidor) {
    if (!cursorAberto_) return;
    cursorAberto_ = false;
    if (jaFechadoPeloServidor || !impl_->stmt || !banco_ || !banco_->Connected()) return;
    ISC_STATUS_ARRAY st;
    isc_dsql_free_statement(st, &impl_->stmt, DSQL_close);
    fb::Verificar(st);
}

void TIBQuery::LimparLinhas() {
    buscadas_.Limpar();
    anexadas_.clear();
    linhaLida_ = -1;
}

void TIBQuery::Close() {
    estado_ = EstadoDataset::Inativo;
    LimparLinhas();
    atual_ = -1;
    eof_ = true;
    fimDosDados_ = true;
    FecharCursor(false);
}

void TIBQuery::FecharPorFimDeTransacao() {
    cursorAberto_ = false;
    Close();
}

// ---- navigation ----

void TIBQuery::ExigirAberto() const {
    if (!Active()) throw Erro("Cannot perform this operation on a closed dataset");
}

void TIBQuery::First() {
    ExigirAberto();
    if (estado_ != EstadoDataset::Navegando) Post();
    atual_ = TotalLinhas() == 0 ? -1 : 0;
    eof_ = TotalLinhas() == 0;
}

void TIBQuery::Last() {
    ExigirAberto();
    if (estado_ != EstadoDataset::Navegando) Post();
    while (BuscarLinha()) {
    }
    atual_ = TotalLinhas() - 1;
    eof_ = true;
}

void TIBQuery::Next() {
    ExigirAberto();
    if (estado_ != EstadoDataset::Navegando) Post();
    if (eof_) return;
    if (atual_ + 1 < TotalLinhas() || BuscarLinha()) {
        ++atual_;
    } else {
        eof_ = true;
    }
}

int TIBQuery::RecordCount() const { return TotalLinhas(); }

bool TIBQuery::IsEmpty() const { return TotalLinhas() == 0; }

// ---- fields ----

TField& TIBQuery::Fields(int indice) {
    if (indice < 0 || indice >= FieldCount()) throw Erro("Field index out of range");
    return *campos_[static_cast<size_t>(indice)];
}

TField* TIBQuery::FindField(const std::string& nome) {
    for (auto& c : campos_)
        if (NomesIguais(c->FieldName(), nome)) return c.get();
    return nullptr;
}

TField& TIBQuery::FieldByName(const std::string& nome) {
    TField* c = FindField(nome);
    if (!c) throw Erro("Field '" + nome + "' not found");
    return *c;
}

const Valor& TIBQuery::ValorCampo(int indice) const {
    static const Valor nulo;
    if (atual_ < 0 || atual_ >= TotalLinhas() || indice < 0) return nulo;
    const size_t buscadas = buscadas_.Quantidade();
    const std::vector<Valor>* vals;
    if (static_cast<size_t>(atual_) >= buscadas) {
        vals = &anexadas_[static_cast<size_t>(atual_) - buscadas].valores;
    } else {
        if (linhaLida_ != atual_) {
            lida_.resize(campos_.size());
            buscadas_.Ler(static_cast<size_t>(atual_), lida_);
            linhaLida_ = atual_;
        }
        vals = &lida_;
    }
    return static_cast<size_t>(indice) < vals->size() ? (*vals)[static_cast<size_t>(indice)] : nulo;
}

}  // namespace quorvel
