// Cached-update datasets: appending, field writes, the generator field, the hooks, required
// fields and applying through the update statements.
#include <gtest/gtest.h>

#include "apoio/bases_teste.h"
#include "db/ib_query.h"
#include "platform/erros.h"

namespace quorvel {
namespace {

class Cache : public ::testing::Test {
protected:
    void SetUp() override {
        teste::ConfigurarConexao(audio, tr, bases.LocalAudio());
        audio.Open();
        tr.StartTransaction();

        pastas.SetDatabase(&audio);
        pastas.SetTransaction(&tr);
        pastas.SQL.Add("Select * from TB_Pastas");
        pastas.SQL.Add("Order by Pas_Path");
        pastas.CachedUpdates = true;
        pastas.UpdateObject = &upPastas;
        pastas.GeneratorField.Field = "PAS_CODIGO";
        pastas.GeneratorField.Generator = "GEN_PASTAS";
        upPastas.InsertSQL.SetText(
            "insert into TB_Pastas (PAS_CODIGO, PAS_PATH, PAS_TAMANHO) values (:PAS_CODIGO, "
            ":PAS_PATH, :PAS_TAMANHO)");

        musicas.SetDatabase(&audio);
        musicas.SetTransaction(&tr);
        musicas.SQL.Add("Select mus.*, pas.pas_path");
        musicas.SQL.Add("From TB_Musicas Mus, TB_Pastas Pas");
        musicas.SQL.Add("Where Mus.Pas_Codigo = Pas.Pas_Codigo");
        musicas.CachedUpdates = true;
        musicas.UpdateObject = &upMusicas;
        musicas.GeneratorField.Field = "MUS_CODIGO";
        musicas.GeneratorField.Generator = "GEN_MUSICAS";
        upMusicas.InsertSQL.SetText(
            "insert into TB_Musicas (MUS_CODIGO, MUS_NOME, MUS_INTERPRETE, MUS_ANO, "
            "MUS_NOMECOMPLETO, PAS_CODIGO) values (:MUS_CODIGO, :MUS_NOME, :MUS_INTERPRETE, "
            ":MUS_ANO, :MUS_NOMECOMPLETO, :PAS_CODIGO)");
    }
    std::string ErroDe(const std::function<void()>& f) {
        try {
            f();
        } catch (const Erro& e) {
            return e.what();
        }
        return "(no error)";
    }
    teste::BasesTeste bases;
    TIBDatabase audio;
    TIBTransaction tr;
    TIBQuery pastas, musicas;
    TIBUpdateSQL upPastas, upMusicas;
};

TEST_F(Cache, PostTakesTheKeyFromTheGeneratorAndApplyWritesTheRow) {
    bases.ExecutarAudio("SET GENERATOR GEN_PASTAS TO 40;");
    int aplicacoes = 0;
    pastas.AfterPost = [&](TIBQuery& ds) {
        ds.ApplyUpdates();
        tr.CommitRetaining();
        ++aplicacoes;
    };
    pastas.Open();
    pastas.Append();
    pastas.FieldByName("PAS_PATH").SetAsString("D:\\MUSICAS\\");
    pastas.ApplyUpdates();  // posts the row first
    EXPECT_EQ(aplicacoes, 1);
    EXPECT_EQ(pastas.FieldByName("PAS_CODIGO").AsInteger(), 41);
    EXPECT_EQ(bases.ConsultarAudio("SELECT PAS_CODIGO, PAS_PATH, PAS_TAMANHO FROM TB_PASTAS"),
              (teste::Linhas{{"41", "D:\\MUSICAS\\", teste::Nulo}}));

    // A row whose key was set keeps it; nothing reaches the database before the apply.
    pastas.AfterPost = nullptr;
    pastas.Append();
    pastas.FieldByName("PAS_CODIGO").SetAsInteger(7);
    pastas.FieldByName("PAS_PATH").SetAsString("E:\\");
    pastas.Post();
    tr.CommitRetaining();
    EXPECT_EQ(bases.ConsultarAudio("SELECT COUNT(*) FROM TB_PASTAS")[0][0], "1");
    pastas.ApplyUpdates();
    tr.CommitRetaining();
    EXPECT_EQ(teste::ValorGenerator(bases.LocalAudio(), "GEN_PASTAS"), 41);
    EXPECT_EQ(bases.ConsultarAudio("SELECT PAS_CODIGO FROM TB_PASTAS ORDER BY 1"),
              (teste::Linhas{{"7"}, {"41"}}));
    EXPECT_EQ(pastas.FieldByName("PAS_CODIGO").AsInteger(), 7);  // still the current row
}

TEST_F(Cache, FieldWritesCutTextsAndStoreNullForEmptyTexts) {
    bases.ExecutarAudio("INSERT INTO TB_PASTAS (PAS_CODIGO, PAS_PATH) VALUES (1, 'C:\\');");
    bool antes = false;
    musicas.BeforePost = [&](TIBQuery& ds) {
        antes = true;
        ds.FieldByName("MUS_NOMECOMPLETO")
            .SetAsString(ds.FieldByName("MUS_INTERPRETE").AsString() + " - " +
                         ds.FieldByName("MUS_NOME").AsString());
    };
    musicas.Open();
    musicas.Append();
    const std::string longo(50, 'a');
    musicas.FieldByName("MUS_NOME").SetAsString(longo);
    musicas.FieldByName("MUS_INTERPRETE").SetAsString("");
    musicas.FieldByName("MUS_ANO").SetAsString("");
    musicas.FieldByName("PAS_CODIGO").SetAsInteger(1);
    EXPECT_EQ(musicas.FieldByName("MUS_NOME").AsString(), std::string(45, 'a'));
    EXPECT_TRUE(musicas.FieldByName("MUS_INTERPRETE").IsNull());
    EXPECT_EQ(ErroDe([&] { musicas.FieldByName("MUS_ANO").SetAsString("1999/2000"); }),
              "'1999/2000' is not a valid integer value for field 'MUS_ANO'");
    EXPECT_TRUE(musicas.FieldByName("MUS_ANO").IsNull());
    musicas.Post();
    EXPECT_TRUE(antes);
    musicas.ApplyUpdates();
    tr.CommitRetaining();
    EXPECT_EQ(bases.ConsultarAudio("SELECT MUS_CODIGO, MUS_NOME, MUS_INTERPRETE, MUS_ANO, MUS_NOMECOMPLETO FROM TB_MUSICAS"),
              (teste::Linhas{{"1", std::string(45, 'a'), teste::Nulo, teste::Nulo, " - " + std::string(45, 'a')}}));

    musicas.Append();
    musicas.FieldByName("MUS_ANO").SetAsString("1999");
    musicas.FieldByName("MUS_NOME").SetAsString("\xC1gua");
    EXPECT_EQ(musicas.FieldByName("MUS_ANO").AsInteger(), 1999);
    EXPECT_EQ(musicas.FieldByName("MUS_NOME").AsString(), "\xC1gua");
}

TEST_F(Cache, RequiredFieldsAndWritesOutsideEditingFail) {
    pastas.GeneratorField = {};
    pastas.Open();
    EXPECT_EQ(ErroDe([&] { pastas.FieldByName("PAS_PATH").SetAsString("x"); }),
              "Dataset not in edit or insert mode");
    pastas.Append();
    pastas.FieldByName("PAS_PATH").SetAsString("x");
    EXPECT_EQ(ErroDe([&] { pastas.Post(); }), "Field 'PAS_CODIGO' must have a value");
    TIBQuery leitura(&audio);
    leitura.SQL.Add("SELECT * FROM TB_PASTAS");
    leitura.Open();
    EXPECT_EQ(ErroDe([&] { leitura.Append(); }), "Cannot modify a read-only dataset");
}

TEST_F(Cache, CloseDropsPendingRows) {
    bases.ExecutarAudio(
        "INSERT INTO TB_PASTAS (PAS_CODIGO, PAS_PATH, PAS_TAMANHO) VALUES (5, 'A', 1.5);"
        "INSERT INTO TB_PASTAS (PAS_CODIGO, PAS_PATH) VALUES (6, 'B');");
    pastas.Open();
    pastas.Append();
    pastas.FieldByName("PAS_PATH").SetAsString("perdida");
    pastas.Close();
    pastas.Open();
    pastas.Last();
    EXPECT_EQ(pastas.RecordCount(), 2);
    pastas.First();
    EXPECT_FALSE(pastas.UpdatesPending());
    EXPECT_EQ(pastas.FieldByName("PAS_TAMANHO").AsString(), "1,5");
}

TEST_F(Cache, FailingApplyKeepsTheRowsAppliedBeforeIt) {
    bases.ExecutarAudio("INSERT INTO TB_PASTAS (PAS_CODIGO, PAS_PATH) VALUES (2, 'existe');");
    pastas.SQL.Clear();
    pastas.SQL.Add("Select * from TB_Pastas where 1 = 2");
    pastas.Open();
    for (int codigo : {1, 2, 3}) {
        pastas.Append();
        pastas.FieldByName("PAS_CODIGO").SetAsInteger(codigo);
        pastas.Post();
    }
    const std::string erro = ErroDe([&] { pastas.ApplyUpdates(); });
    EXPECT_NE(erro.find("PK_PASTAS"), std::string::npos) << erro;
    EXPECT_TRUE(pastas.UpdatesPending());
    tr.CommitRetaining();
    EXPECT_EQ(bases.ConsultarAudio("SELECT PAS_CODIGO FROM TB_PASTAS ORDER BY 1"),
              (teste::Linhas{{"1"}, {"2"}}));
}

TEST_F(Cache, CommitsKeepPendingRowsAndOpenDatasets) {
    bases.ExecutarAudio("INSERT INTO TB_PASTAS (PAS_CODIGO, PAS_PATH) VALUES (1, 'A');"
                        "INSERT INTO TB_PASTAS (PAS_CODIGO, PAS_PATH) VALUES (2, 'B');SET GENERATOR GEN_PASTAS TO 2;");
    TIBDatabase adm;
    TIBTransaction trAdm;
    teste::ConfigurarConexao(adm, trAdm, bases.LocalAdm());
    adm.Open();
    trAdm.StartTransaction();
    pastas.Open();
    pastas.Append();
    pastas.FieldByName("PAS_PATH").SetAsString("C");
    pastas.Post();
    trAdm.CommitRetaining();
    tr.CommitRetaining();
    EXPECT_TRUE(pastas.Active());
    EXPECT_TRUE(pastas.UpdatesPending());
    pastas.First();
    pastas.Next();
    EXPECT_EQ(pastas.FieldByName("PAS_PATH").AsString(), "B");  // fetched after the commits
    pastas.ApplyUpdates();
    tr.CommitRetaining();
    EXPECT_EQ(bases.ConsultarAudio("SELECT PAS_PATH FROM TB_PASTAS ORDER BY 1"),
              (teste::Linhas{{"A"}, {"B"}, {"C"}}));
    trAdm.Rollback();
}

}  // namespace
}  // namespace quorvel
