#pragma once
// Statements of the database layer: a statement with a buffered cursor, which becomes a
// cached-update dataset when CachedUpdates is on and an update statement is attached. Preparing,
// binding and executing are in db/ib_query.cpp, the cursor in db/ib_cursor.cpp, the cached
// updates in db/ib_dataset.cpp.
//
//   TIBQuery q;  q.SetDatabase(&db);              // takes db's transaction unless one is set
//   q.Close(); q.SQL.Clear(); q.SQL.Add("INSERT INTO T (A, B) VALUES (:pA, :pB)");
//   q.ParamByName("pA").SetDataType(TipoCampo::Inteiro);
//   q.ParamByName("pA").SetAsInteger(1); q.ParamByName("pB").SetAsString("x");
//   q.ExecSQL();
//
//   q.SQL.SetText("SELECT * FROM T ORDER BY A"); q.Open(); q.Last(); q.First();
//   while (!q.Eof()) { q.FieldByName("B").AsString(); q.Next(); }
//
// A statement stays prepared while its text stays the same: setting the same text again (even
// through Clear and Add) reuses the prepared statement, with its parameters rebuilt empty. After
// a DDL statement on the connection, and again after the next commit or rollback there, every
// statement of the connection is prepared afresh before its next use.
#include <cstdint>
#include <functional>
#include <memory>
#include <string>
#include <vector>

#include "db/ib_conexao.h"
#include "db/ib_linhas.h"
#include "db/ib_valores.h"

namespace quorvel {

class TIBUpdateSQL;

// When the generator of a cached-update dataset gives a new row its key.
enum class TGeneratorApplyEvent { gamOnNewRecord, gamOnPost, gamOnServer };

struct TIBGeneratorField {
    std::string Field;      // the key column
    std::string Generator;  // the generator's name
    int IncrementBy = 1;
    TGeneratorApplyEvent ApplyEvent = TGeneratorApplyEvent::gamOnPost;
};

// State of a cached-update dataset's current row.
enum class EstadoDataset { Inativo, Navegando, Inserindo };

class TIBQuery {
public:
    TIBQuery();
    explicit TIBQuery(TIBDatabase* banco);
    ~TIBQuery();  // closes and frees the statement, ignoring failures
    TIBQuery(const TIBQuery&) = delete;
    TIBQuery& operator=(const TIBQuery&) = delete;

    TIBDatabase* Database() const { return banco_; }
    void SetDatabase(TIBDatabase* banco);
    // The transaction set, or else the connection's default transaction.
    TIBTransaction* Transaction() const;
    void SetTransaction(TIBTransaction* transacao);

    // The statement text; every change closes the statement and forgets its parameters.
    ListaTexto SQL;

    // Parameters, parsed from the text: a colon and a name outside quoted literals and comments.
    TParam& ParamByName(const std::string& nome);  // case-insensitive; Erro when absent
    int ParamCount();
    TParam& Params(int indice);

    // Prepares when needed (starting the transaction when it is not active), binds and executes
    // a statement that returns no rows.
    void ExecSQL();
    // Prepares, binds, executes a SELECT and fetches the first row. Nothing when open already.
    void Open();
    // Closes the cursor and discards the buffered rows (and pending cached updates).
    void Close();
    bool Active() const { return estado_ != EstadoDataset::Inativo; }
    void SetActive(bool ativo) { ativo ? Open() : Close(); }
    bool Prepared() const;

    // Navigation over the buffered rows.
    void First();  // first buffered row, without fetching again; clears end-of-data
    void Last();   // fetches every remaining row; the last becomes current
    void Next();   // fetches when needed; past the last row end-of-data becomes true
    bool Eof() const { return eof_; }
    int RecordCount() const;  // rows fetched so far
    bool IsEmpty() const;

    // Result columns.
    int FieldCount() const { return static_cast<int>(campos_.size()); }
    TField& Fields(int indice);
    TField& FieldByName(const std::string& nome);  // case-insensitive; Erro when absent
    TField* FindField(const std::string& nome);

    // Kind of the prepared statement (isc_info_sql_stmt_*: 1 select, 2 insert, 3 update,
    // 4 delete, 5 DDL, 8 execute procedure ...), 0 when not prepared.
    int TipoComando() const;

    // Cached updates: rows are only ever appended.
    bool CachedUpdates = false;
    TIBUpdateSQL* UpdateObject = nullptr;
    TIBGeneratorField GeneratorField;
    std::function<void(TIBQuery&)> BeforePost;
    std::function<void(TIBQuery&)> AfterPost;

    EstadoDataset State() const { return estado_; }
    void Append();  // adds an empty row, pending insert, which becomes current
    void Post();    // completes the row being appended
    // Writes every pending row through the update object; applied rows become unchanged.
    void ApplyUpdates();
    bool UpdatesPending() const;

    // For TField.
    const Valor& ValorCampo(int indice) const;
    void GravarCampo(int indice, Valor v);

    struct Impl;

private:
    // A row appended to a cached-update dataset.
    struct LinhaAnexada {
        std::vector<Valor> valores;
        bool pendente = false;  // posted, not yet applied
    };

    void TextoMudou();
    void GerarChave();
    void AnalisarParametros();
    void Preparar();
    // The parameters' descriptions and null buffers, and the output buffers and the fields, of
    // the descriptor areas just described.
    void PrepararEntrada();
    void PrepararCampos();
    void Unprepare();  // frees the prepared statement; the next use prepares it again
    void Vincular();
    // Binds a text (or blob content) parameter by the column the server describes; false when
    // the text stands for NULL (an empty date or number).
    bool VincularTexto(size_t i, const std::string& texto);
    bool BuscarLinha();
    void FecharCursor(bool jaFechadoPeloServidor);
    void ExigirAberto() const;
    void ExigirInsercao() const;
    void FecharPorFimDeTransacao();  // the transaction ended: the cursor is gone
    void DesligarBanco();            // the connection is being destroyed
    void DesligarTransacao();        // the transaction is being destroyed
    void ConectadoExigido() const;
    int TotalLinhas() const { return static_cast<int>(buscadas_.Quantidade() + anexadas_.size()); }
    void LimparLinhas();
    friend class TIBDatabase;
    friend class TIBTransaction;

    TIBDatabase* banco_ = nullptr;
    TIBTransaction* transacao_ = nullptr;
    std::unique_ptr<Impl> impl_;

    // Parameters of the current text.
    bool parametrosSujos_ = true;
    std::vector<std::unique_ptr<TParam>> parametros_;
    std::string textoPosicional_;            // the text with '?' markers
    std::vector<int> marcadores_;            // parameter index of every marker
    std::string textoAnalisado_;

    // Result.
    std::vector<std::unique_ptr<TField>> campos_;
    // The rows fetched so far, packed, and after them the rows the dataset appended. The current
    // fetched row is unpacked when a field is first read on it.
    LinhasCompactas buscadas_;
    std::vector<LinhaAnexada> anexadas_;
    mutable std::vector<Valor> lida_;
    mutable int linhaLida_ = -1;
    int atual_ = -1;
    bool eof_ = true;
    bool cursorAberto_ = false;
    bool fimDosDados_ = true;  // every row of the result has been fetched
    EstadoDataset estado_ = EstadoDataset::Inativo;
    std::unique_ptr<TIBQuery> consultaGerador_;
};

// The statement that writes the rows appended to a cached-update dataset. In it ":FIELD" binds
// the row's value of that column.
class TIBUpdateSQL {
public:
    TIBUpdateSQL();
    ~TIBUpdateSQL();
    TIBUpdateSQL(const TIBUpdateSQL&) = delete;
    TIBUpdateSQL& operator=(const TIBUpdateSQL&) = delete;

    ListaTexto InsertSQL;

    // Executes the insert statement for a row of the dataset with these values.
    void Inserir(TIBQuery& dataset, const std::vector<Valor>& valores);

private:
    std::unique_ptr<TIBQuery> insercao_;
};

}  // namespace quorvel
