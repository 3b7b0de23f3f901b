#include "db/ib_conexao.h"

#include <ibase.h>

#include <algorithm>

#include "db/fb_status.h"
#include "db/ib_query.h"
#include "db/localizacao.h"
#include "platform/erros.h"
#include "platform/texto.h"

namespace quorvel {

static_assert(sizeof(isc_db_handle) == sizeof(unsigned int), "handle size");

namespace {

// "name=value" split at the first '='; the name trimmed and in lower case.
void DividirParametro(const std::string& linha, std::string& nome, std::string& valor) {
    const size_t igual = linha.find('=');
    nome = MinusculasAscii(Aparar(linha.substr(0, igual)));
    valor = igual == std::string::npos ? std::string() : linha.substr(igual + 1);
}

void AcrescentarTexto(std::string& dpb, char item, const std::string& valor) {
    if (valor.size() > 255) throw Erro("Database parameter value too long");
    dpb += item;
    dpb += static_cast<char>(valor.size());
    dpb += valor;
}

std::string MontarDpb(const std::vector<std::string>& params) {
    std::string dpb(1, static_cast<char>(isc_dpb_version1));
    for (const std::string& linha : params) {
        std::string nome, valor;
        DividirParametro(linha, nome, valor);
        if (nome.empty()) continue;
        if (nome == "user_name" || nome == "user") {
            AcrescentarTexto(dpb, isc_dpb_user_name, valor);
        } else if (nome == "password") {
            AcrescentarTexto(dpb, isc_dpb_password, valor);
        } else if (nome == "lc_ctype") {
            AcrescentarTexto(dpb, isc_dpb_lc_ctype, valor);
        } else if (nome == "sql_role_name") {
            AcrescentarTexto(dpb, isc_dpb_sql_role_name, valor);
        } else {
            throw Erro("Unknown database parameter: " + nome);
        }
    }
    return dpb;
}

std::string MontarTpb(const std::vector<std::string>& params) {
    std::string tpb(1, static_cast<char>(isc_tpb_version3));
    for (const std::string& linha : params) {
        const std::string nome = MinusculasAscii(Aparar(linha));
        if (nome.empty()) continue;
        char item;
        if (nome == "read_committed") item = isc_tpb_read_committed;
        else if (nome == "rec_version") item = isc_tpb_rec_version;
        else if (nome == "no_rec_version") item = isc_tpb_no_rec_version;
        else if (nome == "nowait") item = isc_tpb_nowait;
        else if (nome == "wait") item = isc_tpb_wait;
        else if (nome == "concurrency") item = isc_tpb_concurrency;
        else if (nome == "consistency") item = isc_tpb_consistency;
        else if (nome == "read") item = isc_tpb_read;
        else if (nome == "write") item = isc_tpb_write;
        else throw Erro("Unknown transaction parameter: " + nome);
        tpb += item;
    }
    return tpb;
}

template <class T>
void Remover(std::vector<T*>& lista, T* item) {
    lista.erase(std::remove(lista.begin(), lista.end(), item), lista.end());
}

}  // namespace

// ---- TIBDatabase ----

TIBDatabase::TIBDatabase() = default;

TIBDatabase::~TIBDatabase() {
    try {
        Close();
    } catch (...) {
    }
    if (handle_ != 0) {  // a failed detach: let go of the handle without raising
        ISC_STATUS_ARRAY st;
        isc_detach_database(st, &handle_);
        handle_ = 0;
    }
    for (TIBQuery* q : std::vector<TIBQuery*>(consultas_)) q->DesligarBanco();
    for (TIBTransaction* t : transacoes_) t->BancoDestruido();
}

void TIBDatabase::SetDatabaseName(const std::string& nome) {
    if (Connected()) throw Erro("Cannot change the database name while connected");
    nome_ = nome;
}

void TIBDatabase::Open() {
    if (Connected()) return;
    isc_db_handle h = 0;
    try {
        if (Aparar(nome_).empty()) throw Erro("Database name is missing");
        const std::string local = LocalParaCliente(nome_);
        const std::string dpb = MontarDpb(Params);
        ISC_STATUS_ARRAY st;
        isc_attach_database(st, static_cast<short>(local.size()), local.c_str(), &h,
                            static_cast<short>(dpb.size()), dpb.data());
        fb::Verificar(st);
    } catch (const Erro& e) {
        falhaConexao_ = e.mensagem();
        throw;
    }
    falhaConexao_.clear();
    handle_ = h;
    ddlPendente_ = false;
    ++geracaoEsquema_;
}

void TIBDatabase::Close() {
    if (!Connected()) return;
    for (TIBQuery* q : std::vector<TIBQuery*>(consultas_)) {
        try {
            q->Close();
        } catch (...) {
        }
        q->Unprepare();
    }
    for (TIBTransaction* t : transacoes_) {
        if (t->Active()) t->Rollback();
    }
    ISC_STATUS_ARRAY st;
    isc_detach_database(st, &handle_);
    if (fb::Falhou(st)) {
        // The connection is unusable either way: forget it, then report.
        handle_ = 0;
        fb::Lancar(st);
    }
    handle_ = 0;
}

std::string TIBDatabase::TextoNaoConectado() const {
    return falhaConexao_.empty() ? "Database not open" : "Database not open (" + falhaConexao_ + ")";
}

TIBTransaction* TIBDatabase::DefaultTransaction() const {
    return transacoes_.empty() ? nullptr : transacoes_.front();
}

void TIBDatabase::RegistrarMudancaEsquema() {
    ++geracaoEsquema_;
    ddlPendente_ = true;
}

void TIBDatabase::TransacaoTerminouTrabalho() {
    if (ddlPendente_) {
        ++geracaoEsquema_;
        ddlPendente_ = false;
    }
}

void TIBDatabase::Registrar(TIBQuery* q) {
    if (std::find(consultas_.begin(), consultas_.end(), q) == consultas_.end())
        consultas_.push_back(q);
}
void TIBDatabase::Desregistrar(TIBQuery* q) { Remover(consultas_, q); }
void TIBDatabase::Registrar(TIBTransaction* t) {
    if (std::find(transacoes_.begin(), transacoes_.end(), t) == transacoes_.end())
        transacoes_.push_back(t);
}
void TIBDatabase::Desregistrar(TIBTransaction* t) { Remover(transacoes_, t); }

// ---- TIBTransaction ----

TIBTransaction::TIBTransaction() = default;

TIBTransaction::~TIBTransaction() {
    try {
        Rollback();
    } catch (...) {
    }
    if (handle_ != 0) {
        ISC_STATUS_ARRAY st;
        isc_rollback_transaction(st, &handle_);
        handle_ = 0;
    }
    for (TIBQuery* q : std::vector<TIBQuery*>(consultas_)) q->DesligarTransacao();
    if (banco_) banco_->Desregistrar(this);
}

void TIBTransaction::SetDefaultDatabase(TIBDatabase* banco) {
    if (banco == banco_) return;
    if (Active()) throw Erro("Cannot change the database of an active transaction");
    if (banco_) banco_->Desregistrar(this);
    banco_ = banco;
    if (banco_) banco_->Registrar(this);
}

void TIBTransaction::StartTransaction() {
    if (Active()) return;
    if (!banco_) throw Erro("Transaction has no database");
    if (!banco_->Connected()) throw Erro(banco_->TextoNaoConectado());
    const std::string tpb = MontarTpb(Params);
    ISC_STATUS_ARRAY st;
    isc_tr_handle h = 0;
    isc_start_transaction(st, &h, 1, banco_->HandlePtr(), static_cast<unsigned short>(tpb.size()),
                          tpb.data());
    fb::Verificar(st);
    handle_ = h;
    trabalho_ = false;
}

void TIBTransaction::FecharConsultas(bool cursoresJaFechados) {
    std::vector<TIBQuery*> afetadas(consultas_);
    if (banco_) {
        for (TIBQuery* q : banco_->Consultas())
            if (q->Transaction() == this &&
                std::find(afetadas.begin(), afetadas.end(), q) == afetadas.end())
                afetadas.push_back(q);
    }
    for (TIBQuery* q : afetadas) {
        if (cursoresJaFechados) q->FecharPorFimDeTransacao();
        else q->Close();
    }
}

void TIBTransaction::Rollback() {
    if (!Active()) return;
    // Close the cursors first: once the transaction ends the server forgets them.
    try {
        FecharConsultas(false);
    } catch (...) {
        FecharConsultas(true);
    }
    ISC_STATUS_ARRAY st;
    isc_rollback_transaction(st, &handle_);
    if (fb::Falhou(st)) {
        // A lost connection: the transaction is gone with it.
        handle_ = 0;
        trabalho_ = false;
        if (banco_) banco_->TransacaoTerminouTrabalho();
        fb::Lancar(st);
    }
    handle_ = 0;
    trabalho_ = false;
    if (banco_) banco_->TransacaoTerminouTrabalho();
}

void TIBTransaction::Commit() {
    if (!Active()) return;
    FecharConsultas(false);
    ISC_STATUS_ARRAY st;
    isc_commit_transaction(st, &handle_);
    fb::Verificar(st);
    handle_ = 0;
    trabalho_ = false;
    if (banco_) banco_->TransacaoTerminouTrabalho();
}

void TIBTransaction::ExigirAtiva() const {
    if (!Active()) throw Erro("Transaction is not active");
}

void TIBTransaction::CommitRetaining() {
    ExigirAtiva();
    // Nothing was executed since the transaction started or last ended its work: the commit
    // would change nothing, and would still cost the server a synchronous write.
    if (!trabalho_) return;
    ISC_STATUS_ARRAY st;
    isc_commit_retaining(st, &handle_);
    fb::Verificar(st);
    trabalho_ = false;
    ++commits_;
    if (banco_) banco_->TransacaoTerminouTrabalho();
}

void TIBTransaction::RollbackRetaining() {
    ExigirAtiva();
    ISC_STATUS_ARRAY st;
    isc_rollback_retaining(st, &handle_);
    fb::Verificar(st);
    trabalho_ = false;
    if (banco_) banco_->TransacaoTerminouTrabalho();
}

void TIBTransaction::Registrar(TIBQuery* q) {
    if (std::find(consultas_.begin(), consultas_.end(), q) == consultas_.end())
        consultas_.push_back(q);
}
void TIBTransaction::Desregistrar(TIBQuery* q) { Remover(consultas_, q); }

}  // namespace quorvel
