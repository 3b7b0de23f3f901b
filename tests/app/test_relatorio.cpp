// The run report through whole runs: every row and file of every table accounted for, each row
// left out or failed named with its 2009 key and why, files, tags, lookups and the old-code
// column told, one report per run beside the checkpoint, none for a start that did not happen.
#include <gtest/gtest.h>

#include <filesystem>
#include <fstream>
#include <set>

#include "apoio/execucao_migracao.h"
#include "apoio/relatorio_lido.h"
#include "migration/relatorio_texto.h"
#include "music/musicas_apoio.h"

namespace quorvel::teste {
namespace {

constexpr int kGenero = 4, kMusicas = 5, kEcad = 6, kVinhetas = 9;

// A 2009 installation with a planted problem of each kind a run can meet.
const char* const kLinhas2009 =
    "INSERT INTO TB_GENERO VALUES (3, 'Samba');\n"
    // 1 is registered; 2 has the same artist and title (a duplicate of 1's record); 3 has no
    // file; 4 is refused by the 2010 database.
    "INSERT INTO TB_MUSICAS VALUES (1, 'Luz', 'Ana', NULL, 3, 'C:', 'M0001', 'mp3', NULL);\n"
    "INSERT INTO TB_MUSICAS VALUES (2, 'Luz', 'Ana', NULL, 3, 'C:', 'M0002', 'mp3', NULL);\n"
    "INSERT INTO TB_MUSICAS VALUES (3, 'Mar', 'Beto', NULL, 3, 'C:', 'M0404', 'mp3', NULL);\n"
    "INSERT INTO TB_MUSICAS VALUES (4, 'FALHA', 'Caio', NULL, 3, 'C:', 'M0004', 'mp3', NULL);\n"
    // 10 plays music 1; 11 plays the duplicate and 12 a music that never existed; 13 is refused.
    "INSERT INTO TB_ECAD VALUES (10, '2009-05-01', '10:00:00', 1);\n"
    "INSERT INTO TB_ECAD VALUES (11, '2009-05-01', '11:00:00', 2);\n"
    "INSERT INTO TB_ECAD VALUES (12, '2009-05-01', '12:00:00', 99);\n"
    "INSERT INTO TB_ECAD VALUES (13, '2009-05-01', '99:99:99', 1);\n"
    // 1's 2010 name is taken already; 2 has no file.
    "INSERT INTO TB_VINHETAS VALUES (1, 'V0001', 'Abertura', '0:05', 'mp3', 'V');\n"
    "INSERT INTO TB_VINHETAS VALUES (2, 'V0002', 'Fecho', '0:05', 'mp3', 'V');\n";

const char* const kRecusas2010 =
    "CREATE EXCEPTION E_RECUSADA 'recusada pelo teste';\n"
    "SET TERM ^ ;\n"
    "CREATE TRIGGER TB_MUSICAS_RECUSA FOR TB_MUSICAS BEFORE INSERT AS BEGIN "
    "IF (NEW.MUS_NOME = 'FALHA') THEN EXCEPTION E_RECUSADA; END^\n"
    "CREATE TRIGGER TB_ECAD_RECUSA FOR TB_ECAD BEFORE INSERT AS BEGIN "
    "IF (NEW.ECA_HORA = '99:99:99') THEN EXCEPTION E_RECUSADA; END^\n"
    "SET TERM ; ^\n";

class RelatorioDaExecucao : public ExecucaoMigracao {
protected:
    // The reports in the program's folder (host paths), oldest name first.
    std::vector<std::string> Relatorios() const {
        std::set<std::string> nomes;
        if (std::filesystem::exists(inst.PastaPrograma()))
            for (const auto& e : std::filesystem::directory_iterator(inst.PastaPrograma()))
                if (e.path().filename().string().rfind("Relatorio ", 0) == 0) nomes.insert(e.path().string());
        return {nomes.begin(), nomes.end()};
    }

    void PlantarInstalacao() {
        QUORVEL_EXIGIR("lame", "mutagen");
        inst.bases.Executar2009(kLinhas2009);
        inst.bases.ExecutarAudio(kRecusas2010);
        const std::string c = inst.unidades.Unidade('c');
        Mp3ComTag(c + "/Musicas/M0001.mp3", {{"TRIT", "Samba"}});
        Mp3ComTag(c + "/Musicas/M0002.mp3", {});
        Mp3ComTag(c + "/Musicas/M0004.mp3", {});
        GravarNaUnidade('c', "Comercial/V0001.mp3", "jingle");
        GravarNaUnidade('d', "Quorvel2010/Vinhetas/Abertura.mp3", "ocupado");
        operador.MarcarSo({kGenero, kMusicas, kEcad, kVinhetas});
    }
};

TEST_F(RelatorioDaExecucao, CadaLinhaEArquivoPlantadoApareceComSeuMotivo) {
    PlantarInstalacao();
    ASSERT_TRUE(Rodar());
    // The run's own messages are as they were.
    EXPECT_EQ(operador.TextosMensagens(), std::vector<std::string>{kSucesso});

    const auto caminhos = Relatorios();
    ASSERT_EQ(caminhos.size(), 1u);
    const RelatorioLido r = LerRelatorio(LerHost(caminhos[0]));
    EXPECT_TRUE(r.crlf);

    using C = ContagemLida;
    EXPECT_EQ(r.contagens.at("TB_GENERO"), (C{1, 1, 0, 0, 0}));
    EXPECT_EQ(r.contagens.at("TB_MUSICAS"), (C{4, 2, 1, 1, 0}));
    EXPECT_EQ(r.contagens.at("TB_ECAD"), (C{4, 1, 2, 1, 0}));
    EXPECT_EQ(r.contagens.at("TB_VINHETAS"), (C{2, 2, 0, 0, 0}));
    for (const auto& [tabela, c] : r.contagens) EXPECT_EQ(c.lidas, c.copiadas + c.deixadas + c.falhas) << tabela;

    // Rows left out or failed: table, key, and why.
    const auto perdas = Itens(r, {"DEIXADA DE FORA", "FALHOU"});
    ASSERT_EQ(perdas.size(), 5u);
    EXPECT_EQ(perdas[0].tabela, "TB_MUSICAS");
    EXPECT_EQ(perdas[0].chave, 2);
    EXPECT_EQ(perdas[0].rotulo, "DEIXADA DE FORA");
    EXPECT_NE(perdas[0].texto.find("(Ana - Luz): duplicata do registro 2010 c\xF3" "digo "), std::string::npos);
    EXPECT_NE(perdas[0].texto.find("\"Ana - Luz\" (m\xFAsica 2009 c\xF3" "digo 1)"), std::string::npos);
    EXPECT_EQ(perdas[1].chave, 4);
    EXPECT_EQ(perdas[1].rotulo, "FALHOU");
    EXPECT_NE(perdas[1].texto.find("(Caio - FALHA): o cadastro falhou: "), std::string::npos);
    EXPECT_NE(perdas[1].texto.find("recusada pelo teste"), std::string::npos);
    EXPECT_EQ(perdas[2].tabela, "TB_ECAD");
    EXPECT_EQ(perdas[2].chave, 11);
    EXPECT_NE(perdas[2].texto.find("11:00:00, m\xFAsica 2): a m\xFAsica 2009 c\xF3" "digo 2 n\xE3o tem registro 2010"),
              std::string::npos);
    EXPECT_EQ(perdas[3].chave, 12);
    EXPECT_EQ(perdas[3].rotulo, "DEIXADA DE FORA");
    EXPECT_EQ(perdas[4].chave, 13);
    EXPECT_EQ(perdas[4].rotulo, "FALHOU");
    EXPECT_NE(perdas[4].texto.find("inclus\xE3o recusada: "), std::string::npos);

    // Files: copied, missing, renamed; music 2 overwrote 1's copy under the same name.
    const auto arquivos = Itens(r, {"ARQUIVO COPIADO", "ARQUIVO AUSENTE", "ARQUIVO RENOMEADO", "C\xD3PIA FALHOU"});
    std::vector<std::pair<std::string, int64_t>> vistos;
    for (const auto& a : arquivos) vistos.push_back({a.rotulo, a.chave});
    EXPECT_EQ(vistos, (std::vector<std::pair<std::string, int64_t>>{{"ARQUIVO COPIADO", 1},
                                                                     {"ARQUIVO COPIADO", 2},
                                                                     {"ARQUIVO AUSENTE", 3},
                                                                     {"ARQUIVO COPIADO", 4},
                                                                     {"ARQUIVO RENOMEADO", 1},
                                                                     {"ARQUIVO AUSENTE", 2}}));
    EXPECT_NE(arquivos[4].texto.find("Abertura_1.mp3 (D:\\Quorvel2010\\Vinhetas\\Abertura.mp3 j\xE1 existia)"),
              std::string::npos);

    // Tags: music 1 rewritten, music 3's file missing, music 4's rewritten before the refusal.
    const auto tags = Itens(r, {"TAG REGRAVADA NO ARQUIVO", "TAG REGRAVADA EM NOVO ARQUIVO", "TAG N\xC3O GRAVADA"});
    ASSERT_EQ(tags.size(), 3u);
    EXPECT_EQ(tags[0].chave, 1);
    EXPECT_NE(tags[0].rotulo, "TAG N\xC3O GRAVADA");
    EXPECT_EQ(tags[1].chave, 3);
    EXPECT_EQ(tags[1].rotulo, "TAG N\xC3O GRAVADA");
    EXPECT_NE(tags[1].texto.find("o arquivo n\xE3o existe"), std::string::npos);
    EXPECT_EQ(tags[2].chave, 4);

    // Lookups and folders created, the old-code column added and dropped.
    const auto criados = Itens(r, {"PASTA CRIADA", "CADASTRO CRIADO", "COLUNA ADICIONADA", "COLUNA REMOVIDA"});
    ASSERT_EQ(criados.size(), 4u);
    EXPECT_EQ(criados[0].rotulo, "COLUNA ADICIONADA");
    EXPECT_EQ(criados[1].rotulo, "PASTA CRIADA");
    EXPECT_NE(criados[1].texto.find("D:\\QUORVEL2010\\MUSICAS\\"), std::string::npos);
    EXPECT_EQ(criados[2].rotulo, "CADASTRO CRIADO");
    EXPECT_NE(criados[2].texto.find("TB_Ritmo: SAMBA"), std::string::npos);
    EXPECT_EQ(criados[3].rotulo, "COLUNA REMOVIDA");

    // The summary handed to the front end says the same, and where the report is.
    const auto resumos = operador.Relatorios();
    ASSERT_EQ(resumos.size(), 1u);
    EXPECT_TRUE(resumos[0].gravado);
    EXPECT_EQ(resumos[0].LinhasDeixadas(), 3);
    EXPECT_EQ(resumos[0].LinhasComFalha(), 2);
    EXPECT_EQ(resumos[0].ArquivosProblema(), 2);
    EXPECT_EQ(LerHost(caminhos[0]).substr(LerHost(caminhos[0]).size() - resumos[0].texto.size()), resumos[0].texto);
}

TEST_F(RelatorioDaExecucao, ALinhaQueParaAExecucaoEASQueNaoForamLidas) {
    inst.bases.Executar2009(
        "INSERT INTO TB_AGENDA (AGE_CODIGO, AGE_NOME) VALUES (1, 'Primeiro');\n"
        "INSERT INTO TB_AGENDA (AGE_CODIGO, AGE_NOME) VALUES (2, 'Recusado');\n"
        "INSERT INTO TB_AGENDA (AGE_CODIGO, AGE_NOME) VALUES (3, 'Terceiro');\n");
    inst.bases.ExecutarAdm(
        "CREATE EXCEPTION E_RECUSADO 'recusado';\n"
        "SET TERM ^ ;\n"
        "CREATE TRIGGER TB_AGENDA_RECUSA FOR TB_AGENDA BEFORE INSERT AS BEGIN "
        "IF (NEW.AGE_NOME = 'Recusado') THEN EXCEPTION E_RECUSADO; END^\n"
        "SET TERM ; ^\n");
    operador.MarcarSo({0, 1});
    ASSERT_TRUE(Rodar());
    EXPECT_EQ(nucleo->UltimoResultado(), ResultadoExecucao::Interrompida);

    const auto caminhos = Relatorios();
    ASSERT_EQ(caminhos.size(), 1u);
    const RelatorioLido r = LerRelatorio(LerHost(caminhos[0]));
    EXPECT_EQ(r.contagens.at("TB_AGENDA"), (ContagemLida{2, 1, 0, 1, 1}));
    EXPECT_EQ(r.contagens.count("TB_AVANCOMANUAL"), 0u);  // never reached
    const auto parada = Itens(r, {"FALHOU E PAROU A ATUALIZA\xC7\xC3O"});
    ASSERT_EQ(parada.size(), 1u);
    EXPECT_EQ(parada[0].chave, 2);
    EXPECT_NE(parada[0].texto.find("(Recusado): "), std::string::npos);
    EXPECT_NE(parada[0].texto.find("recusado"), std::string::npos);
    // The message box the run showed is in the report too, and so is how the run ended.
    EXPECT_EQ(Itens(r, {"MENSAGEM"}).size(), 1u);
    EXPECT_EQ(r.linhasResumo.at(1), kInterrompida);
    ASSERT_EQ(operador.Relatorios().size(), 1u);
    EXPECT_TRUE(operador.Relatorios()[0].HaPerdas());
}

TEST_F(RelatorioDaExecucao, UmRelatorioPorExecucaoENenhumSemExecucao) {
    operador.MarcarSo({});
    // A start whose question is answered No is no run: no report.
    inst.GravarSeq("[SEQ]\r\nsTabela=TB_AGENDA\r\nsCodigo=5\r\n");
    operador.respostaPergunta = false;
    EXPECT_FALSE(Rodar());
    EXPECT_TRUE(Relatorios().empty());
    EXPECT_TRUE(operador.Relatorios().empty());

    // A refused start neither.
    operador.respostaPergunta = true;
    operador.pasta2010 = "D:\\NaoExiste";
    EXPECT_FALSE(Rodar());
    EXPECT_TRUE(Relatorios().empty());

    // Two runs, two reports, even within the same second; nothing lost, so nothing to tell.
    operador.pasta2010 = inst.Pasta2010();
    ASSERT_TRUE(Rodar());
    ASSERT_TRUE(Rodar());
    ASSERT_EQ(Relatorios().size(), 2u);
    for (const auto& c : Relatorios()) EXPECT_EQ(LerRelatorio(LerHost(c)).linhasResumo.at(1), kSucesso);
    ASSERT_EQ(operador.Relatorios().size(), 2u);
    EXPECT_FALSE(operador.Relatorios()[1].HaPerdas());
    EXPECT_EQ(TextoAvisoPerdas(operador.Relatorios()[1]), "");
}

TEST_F(RelatorioDaExecucao, CaminhoEscolhidoEPastaQueNaoSePodeGravar) {
    operador.MarcarSo({});
    const std::string escolhido = inst.unidades.Raiz().Caminho() + "/relatorios/meu.txt";
    nucleo->DefinirArquivoRelatorio(escolhido);
    ASSERT_TRUE(Rodar());
    EXPECT_TRUE(std::filesystem::exists(escolhido));
    EXPECT_FALSE(std::filesystem::exists(escolhido + ".parcial"));
    EXPECT_TRUE(Relatorios().empty());

    // A report that cannot be written does not stop the run; the operator is told where it failed.
    const std::string impossivel = inst.unidades.Raiz().Caminho() + "/arquivo-comum";
    std::ofstream(impossivel) << "x";
    nucleo->DefinirArquivoRelatorio(impossivel + "/r.txt");
    ASSERT_TRUE(Rodar());
    EXPECT_EQ(nucleo->UltimoResultado(), ResultadoExecucao::Sucesso);
    ASSERT_EQ(operador.Relatorios().size(), 2u);
    EXPECT_FALSE(operador.Relatorios()[1].gravado);
    EXPECT_NE(TextoAvisoPerdas(operador.Relatorios()[1]).find("N\xE3o foi poss\xEDvel gravar o relat\xF3rio"),
              std::string::npos);
}

}  // namespace
}  // namespace quorvel::teste
