// A statement of the database layer: its text and named parameters, preparing it on the server,
// binding the parameters' values and executing it.
#include "db/ib_query.h"

#include <algorithm>

#include "db/fb_status.h"
#include "db/ib_blob.h"
#include "db/ib_query_interno.h"
#include "db/nomes_sem_caixa.h"
#include "db/parametros_sql.h"
#include "platform/erros.h"
#include "platform/texto.h"

namespace quorvel {

namespace {

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
        case ib::CodigoBoolean: return TipoCampo::Inteiro;
        default: return TipoCampo::Desconhecido;
    }
}

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

// A descriptor area that the first describe found too small is made as large as the statement's
// columns (or parameters) and described again.
ib::PtrXsqlda DescreverTudo(isc_stmt_handle* stmt, unsigned short dialeto, ib::PtrXsqlda area, bool parametros) {
    if (area->sqld <= area->sqln) return area;
    area = ib::NovoXsqlda(area->sqld);
    ISC_STATUS_ARRAY st;
    if (parametros)
        isc_dsql_describe_bind(st, stmt, dialeto, area.get());
    else
        isc_dsql_describe(st, stmt, dialeto, area.get());
    fb::Verificar(st);
    return area;
}

// Points a parameter at its value, of the given SQL type (nullable) and length.
void Apontar(XSQLVAR& v, short tipo, size_t comprimento, const void* dados) {
    v.sqltype = static_cast<short>(tipo | 1);
    v.sqllen = static_cast<short>(comprimento);
    v.sqldata = static_cast<char*>(const_cast<void*>(dados));
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

TParam& TIBQuery::ParamByName(const std::string& nome) {
    AnalisarParametros();
    for (auto& p : parametros_)
        if (NomesIguais(p->Name(), nome)) return *p;
    throw Erro("Parameter '" + nome + "' not found");
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

void TIBQuery::PrepararEntrada() {
    Impl& p = *impl_;
    const XSQLDA& entrada = *p.entrada;
    const auto n = static_cast<size_t>(entrada.sqld);
    p.descEntrada.assign(n, ib::Descricao{});
    p.celulasEntrada.assign(n, ib::Celula{});
    p.indEntrada.assign(n, 0);
    p.bufNulos.assign(n, {});
    for (size_t i = 0; i < n; ++i) {
        const XSQLVAR& v = entrada.sqlvar[i];
        p.descEntrada[i] = ib::Descricao{static_cast<short>(v.sqltype & ~1), v.sqllen, v.sqlscale, v.sqlsubtype};
        p.bufNulos[i].assign(static_cast<size_t>(v.sqllen) + 8, 0);
    }
}

void TIBQuery::PrepararCampos() {
    Impl& p = *impl_;
    XSQLDA& saida = *p.saida;
    const int n = saida.sqld;
    p.bufSaida.assign(static_cast<size_t>(n), {});
    p.indSaida.assign(static_cast<size_t>(n), 0);
    campos_.clear();
    for (int i = 0; i < n; ++i) {
        XSQLVAR& v = saida.sqlvar[i];
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
        campos_.push_back(std::make_unique<TField>(*this, i, std::move(nome), tc, tamanho, v.sqlscale, required,
                                                   t == SQL_TYPE_DATE));
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
        const auto dialeto = static_cast<unsigned short>(banco_->SQLDialect);
        ib::PtrXsqlda saida = ib::NovoXsqlda(20);
        isc_dsql_prepare(st, tr->HandlePtr(), &h, 0, textoPosicional_.c_str(), dialeto, saida.get());
        fb::Verificar(st);
        saida = DescreverTudo(&h, dialeto, std::move(saida), false);
        const int tipo = TipoDoComando(&h);
        ib::PtrXsqlda entrada = ib::NovoXsqlda(static_cast<int>(marcadores_.size()));
        isc_dsql_describe_bind(st, &h, dialeto, entrada.get());
        fb::Verificar(st);
        entrada = DescreverTudo(&h, dialeto, std::move(entrada), true);
        if (entrada->sqld != static_cast<int>(marcadores_.size()))
            throw Erro("The statement's parameters do not match its text");
        p.saida = std::move(saida);
        p.entrada = std::move(entrada);
        PrepararEntrada();
        PrepararCampos();
        p.stmt = h;
        p.textoPreparado = textoAnalisado_;
        p.geracao = geracao;
        p.tipoComando = tipo;
    } catch (...) {
        ISC_STATUS_ARRAY st2;
        isc_dsql_free_statement(st2, &h, DSQL_drop);
        campos_.clear();
        p.saida.reset();
        p.entrada.reset();
        throw;
    }
}

// ---- binding ----

void TIBQuery::Vincular() {
    Impl& p = *impl_;
    XSQLDA* e = p.entrada.get();
    for (size_t i = 0; i < marcadores_.size(); ++i) {
        XSQLVAR& v = e->sqlvar[i];
        const ib::Descricao& d = p.descEntrada[i];
        ib::Celula& c = p.celulasEntrada[i];
        short& ind = p.indEntrada[i];
        const TParam& par = *parametros_[static_cast<size_t>(marcadores_[i])];
        v.sqlind = &ind;
        v.sqlscale = 0;
        v.sqlsubtype = d.subtipo;
        ind = 0;
        bool valor = !par.IsNull();
        if (valor) {
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
                    Apontar(v, SQL_LONG, sizeof(int32_t), &c.i32);
                    break;
                case TipoCampo::Inteiro64:
                    c.i64 = std::get<int64_t>(val);
                    Apontar(v, SQL_INT64, sizeof(int64_t), &c.i64);
                    break;
                case TipoCampo::Decimal:
                    c.d = std::get<double>(val);
                    Apontar(v, SQL_DOUBLE, sizeof(double), &c.d);
                    break;
                case TipoCampo::Data:
                    c.ts = ib::ParaTimestamp(std::get<DataHora>(val));
                    Apontar(v, SQL_TIMESTAMP, sizeof(ISC_TIMESTAMP), &c.ts);
                    break;
                default: valor = VincularTexto(i, std::get<std::string>(val)); break;
            }
        }
        if (!valor) {
            ind = -1;
            Apontar(v, d.tipo, static_cast<size_t>(d.comprimento), p.bufNulos[i].data());
            v.sqlscale = d.escala;
        }
    }
}

bool TIBQuery::VincularTexto(size_t i, const std::string& texto) {
    static const char vazio[1] = {0};
    Impl& p = *impl_;
    XSQLVAR& v = p.entrada->sqlvar[i];
    const ib::Descricao& d = p.descEntrada[i];
    ib::Celula& c = p.celulasEntrada[i];
    const size_t tamanho = texto.size();
    if (d.tipo == SQL_TEXT || d.tipo == SQL_VARYING) {
        if (tamanho > static_cast<size_t>(d.comprimento))
            throw Erro(Formatar("Trying to store a string of length %d into a field that can only contain %d",
                                static_cast<int>(tamanho), static_cast<int>(d.comprimento)));
        Apontar(v, SQL_TEXT, tamanho, tamanho ? texto.data() : vazio);
    } else if (d.tipo == SQL_BLOB) {
        c.quad = GravarBlob(*banco_, *Transaction(), texto);
        Apontar(v, SQL_BLOB, sizeof(ISC_QUAD), &c.quad);
    } else if (d.tipo == SQL_TIMESTAMP || d.tipo == SQL_TYPE_DATE || d.tipo == SQL_TYPE_TIME) {
        if (texto.empty()) return false;
        c.ts = ib::ParaTimestamp(TextoParaDataHora(texto));
        Apontar(v, SQL_TIMESTAMP, sizeof(ISC_TIMESTAMP), &c.ts);
    } else {
        // Numbers: the server converts the text and rejects what is no number.
        if (texto.empty()) return false;
        if (tamanho > 32767) throw Erro("'" + texto.substr(0, 40) + "...' is not a valid number");
        Apontar(v, SQL_TEXT, tamanho, texto.data());
    }
    return true;
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
    tr->MarcarTrabalho();
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

}  // namespace quorvel
