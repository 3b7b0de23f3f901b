// Columns added and dropped while the run's transactions stay open, as the music and play-log
// migrations do with MUS_CODIGO_ANTIGO.
#include <gtest/gtest.h>

#include "apoio/bases_teste.h"
#include "db/ib_query.h"
#include "platform/erros.h"

namespace quorvel {
namespace {

class Esquema : public ::testing::Test {
protected:
    void SetUp() override {
        teste::ConfigurarConexao(audio, tr, bases.LocalAudio());
        audio.Open();
        tr.StartTransaction();
        q.SetDatabase(&audio);
        bases.ExecutarAudio(
            "INSERT INTO TB_MUSICAS (MUS_CODIGO, MUS_NOME) VALUES (1, 'Luz');"
            "INSERT INTO TB_PASTAS (PAS_CODIGO, PAS_PATH) VALUES (1, 'C:\\MUSICAS\\');");
    }
    void Executar(TIBQuery& c, const std::string& sql) {
        c.Close();
        c.SQL.Clear();
        c.SQL.Add(sql);
        c.ExecSQL();
    }
    bool TemColunaAntiga() {
        q.Close();
        q.SQL.Clear();
        q.SQL.Add("SELECT * FROM TB_MUSICAS WHERE 1 = 2");
        q.Open();
        return q.FindField("MUS_CODIGO_ANTIGO") != nullptr;
    }
    teste::BasesTeste bases;
    TIBDatabase audio;
    TIBTransaction tr;
    TIBQuery q;
};

TEST_F(Esquema, AddedColumnIsSeenByPreparedStatementsAfterTheCommit) {
    // A cached dataset over the table, prepared and open before the change.
    TIBQuery musicas(&audio);
    musicas.SQL.Add("Select mus.*, pas.pas_path");
    musicas.SQL.Add("From TB_Musicas Mus, TB_Pastas Pas");
    musicas.SQL.Add("Where Mus.Pas_Codigo = Pas.Pas_Codigo");
    musicas.Open();
    EXPECT_EQ(musicas.FindField("MUS_CODIGO_ANTIGO"), nullptr);

    EXPECT_FALSE(TemColunaAntiga());
    Executar(q, "ALTER TABLE TB_MUSICAS ADD MUS_CODIGO_ANTIGO INTEGER");
    tr.CommitRetaining();
    EXPECT_TRUE(TemColunaAntiga());

    musicas.Close();
    musicas.Open();
    EXPECT_NE(musicas.FindField("MUS_CODIGO_ANTIGO"), nullptr);

    TIBQuery atualizar(&audio);
    Executar(atualizar, "UPDATE TB_MUSICAS SET MUS_CODIGO_ANTIGO = 77\nWHERE MUS_CODIGO = 1");
    tr.CommitRetaining();
    EXPECT_EQ(bases.ConsultarAudio("SELECT MUS_CODIGO_ANTIGO FROM TB_MUSICAS")[0][0], "77");
}

TEST_F(Esquema, DroppedColumnDisappearsWhileOtherStatementsStayPrepared) {
    Executar(q, "ALTER TABLE TB_MUSICAS ADD MUS_CODIGO_ANTIGO INTEGER");
    tr.CommitRetaining();
    TIBQuery consulta(&audio);
    consulta.SQL.Add("SELECT mus_codigo FROM tb_musicas WHERE mus_codigo_antigo = 0");
    consulta.Open();
    consulta.Close();
    ASSERT_TRUE(TemColunaAntiga());
    q.Close();

    Executar(q, "ALTER TABLE TB_MUSICAS DROP MUS_CODIGO_ANTIGO");
    tr.CommitRetaining();
    EXPECT_FALSE(TemColunaAntiga());
    // The statement naming the dropped column now fails with the server's text.
    consulta.Close();
    try {
        consulta.Open();
        FAIL() << "the dropped column was still found";
    } catch (const Erro& e) {
        EXPECT_NE(std::string(e.what()).find("MUS_CODIGO_ANTIGO"), std::string::npos) << e.what();
    }
}

TEST_F(Esquema, ColumnCanBeDroppedWhileADatasetOverTheTableIsOpen) {
    bases.ExecutarAudio(
        "ALTER TABLE TB_MUSICAS ADD MUS_CODIGO_ANTIGO INTEGER;"
        "UPDATE TB_MUSICAS SET PAS_CODIGO = 1, MUS_CODIGO_ANTIGO = 9;"
        "INSERT INTO TB_MUSICAS (MUS_CODIGO, PAS_CODIGO) VALUES (2, 1);"
        "INSERT INTO TB_MUSICAS (MUS_CODIGO, PAS_CODIGO) VALUES (3, 1);");
    TIBQuery musicas(&audio);
    musicas.SQL.Add("Select mus.*, pas.pas_path");
    musicas.SQL.Add("From TB_Musicas Mus, TB_Pastas Pas");
    musicas.SQL.Add("Where Mus.Pas_Codigo = Pas.Pas_Codigo");
    musicas.Open();  // only the first row fetched: its cursor stays open
    ASSERT_NE(musicas.FindField("MUS_CODIGO_ANTIGO"), nullptr);

    Executar(q, "ALTER TABLE TB_MUSICAS DROP MUS_CODIGO_ANTIGO");
    tr.CommitRetaining();
    EXPECT_FALSE(TemColunaAntiga());
    // The open dataset still holds its rows as they were fetched.
    musicas.Last();
    EXPECT_EQ(musicas.RecordCount(), 3);
    musicas.First();
    EXPECT_EQ(musicas.FieldByName("MUS_CODIGO_ANTIGO").AsInteger(), 9);
    musicas.Close();
    musicas.Open();
    EXPECT_EQ(musicas.FindField("MUS_CODIGO_ANTIGO"), nullptr);
}

}  // namespace
}  // namespace quorvel
