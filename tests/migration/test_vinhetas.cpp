// Whole runs of the jingle migration: rows, computed values and the jingle files.
#include "apoio/execucao_migracao.h"

namespace quorvel::teste {
namespace {

constexpr int kVinhetas = 9;

const char* const kJingles =
    "INSERT INTO TB_VINHETAS VALUES (1, 'V0001', 'Abertura', '3:15', 'mp3', 'V');\n"
    "INSERT INTO TB_VINHETAS VALUES (2, 'V0002', 'Hora: certa?', '00:07', 'mp3', 'C');\n"
    "INSERT INTO TB_VINHETAS VALUES (4, 'V0404', 'Sumida', '', 'mp3', NULL);\n"
    "INSERT INTO TB_VINHETAS VALUES (6, 'V0006', 'Chamada Especial de Natal', 'longa', 'wav', 'V');\n";

class Vinhetas : public ExecucaoMigracao {
protected:
    void SetUp() override {
        ExecucaoMigracao::SetUp();
        inst.bases.Executar2009(kJingles);
        GravarNaUnidade('c', "Comercial/V0001.mp3", "abertura");
        GravarNaUnidade('c', "Comercial/V0002.mp3", "hora certa");
        GravarNaUnidade('c', "Comercial/V0006.wav", "natal");
        operador.MarcarSo({kVinhetas});
    }

    Linhas Tabela2010() const {
        return inst.bases.ConsultarAudio(
            "SELECT VIN_CODIGO, VIN_NOME, VIN_TEMPO, VIN_TIPO, VIN_ARQUIVO, CAV_CODIGO, VIN_SEGUNDOS "
            "FROM TB_VINHETAS ORDER BY VIN_CODIGO");
    }
};

TEST_F(Vinhetas, RowsAndFilesOfAFreshRun) {
    inst.bases.ExecutarAudio("SET GENERATOR GEN_VINHETAS TO 20;\n"
                             "INSERT INTO TB_VINHETAS (VIN_CODIGO, VIN_NOME) VALUES (3, 'velha');");
    ASSERT_TRUE(Rodar());
    EXPECT_EQ(operador.TextosMensagens(), std::vector<std::string>{kSucesso});
    // New keys from GEN_VINHETAS, the old row gone; names sanitised; a missing file still named;
    // a duration that is no mm:ss gives 0 seconds and the row is written all the same.
    EXPECT_EQ(Tabela2010(), (Linhas{
                                {"21", "Abertura", "3:15", "V", "Abertura.mp3", "0", "195"},
                                {"22", "Hora  certa ", "00:07", "C", "Hora  certa .mp3", "0", "7"},
                                {"23", "Sumida", "", " ", "Sumida.mp3", "0", "0"},
                                {"24", "Chamada Especial de Natal", "longa", "V", "Chamada Especial de Natal.wav",
                                 "0", "0"},
                            }));
    EXPECT_EQ(ValorGenerator(inst.bases.LocalAudio(), "GEN_VINHETAS"), 24);

    EXPECT_EQ(LerDaUnidade('d', "Quorvel2010/Vinhetas/Abertura.mp3"), "abertura");
    EXPECT_EQ(LerDaUnidade('d', "Quorvel2010/Vinhetas/Hora  certa .mp3"), "hora certa");
    EXPECT_EQ(LerDaUnidade('d', "Quorvel2010/Vinhetas/Chamada Especial de Natal.wav"), "natal");
    EXPECT_FALSE(ExisteNaUnidade('d', "Quorvel2010/Vinhetas/Sumida.mp3"));
    // Copied, not moved.
    EXPECT_EQ(LerDaUnidade('c', "Comercial/V0001.mp3"), "abertura");

    const QuadroProgresso q = UltimoQuadroDe("TB_VINHETAS");
    EXPECT_EQ(q.registroAtual, 4);
    EXPECT_EQ(q.maximoAtual, 4);
}

TEST_F(Vinhetas, ASecondRunCopiesEveryJingleAgainUnderTheNextFreeNumber) {
    ASSERT_TRUE(Rodar());
    ASSERT_TRUE(Rodar());
    EXPECT_EQ(operador.TextosMensagens(), (std::vector<std::string>{kSucesso, kSucesso}));
    const Linhas linhas = Tabela2010();
    ASSERT_EQ(linhas.size(), 4u);  // the second fresh start emptied the table
    EXPECT_EQ(linhas[0][1], "Abertura_1");
    EXPECT_EQ(linhas[0][4], "Abertura_1.mp3");
    EXPECT_EQ(linhas[1][4], "Hora  certa _1.mp3");
    // Nothing was copied for the missing file, so its name is still free.
    EXPECT_EQ(linhas[2][4], "Sumida.mp3");
    // The long path is cut at its first collision: "D:\\Quorvel2010\\Vinhetas\\" is 24 of its 38
    // characters.
    EXPECT_EQ(linhas[3][1], "Chamada Especi_1");
    EXPECT_EQ(linhas[3][4], "Chamada Especi_1.wav");

    EXPECT_EQ(LerDaUnidade('d', "Quorvel2010/Vinhetas/Abertura.mp3"), "abertura");
    EXPECT_EQ(LerDaUnidade('d', "Quorvel2010/Vinhetas/Abertura_1.mp3"), "abertura");
    EXPECT_EQ(LerDaUnidade('d', "Quorvel2010/Vinhetas/Chamada Especi_1.wav"), "natal");

    ASSERT_TRUE(Rodar());
    EXPECT_EQ(Tabela2010()[0][4], "Abertura_2.mp3");
}

TEST_F(Vinhetas, AFailedRowStopsTheRunWithItsDeviceAndFileName) {
    // A four-letter extension leaves the dot in vin_nome: 61 characters do not fit VIN_NOME.
    const std::string longo(60, 'x');
    inst.bases.Executar2009("INSERT INTO TB_VINHETAS VALUES (5, 'V0005', '" + longo + "', '0:30', 'mpeg', 'V');");
    GravarNaUnidade('c', "Comercial/V0005.mpeg", "x");
    ASSERT_TRUE(Rodar());
    EXPECT_EQ(nucleo->UltimoResultado(), ResultadoExecucao::Interrompida);
    EXPECT_EQ(operador.TextosMensagens(),
              (std::vector<std::string>{"Erro ao converter o dispositivo: V0005\r\rArquivo: " + longo + ".mpeg",
                                        kInterrompida}));
    // The rows before it are committed; the checkpoint names the failing row.
    EXPECT_EQ(Tabela2010().size(), 3u);
    EXPECT_EQ(Seq(), "[SEQ]\r\nsTabela=TB_VINHETAS\r\nsCodigo=5\r\n");

    // Continuing retries that row (which still fails), keeping the rows already copied.
    inst.bases.Executar2009("UPDATE TB_VINHETAS SET VIN_EXTENSAO = 'mp2' WHERE VIN_CODIGO = 5;");
    GravarNaUnidade('c', "Comercial/V0005.mp2", "y");
    operador.respostaPergunta = true;
    NovoNucleo();
    ASSERT_TRUE(Rodar(true));
    EXPECT_EQ(nucleo->UltimoResultado(), ResultadoExecucao::Sucesso);
    const Linhas linhas = Tabela2010();
    ASSERT_EQ(linhas.size(), 5u);
    EXPECT_EQ(linhas[3][4], longo + ".mp2");
    EXPECT_EQ(linhas[4][4], "Chamada Especial de Natal.wav");
    EXPECT_EQ(LerDaUnidade('d', "Quorvel2010/Vinhetas/" + longo + ".mp2"), "y");
}

TEST_F(Vinhetas, StopAfterARowAndContinueWithoutCopyingTwice) {
    operador.aoAtualizar = [&](const QuadroProgresso& q) {
        if (q.tabelaAtual == "TB_VINHETAS" && q.registroAtual == 2) nucleo->Parar();
    };
    ASSERT_TRUE(Rodar());
    EXPECT_EQ(Seq(), "[SEQ]\r\nsTabela=TB_VINHETAS\r\nsCodigo=4\r\n");
    EXPECT_EQ(Tabela2010().size(), 2u);

    operador.aoAtualizar = nullptr;
    operador.respostaPergunta = true;
    NovoNucleo();
    ASSERT_TRUE(Rodar(true));
    EXPECT_EQ(nucleo->UltimoResultado(), ResultadoExecucao::Sucesso);
    const Linhas linhas = Tabela2010();
    ASSERT_EQ(linhas.size(), 4u);
    EXPECT_EQ(linhas[0][4], "Abertura.mp3");
    EXPECT_EQ(linhas[3][4], "Chamada Especial de Natal.wav");
    EXPECT_FALSE(ExisteNaUnidade('d', "Quorvel2010/Vinhetas/Abertura_1.mp3"));
}

TEST_F(Vinhetas, ACopyThatCannotBeMadeIsToldAndTheRowStillWritten) {
    // The 2010 jingle folder is a file: no jingle can be written into it.
    GravarNaUnidade('d', "Quorvel2010/Vinhetas", "");
    ASSERT_TRUE(Rodar());
    const auto textos = operador.TextosMensagens();
    ASSERT_EQ(textos.size(), 4u);
    EXPECT_EQ(textos[0], "N\xE3o foi poss\xEDvel converter a vinheta: \"C:\\Comercial\\V0001.mp3\" para: "
                         "\"D:\\Quorvel2010\\Vinhetas\\Abertura.mp3\"");
    EXPECT_EQ(textos[3], kSucesso);
    EXPECT_EQ(Tabela2010().size(), 4u);
    EXPECT_EQ(Tabela2010()[0][4], "Abertura.mp3");
}

}  // namespace
}  // namespace quorvel::teste
