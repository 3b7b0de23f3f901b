// Whole runs of the music table through the core: files relocated from the 2009 folders into the
// 2010 layout, one registration per 2009 row, the 2009 codes kept, stop and resume, failures.
#include <gtest/gtest.h>

#include <filesystem>
#include <utility>
#include <vector>

#include "apoio/audio_amostras.h"
#include "apoio/execucao_migracao.h"
#include "musicas_apoio.h"
#include "platform/arquivos.h"

namespace quorvel::teste {
namespace {

constexpr int kMusicas = 5;  // index of the music table in the sequence

// Four 2009 musics: two on drive C: (one with characters a file name cannot hold), one on D:,
// one whose file is missing, and one on drive c: in lower case.
const char* const kLinhas2009 =
    "INSERT INTO TB_MUSICAS VALUES (1, 'Luz', 'Ana', 'Comp A', 3, 'C:', 'M0001', 'mp3', '03:00');\n"
    "INSERT INTO TB_MUSICAS VALUES (2, 'Mar: Azul?', 'Beto', NULL, 3, 'C:', 'M0002', 'mp3', NULL);\n"
    "INSERT INTO TB_MUSICAS VALUES (4, 'Sol', 'Caio', 'Comp C', NULL, 'D:', 'M0004', 'mp3', NULL);\n"
    "INSERT INTO TB_MUSICAS VALUES (7, 'Lua', 'Dani', NULL, 1, 'C:', 'M0404', 'mp3', NULL);\n"
    "INSERT INTO TB_MUSICAS VALUES (9, 'Rio', 'Eva', NULL, 1, 'c:', 'M0009', 'mp3', NULL);\n";

class MigracaoMusicas : public ExecucaoMigracao {
protected:
    void SetUp() override {
        QUORVEL_EXIGIR("lame", "mutagen");
        ExecucaoMigracao::SetUp();
        operador.MarcarSo({kMusicas});
        inst.bases.Executar2009(kLinhas2009);
        const std::string c = inst.unidades.Unidade('c') + "/Musicas/";
        Mp3ComTag(c + "M0001.mp3", {{"TIT2", "velho"}, {"TRIT", "Samba"}, {"TALB", "Primeiro"}});
        Mp3ComTag(c + "M0002.mp3", {{"TRIT", "samba"}});
        Mp3ComTag(inst.unidades.Unidade('d') + "/Musicas/M0004.mp3", {{"TYER", "2005"}});
    }
    Linhas Musicas() const {
        return inst.bases.ConsultarAudio(
            "SELECT MUS_CODIGO_ANTIGO, MUS_NOMECOMPLETO, MUS_ARQUIVO, PAS_PATH, GEN_CODIGO, RIT_CODIGO, MUS_ALBUM, "
            "MUS_ANO FROM TB_MUSICAS M JOIN TB_PASTAS P ON P.PAS_CODIGO = M.PAS_CODIGO ORDER BY MUS_CODIGO_ANTIGO");
    }
};

const Linhas kEsperadas = {
    {"1", "Ana - Luz", "Ana - Luz.mp3", "D:\\QUORVEL2010\\MUSICAS\\", "3", "1", "Primeiro", Nulo},
    {"2", "Beto - Mar: Azul?", "Beto - Mar  Azul .mp3", "D:\\QUORVEL2010\\MUSICAS\\", "3", "1", Nulo, Nulo},
    {"4", "Caio - Sol", "Caio - Sol.mp3", "D:\\MUSICAS\\", "0", Nulo, Nulo, "2005"},
    {"7", "Dani - Lua", "Dani - Lua.mp3", "D:\\QUORVEL2010\\MUSICAS\\", "1", Nulo, Nulo, Nulo},
    {"9", "Eva - Rio", "Eva - Rio.mp3", "C:\\MUSICAS\\", "1", Nulo, Nulo, Nulo},
};

TEST_F(MigracaoMusicas, ArquivosRealocadosEMusicasRegistradas) {
    inst.bases.ExecutarAudio("INSERT INTO TB_PASTAS VALUES (1, 'X:\\', NULL); SET GENERATOR GEN_PASTAS TO 1;"
                             "INSERT INTO TB_MUSICAS (MUS_CODIGO, MUS_NOMECOMPLETO, PAS_CODIGO) VALUES (50, 'velha', 1);");
    ASSERT_TRUE(Rodar());
    EXPECT_EQ(operador.TextosMensagens(), std::vector<std::string>{kSucesso});

    // The old music is gone; every 2009 row has its record and its 2009 code.
    const Linhas musicas = Musicas();
    ASSERT_EQ(musicas.size(), 5u);
    for (size_t i = 0; i < musicas.size(); ++i) EXPECT_EQ(musicas[i], kEsperadas[i]) << i;
    EXPECT_EQ(inst.bases.ConsultarAudio("SELECT COUNT(*) FROM TB_PASTAS"), (Linhas{{"4"}}));
    EXPECT_EQ(inst.bases.ConsultarAudio("SELECT RIT_NOME FROM TB_RITMO"), (Linhas{{"SAMBA"}}));

    // Copies under readable names; the 2009 files stay.
    EXPECT_TRUE(ExisteNaUnidade('d', "Quorvel2010/Musicas/Ana - Luz.mp3"));
    EXPECT_TRUE(ExisteNaUnidade('d', "Quorvel2010/Musicas/Beto - Mar  Azul .mp3"));
    EXPECT_TRUE(ExisteNaUnidade('d', "Musicas/Caio - Sol.mp3"));
    EXPECT_TRUE(ExisteNaUnidade('c', "Musicas/M0001.mp3"));
    EXPECT_TRUE(ExisteNaUnidade('d', "Musicas/M0004.mp3"));
    EXPECT_FALSE(ExisteNaUnidade('d', "Quorvel2010/Musicas/Dani - Lua.mp3"));
    // The copy's tag holds the 2009 title; the 2009 file keeps its own.
    EXPECT_EQ(FramesMutagen(inst.unidades.Unidade('d') + "/Quorvel2010/Musicas/Ana - Luz.mp3").at("TIT2"), "Luz");
    EXPECT_EQ(FramesMutagen(inst.unidades.Unidade('c') + "/Musicas/M0001.mp3").at("TIT2"), "velho");
    EXPECT_FALSE(ArquivoExiste(inst.ArquivoSeqHost()));

    // A second run starts afresh: the column is there already, the records are made again.
    NovoNucleo();
    ASSERT_TRUE(Rodar());
    EXPECT_EQ(nucleo->UltimoResultado(), ResultadoExecucao::Sucesso);
    EXPECT_EQ(Musicas(), kEsperadas);
}

TEST_F(MigracaoMusicas, ArquivosDoUsuarioFicamERestosDeUmaExecucaoMortaSaem) {
    // A music without any tag, so that its tag rewrite writes a whole new file.
    Mp3ComTag(inst.unidades.Unidade('c') + "/Musicas/M0009.mp3", {});
    // Beside every music a user's file of its name and "~" (an editor's backup); and what a
    // killed run of the program left: a copy's and a tag rewrite's temporary files.
    const std::vector<std::pair<char, std::string>> doUsuario = {
        {'d', "Quorvel2010/Musicas/Ana - Luz.mp3~"}, {'d', "Quorvel2010/Musicas/Beto - Mar  Azul .mp3~"},
        {'d', "Musicas/Caio - Sol.mp3~"}, {'c', "Musicas/Eva - Rio.mp3~"}};
    const std::vector<std::pair<char, std::string>> restos = {{'d', "Quorvel2010/Musicas/Ana - Luz.mp3.~qvab12cd34"},
                                                              {'d', "Musicas/Caio - Sol.mp3.~qv0000zzzz"},
                                                              {'c', "Musicas/Eva - Rio.mp3.~qvAbC123"}};
    for (const auto& [drive, nome] : doUsuario) GravarNaUnidade(drive, nome, "do usuario: " + nome);
    for (const auto& [drive, nome] : restos) GravarNaUnidade(drive, nome, "resto");

    ASSERT_TRUE(Rodar());
    EXPECT_EQ(operador.TextosMensagens(), std::vector<std::string>{kSucesso});
    for (const auto& [drive, nome] : doUsuario) EXPECT_EQ(LerDaUnidade(drive, nome), "do usuario: " + nome);
    for (const auto& [drive, nome] : restos) EXPECT_FALSE(ExisteNaUnidade(drive, nome)) << nome;
    // The untagged music got its new tag through a whole new file.
    const std::string rio = inst.unidades.Unidade('c') + "/Musicas/Eva - Rio.mp3";
    EXPECT_EQ(FramesMutagen(rio).at("TIT2"), "Rio");
    EXPECT_EQ(LerHost(rio).substr(0, 3), "ID3");
    // Nothing else is left in the folders written.
    for (const auto& [drive, pasta] : std::vector<std::pair<char, std::string>>{
             {'d', "Quorvel2010/Musicas"}, {'d', "Musicas"}, {'c', "Musicas"}})
        for (const auto& e : std::filesystem::directory_iterator(inst.unidades.Unidade(drive) + "/" + pasta))
            EXPECT_EQ(e.path().filename().string().find(".~qv"), std::string::npos) << e.path();
}

TEST_F(MigracaoMusicas, PararERetomarSemPerderNemDobrar) {
    operador.aoAtualizar = [&](const QuadroProgresso& q) {
        if (q.tabelaAtual == "TB_MUSICAS" && q.registroAtual == 2) nucleo->Parar();
    };
    ASSERT_TRUE(Rodar());
    EXPECT_EQ(nucleo->UltimoResultado(), ResultadoExecucao::Interrompida);
    EXPECT_EQ(operador.TextosMensagens(), std::vector<std::string>{kInterrompida});
    EXPECT_EQ(Seq(), "[SEQ]\r\nsTabela=TB_MUSICAS\r\nsCodigo=4\r\n");
    EXPECT_EQ(Musicas(), (Linhas{kEsperadas[0], kEsperadas[1]}));

    operador.aoAtualizar = nullptr;
    operador.respostaPergunta = true;
    NovoNucleo();
    ASSERT_TRUE(Rodar(true));
    EXPECT_EQ(nucleo->UltimoResultado(), ResultadoExecucao::Sucesso);
    EXPECT_EQ(Musicas(), kEsperadas);
}

TEST_F(MigracaoMusicas, CommitNoMeioEParadaAposAUltimaLinha) {
    operador.aoAtualizar = [&](const QuadroProgresso& q) {
        if (q.tabelaAtual != "TB_MUSICAS") return;
        if (q.registroAtual == 1) nucleo->Commit();
        if (q.registroAtual == 5) nucleo->Parar();
    };
    ASSERT_TRUE(Rodar());
    // Past the last row the checkpoint is its code plus one: a resume registers nothing twice.
    EXPECT_EQ(Seq(), "[SEQ]\r\nsTabela=TB_MUSICAS\r\nsCodigo=10\r\n");
    EXPECT_EQ(Musicas(), kEsperadas);
    operador.aoAtualizar = nullptr;
    operador.respostaPergunta = true;
    NovoNucleo();
    ASSERT_TRUE(Rodar(true));
    EXPECT_EQ(Musicas(), kEsperadas);
}

// A 2009 row that repeats a music registered earlier in the same run, or before the run was
// stopped and resumed, is a duplicate.
TEST_F(MigracaoMusicas, DuplicadoDaMesmaExecucaoOuDeAntesDaRetomada) {
    inst.bases.Executar2009("INSERT INTO TB_MUSICAS VALUES (10, 'Luz', 'Ana', NULL, 1, 'C:', 'M0010', 'mp3', NULL);\n"
                            "INSERT INTO TB_MUSICAS VALUES (11, 'Sol', 'Caio', NULL, 1, 'D:', 'M0011', 'mp3', NULL);\n");
    operador.aoAtualizar = [&](const QuadroProgresso& q) {
        if (q.tabelaAtual == "TB_MUSICAS" && q.registroAtual == 6) nucleo->Parar();
    };
    ASSERT_TRUE(Rodar());
    EXPECT_EQ(Seq(), "[SEQ]\r\nsTabela=TB_MUSICAS\r\nsCodigo=11\r\n");
    EXPECT_EQ(Musicas(), kEsperadas);

    operador.aoAtualizar = nullptr;
    operador.respostaPergunta = true;
    NovoNucleo();
    ASSERT_TRUE(Rodar(true));
    EXPECT_EQ(nucleo->UltimoResultado(), ResultadoExecucao::Sucesso);
    EXPECT_EQ(Musicas(), kEsperadas);
}

TEST_F(MigracaoMusicas, LinhaQueNaoSeLeParaAExecucao) {
    // A 2009 table without the drive column: the first row cannot be read.
    inst.bases.Executar2009("ALTER TABLE TB_MUSICAS DROP MUS_DRIVE;");
    ASSERT_TRUE(Rodar());
    EXPECT_EQ(nucleo->UltimoResultado(), ResultadoExecucao::Interrompida);
    EXPECT_EQ(operador.TextosMensagens(),
              (std::vector<std::string>{"N\xE3o foi poss\xEDvel inserir o m\xFAsica c\xF3" "digo: 1", kInterrompida}));
    EXPECT_EQ(operador.Mensagens()[0].tipo, TipoMensagem::Informacao);
    EXPECT_EQ(Seq(), "[SEQ]\r\nsTabela=TB_MUSICAS\r\nsCodigo=1\r\n");
    EXPECT_TRUE(Musicas().empty());
    // The column was added and committed all the same.
    EXPECT_EQ(inst.bases.ConsultarAudio("SELECT COUNT(*) FROM RDB$RELATION_FIELDS WHERE "
                                        "RDB$RELATION_NAME = 'TB_MUSICAS' AND RDB$FIELD_NAME = 'MUS_CODIGO_ANTIGO'"),
              (Linhas{{"1"}}));
}

TEST_F(MigracaoMusicas, PrimeiroCadastroQueFalhaNaoLevaAColunaDosCodigosAntigos) {
    // The first music is refused by the database before its registration commits anything (its
    // folder and its rhythm exist already), so its rollback reaches back to the column just added:
    // the column must have been committed on its own, or the musics after it lose their 2009 codes.
    inst.bases.ExecutarAudio(
        "INSERT INTO TB_PASTAS VALUES (1, 'D:\\QUORVEL2010\\MUSICAS\\', NULL); SET GENERATOR GEN_PASTAS TO 1;\n"
        "INSERT INTO TB_RITMO VALUES (1, 'SAMBA');\n"
        "CREATE EXCEPTION E_RECUSADA 'recusada';\n"
        "SET TERM ^ ;\n"
        "CREATE TRIGGER TB_MUSICAS_RECUSA FOR TB_MUSICAS BEFORE INSERT AS BEGIN "
        "IF (NEW.MUS_NOME = 'Luz') THEN EXCEPTION E_RECUSADA; END^\n"
        "SET TERM ; ^\n");
    ASSERT_TRUE(Rodar());
    EXPECT_EQ(operador.TextosMensagens(), std::vector<std::string>{kSucesso});
    EXPECT_EQ(Musicas(), (Linhas{kEsperadas[1], kEsperadas[2], kEsperadas[3], kEsperadas[4]}));
}

TEST_F(MigracaoMusicas, ExecucoesSeguidasComARegistroDeExecucoes) {
    // The play log translates its music codes through the 2009 codes that registration kept,
    // then drops their column; the next run of the same window adds it again.
    inst.bases.Executar2009(
        "INSERT INTO TB_ECAD VALUES (1, '2009-05-01', '08:00:00', 4);\n"
        "INSERT INTO TB_ECAD VALUES (2, '2009-05-01', '08:04:00', 1);\n");
    operador.MarcarSo({kMusicas, kMusicas + 1});
    for (int execucao = 0; execucao < 2; ++execucao) {
        ASSERT_TRUE(Rodar());
        EXPECT_EQ(nucleo->UltimoResultado(), ResultadoExecucao::Sucesso) << execucao;
        EXPECT_EQ(inst.bases.ConsultarAudio("SELECT E.ECA_HORA, M.MUS_NOMECOMPLETO FROM TB_ECAD E JOIN TB_MUSICAS M "
                                            "ON M.MUS_CODIGO = E.MUS_CODIGO ORDER BY 1"),
                  (Linhas{{"08:00:00", "Caio - Sol"}, {"08:04:00", "Ana - Luz"}}));
        EXPECT_EQ(inst.bases.ConsultarAudio("SELECT COUNT(*) FROM RDB$RELATION_FIELDS WHERE "
                                            "RDB$RELATION_NAME = 'TB_MUSICAS' AND RDB$FIELD_NAME = 'MUS_CODIGO_ANTIGO'"),
                  (Linhas{{"0"}}));
    }
    EXPECT_EQ(inst.bases.ConsultarAudio("SELECT COUNT(*) FROM TB_MUSICAS"), (Linhas{{"5"}}));
}

TEST_F(MigracaoMusicas, TabelaNaoMarcadaNaoMexeEmNada) {
    inst.bases.ExecutarAudio("INSERT INTO TB_MUSICAS (MUS_CODIGO, MUS_NOME) VALUES (50, 'fica');");
    operador.MarcarSo({});
    ASSERT_TRUE(Rodar());
    EXPECT_EQ(inst.bases.ConsultarAudio("SELECT MUS_CODIGO, MUS_NOME FROM TB_MUSICAS"), (Linhas{{"50", "fica"}}));
    EXPECT_EQ(inst.bases.ConsultarAudio("SELECT COUNT(*) FROM RDB$RELATION_FIELDS WHERE "
                                        "RDB$RELATION_NAME = 'TB_MUSICAS' AND RDB$FIELD_NAME = 'MUS_CODIGO_ANTIGO'"),
              (Linhas{{"0"}}));
    EXPECT_FALSE(ExisteNaUnidade('d', "Quorvel2010/Musicas/Ana - Luz.mp3"));
}

}  // namespace
}  // namespace quorvel::teste
