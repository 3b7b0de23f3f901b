#include "db/ib_query.h"

#include <ibase.h>

#include <algorithm>
#include <cstdlib>
#include <cstring>

#include "db/fb_status.h"
#include "db/nomes_sem_caixa.h"
#include "db/parametros_sql.h"
#include "platform/erros.h"
#include "platform/texto.h"

namespace quorvel {

namespace {

constexpr int DiaZeroJuliano = 15018;  // 30 December 1899 as a modified Julian day
constexpr short CodigoBoolean = 32764;   // SQL_BOOLEAN of Firebird 3

struct LiberarXsqlda {
    void operator()(XSQLDA* d) const { std::free(d); }
};
using PtrXsqlda = std::unique_ptr<XSQLDA, LiberarXsqlda>;

PtrXsqlda NovoXsqlda(int n) {
    if (n < 1) n = 1;
    auto* d = static_cast<XSQLDA*>(std::calloc(1, XSQLDA_LENGTH(n)));
    if (!d) throw std::bad_alloc();
    d->version = SQLDA_VERSION1;
    d->sqln = static_cast<ISC_SHORT>(n);
    return PtrXsqlda(d);
}

DataHora DeTimestamp(const ISC_TIMESTAMP& ts) {
    return DataHora{static_cast<int32_t>(ts.timestamp_date - DiaZeroJuliano), ts.timestamp_time};
}

ISC_TIMESTAMP ParaTimestamp(const DataHora& d) {
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

struct Descricao {
    short tipo;         // sqltype without the nullable bit
    short comprimento;  // sqllen
    short escala;
    short subtipo;
};

TipoCampo TipoDaColuna(short tipo, short escala) {
    switch (tipo) {
        case SQL_TEXT:
        case SQL_VARYING: return TipoCampo::Texto;
        case SQL_SHORT:
        case SQL_LONG: return escala == 0 ? TipoCampo::Inteiro : TipoCampo::Inteiro64;
        case SQL_INT64: return TipoCampo::Inteiro64;
        case SQL_FLOAT:
        case SQL_DOUBLE:
        case SQL_D_FLOAT: return TipoCampo::Decimal;
        case SQL_TIMESTAMP:
        case SQL_TYPE_DATE:
        case SQL_TYPE_TIME: return TipoCampo::Data;
        case SQL_BLOB: return TipoCampo::Blob;
        case CodigoBoolean: return TipoCampo::Inteiro;
        default: return TipoCampo::Desconhecido;
    }
}

}  // namespace

// The prepared statement and its descriptor areas.
struct TIBQuery::Impl {
    isc_stmt_handle stmt = 0;
    std::string textoPreparado;
    uint64_t geracao = 0;
    int tipoComando = 0;
    PtrXsqlda saida;
    PtrXsqlda entrada;
    std::vector<Descricao> descEntrada;
    std::vector<Celula> celulasEntrada;
    std::vector<short> indEntrada;
    // A NULL keeps the described type, so its data area must be as long as that type's.
    std::vector<std::vector<char>> bufNulos;
    std::vector<std::vector<char>> bufSaida;
    std::vector<short> indSaida;
};

namespace {

int TipoDoComando(isc_stmt_handle* stmt) {
    ISC_STATUS_ARRAY st;
    char item = isc_info_sql_stmt_type;
    char buf[16];
    isc_dsql_sql_info(st, stmt, 1, &item, sizeof buf, buf);
    fb::Verificar(st);
    if (buf[0] != isc_info_sql_stmt_type) return 0;
    const short len = static_cast<short>(isc_vax_integer(buf + 1, 2));
    return static_cast<int>(isc_vax_integer(buf + 3, len));
}

}  // namespace

// ---- life ----

TIBQuery::TIBQuery() : SQL([this] { TextoMudou(); }), impl_(std::make_unique<Impl>()) {}

TIBQuery::TIBQuery(TIBDatabase* banco) : TIBQuery() { SetDatabase(banco); }

TIBQuery::~TIBQuery() {
    try {
        Close();
    } catch (...) {
    }
    try {
        Unprepare();
    } catch (...) {
    }
    if (banco_) banco_->Desregistrar(this);
    if (transacao_) transacao_->Desregistrar(this);
}

void TIBQuery::SetDatabase(TIBDatabase* banco) {
    if (banco == banco_) return;
    Close();
    Unprepare();
    if (banco_) banco_->Desregistrar(this);
    banco_ = banco;
    if (banco_) banco_->Registrar(this);
    if (consultaGerador_) consultaGerador_->SetDatabase(banco);
}

TIBTransaction* TIBQuery::Transaction() const {
    if (transacao_) return transacao_;
    return banco_ ? banco_->DefaultTransaction() : nullptr;
}

void TIBQuery::SetTransaction(TIBTransaction* transacao) {
    if (transacao == transacao_) return;
    Close();
    if (transacao_) transacao_->Desregistrar(this);
    transacao_ = transacao;
    if (transacao_) transacao_->Registrar(this);
    if (consultaGerador_) consultaGerador_->SetTransaction(transacao);
}

void TIBQuery::DesligarBanco() {
    // The connection is gone: its handles died with it.
    FecharPorFimDeTransacao();
    impl_->stmt = 0;
    impl_->textoPreparado.clear();
    banco_ = nullptr;
}

void TIBQuery::DesligarTransacao() {
    FecharPorFimDeTransacao();
    transacao_ = nullptr;
}

// ---- text and parameters ----

void TIBQuery::TextoMudou() {
    Close();
    parametrosSujos_ = true;
}

void TIBQuery::AnalisarParametros() {
    if (!parametrosSujos_) return;
    const std::string texto = SQL.Text();
    if (texto != textoAnalisado_) {
        AnaliseParametros a = quorvel::AnalisarParametros(texto);
        textoAnalisado_ = texto;
        textoPosicional_ = std::move(a.textoPosicional);
        marcadores_ = std::move(a.marcadores);
        parametros_.clear();
        for (std::string& nome : a.nomes) parametros_.push_back(std::make_unique<TParam>(nome));
    } else {
        // The same text again: the names stay, types and values are forgotten.
        for (auto& p : parametros_) p->Reiniciar();
    }
    parametrosSujos_ = false;
}

TParam* TIBQuery::FindParam(const std::string& nome) {
    AnalisarParametros();
    for (auto& p : parametros_)
        if (NomesIguais(p->Name(), nome)) return p.get();
    return nullptr;
}

TParam& TIBQuery::ParamByName(const std::string& nome) {
    TParam* p = FindParam(nome);
    if (!p) throw Erro("Parameter '" + nome + "' not found");
    return *p;
}

int TIBQuery::ParamCount() {
    AnalisarParametros();
    return static_cast<int>(parametros_.size());
}

TParam& TIBQuery::Params(int indice) {
    AnalisarParametros();
    if (indice < 0 || indice >= static_cast<int>(parametros_.size()))
        throw Erro("Parameter index out of range");
    return *parametros_[static_cast<size_t>(indice)];
}

// ---- preparing ----

void TIBQuery::ConectadoExigido() const {
    if (!banco_) throw Erro("Database not assigned");
    if (!banco_->Connected()) throw Erro(banco_->TextoNaoConectado());
}

bool TIBQuery::Prepared() const { return impl_->stmt != 0; }

int TIBQuery::TipoComando() const { return impl_->stmt ? impl_->tipoComando : 0; }

void TIBQuery::Unprepare() {
    if (Active()) Close();
    if (!impl_->stmt) return;
    isc_stmt_handle h = impl_->stmt;
    impl_->stmt = 0;
    impl_->textoPreparado.clear();
    campos_.clear();
    if (banco_ && banco_->Connected()) {
        ISC_STATUS_ARRAY st;
        isc_dsql_free_statement(st, &h, DSQL_drop);
        fb::Verificar(st);
    }
}

void TIBQuery::Preparar() {
    ConectadoExigido();
    TIBTransaction* tr = Transaction();
    if (!tr) throw Erro("Transaction not assigned");
    if (!tr->Active()) tr->StartTransaction();
    AnalisarParametros();
    Impl& p = *impl_;
    if (p.stmt && p.textoPreparado == textoAnalisado_ && p.geracao == banco_->GeracaoEsquema())
        return;
    Unprepare();
    if (Aparar(textoAnalisado_).empty()) throw Erro("Empty query");
    const uint64_t geracao = banco_->GeracaoEsquema();

    ISC_STATUS_ARRAY st;
    isc_stmt_handle h = 0;
    isc_dsql_allocate_statement(st, banco_->HandlePtr(), &h);
    fb::Verificar(st);
    try {
        PtrXsqlda saida = NovoXsqlda(20);
        isc_dsql_prepare(st, tr->HandlePtr(), &h, 0, textoPosicional_.c_str(),
                         static_cast<unsigned short>(banco_->SQLDialect), saida.get());
        fb::Verificar(st);
        if (saida->sqld > saida->sqln) {
            saida = NovoXsqlda(saida->sqld);
            isc_dsql_describe(st, &h, static_cast<unsigned short>(banco_->SQLDialect), saida.get());
            fb::Verificar(st);
        }
        const int tipo = TipoDoComando(&h);
        PtrXsqlda entrada = NovoXsqlda(static_cast<int>(marcadores_.size()));
        isc_dsql_describe_bind(st, &h, static_cast<unsigned short>(banco_->SQLDialect), entrada.get());
        fb::Verificar(st);
        if (entrada->sqld > entrada->sqln) {
            entrada = NovoXsqlda(entrada->sqld);
            isc_dsql_describe_bind(st, &h, static_cast<unsigned short>(banco_->SQLDialect),
                                   entrada.get());
            fb::Verificar(st);
        }
        if (entrada->sqld != static_cast<int>(marcadores_.size()))
            throw Erro("The statement's parameters do not match its text");

        p.descEntrada.assign(static_cast<size_t>(entrada->sqld), Descricao{});
        p.celulasEntrada.assign(static_cast<size_t>(entrada->sqld), Celula{});
        p.indEntrada.assign(static_cast<size_t>(entrada->sqld), 0);
        p.bufNulos.assign(static_cast<size_t>(entrada->sqld), {});
        for (int i = 0; i < entrada->sqld; ++i) {
            const XSQLVAR& v = entrada->sqlvar[i];
            p.descEntrada[static_cast<size_t>(i)] =
                Descricao{static_cast<short>(v.sqltype & ~1), v.sqllen, v.sqlscale, v.sqlsubtype};
            p.bufNulos[static_cast<size_t>(i)].assign(static_cast<size_t>(v.sqllen) + 8, 0);
        }

        // Output buffers and the fields.
        const int n = saida->sqld;
        p.bufSaida.assign(static_cast<size_t>(n), {});
        p.indSaida.assign(static_cast<size_t>(n), 0);
        campos_.clear();
        for (int i = 0; i < n; ++i) {
            XSQLVAR& v = saida->sqlvar[i];
            const short t = static_cast<short>(v.sqltype & ~1);
            size_t tam = static_cast<size_t>(v.sqllen);
            if (t == SQL_VARYING) tam += 2;
            p.bufSaida[static_cast<size_t>(i)].assign(std::max<size_t>(tam, 8), 0);
            v.sqldata = p.bufSaida[static_cast<size_t>(i)].data();
            v.sqlind = &p.indSaida[static_cast<size_t>(i)];
            std::string nome(v.aliasname, static_cast<size_t>(v.aliasname_length));
            if (nome.empty()) nome.assign(v.sqlname, static_cast<size_t>(v.sqlname_length));
            const bool required = (v.sqltype & 1) == 0 && v.relname_length > 0;
            const TipoCampo tc = TipoDaColuna(t, v.sqlscale);
            const int tamanho = tc == TipoCampo::Texto ? v.sqllen : 0;
            campos_.push_back(std::make_unique<TField>(*this, i, std::move(nome), tc, tamanho,
                                                       v.sqlscale, required, t == SQL_TYPE_DATE));
        }
        p.stmt = h;
        p.textoPreparado = textoAnalisado_;
        p.geracao = geracao;
        p.tipoComando = tipo;
        p.saida = std::move(saida);
        p.entrada = std::move(entrada);
    } catch (...) {
        ISC_STATUS_ARRAY st2;
        isc_dsql_free_statement(st2, &h, DSQL_drop);
        campos_.clear();
        throw;
    }
}

// ---- binding ----

void TIBQuery::Vincular() {
    Impl& p = *impl_;
    XSQLDA* e = p.entrada.get();
    static char vazio[1] = {0};
    for (size_t i = 0; i < marcadores_.size(); ++i) {
        XSQLVAR& v = e->sqlvar[i];
        const Descricao& d = p.descEntrada[i];
        Celula& c = p.celulasEntrada[i];
        short& ind = p.indEntrada[i];
        const TParam& par = *parametros_[static_cast<size_t>(marcadores_[i])];
        v.sqlind = &ind;
        v.sqlscale = 0;
        v.sqlsubtype = d.subtipo;

        auto nulo = [&] {
            ind = -1;
            v.sqltype = static_cast<short>(d.tipo | 1);
            v.sqllen = d.comprimento;
            v.sqlscale = d.escala;
            v.sqldata = p.bufNulos[i].data();
        };
        if (par.IsNull()) {
            nulo();
            continue;
        }
        ind = 0;
        const Valor& val = par.ValorAtual();
        TipoCampo tipo = par.DataType();
        // A value whose kind differs from the declared type is sent as what it holds.
        if (std::holds_alternative<std::string>(val)) {
            if (tipo != TipoCampo::Blob) tipo = TipoCampo::Texto;
        } else if (std::holds_alternative<double>(val)) {
            tipo = TipoCampo::Decimal;
        } else if (std::holds_alternative<DataHora>(val)) {
            tipo = TipoCampo::Data;
        } else if (tipo != TipoCampo::Inteiro64) {
            tipo = TipoCampo::Inteiro;
        }
        switch (tipo) {
            case TipoCampo::Inteiro:
                c.i32 = static_cast<int32_t>(std::get<int64_t>(val));
                v.sqltype = SQL_LONG | 1;
                v.sqllen = sizeof(int32_t);
                v.sqldata = reinterpret_cast<char*>(&c.i32);
                break;
            case TipoCampo::Inteiro64:
                c.i64 = std::get<int64_t>(val);
                v.sqltype = SQL_INT64 | 1;
                v.sqllen = sizeof(int64_t);
                v.sqldata = reinterpret_cast<char*>(&c.i64);
                break;
            case TipoCampo::Decimal:
                c.d = std::get<double>(val);
                v.sqltype = SQL_DOUBLE | 1;
                v.sqllen = sizeof(double);
                v.sqldata = reinterpret_cast<char*>(&c.d);
                break;
            case TipoCampo::Data:
                c.ts = ParaTimestamp(std::get<DataHora>(val));
                v.sqltype = SQL_TIMESTAMP | 1;
                v.sqllen = sizeof(ISC_TIMESTAMP);
                v.sqldata = reinterpret_cast<char*>(&c.ts);
                break;
            default: {
                // Text or blob content, bound by the column the server describes.
                const std::string& texto = std::get<std::string>(val);
                const int tamanho = static_cast<int>(texto.size());
                if (d.tipo == SQL_TEXT || d.tipo == SQL_VARYING) {
                    if (tamanho > d.comprimento)
                        throw Erro(Formatar("Trying to store a string of length %d into a field "
                                            "that can only contain %d",
                                            tamanho, static_cast<int>(d.comprimento)));
                    v.sqltype = SQL_TEXT | 1;
                    v.sqllen = static_cast<short>(tamanho);
                    v.sqldata = tamanho ? const_cast<char*>(texto.data()) : vazio;
                } else if (d.tipo == SQL_BLOB) {
                    ISC_STATUS_ARRAY st;
                    isc_blob_handle blob = 0;
                    c.quad = ISC_QUAD{};
                    isc_create_blob2(st, banco_->HandlePtr(), Transaction()->HandlePtr(), &blob,
                                     &c.quad, 0, nullptr);
                    fb::Verificar(st);
                    size_t pos = 0;
                    while (pos < texto.size()) {
                        const size_t parte = std::min<size_t>(texto.size() - pos, 32768);
                        isc_put_segment(st, &blob, static_cast<unsigned short>(parte),
                                        texto.data() + pos);
                        if (fb::Falhou(st)) {
                            ISC_STATUS_ARRAY st2;
                            isc_cancel_blob(st2, &blob);
                            fb::Lancar(st);
                        }
                        pos += parte;
                    }
                    isc_close_blob(st, &blob);
                    fb::Verificar(st);
                    v.sqltype = SQL_BLOB | 1;
                    v.sqllen = sizeof(ISC_QUAD);
                    v.sqldata = reinterpret_cast<char*>(&c.quad);
                } else if (d.tipo == SQL_TIMESTAMP || d.tipo == SQL_TYPE_DATE ||
                           d.tipo == SQL_TYPE_TIME) {
                    if (texto.empty()) {
                        nulo();
                        break;
                    }
                    c.ts = ParaTimestamp(TextoParaDataHora(texto));
                    v.sqltype = SQL_TIMESTAMP | 1;
                    v.sqllen = sizeof(ISC_TIMESTAMP);
                    v.sqldata = reinterpret_cast<char*>(&c.ts);
                } else {
                    // Numbers: the server converts the text and rejects what is no number.
                    if (texto.empty()) {
                        nulo();
                        break;
                    }
                    if (tamanho > 32767)
                        throw Erro("'" + texto.substr(0, 40) + "...' is not a valid number");
                    v.sqltype = SQL_TEXT | 1;
                    v.sqllen = static_cast<short>(tamanho);
                    v.sqldata = const_cast<char*>(texto.data());
                }
                break;
            }
        }
    }
}

// ---- executing ----

void TIBQuery::ExecSQL() {
    Close();
    Preparar();
    Vincular();
    Impl& p = *impl_;
    TIBTransaction* tr = Transaction();
    const unsigned short dialeto = static_cast<unsigned short>(banco_->SQLDialect);
    XSQLDA* entrada = marcadores_.empty() ? nullptr : p.entrada.get();
    ISC_STATUS_ARRAY st;
    if (p.tipoComando == isc_info_sql_stmt_exec_procedure && p.saida->sqld > 0) {
        isc_dsql_execute2(st, tr->HandlePtr(), &p.stmt, dialeto, entrada, p.saida.get());
        fb::Verificar(st);
        return;
    }
    isc_dsql_execute(st, tr->HandlePtr(), &p.stmt, dialeto, entrada);
    fb::Verificar(st);
    if (p.tipoComando == isc_info_sql_stmt_select ||
        p.tipoComando == isc_info_sql_stmt_select_for_upd) {
        isc_dsql_free_statement(st, &p.stmt, DSQL_close);
        fb::Verificar(st);
    }
    if (p.tipoComando == isc_info_sql_stmt_ddl) banco_->RegistrarMudancaEsquema();
}

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
    linhas_.clear();
    excluidas_.clear();
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
        bof_ = true;
    } catch (...) {
        try {
            Close();
        } catch (...) {
        }
        throw;
    }
}

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
    Linha l;
    const int n = p.saida->sqld;
    l.valores.resize(static_cast<size_t>(n));
    for (int i = 0; i < n; ++i) {
        const XSQLVAR& v = p.saida->sqlvar[i];
        Valor& out = l.valores[static_cast<size_t>(i)];
        if ((v.sqltype & 1) && *v.sqlind < 0) continue;
        const char* dado = v.sqldata;
        switch (v.sqltype & ~1) {
            case SQL_TEXT: out = std::string(dado, static_cast<size_t>(v.sqllen)); break;
            case SQL_VARYING: {
                short len;
                std::memcpy(&len, dado, sizeof len);
                out = std::string(dado + 2, static_cast<size_t>(len));
                break;
            }
            case SQL_SHORT: {
                int16_t x;
                std::memcpy(&x, dado, sizeof x);
                out = static_cast<int64_t>(x);
                break;
            }
            case SQL_LONG: {
                int32_t x;
                std::memcpy(&x, dado, sizeof x);
                out = static_cast<int64_t>(x);
                break;
            }
            case SQL_INT64: {
                int64_t x;
                std::memcpy(&x, dado, sizeof x);
                out = x;
                break;
            }
            case SQL_FLOAT: {
                float x;
                std::memcpy(&x, dado, sizeof x);
                out = static_cast<double>(x);
                break;
            }
            case SQL_DOUBLE:
            case SQL_D_FLOAT: {
                double x;
                std::memcpy(&x, dado, sizeof x);
                out = x;
                break;
            }
            case SQL_TIMESTAMP: {
                ISC_TIMESTAMP ts;
                std::memcpy(&ts, dado, sizeof ts);
                out = DeTimestamp(ts);
                break;
            }
            case SQL_TYPE_DATE: {
                ISC_DATE d;
                std::memcpy(&d, dado, sizeof d);
                out = DataHora{static_cast<int32_t>(d - DiaZeroJuliano), 0};
                break;
            }
            case SQL_TYPE_TIME: {
                ISC_TIME t;
                std::memcpy(&t, dado, sizeof t);
                out = DataHora{0, t};
                break;
            }
            case CodigoBoolean: out = static_cast<int64_t>(dado[0] != 0); break;
            case SQL_BLOB: {
                ISC_QUAD id;
                std::memcpy(&id, dado, sizeof id);
                isc_blob_handle blob = 0;
                isc_open_blob2(st, banco_->HandlePtr(), Transaction()->HandlePtr(), &blob, &id, 0,
                               nullptr);
                fb::Verificar(st);
                // Asking for the total length first lets the loop stop when it has every byte,
                // without the end-of-blob call (which the client library answers by throwing and
                // catching an exception internally: a noticeable cost per row).
                int64_t total = -1;
                {
                    const char pedido[] = {isc_info_blob_total_length, isc_info_end};
                    char resposta[32] = {};
                    ISC_STATUS_ARRAY st2;
                    if (isc_blob_info(st2, &blob, sizeof pedido, pedido, sizeof resposta, resposta) == 0 &&
                        resposta[0] == isc_info_blob_total_length) {
                        const short n = static_cast<short>(isc_vax_integer(resposta + 1, 2));
                        if (n > 0 && n <= 8) total = isc_portable_integer(reinterpret_cast<const ISC_UCHAR*>(resposta + 3), n);
                    }
                }
                std::string conteudo;
                if (total > 0) conteudo.reserve(static_cast<size_t>(total));
                char seg[32768];
                while (total < 0 || static_cast<int64_t>(conteudo.size()) < total) {
                    unsigned short lido = 0;
                    const ISC_STATUS r = isc_get_segment(st, &blob, &lido, sizeof seg, seg);
                    if (r == 0 || r == isc_segment) {
                        conteudo.append(seg, lido);
                        continue;
                    }
                    if (r == isc_segstr_eof) break;
                    ISC_STATUS_ARRAY st2;
                    isc_close_blob(st2, &blob);
                    fb::Lancar(st);
                }
                isc_close_blob(st, &blob);
                fb::Verificar(st);
                out = std::move(conteudo);
                break;
            }
            default: throw Erro("Unsupported column type in '" + campos_[static_cast<size_t>(i)]->FieldName() + "'");
        }
    }
    linhas_.push_back(std::move(l));
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

void TIBQuery::Close() {
    estado_ = EstadoDataset::Inativo;
    linhas_.clear();
    excluidas_.clear();
    copiaEdicao_.reset();
    atual_ = -1;
    eof_ = bof_ = true;
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
    atual_ = linhas_.empty() ? -1 : 0;
    eof_ = linhas_.empty();
    bof_ = true;
}

void TIBQuery::Last() {
    ExigirAberto();
    if (estado_ != EstadoDataset::Navegando) Post();
    while (BuscarLinha()) {
    }
    atual_ = static_cast<int>(linhas_.size()) - 1;
    eof_ = true;
    bof_ = linhas_.empty();
}

void TIBQuery::Next() {
    ExigirAberto();
    if (estado_ != EstadoDataset::Navegando) Post();
    if (eof_) return;
    if (atual_ + 1 < static_cast<int>(linhas_.size()) || BuscarLinha()) {
        ++atual_;
        bof_ = false;
    } else {
        eof_ = true;
    }
}

void TIBQuery::Prior() {
    ExigirAberto();
    if (estado_ != EstadoDataset::Navegando) Post();
    if (atual_ > 0) {
        --atual_;
        eof_ = false;
    } else {
        bof_ = true;
    }
}

int TIBQuery::RecordCount() const { return static_cast<int>(linhas_.size()); }

bool TIBQuery::IsEmpty() const { return linhas_.empty(); }

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
    if (atual_ < 0 || atual_ >= static_cast<int>(linhas_.size())) return nulo;
    const auto& vals = linhas_[static_cast<size_t>(atual_)].valores;
    return static_cast<size_t>(indice) < vals.size() ? vals[static_cast<size_t>(indice)] : nulo;
}

const Valor& TIBQuery::ValorOriginalCampo(int indice) const {
    static const Valor nulo;
    if (atual_ < 0 || atual_ >= static_cast<int>(linhas_.size())) return nulo;
    const Linha& l = linhas_[static_cast<size_t>(atual_)];
    const auto& vals = l.original ? *l.original : l.valores;
    return static_cast<size_t>(indice) < vals.size() ? vals[static_cast<size_t>(indice)] : nulo;
}

// ---- cached updates ----

void TIBQuery::ExigirEdicao() const {
    if (estado_ != EstadoDataset::Inserindo && estado_ != EstadoDataset::Editando)
        throw Erro("Dataset not in edit or insert mode");
}

void TIBQuery::GravarCampo(int indice, Valor v) {
    ExigirEdicao();
    linhas_[static_cast<size_t>(atual_)].valores[static_cast<size_t>(indice)] = std::move(v);
}

void TIBQuery::Append() {
    ExigirAberto();
    if (!CachedUpdates) throw Erro("Cannot modify a read-only dataset");
    if (estado_ != EstadoDataset::Navegando) Post();
    // The new row goes after every row of the result, so the rest is fetched first.
    while (BuscarLinha()) {
    }
    Linha l;
    l.valores.resize(campos_.size());
    l.original = std::make_unique<std::vector<Valor>>(campos_.size());
    linhas_.push_back(std::move(l));
    atual_ = static_cast<int>(linhas_.size()) - 1;
    eof_ = bof_ = false;
    estado_ = EstadoDataset::Inserindo;
    if (GeneratorField.ApplyEvent == TGeneratorApplyEvent::gamOnNewRecord) GerarChave();
}

void TIBQuery::GerarChave() {
    if (GeneratorField.Field.empty() || GeneratorField.Generator.empty()) return;
    TField& chave = FieldByName(GeneratorField.Field);
    if (!chave.IsNull()) return;
    if (!consultaGerador_) {
        consultaGerador_ = std::make_unique<TIBQuery>();
        consultaGerador_->SetDatabase(banco_);
        consultaGerador_->SetTransaction(transacao_);
    }
    TIBQuery& g = *consultaGerador_;
    g.Close();
    g.SQL.SetText(Formatar("SELECT GEN_ID(%s, %d) FROM RDB$DATABASE",
                           GeneratorField.Generator.c_str(), GeneratorField.IncrementBy));
    g.Open();
    const Valor v = g.Fields(0).ValorAtual();
    g.Close();
    chave.SetAsLargeInt(ValorComoInteiro64(v));
}

void TIBQuery::Edit() {
    ExigirAberto();
    if (!CachedUpdates) throw Erro("Cannot modify a read-only dataset");
    if (estado_ == EstadoDataset::Inserindo || estado_ == EstadoDataset::Editando) return;
    if (atual_ < 0) throw Erro("Cannot edit: the dataset has no current row");
    Linha& l = linhas_[static_cast<size_t>(atual_)];
    copiaEdicao_ = std::make_unique<Linha>();
    copiaEdicao_->valores = l.valores;
    estado_ = EstadoDataset::Editando;
}

void TIBQuery::Post() {
    if (estado_ != EstadoDataset::Inserindo && estado_ != EstadoDataset::Editando) return;
    Linha* l = &linhas_[static_cast<size_t>(atual_)];
    // (a) a new row without a key takes the next value of its generator.
    if (estado_ == EstadoDataset::Inserindo &&
        GeneratorField.ApplyEvent == TGeneratorApplyEvent::gamOnPost)
        GerarChave();
    // (b)
    if (BeforePost) BeforePost(*this);
    // (c)
    for (auto& c : campos_)
        if (c->Required && c->IsNull())
            throw Erro("Field '" + c->FieldName() + "' must have a value");
    // (d)
    l = &linhas_[static_cast<size_t>(atual_)];
    if (estado_ == EstadoDataset::Inserindo) {
        l->estado = EstadoLinha::Inserida;
    } else if (l->estado == EstadoLinha::Inalterada) {
        l->original = std::make_unique<std::vector<Valor>>(std::move(copiaEdicao_->valores));
        l->estado = EstadoLinha::Modificada;
    }
    copiaEdicao_.reset();
    estado_ = EstadoDataset::Navegando;
    // (e)
    if (AfterPost) AfterPost(*this);
}

void TIBQuery::Cancel() {
    if (estado_ == EstadoDataset::Inserindo) {
        linhas_.erase(linhas_.begin() + atual_);
        if (atual_ >= static_cast<int>(linhas_.size())) atual_ = static_cast<int>(linhas_.size()) - 1;
        eof_ = linhas_.empty();
    } else if (estado_ == EstadoDataset::Editando) {
        linhas_[static_cast<size_t>(atual_)].valores = std::move(copiaEdicao_->valores);
    } else {
        return;
    }
    copiaEdicao_.reset();
    estado_ = EstadoDataset::Navegando;
}

void TIBQuery::Delete() {
    ExigirAberto();
    if (!CachedUpdates) throw Erro("Cannot modify a read-only dataset");
    if (estado_ == EstadoDataset::Inserindo) {
        Cancel();
        return;
    }
    if (estado_ == EstadoDataset::Editando) Cancel();
    if (atual_ < 0) throw Erro("Cannot delete: the dataset is empty");
    Linha l = std::move(linhas_[static_cast<size_t>(atual_)]);
    linhas_.erase(linhas_.begin() + atual_);
    if (l.estado != EstadoLinha::Inserida) {
        // The server still has the row: remember it as it was fetched.
        if (!l.original) l.original = std::make_unique<std::vector<Valor>>(l.valores);
        excluidas_.push_back(std::move(l));
    }
    if (atual_ >= static_cast<int>(linhas_.size())) atual_ = static_cast<int>(linhas_.size()) - 1;
    eof_ = linhas_.empty();
    if (AfterDelete) AfterDelete(*this);
}

bool TIBQuery::UpdatesPending() const {
    if (!excluidas_.empty()) return true;
    for (const Linha& l : linhas_)
        if (l.estado != EstadoLinha::Inalterada) return true;
    return estado_ == EstadoDataset::Inserindo || estado_ == EstadoDataset::Editando;
}

void TIBQuery::ApplyUpdates() {
    ExigirAberto();
    if (estado_ != EstadoDataset::Navegando) Post();
    if (!UpdatesPending()) return;
    if (!UpdateObject) throw Erro("The dataset has no update object");
    const int anterior = atual_;
    while (!excluidas_.empty()) {
        Linha& l = excluidas_.front();
        UpdateObject->Aplicar(TIBUpdateSQL::Tipo::Exclusao, *this, l.valores, *l.original);
        excluidas_.erase(excluidas_.begin());
    }
    for (Linha& l : linhas_) {
        if (l.estado == EstadoLinha::Inalterada) continue;
        const auto tipo = l.estado == EstadoLinha::Inserida ? TIBUpdateSQL::Tipo::Insercao
                                                            : TIBUpdateSQL::Tipo::Modificacao;
        static const std::vector<Valor> semOriginal;
        UpdateObject->Aplicar(tipo, *this, l.valores, l.original ? *l.original : semOriginal);
        l.estado = EstadoLinha::Inalterada;
        l.original.reset();
    }
    atual_ = anterior >= 0 && anterior < static_cast<int>(linhas_.size()) ? anterior
             : linhas_.empty()                                          ? -1
                                                                        : 0;
    eof_ = linhas_.empty();
}

void TIBQuery::CancelUpdates() {
    if (estado_ != EstadoDataset::Navegando) Cancel();
    for (Linha& l : excluidas_) {
        l.valores = std::move(*l.original);
        l.original.reset();
        l.estado = EstadoLinha::Inalterada;
        linhas_.push_back(std::move(l));
    }
    excluidas_.clear();
    std::vector<Linha> mantidas;
    for (Linha& l : linhas_) {
        if (l.estado == EstadoLinha::Inserida) continue;
        if (l.estado == EstadoLinha::Modificada) {
            l.valores = std::move(*l.original);
            l.original.reset();
            l.estado = EstadoLinha::Inalterada;
        }
        mantidas.push_back(std::move(l));
    }
    linhas_ = std::move(mantidas);
    atual_ = linhas_.empty() ? -1 : 0;
    eof_ = linhas_.empty();
}

// ---- TIBUpdateSQL ----

TIBUpdateSQL::TIBUpdateSQL() = default;
TIBUpdateSQL::~TIBUpdateSQL() = default;

void TIBUpdateSQL::Aplicar(Tipo tipo, TIBQuery& dataset, const std::vector<Valor>& valores,
                           const std::vector<Valor>& originais) {
    const ListaTexto& texto = tipo == Tipo::Insercao     ? InsertSQL
                              : tipo == Tipo::Modificacao ? ModifySQL
                                                          : DeleteSQL;
    if (Aparar(texto.Text()).empty()) throw Erro("The update object has no statement for this change");
    auto& q = consultas_[static_cast<int>(tipo)];
    if (!q) q = std::make_unique<TIBQuery>();
    q->SetDatabase(dataset.Database());
    q->SetTransaction(dataset.Transaction());
    q->Close();
    q->SQL.SetText(texto.Text());
    for (int i = 0; i < q->ParamCount(); ++i) {
        TParam& p = q->Params(i);
        const std::string nome = MaiusculasAscii(p.Name());
        TField* campo = dataset.FindField(nome);
        bool antigo = false;
        if (!campo && nome.rfind("OLD_", 0) == 0) {
            campo = dataset.FindField(nome.substr(4));
            antigo = true;
        } else if (!campo && nome.rfind("NEW_", 0) == 0) {
            campo = dataset.FindField(nome.substr(4));
        }
        if (!campo) throw Erro("Field '" + p.Name() + "' not found");
        const size_t k = static_cast<size_t>(campo->Index());
        const std::vector<Valor>& fonte = antigo ? originais : valores;
        const Valor& v = k < fonte.size() ? fonte[k] : Valor{};
        switch (v.index()) {
            case 0: p.Clear(); break;
            case 1:
                if (campo->Scale() != 0) p.SetAsFloat(ValorComoDecimal(v, campo->Scale()));
                else if (campo->DataType() == TipoCampo::Inteiro) p.SetAsInteger(static_cast<int32_t>(std::get<int64_t>(v)));
                else p.SetAsLargeInt(std::get<int64_t>(v));
                break;
            case 2: p.SetAsFloat(std::get<double>(v)); break;
            case 3: p.SetAsDateTime(std::get<DataHora>(v)); break;
            default:
                if (campo->DataType() == TipoCampo::Blob) p.SetAsBlob(std::get<std::string>(v));
                else p.SetAsString(std::get<std::string>(v));
                break;
        }
    }
    q->ExecSQL();
}

}  // namespace quorvel
