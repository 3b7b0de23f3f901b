// Whole runs of the play-log migration: music codes translated through MUS_CODIGO_ANTIGO of the
// 2010 TB_MUSICAS, which a music copy would have filled (here it is filled by hand).
#include "apoio/execucao_migracao.h"

namespace quorvel::teste {
namespace {

constexpr int kMusicas = 5;
constexpr int kEcad = 6;
constexpr int kIrradiacao = 7;

const char* const kColunaFaltando =
    "O campo MUS_CODIGO_ANTIGO n\xE3o existe na tabela TB_MUSICAS da vers\xE3o 2010. Verifique.";

// 2010 musics 500..502 with their 2009 codes; 8 is on two of them.
const char* const kMusicas2010 =
    "INSERT INTO TB_MUSICAS (MUS_CODIGO, MUS_NOME, MUS_CODIGO_ANTIGO) VALUES (500, 'Luz', 7);\n"
    "INSERT INTO TB_MUSICAS (MUS_CODIGO, MUS_NOME, MUS_CODIGO_ANTIGO) VALUES (501, 'Mar', 8);\n"
    "INSERT INTO TB_MUSICAS (MUS_CODIGO, MUS_NOME, MUS_CODIGO_ANTIGO) VALUES (502, 'Mar (outra)', 8);\n"
    "INSERT INTO TB_MUSICAS (MUS_CODIGO, MUS_NOME) VALUES (503, 'Sem antigo');\n";

const char* const kLog2009 =
    "INSERT INTO TB_ECAD VALUES (1, '2009-05-01', '10:15:00', 7);\n"
    "INSERT INTO TB_ECAD VALUES (2, '2009-05-01', '10:19:30', 9);\n"    // no 2010 counterpart
    "INSERT INTO TB_ECAD VALUES (3, NULL, NULL, NULL);\n"              // no music at all
    "INSERT INTO TB_ECAD VALUES (5, '2009-12-31', '23:59:59', 8);\n"
    "INSERT INTO TB_ECAD VALUES (8, '2010-01-02', '00:00:01', 7);\n";

class Ecad : public ExecucaoMigracao {
protected:
    void SetUp() override {
        ExecucaoMigracao::SetUp();
        operador.MarcarSo({kEcad});
    }

    void ComCodigoAntigo() {
        inst.bases.ExecutarAudio("ALTER TABLE TB_MUSICAS ADD MUS_CODIGO_ANTIGO INTEGER;");
        inst.bases.ExecutarAudio(kMusicas2010);
    }

    // Whether the column exists, seen from a connection of its own (so only committed changes).
    bool TemCodigoAntigo() const {
        return !inst.bases
                    .ConsultarAudio("SELECT 1 FROM RDB$RELATION_FIELDS WHERE RDB$RELATION_NAME = 'TB_MUSICAS' "
                                    "AND RDB$FIELD_NAME = 'MUS_CODIGO_ANTIGO'")
                    .empty();
    }

    Linhas Log2010() const {
        return inst.bases.ConsultarAudio("SELECT ECA_CODIGO, ECA_DATA, ECA_HORA, MUS_CODIGO FROM TB_ECAD "
                                         "ORDER BY ECA_CODIGO");
    }
};

TEST_F(Ecad, CodesTranslatedUnknownMusicsLeftOutAndTheColumnDropped) {
    ComCodigoAntigo();
    inst.bases.Executar2009(kLog2009);
    inst.bases.ExecutarAudio("SET GENERATOR GEN_ECAD TO 100;\n"
                             "INSERT INTO TB_ECAD VALUES (1, '2008-01-01', '08:00:00', 500);");
    ASSERT_TRUE(Rodar());
    EXPECT_EQ(operador.TextosMensagens(), std::vector<std::string>{kSucesso});
    // New keys from GEN_ECAD; date and time unchanged; the first music the lookup returns for a
    // code held twice (a table scan returns the rows in the order they were stored).
    EXPECT_EQ(Log2010(), (Linhas{
                             {"101", "01/05/2009", "10:15:00", "500"},
                             {"102", "31/12/2009", "23:59:59", "501"},
                             {"103", "02/01/2010", "00:00:01", "500"},
                         }));
    // Skipped rows count as processed.
    const QuadroProgresso q = UltimoQuadroDe("TB_ECAD");
    EXPECT_EQ(q.registroAtual, 5);
    EXPECT_EQ(q.maximoAtual, 5);
    // The drop is committed: another connection no longer sees the column.
    EXPECT_FALSE(TemCodigoAntigo());
    EXPECT_FALSE(ArquivoExiste(inst.ArquivoSeqHost()));
}

// Musics sharing a 2009 code, stored in an order other than their codes' (one of them maybe in
// the place of a deleted row): each log row gets the music that the lookup statement returns
// first, with or without the index an earlier version of the program made, which is dropped.
TEST_F(Ecad, ASharedCodeGivesTheMusicTheLookupStatementReturnsFirst) {
    inst.bases.ExecutarAudio(
        "ALTER TABLE TB_MUSICAS ADD MUS_CODIGO_ANTIGO INTEGER;\n"
        "INSERT INTO TB_MUSICAS (MUS_CODIGO, MUS_NOME, MUS_CODIGO_ANTIGO) VALUES (702, 'B', 8);\n"
        "INSERT INTO TB_MUSICAS (MUS_CODIGO, MUS_NOME, MUS_CODIGO_ANTIGO) VALUES (701, 'A', 8);\n"
        "INSERT INTO TB_MUSICAS (MUS_CODIGO, MUS_NOME, MUS_CODIGO_ANTIGO) VALUES (703, 'C', 9);\n"
        "INSERT INTO TB_MUSICAS (MUS_CODIGO, MUS_NOME, MUS_CODIGO_ANTIGO) VALUES (704, 'D', 9);\n");
    inst.bases.ExecutarAudio("DELETE FROM TB_MUSICAS WHERE MUS_CODIGO = 703;");
    inst.bases.ConsultarAudio("SELECT COUNT(*) FROM TB_MUSICAS");  // the deleted row is cleaned away
    inst.bases.ExecutarAudio("INSERT INTO TB_MUSICAS (MUS_CODIGO, MUS_NOME, MUS_CODIGO_ANTIGO) VALUES (705, 'E', 9);");
    auto primeira = [&](int antigo) {
        return inst.bases.ConsultarAudio("SELECT mus_codigo FROM tb_musicas WHERE mus_codigo_antigo = " +
                                         std::to_string(antigo))[0][0];
    };
    const std::string de8 = primeira(8), de9 = primeira(9);
    EXPECT_EQ(de8, "702");
    inst.bases.ExecutarAudio("CREATE INDEX IX_MUS_CODIGO_ANTIGO ON TB_MUSICAS (MUS_CODIGO_ANTIGO);");
    EXPECT_EQ(primeira(8), de8);
    EXPECT_EQ(primeira(9), de9);

    inst.bases.Executar2009("INSERT INTO TB_ECAD VALUES (1, '2009-05-01', '10:15:00', 9);\n"
                            "INSERT INTO TB_ECAD VALUES (2, '2009-05-02', '10:15:00', 8);\n");
    ASSERT_TRUE(Rodar());
    EXPECT_EQ(Log2010(), (Linhas{{"1", "01/05/2009", "10:15:00", de9}, {"2", "02/05/2009", "10:15:00", de8}}));
    EXPECT_FALSE(TemCodigoAntigo());
    EXPECT_TRUE(inst.bases.ConsultarAudio("SELECT 1 FROM RDB$INDICES WHERE RDB$INDEX_NAME = 'IX_MUS_CODIGO_ANTIGO'").empty());
}

TEST_F(Ecad, WithoutTheColumnTheRunEndsSilentlyBeforeTouchingAnything) {
    inst.bases.Executar2009(std::string(kLog2009) +
                            "INSERT INTO TB_IRRADIACAO (IRR_CODIGO, IRR_CONTRATO) VALUES (1, 'CT-1');");
    inst.bases.ExecutarAudio("INSERT INTO TB_ECAD VALUES (1, '2008-01-01', '08:00:00', 500);");
    operador.MarcarSo({kEcad, kIrradiacao});
    ASSERT_TRUE(Rodar());
    const auto mensagens = operador.Mensagens();
    ASSERT_EQ(mensagens.size(), 1u);  // no closing message: the silent abort ends the run
    EXPECT_EQ(mensagens[0].texto, kColunaFaltando);
    EXPECT_EQ(mensagens[0].tipo, TipoMensagem::Informacao);
    EXPECT_EQ(mensagens[0].titulo, "Quorvel 2009-2010");
    EXPECT_FALSE(nucleo->Estado.Interrompido.load());
    EXPECT_TRUE(operador.habilitado);
    // Nothing deleted, no later copier run, no checkpoint.
    EXPECT_EQ(Log2010(), (Linhas{{"1", "01/01/2008", "08:00:00", "500"}}));
    EXPECT_TRUE(inst.bases.ConsultarAudio("SELECT * FROM TB_IRRADIACAO").empty());
    EXPECT_FALSE(ArquivoExiste(inst.ArquivoSeqHost()));
}

TEST_F(Ecad, ACompleteCopyCannotBeRepeatedWithoutANewMusicCopy) {
    ComCodigoAntigo();
    inst.bases.Executar2009(kLog2009);
    ASSERT_TRUE(Rodar());
    ASSERT_EQ(Log2010().size(), 3u);
    ASSERT_TRUE(Rodar());
    EXPECT_EQ(operador.TextosMensagens(), (std::vector<std::string>{kSucesso, kColunaFaltando}));
    EXPECT_EQ(Log2010().size(), 3u);
}

TEST_F(Ecad, EmptyLogOnAFreshStartEmptiesTheTableAndDropsTheColumn) {
    ComCodigoAntigo();
    inst.bases.ExecutarAudio("INSERT INTO TB_ECAD VALUES (1, '2008-01-01', '08:00:00', 500);");
    ASSERT_TRUE(Rodar());
    EXPECT_EQ(operador.TextosMensagens(), std::vector<std::string>{kSucesso});
    EXPECT_TRUE(Log2010().empty());
    EXPECT_FALSE(TemCodigoAntigo());
}

TEST_F(Ecad, ARowTheDatabaseRejectsIsLeftOutSilently) {
    ComCodigoAntigo();
    inst.bases.Executar2009(kLog2009);
    inst.bases.ExecutarAudio("ALTER TABLE TB_ECAD ADD CONSTRAINT CK_ECAD_HORA CHECK (ECA_HORA <> '23:59:59');");
    ASSERT_TRUE(Rodar());
    EXPECT_EQ(operador.TextosMensagens(), std::vector<std::string>{kSucesso});
    EXPECT_EQ(nucleo->UltimoResultado(), ResultadoExecucao::Sucesso);
    const Linhas log = Log2010();
    ASSERT_EQ(log.size(), 2u);
    EXPECT_EQ(log[0][2], "10:15:00");
    EXPECT_EQ(log[1][2], "00:00:01");
    EXPECT_EQ(UltimoQuadroDe("TB_ECAD").registroAtual, 5);
    EXPECT_FALSE(TemCodigoAntigo());
}

TEST_F(Ecad, AStoppedCopyKeepsTheColumnAndContinuesFromTheCheckpoint) {
    ComCodigoAntigo();
    inst.bases.Executar2009(kLog2009);
    operador.aoAtualizar = [&](const QuadroProgresso& q) {
        if (q.tabelaAtual == "TB_ECAD" && q.registroAtual == 2) nucleo->Parar();
    };
    ASSERT_TRUE(Rodar());
    EXPECT_EQ(nucleo->UltimoResultado(), ResultadoExecucao::Interrompida);
    EXPECT_EQ(Seq(), "[SEQ]\r\nsTabela=TB_ECAD\r\nsCodigo=3\r\n");
    EXPECT_EQ(Log2010().size(), 1u);
    EXPECT_TRUE(TemCodigoAntigo());

    // "Continuar processo": the copied row stays, the rest are translated with the kept column.
    operador.aoAtualizar = nullptr;
    operador.respostaPergunta = true;
    NovoNucleo();
    ASSERT_TRUE(Rodar(true));
    EXPECT_EQ(nucleo->UltimoResultado(), ResultadoExecucao::Sucesso);
    const Linhas log = Log2010();
    ASSERT_EQ(log.size(), 3u);
    EXPECT_EQ(log[0][3], "500");
    EXPECT_EQ(log[1][3], "501");
    EXPECT_EQ(log[2][3], "500");
    EXPECT_EQ(UltimoQuadroDe("TB_ECAD").maximoAtual, 3);
    EXPECT_FALSE(TemCodigoAntigo());
}

TEST_F(Ecad, ACommitMidwayMakesTheRowsDurableAndTheCopyGoesOn) {
    ComCodigoAntigo();
    inst.bases.Executar2009(kLog2009);
    bool visto = false;
    std::string checkpoint;
    operador.aoAtualizar = [&](const QuadroProgresso& q) {
        if (q.tabelaAtual == "TB_ECAD" && q.registroAtual == 1) nucleo->Commit();
        // From a connection of its own, the committed row is seen while the copy is still going.
        if (q.tabelaAtual == "TB_ECAD" && q.registroAtual == 3) {
            visto = Log2010().size() == 1u;
            checkpoint = Seq();
        }
    };
    ASSERT_TRUE(Rodar());
    EXPECT_TRUE(visto);
    EXPECT_EQ(checkpoint, "[SEQ]\r\nsTabela=TB_ECAD\r\nsCodigo=2\r\n");
    // The finished run leaves nothing to resume: its column of old codes is gone.
    EXPECT_EQ(Seq(), "[SEQ]\r\nsTabela=\r\nsCodigo=\r\n");
    EXPECT_EQ(Log2010().size(), 3u);
    EXPECT_FALSE(TemCodigoAntigo());
}

TEST_F(Ecad, ARowThatCannotBeReadStopsTheRunAndKeepsTheColumn) {
    ComCodigoAntigo();
    inst.bases.Executar2009(kLog2009);
    // A 2009 music code that is no number cannot be looked up.
    inst.bases.Executar2009("ALTER TABLE TB_ECAD ALTER MUS_CODIGO TYPE VARCHAR(12);");
    inst.bases.Executar2009("UPDATE TB_ECAD SET MUS_CODIGO = 'oito' WHERE ECA_CODIGO = 5;");
    ASSERT_TRUE(Rodar());
    EXPECT_EQ(nucleo->UltimoResultado(), ResultadoExecucao::Interrompida);
    EXPECT_EQ(operador.TextosMensagens(),
              (std::vector<std::string>{"N\xE3o foi poss\xEDvel inserir o ECAD c\xF3" "digo: 5", kInterrompida}));
    EXPECT_EQ(Seq(), "[SEQ]\r\nsTabela=TB_ECAD\r\nsCodigo=5\r\n");
    EXPECT_EQ(Log2010().size(), 1u);
    EXPECT_TRUE(TemCodigoAntigo());
}

TEST_F(Ecad, MusicsAndTheirLogInOneRun) {
    // The music copy adds and fills the column (the files are missing: the rows are registered
    // all the same), then the log is translated and the column dropped on the same connection.
    inst.bases.Executar2009(
        "INSERT INTO TB_MUSICAS VALUES (7, 'Luz', 'Ana', NULL, 1, 'C:', 'M0007', 'mp3', '03:00');\n"
        "INSERT INTO TB_MUSICAS VALUES (8, 'Mar', 'Beto', NULL, 1, 'C:', 'M0008', 'mp3', NULL);\n");
    inst.bases.Executar2009(kLog2009);
    operador.MarcarSo({kMusicas, kEcad});
    ASSERT_TRUE(Rodar());
    EXPECT_EQ(operador.TextosMensagens(), std::vector<std::string>{kSucesso});
    const Linhas musicas =
        inst.bases.ConsultarAudio("SELECT MUS_CODIGO FROM TB_MUSICAS ORDER BY MUS_NOMECOMPLETO");
    ASSERT_EQ(musicas.size(), 2u);  // Ana - Luz (2009 code 7), Beto - Mar (2009 code 8)
    const Linhas log = Log2010();
    ASSERT_EQ(log.size(), 3u);
    EXPECT_EQ(log[0][3], musicas[0][0]);
    EXPECT_EQ(log[1][3], musicas[1][0]);
    EXPECT_EQ(log[2][3], musicas[0][0]);
    EXPECT_FALSE(TemCodigoAntigo());
}

}  // namespace
}  // namespace quorvel::teste
