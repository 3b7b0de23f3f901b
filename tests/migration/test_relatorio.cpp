// The report object on its own: counters that always add up, a row marked once, the file
// written under a temporary name until the end, lines in both moods.
#include <gtest/gtest.h>

#include <filesystem>

#include "apoio/pasta_temporaria.h"
#include "apoio/relatorio_lido.h"
#include "migration/relatorio.h"
#include "migration/relatorio_texto.h"

namespace quorvel::teste {
namespace {

TEST(Relatorio, ContagensSomamEUmaLinhaSoTemUmDestino) {
    PastaTemporaria pasta;
    const std::string caminho = pasta.Caminho() + "/r.txt";
    RelatorioExecucao r;
    ASSERT_TRUE(r.Abrir(caminho, {"cabe\xE7" "alho"}));
    r.IniciarTabela("TB_X", 5);
    r.IniciarLinha(1);
    r.ConcluirLinha();  // copied
    r.IniciarLinha(2);
    r.IdentificarLinha("Ana - Luz");
    r.DeixarLinha("primeiro motivo");
    r.FalharLinha("segundo motivo");  // the first mark holds
    r.ConcluirLinha();
    r.IniciarLinha(3);
    r.FalharLinha("recusada\r\rpelo banco");
    r.IniciarLinha(4);  // the open row 3 is concluded first
    r.DeixarLinha("fora");
    r.PararNaLinha("parou");  // the stop is what counts
    r.Registrar(Ocorrencia::ArquivoCopiado, "a -> b");

    // Until the end the file has its temporary name.
    EXPECT_FALSE(std::filesystem::exists(caminho));
    EXPECT_TRUE(std::filesystem::exists(caminho + ".parcial"));
    const ResumoRelatorio resumo = r.Encerrar("Fim.");
    EXPECT_TRUE(resumo.gravado);
    EXPECT_FALSE(std::filesystem::exists(caminho + ".parcial"));

    const RelatorioLido lido = LerRelatorio(LerHost(caminho));
    EXPECT_TRUE(lido.crlf);
    EXPECT_EQ(lido.contagens.at("TB_X"), (ContagemLida{4, 1, 1, 2, 1}));
    EXPECT_EQ(resumo.LinhasDeixadas(), 1);
    EXPECT_EQ(resumo.LinhasComFalha(), 2);
    EXPECT_EQ(resumo.Quantas(Ocorrencia::ArquivoCopiado), 1);
    ASSERT_EQ(lido.itens.size(), 5u);
    EXPECT_EQ(lido.itens[0], (ItemRelatorio{"TB_X", "DEIXADA DE FORA", 2, " (Ana - Luz): primeiro motivo"}));
    EXPECT_EQ(lido.itens[1], (ItemRelatorio{"TB_X", "FALHOU", 3, ": recusada  pelo banco"}));
    EXPECT_EQ(lido.itens[3].rotulo, "FALHOU E PAROU A ATUALIZA\xC7\xC3O");
    EXPECT_EQ(lido.itens[4], (ItemRelatorio{"TB_X", "ARQUIVO COPIADO", -1, " a -> b"}));  // no row open
    EXPECT_EQ(lido.linhasResumo.at(1), "Fim.");
}

TEST(Relatorio, PrevisaoNoCondicionalESemArquivo) {
    RelatorioExecucao r(true);
    ASSERT_TRUE(r.Abrir("", {}));
    r.IniciarTabela("TB_ECAD", 1);
    r.IniciarLinha(7);
    r.DeixarLinha(MotivoMusicaNaoEncontrada(9));
    const ResumoRelatorio resumo = r.Encerrar("Verifica\xE7\xE3o conclu\xED" "da.");
    EXPECT_FALSE(resumo.gravado);
    EXPECT_TRUE(resumo.HaPerdas());
    EXPECT_EQ(RotuloOcorrencia(Ocorrencia::LinhaDeixada, true), "[SERIA DEIXADA DE FORA]");
    EXPECT_NE(resumo.texto.find("RESUMO DA VERIFICA\xC7\xC3O"), std::string::npos);
    EXPECT_EQ(LerRelatorio(resumo.texto).contagens.at("TB_ECAD"), (ContagemLida{1, 0, 1, 0, 0}));
}

TEST(Relatorio, NomeDoArquivoSoComCaracteresPermitidosNoWindows) {
    const std::string nome = NomeArquivoRelatorio(0);
    EXPECT_EQ(nome.size(), std::string("Relatorio 1970-01-01 00-00-00.txt").size());
    EXPECT_EQ(nome.find_first_of("\\/:*?\"<>|"), std::string::npos);
}

}  // namespace
}  // namespace quorvel::teste
