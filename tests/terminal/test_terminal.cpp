// The terminal front end, through the real program in a child process: options, messages on
// standard error, the question, exit status, and stop, commit and continue by signals, against
// real embedded databases.
#include <gtest/gtest.h>
#include <signal.h>

#include <chrono>
#include <filesystem>
#include <regex>
#include <thread>

#include "apoio/instalacao_teste.h"
#include "platform/arquivos.h"
#include "test_terminal_processo.h"

using namespace quorvel;
using namespace quorvel::teste;

namespace {

const char* const kSucesso = "Quorvel 2009-2010 [informação]: Atualização realizada com sucesso.";
const char* const kInterrompida = "Quorvel 2009-2010 [aviso]: Atualização foi interrompida.";
const char* const kPergunta =
    "Brivona Rovozozi [pergunta]: Já existe um processo iniciado. Deseja recomeçar todo o processo de atualização?";

// `n` rows of the broadcast log with keys 1..n, generated inside the database.
void GerarIrradiacao(BasesTeste& bases, int n) { bases.Executar2009(ScriptIrradiacao(n)); }

// A few rows in the other tables that a run copies.
void GerarPequenas(BasesTeste& bases) {
    bases.Executar2009(
        "SET TERM ^ ;\n"
        "EXECUTE BLOCK AS DECLARE i INTEGER = 1; BEGIN\n"
        "  WHILE (i <= 300) DO BEGIN\n"
        "    INSERT INTO TB_AGENDA (AGE_CODIGO, AGE_NOME, AGE_CIDADE, AGE_OBS) VALUES (: i, 'Contato ' || : i,\n"
        "      'S\xE3o Paulo', 'Observa\xE7\xE3o ' || : i);\n"
        "    INSERT INTO TB_PROGAUTO VALUES (: i, '2009-01-01', '2009-12-31', '08:00', '09:00', 'C', 'PA' || : i);\n"
        "    i = i + 1;\n"
        "  END\n"
        "END^\n"
        "SET TERM ; ^\n"
        "INSERT INTO TB_GENERO VALUES (3, 'Forr\xF3');\n"
        "INSERT INTO TB_GENERO VALUES (7, 'Ax\xE9');\n"
        "INSERT INTO TB_GENERO VALUES (9, NULL);\n");
}

class Terminal : public ::testing::Test {
protected:
    std::vector<std::string> Args(const std::vector<std::string>& extra, const InstalacaoTeste& i) const {
        std::vector<std::string> a{"--sem-janela", "--pasta-2009", i.Pasta2009(), "--pasta-2010", i.Pasta2010()};
        a.insert(a.end(), extra.begin(), extra.end());
        return a;
    }
    ResultadoPrograma Rodar(const std::vector<std::string>& extra) {
        return RodarPrograma(programa, Args(extra, inst), inst.unidades.Pasta());
    }
    std::string Seq() const { return LerHost(inst.ArquivoSeqHost()); }

    InstalacaoTeste inst;
    std::string programa = CopiarPrograma(inst.PastaPrograma());
};

bool Contem(const std::string& texto, const std::string& parte) { return texto.find(parte) != std::string::npos; }

// The checkpoint code written in a Seq.ini text.
int CodigoSeq(const std::string& seq) {
    std::smatch m;
    if (!std::regex_search(seq, m, std::regex("sCodigo=(-?[0-9]+)"))) return -1;
    return std::stoi(m[1]);
}

std::string Contar(const BasesTeste& bases, const std::string& tabela) {
    return bases.ConsultarAudio("SELECT COUNT(*) FROM " + tabela)[0][0];
}

}  // namespace

TEST_F(Terminal, OpcoesInvalidasTerminamComStatus2SemTocarNasBases) {
    inst.bases.ExecutarAudio("INSERT INTO TB_GENERO VALUES (1, 'velho');");
    const auto opcao = Rodar({"--tabelas", "Genero", "--depressa"});
    EXPECT_EQ(opcao.status, 2);
    EXPECT_TRUE(Contem(opcao.erros, "unknown option --depressa")) << opcao.erros;

    const auto tabela = Rodar({"--tabelas", "Genero,Discos"});
    EXPECT_EQ(tabela.status, 2);
    EXPECT_TRUE(Contem(tabela.erros, "\"Discos\"")) << tabela.erros;

    const auto semValor = Rodar({"--tabelas"});
    EXPECT_EQ(semValor.status, 2);
    EXPECT_TRUE(Contem(semValor.erros, "--tabelas needs a value")) << semValor.erros;

    const auto sobra = Rodar({"--tabelas", "Genero", "extra"});
    EXPECT_EQ(sobra.status, 2);
    EXPECT_EQ(inst.bases.ConsultarAudio("SELECT GEN_NOME FROM TB_GENERO"), (Linhas{{"velho"}}));
}

TEST_F(Terminal, SeteTabelasMigradasComSucesso) {
    GerarPequenas(inst.bases);
    GerarIrradiacao(inst.bases, 50);
    inst.bases.Executar2009(
        "INSERT INTO TB_AVANCOMANUAL VALUES (1, '08:00', '09:00', 'S', 'N', 'N', 'N', 'N', 'N', 'S');\n"
        "INSERT INTO TB_PERFILBOTOES VALUES (4, 'Perfil \xE0 noite', 12);\n"
        "INSERT INTO TB_BOTONEIRA (BT_CODIGO, BT_ARQUIVO, BT_DESCRICAO, PBO_CODIGO) VALUES (1, 'C:\\Vinhetas\\a.mp3', 'Abertura', 4);\n");
    // Captions without regard to case; a blank after a comma is fine.
    const auto r = Rodar({"--tabelas", "agenda, AVANCOMANUAL,PerfilBotoes,botoneira,GENERO,Irradiacao,progauto"});
    EXPECT_EQ(r.status, 0) << r.erros;
    EXPECT_TRUE(Contem(r.erros, kSucesso)) << r.erros;
    EXPECT_FALSE(Contem(r.erros, "[erro]")) << r.erros;
    // Not a terminal: plain progress lines, the last one with the whole run done.
    EXPECT_TRUE(Contem(r.saida, "Progresso Geral 656/656")) << r.saida;

    EXPECT_EQ(inst.bases.ConsultarAdm("SELECT COUNT(*), MIN(AGE_CIDADE) FROM TB_AGENDA"),
              (Linhas{{"300", "S\xE3o Paulo"}}));
    EXPECT_EQ(Contar(inst.bases, "TB_AVANCOMANUAL"), "1");
    EXPECT_EQ(inst.bases.ConsultarAudio("SELECT PBO_CODIGO, PBO_DESCRICAO FROM TB_PERFILBOTOES"),
              (Linhas{{"4", "Perfil \xE0 noite"}}));
    EXPECT_EQ(Contar(inst.bases, "TB_BOTONEIRA"), "1");
    EXPECT_EQ(inst.bases.ConsultarAudio("SELECT GEN_CODIGO, GEN_NOME FROM TB_GENERO ORDER BY GEN_CODIGO"),
              (Linhas{{"3", "Forr\xF3"}, {"7", "Ax\xE9"}, {"9", ""}}));
    EXPECT_EQ(Contar(inst.bases, "TB_IRRADIACAO"), "50");
    EXPECT_EQ(inst.bases.ConsultarAudio("SELECT COUNT(*) FROM TB_PROGAUTO WHERE PRA_OPERADOR = 'S'"),
              (Linhas{{"300"}}));
    // A run that nobody stopped or committed leaves no checkpoint.
    EXPECT_FALSE(ArquivoExiste(inst.ArquivoSeqHost()));
}

TEST_F(Terminal, SoAsTabelasPedidasSaoTocadas) {
    GerarPequenas(inst.bases);
    inst.bases.ExecutarAdm("INSERT INTO TB_AGENDA (AGE_CODIGO, AGE_NOME) VALUES (1, 'fica');");
    const auto r = Rodar({"--tabelas", "Genero"});
    EXPECT_EQ(r.status, 0) << r.erros;
    EXPECT_EQ(inst.bases.ConsultarAdm("SELECT AGE_NOME FROM TB_AGENDA"), (Linhas{{"fica"}}));
    EXPECT_EQ(Contar(inst.bases, "TB_GENERO"), "3");
    EXPECT_EQ(Contar(inst.bases, "TB_PROGAUTO"), "0");
}

TEST_F(Terminal, SemTabelasAsDezSaoMarcadas) {
    GerarPequenas(inst.bases);
    inst.bases.Executar2009("INSERT INTO TB_ECAD VALUES (1, '2009-05-01', '10:00:00', 1);");
    const auto r = Rodar({});
    // Every table is counted at the start: 300 contacts, 3 genres, 1 play, 300 schedules.
    EXPECT_EQ(r.saida.rfind("Tabela:  0/0 | Progresso Geral 0/604 |", 0), 0u) << r.saida;
    EXPECT_EQ(inst.bases.ConsultarAdm("SELECT COUNT(*) FROM TB_AGENDA")[0][0], "300");
    EXPECT_EQ(Contar(inst.bases, "TB_GENERO"), "3");
}

TEST_F(Terminal, ErroNumaTabelaTerminaComStatus2) {
    GerarPequenas(inst.bases);
    inst.bases.ExecutarAudio("DROP TABLE TB_GENERO;");
    const auto r = Rodar({"--tabelas", "Agenda,Genero,ProgAuto"});
    EXPECT_EQ(r.status, 2);
    EXPECT_TRUE(Contem(r.erros, "Quorvel 2009-2010 [erro]: ")) << r.erros;
    EXPECT_TRUE(Contem(r.erros, "TB_GENERO")) << r.erros;
    EXPECT_FALSE(Contem(r.erros, "sucesso")) << r.erros;
    // The sequence ends at the error: the table before it was copied, the one after it was not.
    EXPECT_EQ(inst.bases.ConsultarAdm("SELECT COUNT(*) FROM TB_AGENDA")[0][0], "300");
    EXPECT_EQ(Contar(inst.bases, "TB_PROGAUTO"), "0");
}

TEST_F(Terminal, PartidaRecusadaTerminaComStatus2) {
    std::filesystem::create_directories(inst.unidades.Unidade('d') + "/Vazia");
    const auto vazia = RodarPrograma(programa,
                                     {"--sem-janela", "--pasta-2009", inst.Pasta2009(), "--pasta-2010", "D:\\Vazia",
                                      "--tabelas", "Genero"},
                                     inst.unidades.Pasta());
    EXPECT_EQ(vazia.status, 2);
    EXPECT_TRUE(Contem(vazia.erros,
                       "Quorvel 2009-2010 [informação]: O arquivo D:\\Vazia\\BaseAudio.ini não foi encontrado."))
        << vazia.erros;

    const auto semPasta = RodarPrograma(programa, {"--sem-janela", "--pasta-2010", inst.Pasta2010()},
                                        inst.unidades.Pasta());
    EXPECT_EQ(semPasta.status, 2);
    EXPECT_TRUE(Contem(semPasta.erros, "O endereço da pasta da Versão 2009 deve ser informado.")) << semPasta.erros;
}

TEST_F(Terminal, ResumoDoRelatorioNaSaidaDepoisDoProgresso) {
    GerarPequenas(inst.bases);
    // Without --relatorio the report goes beside the checkpoint, named after the start.
    const auto padrao = Rodar({"--tabelas", "Genero"});
    EXPECT_EQ(padrao.status, 0) << padrao.erros;
    std::vector<std::string> nomes;
    for (const auto& e : std::filesystem::directory_iterator(inst.PastaPrograma()))
        if (e.path().filename().string().rfind("Relatorio ", 0) == 0) nomes.push_back(e.path().string());
    ASSERT_EQ(nomes.size(), 1u);
    EXPECT_TRUE(Contem(padrao.saida, "Relat\xC3\xB3rio: ")) << padrao.saida;

    // --relatorio chooses the file; the summary follows the last progress line, in UTF-8.
    const std::string arquivo = inst.unidades.Pasta() + "/relatorios/execucao.txt";
    const auto r = Rodar({"--tabelas", "Genero,ProgAuto", "--relatorio", arquivo});
    EXPECT_EQ(r.status, 0) << r.erros;
    const size_t progresso = r.saida.rfind("Progresso Geral 303/303");
    const size_t resumo = r.saida.find("RESUMO DA ATUALIZA\xC3\x87\xC3\x83O");
    ASSERT_NE(progresso, std::string::npos) << r.saida;
    ASSERT_NE(resumo, std::string::npos) << r.saida;
    EXPECT_LT(progresso, resumo);
    EXPECT_TRUE(std::regex_search(r.saida, std::regex("TB_PROGAUTO +300 +300 +0 +0 +0\n"))) << r.saida;
    EXPECT_TRUE(Contem(r.saida, "Relat\xC3\xB3rio: " + arquivo)) << r.saida;
    const std::string conteudo = LerHost(arquivo);
    EXPECT_NE(conteudo.find("RESUMO DA ATUALIZA\xC7\xC3O\r\n"), std::string::npos);
}

TEST_F(Terminal, VerificarNaoGravaNadaESaiComUmQuandoUmRegistroFalharia) {
    GerarPequenas(inst.bases);
    inst.GravarSeq("[SEQ]\r\nsTabela=TB_GENERO\r\nsCodigo=5\r\n");
    // Nothing would fail: status 0, the forecast on standard output, no question, no file.
    const auto limpa = Rodar({"--tabelas", "Genero,ProgAuto", "--verificar"});
    EXPECT_EQ(limpa.status, 0) << limpa.erros;
    EXPECT_FALSE(Contem(limpa.erros, "[pergunta]")) << limpa.erros;
    EXPECT_TRUE(Contem(limpa.saida, "RESUMO DA VERIFICA\xC3\x87\xC3\x83O")) << limpa.saida;
    EXPECT_TRUE(Contem(limpa.saida, "Verifica\xC3\xA7\xC3\xA3o conclu\xC3\xAD" "da: nenhum registro falharia.")) << limpa.saida;
    EXPECT_TRUE(std::regex_search(limpa.saida, std::regex("TB_PROGAUTO +300 +300 +0 +0 +0\n"))) << limpa.saida;
    EXPECT_EQ(Contar(inst.bases, "TB_PROGAUTO"), "0");
    EXPECT_EQ(Seq(), "[SEQ]\r\nsTabela=TB_GENERO\r\nsCodigo=5\r\n");
    for (const auto& e : std::filesystem::directory_iterator(inst.PastaPrograma()))
        EXPECT_EQ(e.path().filename().string().rfind("Relatorio", 0), std::string::npos) << e.path();

    // A genre name too long for a narrower 2010 column would stop the run: status 1.
    std::filesystem::remove(inst.ArquivoSeqHost());
    inst.bases.ExecutarAudio("DROP TABLE TB_GENERO;\n"
                             "CREATE TABLE TB_GENERO (GEN_CODIGO INTEGER NOT NULL PRIMARY KEY, GEN_NOME VARCHAR(3));\n");
    const auto falharia = Rodar({"--tabelas", "Genero,ProgAuto", "--verificar"});
    EXPECT_EQ(falharia.status, 1) << falharia.erros;
    EXPECT_TRUE(Contem(falharia.saida, "[FALHARIA E PARARIA A ATUALIZA\xC3\x87\xC3\x83O] c\xC3\xB3" "digo 2009 3 (Forr\xC3\xB3): "
                                      "o texto de GEN_NOME tem 5 caracteres, a coluna 2010 tem 3"))
        << falharia.saida;
    // The run would stop there: the next table is not read.
    EXPECT_FALSE(Contem(falharia.saida, "== TB_PROGAUTO")) << falharia.saida;

    // A refused start is refused as a run's: status 2.
    const auto recusada = RodarPrograma(programa, {"--sem-janela", "--verificar", "--pasta-2009", inst.Pasta2009()},
                                        inst.unidades.Pasta());
    EXPECT_EQ(recusada.status, 2);
}

TEST_F(Terminal, PerguntaSemSimNemTerminalRespondeNao) {
    GerarPequenas(inst.bases);
    inst.bases.ExecutarAudio("INSERT INTO TB_GENERO VALUES (3, 'ja copiado');");
    inst.GravarSeq("[SEQ]\r\nsTabela=TB_GENERO\r\nsCodigo=5\r\n");
    const auto r = Rodar({"--tabelas", "Genero,ProgAuto"});
    EXPECT_EQ(r.status, 2);
    EXPECT_TRUE(Contem(r.erros, kPergunta)) << r.erros;
    EXPECT_FALSE(Contem(r.erros, "sucesso")) << r.erros;
    EXPECT_EQ(inst.bases.ConsultarAudio("SELECT GEN_NOME FROM TB_GENERO"), (Linhas{{"ja copiado"}}));
    EXPECT_EQ(Contar(inst.bases, "TB_PROGAUTO"), "0");
    EXPECT_EQ(Seq(), "[SEQ]\r\nsTabela=TB_GENERO\r\nsCodigo=5\r\n");
}

TEST_F(Terminal, PerguntaNoTerminalRespondidaSimRetomaEDesenhaOProgresso) {
    GerarPequenas(inst.bases);
    // An earlier run stopped at genre 7: genre 3 is in the 2010 database already.
    inst.bases.ExecutarAudio("INSERT INTO TB_GENERO VALUES (3, 'Forr\xF3');");
    inst.GravarSeq("[SEQ]\r\nsTabela=tb_genero\r\nsCodigo=7\r\n");
    ProgramaFilho filho(programa, Args({"--tabelas", "Agenda,Genero"}, inst), inst.unidades.Pasta(),
                        ProgramaFilho::Entrada::Terminal);
    ASSERT_TRUE(filho.EsperarTexto("[s/N] ", 60)) << filho.Saida();
    EXPECT_TRUE(Contem(filho.Saida(), kPergunta)) << filho.Saida();
    filho.Escrever("Sim\n");
    EXPECT_EQ(filho.Aguardar(), 0) << filho.Saida();
    // Redrawn in place, with the rate and the time left.
    EXPECT_TRUE(Contem(filho.Saida(), "\x1b[2A")) << filho.Saida();
    EXPECT_TRUE(Contem(filho.Saida(), "reg/s")) << filho.Saida();
    EXPECT_TRUE(Contem(filho.Saida(), "restam")) << filho.Saida();
    EXPECT_TRUE(Contem(filho.Saida(), "Atualização realizada com sucesso.")) << filho.Saida();
    EXPECT_EQ(inst.bases.ConsultarAudio("SELECT GEN_CODIGO FROM TB_GENERO ORDER BY GEN_CODIGO"),
              (Linhas{{"3"}, {"7"}, {"9"}}));
    EXPECT_EQ(inst.bases.ConsultarAdm("SELECT COUNT(*) FROM TB_AGENDA")[0][0], "300");
}

TEST_F(Terminal, CtrlCNaPerguntaNaoIniciaAExecucao) {
    GerarPequenas(inst.bases);
    inst.GravarSeq("[SEQ]\r\nsTabela=TB_GENERO\r\nsCodigo=7\r\n");
    ProgramaFilho filho(programa, Args({"--tabelas", "Genero"}, inst), inst.unidades.Pasta(),
                        ProgramaFilho::Entrada::Terminal);
    ASSERT_TRUE(filho.EsperarTexto("[s/N] ", 60)) << filho.Saida();
    filho.Sinal(SIGINT);
    EXPECT_EQ(filho.Aguardar(), 2) << filho.Saida();
    EXPECT_EQ(Contar(inst.bases, "TB_GENERO"), "0");
}

// Stop by SIGTERM in the middle of a large table, then --continuar --sim: the target tables
// equal those of a run that nobody stopped.
TEST_F(Terminal, SigtermParaEContinuarCompletaSemPerderNemDobrar) {
    constexpr int linhas = 150000;
    const std::string tabelas = "Agenda,Genero,Irradiacao,ProgAuto";
    InstalacaoTeste referencia;
    for (BasesTeste* b : {&inst.bases, &referencia.bases}) {
        GerarPequenas(*b);
        GerarIrradiacao(*b, linhas);
    }
    const std::string programaReferencia = CopiarPrograma(referencia.PastaPrograma());
    const auto inteira = RodarPrograma(programaReferencia, Args({"--tabelas", tabelas}, referencia),
                                       referencia.unidades.Pasta());
    ASSERT_EQ(inteira.status, 0) << inteira.erros;

    {
        ProgramaFilho filho(programa, Args({"--tabelas", tabelas}, inst), inst.unidades.Pasta());
        ASSERT_TRUE(filho.EsperarTexto("Tabela: TB_IRRADIACAO", 120)) << filho.Saida();
        filho.Sinal(SIGTERM);
        EXPECT_EQ(filho.Aguardar(), 1) << filho.Erros();
        EXPECT_TRUE(Contem(filho.Erros(), kInterrompida)) << filho.Erros();
    }
    // The checkpoint is in the middle of the table, and every row before it was committed.
    const std::string seq = Seq();
    EXPECT_TRUE(Contem(seq, "sTabela=TB_IRRADIACAO")) << seq;
    const int codigo = CodigoSeq(seq);
    ASSERT_GT(codigo, 1) << seq;
    ASSERT_LT(codigo, linhas) << seq;
    EXPECT_EQ(Contar(inst.bases, "TB_IRRADIACAO"), std::to_string(codigo - 1));
    EXPECT_EQ(Contar(inst.bases, "TB_PROGAUTO"), "0");

    const auto resto = Rodar({"--tabelas", tabelas, "--continuar", "--sim"});
    ASSERT_EQ(resto.status, 0) << resto.erros;
    EXPECT_TRUE(Contem(resto.erros, kPergunta)) << resto.erros;

    EXPECT_EQ(inst.bases.ConsultarAdm("SELECT * FROM TB_AGENDA ORDER BY AGE_CODIGO"),
              referencia.bases.ConsultarAdm("SELECT * FROM TB_AGENDA ORDER BY AGE_CODIGO"));
    for (const char* consulta : {"SELECT * FROM TB_GENERO ORDER BY GEN_CODIGO",
                                 "SELECT * FROM TB_IRRADIACAO ORDER BY IRR_CODIGO",
                                 "SELECT * FROM TB_PROGAUTO ORDER BY PRA_CODIGO"}) {
        const auto obtidas = inst.bases.ConsultarAudio(consulta);
        const auto esperadas = referencia.bases.ConsultarAudio(consulta);
        EXPECT_EQ(obtidas.size(), esperadas.size()) << consulta;
        EXPECT_TRUE(obtidas == esperadas) << consulta;
    }
}

// A commit while the rows flow writes the checkpoint; the run goes on to its end.
TEST_F(Terminal, Sigusr1GravaOCheckpointEnquantoAExecucaoSegue) {
    constexpr int linhas = 150000;
    GerarIrradiacao(inst.bases, linhas);
    ProgramaFilho filho(programa, Args({"--tabelas", "Irradiacao"}, inst), inst.unidades.Pasta());
    ASSERT_TRUE(filho.EsperarTexto("Tabela: TB_IRRADIACAO", 120)) << filho.Saida();
    filho.Sinal(SIGUSR1);
    bool rodavaAoGravar = false;
    std::string checkpointDoCommit;
    const auto inicio = std::chrono::steady_clock::now();
    while (std::chrono::steady_clock::now() - inicio < std::chrono::seconds(60)) {
        const bool rodando = filho.Rodando();
        if (ArquivoExiste(inst.ArquivoSeqHost())) {
            rodavaAoGravar = rodando;
            checkpointDoCommit = Seq();
            break;
        }
        if (!rodando) break;
        std::this_thread::sleep_for(std::chrono::milliseconds(5));
    }
    EXPECT_TRUE(rodavaAoGravar);
    EXPECT_EQ(filho.Aguardar(), 0) << filho.Erros();
    EXPECT_TRUE(Contem(filho.Erros(), "Commit solicitado.")) << filho.Erros();
    EXPECT_TRUE(Contem(filho.Erros(), kSucesso)) << filho.Erros();
    const std::string seq = checkpointDoCommit;
    EXPECT_TRUE(Contem(seq, "sTabela=TB_IRRADIACAO")) << seq;
    EXPECT_GT(CodigoSeq(seq), 1) << seq;
    EXPECT_LT(CodigoSeq(seq), linhas) << seq;
    EXPECT_EQ(Contar(inst.bases, "TB_IRRADIACAO"), std::to_string(linhas));
    // The run finished: its checkpoint offers nothing to resume. A continuation asks nothing (no
    // code) and, resuming no table, copies the checked table anew.
    EXPECT_EQ(Seq(), "[SEQ]\r\nsTabela=\r\nsCodigo=\r\n");
    const auto continuacao = Rodar({"--tabelas", "Irradiacao", "--continuar"});
    EXPECT_EQ(continuacao.status, 0) << continuacao.erros;
    EXPECT_FALSE(Contem(continuacao.erros, kPergunta)) << continuacao.erros;
    EXPECT_EQ(Contar(inst.bases, "TB_IRRADIACAO"), std::to_string(linhas));
    EXPECT_EQ(Seq(), "[SEQ]\r\nsTabela=\r\nsCodigo=\r\n");
}

// A terminal that goes away stops the run as "Parar processo" does: committed, checkpoint written.
TEST_F(Terminal, SighupParaComCheckpoint) {
    constexpr int linhas = 150000;
    GerarIrradiacao(inst.bases, linhas);
    ProgramaFilho filho(programa, Args({"--tabelas", "Irradiacao"}, inst), inst.unidades.Pasta());
    ASSERT_TRUE(filho.EsperarTexto("Tabela: TB_IRRADIACAO", 120)) << filho.Saida();
    filho.Sinal(SIGHUP);
    EXPECT_EQ(filho.Aguardar(), 1) << filho.Erros();
    const int codigo = CodigoSeq(Seq());
    EXPECT_GT(codigo, 1);
    EXPECT_LT(codigo, linhas);
    EXPECT_EQ(Contar(inst.bases, "TB_IRRADIACAO"), std::to_string(codigo - 1));
}

// The usage text is the operator's language, in the terminal's UTF-8: on standard output for
// --help, on standard error after a wrong command line.
TEST(TerminalUso, AjudaEmPortugues) {
    teste::PastaTemporaria pasta;
    const auto ajuda = RodarPrograma(QUORVEL_PROGRAMA, {"--help"}, pasta.Caminho());
    EXPECT_EQ(ajuda.status, 0);
    for (const char* parte : {"Uso:", "Op\xC3\xA7\xC3\xB5" "es de --sem-janela", "--info-audio ARQUIVO...",
                              "XDG_STATE_HOME", "Sa\xC3\xAD" "da: 0 sucesso"})
        EXPECT_TRUE(Contem(ajuda.saida, parte)) << parte << "\n" << ajuda.saida;
    EXPECT_EQ(ajuda.erros, "");

    const auto errado = RodarPrograma(QUORVEL_PROGRAMA, {"--depressa"}, pasta.Caminho());
    EXPECT_EQ(errado.status, 2);
    EXPECT_EQ(errado.saida, "");
    EXPECT_TRUE(Contem(errado.erros, "Uso:")) << errado.erros;
}
