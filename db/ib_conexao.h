#pragma once
// Connections and transactions of the database layer over the Firebird client library.
//
// The objects follow the component model of the original program: they are created empty, their
// properties are set afterwards (DatabaseName, Params, DefaultDatabase) and they find each other
// through pointers. None is copyable; the owner keeps them at a fixed address.
//
//   TIBDatabase db;            db.SetDatabaseName("localhost:C:\\Dados\\ADM.FDB");
//   db.Params = {"user_name=SYSDBA", "password=quindorex"};
//   TIBTransaction tr;         tr.SetDefaultDatabase(&db);
//   tr.Params = {"read_committed", "rec_version", "nowait"};
//   db.Open(); tr.StartTransaction(); … tr.CommitRetaining();
#include <cstdint>
#include <string>
#include <vector>

namespace quorvel {

class TIBQuery;
class TIBTransaction;

class TIBDatabase {
public:
    TIBDatabase();
    ~TIBDatabase();  // ends its transactions and disconnects, ignoring failures
    TIBDatabase(const TIBDatabase&) = delete;
    TIBDatabase& operator=(const TIBDatabase&) = delete;

    // Location: "host:path" or a local path (see db/localizacao.h). Set only while disconnected.
    const std::string& DatabaseName() const { return nome_; }
    void SetDatabaseName(const std::string& nome);

    // Connection parameters, one "name=value" line each: user_name, password, lc_ctype,
    // sql_role_name.
    std::vector<std::string> Params;
    bool LoginPrompt = false;  // credentials are never asked for
    int SQLDialect = 1;

    bool Connected() const { return handle_ != 0; }
    // Attaches; does nothing when connected. Raises ErroBanco with the client's text (Erro when
    // the client library itself is missing).
    void Open();
    // Closes every statement bound to the connection, ends (rolls back) its open transactions,
    // then detaches. Does nothing when disconnected.
    void Close();

    // The error of an operation that needs the connection while it is not connected: "Database
    // not open", followed by why the last connection attempt failed when one did.
    std::string TextoNaoConectado() const;

    // The first transaction whose DefaultDatabase is this connection, or nullptr.
    TIBTransaction* DefaultTransaction() const;

    // For the layer itself.
    unsigned int* HandlePtr() { return &handle_; }
    uint64_t GeracaoEsquema() const { return geracaoEsquema_; }
    void RegistrarMudancaEsquema();   // a DDL statement ran on the connection
    void TransacaoTerminouTrabalho();  // a commit or rollback: DDL becomes visible (or undone)
    void Registrar(TIBQuery* q);
    void Desregistrar(TIBQuery* q);
    void Registrar(TIBTransaction* t);
    void Desregistrar(TIBTransaction* t);
    const std::vector<TIBQuery*>& Consultas() const { return consultas_; }

private:
    std::string nome_;
    std::string falhaConexao_;  // the text of the last failed Open; empty after a good one
    unsigned int handle_ = 0;
    uint64_t geracaoEsquema_ = 0;
    bool ddlPendente_ = false;
    std::vector<TIBQuery*> consultas_;
    std::vector<TIBTransaction*> transacoes_;
};

class TIBTransaction {
public:
    TIBTransaction();
    ~TIBTransaction();  // rolls back an open transaction, ignoring failures
    TIBTransaction(const TIBTransaction&) = delete;
    TIBTransaction& operator=(const TIBTransaction&) = delete;

    TIBDatabase* DefaultDatabase() const { return banco_; }
    void SetDefaultDatabase(TIBDatabase* banco);

    // Transaction parameters, one name per line, in order: read_committed, rec_version, nowait,
    // wait, concurrency, consistency, no_rec_version, read, write.
    std::vector<std::string> Params;

    bool Active() const { return handle_ != 0; }
    // Active := true starts a transaction when none is open; Active := false rolls back the
    // open transaction and does nothing when none is open.
    void SetActive(bool ativa) { ativa ? StartTransaction() : Rollback(); }
    void StartTransaction();
    void Rollback();  // ends the transaction, undoing its work; closes its cursors
    void Commit();    // ends the transaction, keeping its work; closes its cursors
    // Commits the work done so far and keeps the transaction context, its cursors and datasets.
    // Does nothing when no statement was executed in the transaction since it started or since
    // its last commit or rollback.
    void CommitRetaining();
    // Undoes the work since the last commit and keeps the context open.
    void RollbackRetaining();

    // Commits retaining that reached the server since the transaction object was made.
    uint64_t CommitsRealizados() const { return commits_; }

    // For the layer itself.
    unsigned int* HandlePtr() { return &handle_; }
    // A statement is executed in the transaction: a commit has something to make durable.
    void MarcarTrabalho() { trabalho_ = true; }
    void Registrar(TIBQuery* q);
    void Desregistrar(TIBQuery* q);
    void BancoDestruido() { banco_ = nullptr; }

private:
    void FecharConsultas(bool cursoresJaFechados);
    void ExigirAtiva() const;
    TIBDatabase* banco_ = nullptr;
    unsigned int handle_ = 0;
    bool trabalho_ = false;
    uint64_t commits_ = 0;
    std::vector<TIBQuery*> consultas_;  // statements that name this transaction explicitly
};

}  // namespace quorvel
