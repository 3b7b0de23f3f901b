#include <gtest/gtest.h>

#include <cstring>

#include "app/nucleo/nucleo.h"
#include "app/nucleo/sequencia.h"

using namespace quorvel;

TEST(Sequencia, OrdemFixaComTabelasEChaves) {
    const char* tabelas[] = {"TB_AGENDA", "TB_AVANCOMANUAL", "TB_PERFILBOTOES", "TB_BOTONEIRA", "TB_GENERO",
                             "TB_MUSICAS", "TB_ECAD", "TB_IRRADIACAO", "TB_PROGAUTO", "TB_VINHETAS"};
    const char* chaves[] = {"age_codigo", "ava_codigo", "pbo_codigo", "bt_codigo", "gen_codigo",
                            "mus_codigo", "eca_codigo", "irr_codigo", "pra_codigo", "vin_codigo"};
    for (int i = 0; i < QuantidadeTabelas; ++i) {
        EXPECT_EQ(SequenciaMigradores[i].numero, i + 1);
        EXPECT_STREQ(SequenciaMigradores[i].tabela, tabelas[i]);
        EXPECT_STREQ(SequenciaMigradores[i].colunaChave, chaves[i]);
        EXPECT_EQ(std::string("CheckTB_") + SequenciaMigradores[i].legenda, SequenciaMigradores[i].checkBox);
        EXPECT_NE(NucleoQuorvel::Migradores[static_cast<size_t>(i)], nullptr);
    }
}

TEST(Sequencia, TabelaEncontradaSemRespeitoACaixa) {
    EXPECT_EQ(IndiceDaTabela("TB_ECAD"), 6);
    EXPECT_EQ(IndiceDaTabela("tb_ecad"), 6);
    EXPECT_EQ(IndiceDaTabela("Tb_Vinhetas"), 9);
    EXPECT_EQ(IndiceDaTabela("TB_OUTRA"), -1);
    EXPECT_EQ(IndiceDaTabela(""), -1);
    EXPECT_EQ(IndiceDaTabela("TB_ECAD "), -1);
    EXPECT_EQ(IndiceDaLegenda("musicas"), 5);
    EXPECT_EQ(IndiceDaLegenda("PROGAUTO"), 8);
    EXPECT_EQ(IndiceDaLegenda("TB_AGENDA"), -1);
}
