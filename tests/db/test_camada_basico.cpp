// The database layer against real embedded databases: connections, transactions, statements,
// binding and reading rules.
#include <gtest/gtest.h>

#include <cstdlib>
#include <filesystem>

#include "apoio/bases_teste.h"
#include "db/erro_banco.h"
#include "db/ib_query.h"
#include "platform/erros.h"

namespace quorvel {
namespace {

using teste::BasesTeste;
using teste::Nulo;

class Camada : public ::testing::Test {
protected:
    void SetUp() override {
        teste::ConfigurarConexao(audio, trAudio, bases.LocalAudio());
        audio.Open();
        trAudio.StartTransaction();
        q.SetDatabase(&audio);
    }
    void Texto(TIBQuery& c, const std::string& sql) {
        c.Close();
        c.SQL.Clear();
        c.SQL.Add(sql);
    }
    void Texto(const std::string& sql) { Texto(q, sql); }
    std::string ErroDe(const std::function<void()>& f) {
        try {
            f();
        } catch (const Erro& e) {
            return e.what();
        }
        return "(no error)";
    }
    BasesTeste bases;
    TIBDatabase audio;
    TIBTransaction trAudio;
    TIBQuery q;
};

TEST_F(Camada, EmptyTextBindsNullToNumbersAndDatesButEmptyTextToVarchar) {
    Texto("INSERT INTO TB_ECAD (ECA_CODIGO, ECA_DATA, ECA_HORA, MUS_CODIGO) VALUES (1, :pData, :pHora, :pMus)");
    q.ParamByName("pData").SetDataType(TipoCampo::Data);
    q.ParamByName("pData").SetAsString("");
    q.ParamByName("pHora").SetAsString("");
    q.ParamByName("pMus").SetAsString("");
    q.ExecSQL();
    trAudio.CommitRetaining();
    const auto linhas = bases.ConsultarAudio("SELECT ECA_DATA, ECA_HORA, MUS_CODIGO FROM TB_ECAD");
    ASSERT_EQ(linhas.size(), 1u);
    EXPECT_EQ(linhas[0][0], Nulo);
    EXPECT_EQ(linhas[0][1], "");
    EXPECT_EQ(linhas[0][2], Nulo);
}

TEST_F(Camada, TextsAreConvertedByTheColumnTheServerDescribes) {
    Texto("INSERT INTO TB_ECAD (ECA_CODIGO, ECA_DATA, ECA_HORA, MUS_CODIGO) VALUES (:c, :d, :h, :m)");
    q.ParamByName("c").SetAsString("7");
    q.ParamByName("d").SetAsString("25/12/2009 13:45:10");
    q.ParamByName("h").SetAsInteger(1345);  // an integer into a text column
    q.ParamByName("m").SetAsString(" 42");
    q.ExecSQL();
    Texto("INSERT INTO TB_ECAD (ECA_CODIGO, MUS_CODIGO) VALUES (8, :m)");
    q.ParamByName("m").SetAsString("doze");
    const std::string erro = ErroDe([&] { q.ExecSQL(); });
    EXPECT_NE(erro.find("conversion error"), std::string::npos) << erro;
    Texto("INSERT INTO TB_ECAD (ECA_CODIGO, ECA_DATA) VALUES (9, :d)");
    q.ParamByName("d").SetAsString("31/02/2009");
    EXPECT_EQ(ErroDe([&] { q.ExecSQL(); }), "'31/02/2009' is not a valid date and time");
    trAudio.CommitRetaining();
    const auto linhas = bases.ConsultarAudio("SELECT ECA_CODIGO, ECA_DATA, ECA_HORA, MUS_CODIGO FROM TB_ECAD");
    ASSERT_EQ(linhas.size(), 1u);
    EXPECT_EQ(linhas[0], (std::vector<std::string>{"7", "25/12/2009 13:45:10", "1345", "42"}));
}

TEST_F(Camada, TooLongTextIsRejectedWithTheLengthsWhenBound) {
    Texto("INSERT INTO TB_GENERO (GEN_CODIGO, GEN_NOME) VALUES (1, :pGen_nome)");
    q.ParamByName("pGen_nome").SetDataType(TipoCampo::Texto);
    q.ParamByName("pGen_nome").SetAsString(std::string(31, 'x'));
    EXPECT_EQ(ErroDe([&] { q.ExecSQL(); }),
              "Trying to store a string of length 31 into a field that can only contain 30");
    // The failed execute leaves the transaction open and usable.
    q.ParamByName("pGen_nome").SetAsString(std::string(30, 'x'));
    q.ExecSQL();
    trAudio.CommitRetaining();
    EXPECT_EQ(bases.ConsultarAudio("SELECT GEN_NOME FROM TB_GENERO")[0][0], std::string(30, 'x'));
}

TEST_F(Camada, FailedExecuteKeepsEarlierUncommittedWork) {
    Texto("INSERT INTO TB_GENERO (GEN_CODIGO, GEN_NOME) VALUES (:c, 'Rock')");
    q.ParamByName("c").SetAsInteger(1);
    q.ExecSQL();
    q.ParamByName("c").SetAsInteger(1);
    const std::string erro = ErroDe([&] { q.ExecSQL(); });
    EXPECT_NE(erro.find("PK_GENERO"), std::string::npos) << erro;
    EXPECT_TRUE(trAudio.Active());
    trAudio.CommitRetaining();
    EXPECT_EQ(bases.ConsultarAudio("SELECT COUNT(*) FROM TB_GENERO")[0][0], "1");
}

TEST_F(Camada, Windows1252BytesAndLongBlobsRoundTripUnchanged) {
    std::string todos;
    for (int c = 0x20; c <= 0xFF; ++c) todos += static_cast<char>(c);
    const std::string acentos = "Jo\xE3o Ara\xFAjo \x80 \xC7\xE9u";  // João Araújo € Çéu
    std::string longo;
    for (int i = 0; i < 70000; ++i) longo += static_cast<char>(0x20 + i % 0xE0);

    TIBDatabase adm;
    TIBTransaction trAdm;
    teste::ConfigurarConexao(adm, trAdm, bases.LocalAdm());
    adm.Open();
    TIBQuery a(&adm);
    a.SQL.Add("INSERT INTO TB_AGENDA (AGE_CODIGO, AGE_NOME, AGE_OBS) VALUES (:c, :n, :o)");
    a.ParamByName("c").SetAsInteger(1);
    a.ParamByName("n").SetAsString(acentos);
    a.ParamByName("o").SetAsBlob(todos);
    a.ExecSQL();
    a.ParamByName("c").SetAsInteger(2);
    a.ParamByName("n").SetAsString("");
    a.ParamByName("o").SetAsBlob(longo);
    a.ExecSQL();
    trAdm.CommitRetaining();

    Texto(a, "SELECT AGE_NOME, AGE_OBS FROM TB_AGENDA ORDER BY AGE_CODIGO");
    a.Open();
    EXPECT_EQ(a.FieldByName("age_nome").AsString(), acentos);
    EXPECT_EQ(a.FieldByName("AGE_OBS").AsString(), todos);
    a.Next();
    EXPECT_EQ(a.FieldByName("AGE_OBS").AsString(), longo);
    EXPECT_FALSE(a.FieldByName("AGE_NOME").IsNull());
    a.Close();
    trAdm.Rollback();
    adm.Close();
}

TEST_F(Camada, BufferedCursorNavigationAndNullReadingRules) {
    bases.ExecutarAudio(
        "INSERT INTO TB_ECAD VALUES (1, '2009-02-01', '10:00', 5);"
        "INSERT INTO TB_ECAD VALUES (2, NULL, NULL, NULL);"
        "INSERT INTO TB_ECAD VALUES (3, '2009-02-03', '12:00', 7);");
    Texto("SELECT * FROM TB_ECAD ORDER BY eca_codigo");
    q.Open();
    q.Open();  // already open: nothing happens
    EXPECT_EQ(q.RecordCount(), 1);
    EXPECT_FALSE(q.Eof());
    q.Last();
    EXPECT_EQ(q.RecordCount(), 3);
    EXPECT_EQ(q.FieldByName("ECA_CODIGO").AsInteger(), 3);
    q.First();
    EXPECT_FALSE(q.Eof());
    EXPECT_EQ(q.FieldByName("eca_codigo").AsString(), "1");
    EXPECT_EQ(q.FieldByName("ECA_DATA").AsDateTime(), DataHora::De(2009, 2, 1));
    q.Next();
    EXPECT_TRUE(q.FieldByName("ECA_HORA").IsNull());
    EXPECT_EQ(q.FieldByName("ECA_HORA").AsString(), "");
    EXPECT_EQ(q.FieldByName("MUS_CODIGO").AsInteger(), 0);
    EXPECT_EQ(q.FieldByName("ECA_DATA").AsDateTime(), DataHora{});
    EXPECT_EQ(DataHoraParaTexto(q.FieldByName("ECA_DATA").AsDateTime()), "30/12/1899");
    q.Next();
    q.Next();  // past the last row
    EXPECT_TRUE(q.Eof());
    EXPECT_EQ(q.FieldByName("ECA_CODIGO").AsInteger(), 3);
    q.Next();
    EXPECT_TRUE(q.Eof());
    EXPECT_EQ(q.FieldByName("MUS_CODIGO").AsInteger(), 7);
    EXPECT_EQ(q.FindField("NAO_EXISTE"), nullptr);
    EXPECT_EQ(ErroDe([&] { q.FieldByName("NAO_EXISTE"); }), "Field 'NAO_EXISTE' not found");

    Texto("SELECT * FROM TB_ECAD WHERE eca_codigo > 99");
    q.Open();
    EXPECT_TRUE(q.IsEmpty());
    EXPECT_TRUE(q.Eof());
    q.Last();
    q.First();
    EXPECT_TRUE(q.Eof());
    EXPECT_EQ(q.RecordCount(), 0);
    EXPECT_EQ(q.FieldByName("ECA_CODIGO").AsInteger(), 0);
}

TEST_F(Camada, ParametersFollowTheText) {
    Texto("SELECT ':naoParam' AS A, \":outro\" AS B FROM RDB$DATABASE WHERE 1 = :Um AND :UM = 1 -- :comentario");
    EXPECT_EQ(q.ParamCount(), 1);
    q.ParamByName("um").SetAsInteger(1);
    q.Open();
    EXPECT_EQ(q.FieldByName("A").AsString(), ":naoParam");
    EXPECT_EQ(q.RecordCount(), 1);
    EXPECT_EQ(ErroDe([&] { q.ParamByName("comentario"); }), "Parameter 'comentario' not found");
    // Setting the text again forgets the values: an unassigned parameter binds NULL.
    Texto("SELECT COUNT(*) FROM RDB$DATABASE WHERE 1 = :Um");
    q.Open();
    EXPECT_EQ(q.Fields(0).AsInteger(), 0);
}

TEST_F(Camada, SameTextKeepsThePreparedStatement) {
    for (int i = 1; i <= 3; ++i) {
        Texto("INSERT INTO TB_GENERO (GEN_CODIGO, GEN_NOME) VALUES (:pGen_codigo, :pGen_nome)");
        q.ParamByName("pGen_codigo").SetDataType(TipoCampo::Inteiro);
        q.ParamByName("pGen_nome").SetDataType(TipoCampo::Texto);
        q.ParamByName("pGen_codigo").SetAsInteger(i);
        q.ParamByName("pGen_nome").SetAsString("G" + std::to_string(i));
        q.ExecSQL();
        EXPECT_TRUE(q.Prepared());
    }
    Texto("SELECT COUNT(*) AS N FROM TB_GENERO");
    q.Open();
    EXPECT_EQ(q.FieldByName("N").AsInteger(), 3);
}

TEST_F(Camada, EndingAndDisconnectingTwiceDoNothing) {
    TIBTransaction solta;
    solta.SetActive(false);
    solta.Rollback();
    EXPECT_FALSE(solta.Active());
    trAudio.SetActive(false);
    trAudio.SetActive(false);
    audio.Close();
    audio.Close();
    EXPECT_FALSE(audio.Connected());
    // Using a statement of a disconnected connection fails with an error.
    Texto("SELECT * FROM TB_GENERO");
    EXPECT_EQ(ErroDe([&] { q.Open(); }), "Database not open");
    audio.Open();
    trAudio.StartTransaction();
    q.Open();
    EXPECT_TRUE(q.IsEmpty());
}

TEST_F(Camada, DisconnectClosesStatementsAndEndsTransactions) {
    bases.ExecutarAudio("INSERT INTO TB_GENERO VALUES (1, 'Rock');");
    Texto("SELECT * FROM TB_GENERO");
    q.Open();
    TIBQuery escrita(&audio);
    escrita.SQL.Add("INSERT INTO TB_GENERO VALUES (2, 'Samba')");
    escrita.ExecSQL();
    audio.Close();
    EXPECT_FALSE(q.Active());
    EXPECT_FALSE(trAudio.Active());
    EXPECT_EQ(bases.ConsultarAudio("SELECT COUNT(*) FROM TB_GENERO")[0][0], "1");
    audio.Open();
    q.Open();  // prepared anew on the new attachment
    EXPECT_EQ(q.FieldByName("GEN_NOME").AsString(), "Rock");
}

TEST_F(Camada, CommitRetainingKeepsCursorsOfEveryTransactionOpen) {
    bases.Executar2009(
        "INSERT INTO TB_GENERO VALUES (1, 'Rock');"
        "INSERT INTO TB_GENERO VALUES (2, 'Samba');"
        "INSERT INTO TB_GENERO VALUES (3, 'Forro');");
    bases.ExecutarAudio(
        "INSERT INTO TB_GENERO VALUES (10, 'A');"
        "INSERT INTO TB_GENERO VALUES (11, 'B');");
    TIBDatabase b2009, adm;
    TIBTransaction tr2009, trAdm;
    teste::ConfigurarConexao(b2009, tr2009, bases.Local2009());
    teste::ConfigurarConexao(adm, trAdm, bases.LocalAdm());
    b2009.Open();
    adm.Open();
    TIBQuery origem(&b2009), alvo(&adm), propria(&adm);

    origem.SQL.Add("SELECT * FROM TB_GENERO ORDER BY gen_codigo");
    origem.Open();  // only the first row is fetched
    propria.SQL.Add("SELECT * FROM TB_AGENDA");
    bases.ExecutarAdm("INSERT INTO TB_AGENDA (AGE_CODIGO) VALUES (1);INSERT INTO TB_AGENDA (AGE_CODIGO) VALUES (2);");
    propria.Open();
    TIBQuery audioCursor(&audio);
    audioCursor.SQL.Add("SELECT * FROM TB_GENERO ORDER BY gen_codigo");
    audioCursor.Open();

    alvo.SQL.Add("INSERT INTO TB_AGENDA (AGE_CODIGO, AGE_NOME) VALUES (gen_id(GEN_AGENDA, 1) + 100, :n)");
    while (!origem.Eof()) {
        alvo.ParamByName("n").SetAsString(origem.FieldByName("GEN_NOME").AsString());
        alvo.ExecSQL();
        trAdm.CommitRetaining();
        origem.Next();  // fetches the next row from the still open cursor
    }
    EXPECT_EQ(origem.RecordCount(), 3);
    propria.Next();
    EXPECT_EQ(propria.FieldByName("AGE_CODIGO").AsInteger(), 2);
    audioCursor.Next();
    EXPECT_EQ(audioCursor.FieldByName("GEN_CODIGO").AsInteger(), 11);
    EXPECT_EQ(bases.ConsultarAdm("SELECT COUNT(*) FROM TB_AGENDA")[0][0], "5");
    trAdm.Rollback();
    tr2009.Rollback();
}

TEST_F(Camada, RollbackRetainingUndoesOnlyWorkSinceTheLastCommit) {
    Texto("INSERT INTO TB_GENERO VALUES (:c, 'x')");
    q.ParamByName("c").SetAsInteger(1);
    q.ExecSQL();
    trAudio.CommitRetaining();
    q.ParamByName("c").SetAsInteger(2);
    q.ExecSQL();
    trAudio.RollbackRetaining();
    EXPECT_TRUE(trAudio.Active());
    q.ParamByName("c").SetAsInteger(3);
    q.ExecSQL();
    trAudio.CommitRetaining();
    EXPECT_EQ(bases.ConsultarAudio("SELECT GEN_CODIGO FROM TB_GENERO ORDER BY 1"),
              (teste::Linhas{{"1"}, {"3"}}));
}

TEST_F(Camada, WriteCollisionFailsAtOnceWithTheServersText) {
    bases.ExecutarAudio("INSERT INTO TB_GENERO VALUES (1, 'Rock');");
    TIBDatabase outra;
    TIBTransaction trOutra;
    teste::ConfigurarConexao(outra, trOutra, bases.LocalAudio());
    outra.Open();
    TIBQuery u1(&audio), u2(&outra);
    u1.SQL.Add("UPDATE TB_GENERO SET GEN_NOME = 'A' WHERE GEN_CODIGO = 1");
    u2.SQL.Add("UPDATE TB_GENERO SET GEN_NOME = 'B' WHERE GEN_CODIGO = 1");
    u1.ExecSQL();
    try {
        u2.ExecSQL();
        FAIL() << "no lock conflict";
    } catch (const ErroBanco& e) {
        EXPECT_NE(std::string(e.what()).find("update conflicts with concurrent update"),
                  std::string::npos)
            << e.what();
    }
    trOutra.Rollback();
}

TEST_F(Camada, ConnectionFailuresCarryTheClientsText) {
    TIBDatabase b;
    TIBTransaction t;
    teste::ConfigurarConexao(b, t, bases.Pasta() + "/NAO_EXISTE.FDB");
    EXPECT_NE(ErroDe([&] { b.Open(); }).find("NAO_EXISTE.FDB"), std::string::npos);
    EXPECT_FALSE(b.Connected());
    b.SetDatabaseName("servidor.invalid:C:\\Dados\\ADM.FDB");
    EXPECT_NE(ErroDe([&] { b.Open(); }), "(no error)");
    b.SetDatabaseName("127.0.0.1/3059:/tmp/x.fdb");  // a closed loopback port
    EXPECT_NE(ErroDe([&] { b.Open(); }).find("Unable to complete network request to host \"127.0.0.1\""),
              std::string::npos);
    EXPECT_THROW(audio.SetDatabaseName("x"), Erro);  // not while connected

    Texto("SELECT * FROM TB_NAO_EXISTE");
    const std::string erro = ErroDe([&] { q.Open(); });
    EXPECT_NE(erro.find("Table unknown"), std::string::npos) << erro;
    EXPECT_NE(erro.find("TB_NAO_EXISTE"), std::string::npos) << erro;
}

TEST_F(Camada, DrivePathOpensTheFileOfTheDriveFolderThroughTheEmbeddedEngine) {
    const std::string unidades = bases.Pasta() + "/unidades";
    std::filesystem::create_directories(unidades + "/c/Dados");
    std::filesystem::copy_file(bases.ArquivoAdm(), unidades + "/c/Dados/ADM.FDB");
    setenv("QUORVEL_UNIDADES", unidades.c_str(), 1);
    TIBDatabase b;
    TIBTransaction t;
    teste::ConfigurarConexao(b, t, "C:\\dados\\adm.fdb");
    b.Open();
    TIBQuery c(&b);
    c.SQL.Add("INSERT INTO TB_AGENDA (AGE_CODIGO, AGE_NOME) VALUES (1, 'na unidade')");
    c.ExecSQL();
    t.CommitRetaining();
    t.Rollback();
    b.Close();
    unsetenv("QUORVEL_UNIDADES");
    EXPECT_EQ(teste::Consultar(unidades + "/c/Dados/ADM.FDB", "SELECT AGE_NOME FROM TB_AGENDA"),
              (teste::Linhas{{"na unidade"}}));
}

}  // namespace
}  // namespace quorvel
