#include "app/nucleo/sequencia.h"

#include "platform/texto.h"

namespace quorvel {

const std::array<EntradaSequencia, QuantidadeTabelas> SequenciaMigradores = {{
    {1, "CheckTB_Agenda", "Agenda", "TB_AGENDA", "age_codigo"},
    {2, "CheckTB_AvancoManual", "AvancoManual", "TB_AVANCOMANUAL", "ava_codigo"},
    {3, "CheckTB_PerfilBotoes", "PerfilBotoes", "TB_PERFILBOTOES", "pbo_codigo"},
    {4, "CheckTB_Botoneira", "Botoneira", "TB_BOTONEIRA", "bt_codigo"},
    {5, "CheckTB_Genero", "Genero", "TB_GENERO", "gen_codigo"},
    {6, "CheckTB_Musicas", "Musicas", "TB_MUSICAS", "mus_codigo"},
    {7, "CheckTB_Ecad", "Ecad", "TB_ECAD", "eca_codigo"},
    {8, "CheckTB_Irradiacao", "Irradiacao", "TB_IRRADIACAO", "irr_codigo"},
    {9, "CheckTB_ProgAuto", "ProgAuto", "TB_PROGAUTO", "pra_codigo"},
    {10, "CheckTB_Vinhetas", "Vinhetas", "TB_VINHETAS", "vin_codigo"},
}};

int IndiceDaTabela(const std::string& tabela) {
    const std::string procurada = MaiusculasAscii(tabela);
    for (int i = 0; i < QuantidadeTabelas; ++i)
        if (procurada == SequenciaMigradores[i].tabela) return i;
    return -1;
}

int IndiceDaLegenda(const std::string& legenda) {
    for (int i = 0; i < QuantidadeTabelas; ++i)
        if (IguaisSemCaixa(legenda, SequenciaMigradores[i].legenda)) return i;
    return -1;
}

}  // namespace quorvel
