#include "app/sequencia.h"

#include "app/nucleo.h"
#include "platform/texto.h"

namespace quorvel {

const std::array<EntradaSequencia, QuantidadeTabelas> SequenciaMigradores = {{
    {1, "CheckTB_Agenda", "Agenda", "TB_AGENDA", "age_codigo", "ConverterAgenda", &NucleoQuorvel::ConverterAgenda},
    {2, "CheckTB_AvancoManual", "AvancoManual", "TB_AVANCOMANUAL", "ava_codigo", "ConverterAvancoManual", &NucleoQuorvel::ConverterAvancoManual},
    {3, "CheckTB_PerfilBotoes", "PerfilBotoes", "TB_PERFILBOTOES", "pbo_codigo", "ConverterPerfilBotoes", &NucleoQuorvel::ConverterPerfilBotoes},
    {4, "CheckTB_Botoneira", "Botoneira", "TB_BOTONEIRA", "bt_codigo", "ConverterBotoneira", &NucleoQuorvel::ConverterBotoneira},
    {5, "CheckTB_Genero", "Genero", "TB_GENERO", "gen_codigo", "ConverterGenero", &NucleoQuorvel::ConverterGenero},
    {6, "CheckTB_Musicas", "Musicas", "TB_MUSICAS", "mus_codigo", "ConverterMusicas", &NucleoQuorvel::ConverterMusicas},
    {7, "CheckTB_Ecad", "Ecad", "TB_ECAD", "eca_codigo", "ConverterEcad", &NucleoQuorvel::ConverterEcad},
    {8, "CheckTB_Irradiacao", "Irradiacao", "TB_IRRADIACAO", "irr_codigo", "ConverterIrradiacao", &NucleoQuorvel::ConverterIrradiacao},
    {9, "CheckTB_ProgAuto", "ProgAuto", "TB_PROGAUTO", "pra_codigo", "ConverterProgAuto", &NucleoQuorvel::ConverterProgAuto},
    {10, "CheckTB_Vinhetas", "Vinhetas", "TB_VINHETAS", "vin_codigo", "ConverterVinhetas", &NucleoQuorvel::ConverterVinhetas},
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
