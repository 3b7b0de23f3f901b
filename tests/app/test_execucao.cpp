// Whole runs through the core with a scripted operator, against real embedded databases.
#include <gtest/gtest.h>

#include <filesystem>

#include "apoio/execucao_migracao.h"
#include "platform/arquivos.h"

using namespace quorvel;
using namespace quorvel::teste;

namespace {

// The whole-run fixture, as it is.
class Execucao : public ExecucaoMigracao {};

const char* const kAgenda =
    "INSERT INTO TB_AGENDA VALUES (1, 'Jos\xE9 da Concei\xE7\xE3o', '11 5555-0001', NULL, '11 99999-0001', "
    "'Rua \xC1gua Branca, 100', 'S\xE3o Paulo', 'SP', '01234-000', 'jose@radio.example', NULL, 5, 12, NULL, "
    "'jose.skype', 'Anivers\xE1rio: ligar cedo', 'Lapa');\n"
    "INSERT INTO TB_AGENDA (AGE_CODIGO) VALUES (2);\n"
    "INSERT INTO TB_AGENDA (AGE_CODIGO, AGE_NOME, AGE_OBS) VALUES (5, '  espa\xE7os  ', 'linha 1\nlinha 2');\n";

}  // namespace

TEST_F(Execucao, NenhumaTabelaMarcadaTerminaComSucesso) {
    operador.MarcarSo({});
    ASSERT_TRUE(Rodar());
    EXPECT_EQ(nucleo->UltimoResultado(), ResultadoExecucao::Sucesso);
    EXPECT_EQ(operador.TextosMensagens(), std::vector<std::string>{kSucesso});
    EXPECT_TRUE(operador.habilitado);
    EXPECT_FALSE(ArquivoExiste(inst.ArquivoSeqHost()));
    const auto quadros = operador.Quadros();
    ASSERT_FALSE(quadros.empty());
    EXPECT_EQ(quadros.back().tabelaAtual, "");
    EXPECT_EQ(quadros.back().totalGeral, 0);
}

TEST_F(Execucao, AgendaCopiadaComNovasChavesNulosEAcentos) {
    inst.bases.Executar2009(kAgenda);
    inst.bases.ExecutarAdm("SET GENERATOR GEN_AGENDA TO 40; INSERT INTO TB_AGENDA (AGE_CODIGO, AGE_NOME) VALUES (99, 'velho');");
    operador.MarcarSo({0});
    ASSERT_TRUE(Rodar());
    EXPECT_EQ(operador.TextosMensagens(), std::vector<std::string>{kSucesso});
    const auto linhas = inst.bases.ConsultarAdm(
        "SELECT AGE_CODIGO, AGE_NOME, AGE_FAX, AGE_DIAANIVERSARIO, AGE_MESANIVERSARIO, AGE_OBS, AGE_BAIRRO, AGE_WEB "
        "FROM TB_AGENDA ORDER BY AGE_CODIGO");
    ASSERT_EQ(linhas.size(), 3u);  // the old row is gone: a fresh start empties the table
    EXPECT_EQ(linhas[0], (std::vector<std::string>{"41", "Jos\xE9 da Concei\xE7\xE3o", "", "5", "12",
                                                   "Anivers\xE1rio: ligar cedo", "Lapa", ""}));
    // NULL texts arrive as empty texts, NULL integers as 0, a NULL blob as empty text.
    EXPECT_EQ(linhas[1], (std::vector<std::string>{"42", "", "", "0", "0", "", "", ""}));
    EXPECT_EQ(linhas[2][1], "  espa\xE7os  ");
    EXPECT_EQ(linhas[2][5], "linha 1\nlinha 2");
    EXPECT_EQ(ValorGenerator(inst.bases.LocalAdm(), "GEN_AGENDA"), 43);
}

namespace {

const char* const kDiretas =
    "INSERT INTO TB_AVANCOMANUAL VALUES (3, '06:00:00', '09:30:00', 'S', 'N', 'S', NULL, 'S', 'S', 'N');\n"
    "INSERT INTO TB_PERFILBOTOES VALUES (7, 'Manh\xE3', 12);\n"
    "INSERT INTO TB_PERFILBOTOES VALUES (57, 'Tarde', NULL);\n"
    "INSERT INTO TB_BOTONEIRA VALUES (1, 'C:\\Comercial\\V0001.mp3', 'Vinheta 1', 'N', 'F1', 321, 999, 'V', "
    "NULL, 4);\n"
    "INSERT INTO TB_GENERO VALUES (2, 'Sertanejo');\n"
    "INSERT INTO TB_GENERO VALUES (30, 'M\xFAsica cl\xE1ssica');\n"
    "INSERT INTO TB_IRRADIACAO VALUES (10, 'CT-1', 'Padaria P\xE3o Quente', 'B1', 'C0042', '00:30', 'C', "
    "'2009-03-15', '08:15:00');\n"
    "INSERT INTO TB_IRRADIACAO VALUES (11, 'CT-2', NULL, NULL, NULL, NULL, NULL, NULL, NULL);\n"
    "INSERT INTO TB_PROGAUTO VALUES (1, '2009-01-01', '2009-12-31', '06:00', '12:00', 'S', 'A1');\n"
    "INSERT INTO TB_PROGAUTO VALUES (2, NULL, NULL, NULL, NULL, 'C', NULL);\n"
    "INSERT INTO TB_PROGAUTO VALUES (3, '2009-02-01', '2009-02-01', NULL, NULL, 'X', NULL);\n"
    "INSERT INTO TB_PROGAUTO VALUES (4, '2009-02-01', '2009-02-01', NULL, NULL, NULL, NULL);\n";

// Rows of the agenda: n contacts with keys 1..n.
std::string Contatos(int n) {
    std::string s;
    for (int i = 1; i <= n; ++i)
        s += "INSERT INTO TB_AGENDA (AGE_CODIGO, AGE_NOME, AGE_DIAANIVERSARIO) VALUES (" + std::to_string(i) +
             ", 'Contato " + std::to_string(i) + "', " + std::to_string(i % 28 + 1) + ");\n";
    return s;
}

}  // namespace

TEST_F(Execucao, TabelasDiretasCopiadasComValoresCalculados) {
    inst.bases.Executar2009(kDiretas);
    operador.MarcarSo({1, 2, 3, 4, 7, 8});
    ASSERT_TRUE(Rodar());
    EXPECT_EQ(operador.TextosMensagens(), std::vector<std::string>{kSucesso});

    EXPECT_EQ(inst.bases.ConsultarAudio("SELECT AVA_HORAINICIO, AVA_HORAFIM, AVA_DOMINGO, AVA_QUARTA, AVA_SABADO "
                                        "FROM TB_AVANCOMANUAL"),
              (Linhas{{"06:00:00", "09:30:00", "S", " ", "N"}}));  // an empty text in CHAR(1) pads
    // Key-keeping copies keep the 2009 codes and move their generators past the highest key.
    EXPECT_EQ(inst.bases.ConsultarAudio("SELECT PBO_CODIGO, PBO_DESCRICAO, PBO_TAMANHO FROM TB_PERFILBOTOES "
                                        "ORDER BY 1"),
              (Linhas{{"7", "Manh\xE3", "12"}, {"57", "Tarde", "0"}}));
    EXPECT_EQ(ValorGenerator(inst.bases.LocalAudio(), "GEN_PERFILBOTOES"), 67);
    EXPECT_EQ(inst.bases.ConsultarAudio("SELECT GEN_CODIGO, GEN_NOME FROM TB_GENERO ORDER BY 1"),
              (Linhas{{"2", "Sertanejo"}, {"30", "M\xFAsica cl\xE1ssica"}}));
    EXPECT_EQ(ValorGenerator(inst.bases.LocalAudio(), "GEN_GENERO"), 40);
    // The panel's references arrive unchanged.
    EXPECT_EQ(inst.bases.ConsultarAudio("SELECT BT_ARQUIVO, VIN_CODIGO, PBO_CODIGO, BT_ARQUIVOICONE, BT_INDEXICONE "
                                        "FROM TB_BOTONEIRA"),
              (Linhas{{"C:\\Comercial\\V0001.mp3", "321", "999", "", "4"}}));
    // The file name is computed on the 2009 server; a NULL device gives empty texts and a NULL
    // date the zero date.
    EXPECT_EQ(inst.bases.ConsultarAudio("SELECT IRR_NOMEDISPOSITIVO, IRR_ARQUIVO, IRR_CLIENTE, IRR_DATA "
                                        "FROM TB_IRRADIACAO ORDER BY IRR_CODIGO"),
              (Linhas{{"C0042", "C0042.mp3", "Padaria P\xE3o Quente", "15/03/2009"},
                      {"", "", "", "30/12/1899"}}));
    // The operator flag: S becomes N, C becomes S, anything else an empty text.
    EXPECT_EQ(inst.bases.ConsultarAudio("SELECT PRA_OPERADOR, PRA_DATAINICIAL, PRA_PLAYAREA FROM TB_PROGAUTO "
                                        "ORDER BY PRA_CODIGO"),
              (Linhas{{"N", "01/01/2009", "A1"}, {"S", "30/12/1899", ""}, {" ", "01/02/2009", ""},
                      {" ", "01/02/2009", ""}}));
}

TEST_F(Execucao, ContagemEProgressoDaExecucao) {
    inst.bases.Executar2009(Contatos(3) + kDiretas);
    operador.MarcarSo({0, 4});
    ASSERT_TRUE(Rodar());
    const auto quadros = operador.Quadros();
    // The overall maximum is the sum of the checked tables; every copied row is shown.
    int maximoGeral = 0, ultimoGeral = 0;
    bool viuGenero = false;
    for (const auto& q : quadros) {
        maximoGeral = std::max(maximoGeral, q.totalGeral);
        ultimoGeral = std::max(ultimoGeral, q.registroGeral);
        if (q.tabelaAtual == "TB_GENERO" && q.maximoAtual == 2) viuGenero = true;
    }
    EXPECT_EQ(maximoGeral, 5);
    EXPECT_EQ(ultimoGeral, 5);
    EXPECT_TRUE(viuGenero);
    EXPECT_EQ(quadros.back().tabelaAtual, "");
    EXPECT_EQ(quadros.back().registroGeral, 0);
}

TEST_F(Execucao, LinhaQueFalhaParaAExecucaoEGravaOCheckpoint) {
    inst.bases.Executar2009(Contatos(5));
    // The 2010 database rejects the fourth contact.
    inst.bases.ExecutarAdm(
        "CREATE EXCEPTION E_RECUSADO 'recusado';\n"
        "SET TERM ^ ;\n"
        "CREATE TRIGGER TB_AGENDA_RECUSA FOR TB_AGENDA BEFORE INSERT AS BEGIN "
        "IF (NEW.AGE_NOME = 'Contato 4') THEN EXCEPTION E_RECUSADO; END^\n"
        "SET TERM ; ^\n");
    operador.MarcarSo({0, 1});
    ASSERT_TRUE(Rodar());
    EXPECT_EQ(nucleo->UltimoResultado(), ResultadoExecucao::Interrompida);
    EXPECT_EQ(operador.TextosMensagens(),
              (std::vector<std::string>{"N\xE3o foi poss\xEDvel inserir a agenda c\xF3" "digo: 4", kInterrompida}));
    EXPECT_EQ(operador.Mensagens()[0].tipo, TipoMensagem::Informacao);
    EXPECT_EQ(operador.Mensagens()[1].tipo, TipoMensagem::Aviso);
    EXPECT_EQ(Seq(), "[SEQ]\r\nsTabela=TB_AGENDA\r\nsCodigo=4\r\n");
    EXPECT_EQ(inst.bases.ConsultarAdm("SELECT COUNT(*) FROM TB_AGENDA"), (Linhas{{"3"}}));
    // The stopped state: the window stays disabled, stop and commit too.
    EXPECT_FALSE(operador.habilitado);
    EXPECT_TRUE(operador.pararCommitDesabilitados);
}

TEST_F(Execucao, PararECommitEmLinhasEscolhidasERetomarSemPerderNemDobrar) {
    inst.bases.Executar2009(Contatos(12) + kDiretas);
    operador.MarcarSo({0, 4, 8});
    // A commit after the 5th contact, then a stop after the 9th.
    operador.aoAtualizar = [&](const QuadroProgresso& q) {
        if (q.tabelaAtual != "TB_AGENDA") return;
        if (q.registroAtual == 5) nucleo->Commit();
        if (q.registroAtual == 9) nucleo->Parar();
    };
    ASSERT_TRUE(Rodar());
    EXPECT_EQ(nucleo->UltimoResultado(), ResultadoExecucao::Interrompida);
    EXPECT_EQ(Seq(), "[SEQ]\r\nsTabela=TB_AGENDA\r\nsCodigo=10\r\n");
    EXPECT_EQ(inst.bases.ConsultarAdm("SELECT COUNT(*) FROM TB_AGENDA"), (Linhas{{"9"}}));
    EXPECT_TRUE(inst.bases.ConsultarAudio("SELECT * FROM TB_GENERO").empty());

    // "Continuar processo", Yes to the question: the agenda resumes at 10 and keeps its rows.
    operador.aoAtualizar = nullptr;
    operador.respostaPergunta = true;
    NovoNucleo();
    ASSERT_TRUE(Rodar(true));
    EXPECT_EQ(operador.perguntas.size(), 1u);
    EXPECT_EQ(nucleo->UltimoResultado(), ResultadoExecucao::Sucesso);
    EXPECT_EQ(inst.bases.ConsultarAdm("SELECT AGE_NOME FROM TB_AGENDA ORDER BY AGE_CODIGO"),
              (Linhas{{"Contato 1"}, {"Contato 2"}, {"Contato 3"}, {"Contato 4"}, {"Contato 5"}, {"Contato 6"},
                      {"Contato 7"}, {"Contato 8"}, {"Contato 9"}, {"Contato 10"}, {"Contato 11"},
                      {"Contato 12"}}));
    EXPECT_EQ(inst.bases.ConsultarAudio("SELECT COUNT(*) FROM TB_GENERO"), (Linhas{{"2"}}));
    EXPECT_EQ(inst.bases.ConsultarAudio("SELECT COUNT(*) FROM TB_PROGAUTO"), (Linhas{{"4"}}));
    // The run that finished the checkpoint's table leaves nothing to resume.
    EXPECT_EQ(Seq(), "[SEQ]\r\nsTabela=\r\nsCodigo=\r\n");
}

// A successful run empties only a checkpoint of a table it copied to its end: one of a table it
// did not copy, or of a table that stopped a run and is unchecked now, stays for a continuation.
TEST_F(Execucao, SucessoSoEsvaziaOCheckpointDeTabelaCopiada) {
    inst.bases.Executar2009(Contatos(3) + kDiretas);
    inst.GravarSeq("[SEQ]\r\nsTabela=TB_PROGAUTO\r\nsCodigo=3\r\n");
    operador.MarcarSo({0, 4});
    operador.respostaPergunta = true;
    ASSERT_TRUE(Rodar());
    EXPECT_EQ(nucleo->UltimoResultado(), ResultadoExecucao::Sucesso);
    EXPECT_EQ(Seq(), "[SEQ]\r\nsTabela=TB_PROGAUTO\r\nsCodigo=3\r\n");

    // No checkpoint file: a successful run leaves none.
    std::filesystem::remove(inst.ArquivoSeqHost());
    NovoNucleo();
    ASSERT_TRUE(Rodar());
    EXPECT_EQ(nucleo->UltimoResultado(), ResultadoExecucao::Sucesso);
    EXPECT_FALSE(std::filesystem::exists(inst.ArquivoSeqHost()));
}

TEST_F(Execucao, CommitAposAUltimaLinhaNaoFazRetomadaRepetirLinha) {
    inst.bases.Executar2009("INSERT INTO TB_GENERO VALUES (2, 'A'); INSERT INTO TB_GENERO VALUES (9, 'B');");
    operador.MarcarSo({4});
    operador.aoAtualizar = [&](const QuadroProgresso& q) {
        if (q.tabelaAtual == "TB_GENERO" && q.registroAtual == 2) nucleo->Parar();
    };
    ASSERT_TRUE(Rodar());
    // The last key plus one: a resume copies nothing twice (the key-keeping table would reject it).
    EXPECT_EQ(Seq(), "[SEQ]\r\nsTabela=TB_GENERO\r\nsCodigo=10\r\n");
    operador.aoAtualizar = nullptr;
    operador.respostaPergunta = true;
    NovoNucleo();
    ASSERT_TRUE(Rodar(true));
    EXPECT_EQ(nucleo->UltimoResultado(), ResultadoExecucao::Sucesso);
    EXPECT_EQ(inst.bases.ConsultarAudio("SELECT GEN_CODIGO FROM TB_GENERO ORDER BY 1"), (Linhas{{"2"}, {"9"}}));
}

// "Parar processo" pressed after a table's last row, once the row checks are over (here while the
// next, unticked tables are passed over): the stop is honoured at the next row, so the checkpoint
// never stays behind on rows already done (the agenda, which takes new keys, would copy its
// contacts after the commit twice).
TEST_F(Execucao, ParadaEntreTabelasRetomaSemDobrarAsLinhasDaTabelaConcluida) {
    inst.bases.Executar2009(Contatos(12) + kDiretas);
    operador.MarcarSo({0, 4});
    bool agendaConcluida = false;
    operador.aoAtualizar = [&](const QuadroProgresso& q) {
        if (q.tabelaAtual != "TB_AGENDA") return;
        if (q.registroAtual == 5) nucleo->Commit();
        if (q.registroAtual == 12) agendaConcluida = true;
        if (q.registroAtual == 0 && agendaConcluida) nucleo->Parar();
    };
    ASSERT_TRUE(Rodar());
    EXPECT_EQ(nucleo->UltimoResultado(), ResultadoExecucao::Interrompida);
    EXPECT_NE(Seq().find("sTabela=TB_GENERO\r\n"), std::string::npos) << Seq();
    operador.aoAtualizar = nullptr;
    operador.respostaPergunta = true;
    NovoNucleo();
    ASSERT_TRUE(Rodar(true));
    EXPECT_EQ(nucleo->UltimoResultado(), ResultadoExecucao::Sucesso);
    EXPECT_EQ(inst.bases.ConsultarAdm("SELECT COUNT(*) FROM TB_AGENDA"), (Linhas{{"12"}}));
    EXPECT_EQ(inst.bases.ConsultarAudio("SELECT COUNT(*) FROM TB_GENERO"), (Linhas{{"2"}}));

    // Pressed after the last table's last row: nothing is left to stop, the run is complete.
    inst.bases.ExecutarAdm("DELETE FROM TB_AGENDA");
    operador.MarcarSo({0});
    agendaConcluida = false;
    operador.aoAtualizar = [&](const QuadroProgresso& q) {
        if (q.tabelaAtual == "TB_AGENDA" && q.registroAtual == 12) agendaConcluida = true;
        if (q.registroAtual == 0 && agendaConcluida) nucleo->Parar();
    };
    NovoNucleo();
    ASSERT_TRUE(Rodar());
    EXPECT_EQ(nucleo->UltimoResultado(), ResultadoExecucao::Sucesso);
    EXPECT_EQ(inst.bases.ConsultarAdm("SELECT COUNT(*) FROM TB_AGENDA"), (Linhas{{"12"}}));
}

TEST_F(Execucao, CheckpointEmMinusculasRetomaATabela) {
    inst.bases.Executar2009(Contatos(4));
    inst.bases.ExecutarAdm("INSERT INTO TB_AGENDA (AGE_CODIGO, AGE_NOME) VALUES (500, 'j\xE1 copiado');");
    inst.GravarSeq("[seq]\r\nstabela=tb_agenda\r\nSCODIGO=3\r\n");
    operador.MarcarSo({0});
    operador.respostaPergunta = true;
    ASSERT_TRUE(Rodar());
    EXPECT_EQ(operador.perguntas,
              std::vector<std::string>{"Brivona Rovozozi|J\xE1 existe um processo iniciado. Deseja recome\xE7" "ar todo "
                                       "o processo de atualiza\xE7\xE3o?"});
    EXPECT_EQ(inst.bases.ConsultarAdm("SELECT AGE_CODIGO, AGE_NOME FROM TB_AGENDA ORDER BY AGE_CODIGO"),
              (Linhas{{"1", "Contato 3"}, {"2", "Contato 4"}, {"500", "j\xE1 copiado"}}));
}

TEST_F(Execucao, RespostaNaoNaoIniciaNada) {
    inst.bases.Executar2009(Contatos(2));
    inst.GravarSeq("[SEQ]\r\nsTabela=TB_ECAD\r\nsCodigo=77\r\n");
    operador.respostaPergunta = false;
    EXPECT_FALSE(Rodar(true));
    // Continue unchecked the tables before TB_ECAD and checked it; the rest stay as they were.
    EXPECT_EQ(operador.marcadas, (std::array<bool, 10>{false, false, false, false, false, false, true, true, true, true}));
    EXPECT_TRUE(operador.TextosMensagens().empty());
    EXPECT_TRUE(inst.bases.ConsultarAdm("SELECT * FROM TB_AGENDA").empty());
}

TEST_F(Execucao, CodigoDeCheckpointQueNaoEhNumeroNaoEntraNoSql) {
    inst.bases.Executar2009(Contatos(2));
    inst.GravarSeq("[SEQ]\r\nsTabela=TB_AGENDA\r\nsCodigo=0; DELETE FROM TB_AGENDA\r\n");
    operador.respostaPergunta = true;
    operador.MarcarSo({0});
    EXPECT_FALSE(Rodar());
    const auto mensagens = operador.Mensagens();
    ASSERT_EQ(mensagens.size(), 1u);
    EXPECT_EQ(mensagens[0].tipo, TipoMensagem::Erro);
    EXPECT_NE(mensagens[0].texto.find("0; DELETE FROM TB_AGENDA"), std::string::npos);
    EXPECT_EQ(inst.bases.Consultar2009("SELECT COUNT(*) FROM TB_AGENDA"), (Linhas{{"2"}}));
    // Only asked about, not checked, when its table is not checked.
    operador.MarcarSo({4});
    EXPECT_TRUE(Rodar());
    EXPECT_EQ(nucleo->UltimoResultado(), ResultadoExecucao::Sucesso);
}
