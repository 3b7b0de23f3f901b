// "localhost:" locations through the real loopback server (scripts/servidor-teste.sh).
#include <gtest/gtest.h>

#include "apoio/bases_teste.h"
#include "db/erro_banco.h"
#include "db/ib_query.h"

namespace quorvel {
namespace {

#define EXIGIR_SERVIDOR()                                                                        \
    if (!teste::ServidorDisponivel())                                                            \
    GTEST_SKIP() << "no Firebird server answers on 127.0.0.1:3050 "                              \
                    "(start it with scripts/servidor-teste.sh start)"

TEST(ServidorLocal, ConnectsThroughTheServerAndCopiesRowsBetweenDatabases) {
    EXIGIR_SERVIDOR();
    teste::BasesTeste bases(teste::BasesTeste::Acesso::Servidor);
    ASSERT_EQ(bases.Local2009().rfind("localhost:", 0), 0u);
    bases.Executar2009(
        "INSERT INTO TB_GENERO VALUES (1, 'Rock');"
        "INSERT INTO TB_GENERO VALUES (2, 'M\xFAsica Popular');");

    TIBDatabase origem, destino;
    TIBTransaction trOrigem, trDestino;
    teste::ConfigurarConexao(origem, trOrigem, bases.Local2009());
    teste::ConfigurarConexao(destino, trDestino, bases.LocalAudio());
    origem.Open();
    destino.Open();
    trOrigem.StartTransaction();
    trDestino.StartTransaction();
    TIBQuery ler(&origem), gravar(&destino);
    ler.SQL.Add("SELECT * FROM TB_GENERO ORDER BY gen_codigo");
    ler.Open();
    ler.Last();
    ler.First();
    while (!ler.Eof()) {
        gravar.Close();
        gravar.SQL.Clear();
        gravar.SQL.Add("INSERT INTO TB_GENERO (   gen_codigo, gen_nome ) VALUES (   :pGen_codigo, :pGen_nome )");
        gravar.ParamByName("pGen_codigo").SetAsInteger(ler.FieldByName("gen_codigo").AsInteger());
        gravar.ParamByName("pGen_nome").SetAsString(ler.FieldByName("gen_nome").AsString());
        gravar.ExecSQL();
        ler.Next();
    }
    trDestino.CommitRetaining();
    EXPECT_EQ(bases.ConsultarAudio("SELECT GEN_CODIGO, GEN_NOME FROM TB_GENERO ORDER BY 1"),
              (teste::Linhas{{"1", "Rock"}, {"2", "M\xFAsica Popular"}}));
    trOrigem.Rollback();
    trDestino.Rollback();
    origem.Close();
    destino.Close();
}

TEST(ServidorLocal, RejectsAWrongPassword) {
    EXIGIR_SERVIDOR();
    teste::BasesTeste bases(teste::BasesTeste::Acesso::Servidor);
    TIBDatabase b;
    TIBTransaction t;
    teste::ConfigurarConexao(b, t, bases.LocalAdm());
    b.Params = {"user_name=SYSDBA", "password=errada"};
    try {
        b.Open();
        FAIL() << "the server accepted a wrong password";
    } catch (const ErroBanco& e) {
        EXPECT_NE(std::string(e.what()).find("password"), std::string::npos) << e.what();
    }
    EXPECT_FALSE(b.Connected());
}

}  // namespace
}  // namespace quorvel
