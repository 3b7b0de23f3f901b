// The layer's text handling without a database: locations, parameter markers, date texts.
#include <gtest/gtest.h>

#include <cstdlib>
#include <filesystem>

#include "db/data_hora.h"
#include "db/localizacao.h"
#include "db/parametros_sql.h"
#include "apoio/script_sql.h"
#include "platform/erros.h"

namespace quorvel {
namespace {

TEST(Localizacao, DrivePathsAreMappedLocallyAndAfterThisMachinesNames) {
    const std::string pasta = (std::filesystem::temp_directory_path() / "quorvel-unidades-loc").string();
    std::filesystem::create_directories(pasta + "/c/Dados");
    setenv("QUORVEL_UNIDADES", pasta.c_str(), 1);
    EXPECT_EQ(LocalParaCliente("C:\\Dados\\ADM.FDB"), pasta + "/c/Dados/ADM.FDB");
    EXPECT_EQ(LocalParaCliente("c:\\dados\\ADM.FDB"), pasta + "/c/Dados/ADM.FDB");
    EXPECT_EQ(LocalParaCliente("localhost:C:\\Dados\\ADM.FDB"), "localhost:" + pasta + "/c/Dados/ADM.FDB");
    EXPECT_EQ(LocalParaCliente("127.0.0.1:C:\\Dados\\ADM.FDB"), "127.0.0.1:" + pasta + "/c/Dados/ADM.FDB");
    EXPECT_EQ(LocalParaCliente("localhost/3051:C:\\Dados\\A.FDB"), "localhost/3051:" + pasta + "/c/Dados/A.FDB");
    // Other hosts receive the path as written; POSIX paths and aliases stay as they are.
    EXPECT_EQ(LocalParaCliente("servidor.invalid:C:\\Dados\\ADM.FDB"), "servidor.invalid:C:\\Dados\\ADM.FDB");
    EXPECT_EQ(LocalParaCliente("localhost:/var/dados/adm.fdb"), "localhost:/var/dados/adm.fdb");
    EXPECT_EQ(LocalParaCliente("/var/dados/adm.fdb"), "/var/dados/adm.fdb");
    EXPECT_EQ(LocalParaCliente("adm"), "adm");
    unsetenv("QUORVEL_UNIDADES");
    std::filesystem::remove_all(pasta);
}

// The host part stops at the first colon and at a port's or service's slash.
TEST(Localizacao, HostPartWithoutPortOrService) {
    EXPECT_EQ(HostDaLocalizacao("servidor:C:\\Dados\\ADM.FDB"), "servidor");
    EXPECT_EQ(HostDaLocalizacao("servidor/3051:C:\\Dados\\ADM.FDB"), "servidor");
    EXPECT_EQ(HostDaLocalizacao("SERVIDOR/gds_db:/dados/adm.fdb"), "SERVIDOR");
    EXPECT_EQ(HostDaLocalizacao("192.168.0.10/3051:adm"), "192.168.0.10");
    EXPECT_EQ(HostDaLocalizacao("C:\\Dados\\ADM.FDB"), "C");
    EXPECT_EQ(HostDaLocalizacao("/dados/adm.fdb"), "");
    EXPECT_EQ(HostDaLocalizacao(""), "");
}

TEST(ParametrosSql, NamesOutsideLiteralsAndCommentsBecomeMarkers) {
    const AnaliseParametros a = AnalisarParametros(
        "SELECT 'a:b', \"c:d\", 'it''s :x' FROM T /* :y */ WHERE A = :pA AND B = :pB\n"
        "-- :z\nAND C = :PA || ':'");
    EXPECT_EQ(a.textoPosicional,
              "SELECT 'a:b', \"c:d\", 'it''s :x' FROM T /* :y */ WHERE A = ? AND B = ?\n"
              "-- :z\nAND C = ? || ':'");
    EXPECT_EQ(a.nomes, (std::vector<std::string>{"pA", "pB"}));
    EXPECT_EQ(a.marcadores, (std::vector<int>{0, 1, 0}));
    EXPECT_TRUE(AnalisarParametros("SELECT 1 FROM RDB$DATABASE").nomes.empty());
}

TEST(DataHoraTexto, ShortDateFormatAndItsLimits) {
    DataHora d;
    ASSERT_TRUE(TentarTextoParaDataHora("25/12/2009", d));
    EXPECT_EQ(d, DataHora::De(2009, 12, 25));
    ASSERT_TRUE(TentarTextoParaDataHora(" 1/2/09 8:05", d));
    EXPECT_EQ(d, DataHora::De(2009, 2, 1, 8, 5));
    ASSERT_TRUE(TentarTextoParaDataHora("2009-02-01 23:59:59", d));
    EXPECT_EQ(DataHoraParaTexto(d), "01/02/2009 23:59:59");
    ASSERT_TRUE(TentarTextoParaDataHora("29/02/2008", d));
    EXPECT_FALSE(TentarTextoParaDataHora("29/02/2009", d));
    EXPECT_FALSE(TentarTextoParaDataHora("10:00", d));
    EXPECT_FALSE(TentarTextoParaDataHora("25/12/2009 24:00", d));
    EXPECT_FALSE(TentarTextoParaDataHora("", d));
    EXPECT_THROW(TextoParaDataHora("amanh\xE3"), ErroConversao);

    EXPECT_EQ(DataHoraParaTexto(DataHora{}), "30/12/1899");
    EXPECT_EQ(DataHora::De(1900, 1, 1).dia, 2);
    EXPECT_EQ(DataHora::De(2009, 12, 25, 6).ComoDouble(), 40172.25);
    EXPECT_EQ(DataHora::DeDouble(40172.25), DataHora::De(2009, 12, 25, 6));
    EXPECT_EQ(DataHora::DeDouble(-1.25).ComoDouble(), -1.25);
}

TEST(ScriptSql, SplitsAtTerminatorsOutsideLiteralsAndComments) {
    const auto comandos = DividirScript(
        "SET SQL DIALECT 1;\n/* a; b */ CREATE TABLE T (A VARCHAR(5));\n"
        "INSERT INTO T VALUES ('x;y'); -- c;\nSET TERM ^ ;\n"
        "CREATE PROCEDURE P AS BEGIN EXIT; END^\nSET TERM ; ^\nCOMMIT;");
    EXPECT_EQ(comandos, (std::vector<std::string>{"CREATE TABLE T (A VARCHAR(5))",
                                                  "INSERT INTO T VALUES ('x;y')",
                                                  "CREATE PROCEDURE P AS BEGIN EXIT; END",
                                                  "COMMIT"}));
}

}  // namespace
}  // namespace quorvel
