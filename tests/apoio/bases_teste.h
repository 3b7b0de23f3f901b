#pragma once
// Test databases: the 2009 database and the two 2010 databases created from the schemas in
// tests/fixtures, in a temporary folder, through the embedded engine (forced writes off).
//
//   teste::BasesTeste bases;                       // three fresh, empty databases
//   bases.Executar2009("INSERT INTO TB_GENERO VALUES (1, 'Rock');");
//   db.SetDatabaseName(bases.LocalAudio());        // the location a connection opens
//   auto linhas = bases.ConsultarAudio("SELECT GEN_CODIGO, GEN_NOME FROM TB_GENERO");
//   EXPECT_EQ(linhas[0][1], "Rock");               // NULL reads as teste::Nulo
//
// With Acesso::Servidor the files belong to the user of the Firebird server and the locations
// are "localhost:/path": every access then goes through the loopback server (see
// scripts/servidor-teste.sh). Never open one file both ways.
#include <cstdint>
#include <string>
#include <vector>

#include "db/ib_conexao.h"

namespace quorvel::teste {

inline constexpr const char* UsuarioBanco = "SYSDBA";
inline constexpr const char* SenhaBanco = "quindorex";
// What a NULL value reads as in the rows returned by the helpers.
inline const std::string Nulo = "<null>";

using Linhas = std::vector<std::vector<std::string>>;

// The text of a file in tests/fixtures.
std::string LerFixture(const std::string& nome);

// Sets a connection and its transaction up as the program does: "user_name=SYSDBA",
// "password=quindorex", dialect 1; "read_committed", "rec_version", "nowait".
void ConfigurarConexao(TIBDatabase& banco, TIBTransaction& transacao, const std::string& local);

// Creates a database at a local path and runs a fixture script ("" for none) on it.
void CriarBase(const std::string& caminho, const std::string& fixture);

// Runs an SQL script on the database at the location, on a connection of its own, committed.
void ExecutarSql(const std::string& local, const std::string& script);
// A script that fills the 2009 broadcast log with `n` rows, keys 1..n, generated inside the database.
std::string ScriptIrradiacao(int n);
// Every row of a SELECT, each value as text (dates "dd/mm/yyyy[ hh:nn:ss]", NULL as Nulo).
Linhas Consultar(const std::string& local, const std::string& select);
// The current value of a generator.
int64_t ValorGenerator(const std::string& local, const std::string& generator);

// True when the Firebird server answers on 127.0.0.1:3050.
bool ServidorDisponivel();

class BasesTeste {
public:
    enum class Acesso { Embutido, Servidor };
    explicit BasesTeste(Acesso acesso = Acesso::Embutido);
    ~BasesTeste();  // removes the folder and its databases
    BasesTeste(const BasesTeste&) = delete;
    BasesTeste& operator=(const BasesTeste&) = delete;

    const std::string& Pasta() const { return pasta_; }  // the temporary folder (host path)
    // Host paths of the database files.
    std::string Arquivo2009() const { return pasta_ + "/BASE2009.FDB"; }
    std::string ArquivoAudio() const { return pasta_ + "/AUDIO.FDB"; }
    std::string ArquivoAdm() const { return pasta_ + "/ADM.FDB"; }
    // Locations for DatabaseName.
    std::string Local2009() const { return Local(Arquivo2009()); }
    std::string LocalAudio() const { return Local(ArquivoAudio()); }
    std::string LocalAdm() const { return Local(ArquivoAdm()); }

    void Executar2009(const std::string& script) { ExecutarSql(Local2009(), script); }
    void ExecutarAudio(const std::string& script) { ExecutarSql(LocalAudio(), script); }
    void ExecutarAdm(const std::string& script) { ExecutarSql(LocalAdm(), script); }
    Linhas Consultar2009(const std::string& s) const { return Consultar(Local2009(), s); }
    Linhas ConsultarAudio(const std::string& s) const { return Consultar(LocalAudio(), s); }
    Linhas ConsultarAdm(const std::string& s) const { return Consultar(LocalAdm(), s); }

    // An empty database (no tables) in the folder, for tests of their own; returns its location.
    std::string CriarBaseVazia(const std::string& nomeArquivo);

private:
    std::string Local(const std::string& arquivo) const {
        return acesso_ == Acesso::Servidor ? "localhost:" + arquivo : arquivo;
    }
    void EntregarAoServidor(const std::string& caminho) const;
    Acesso acesso_;
    std::string pasta_;
};

}  // namespace quorvel::teste
