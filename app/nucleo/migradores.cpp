// The ten migrators of the sequence.
#include "app/nucleo/nucleo.h"
#include "db/gerador.h"
#include "migration/ecad.h"
#include "migration/tabelas_diretas.h"
#include "migration/vinhetas.h"
#include "music/musicas.h"

namespace quorvel {

namespace {

// The table of a sequence entry, as the migrations know it.
TabelaMigracao Entrada(int numero) {
    const EntradaSequencia& e = SequenciaMigradores[numero - 1];
    return {e.numero, e.tabela, e.colunaChave};
}

// A copy that keeps the 2009 keys moves its generator past the highest key once it is complete.
DescricaoCopia ComGerador(NucleoQuorvel& nucleo, const DescricaoCopia& base, const char* tabela, const char* campo,
                          const char* gerador) {
    DescricaoCopia d = base;
    d.aoTerminar = [&nucleo, tabela, campo, gerador] {
        BasesExecucao& b = nucleo.Bases;
        Bases2010 bases{&b.DB_Adm, &b.Transaction_Adm, &b.DB_Audio, &b.Transaction_Audio};
        AtualizarGenerator(tabela, campo, gerador, "AUDIO", bases);
    };
    return d;
}

}  // namespace

const std::array<NucleoQuorvel::Migrador, QuantidadeTabelas> NucleoQuorvel::Migradores = {
    &NucleoQuorvel::ConverterAgenda,    &NucleoQuorvel::ConverterAvancoManual, &NucleoQuorvel::ConverterPerfilBotoes,
    &NucleoQuorvel::ConverterBotoneira, &NucleoQuorvel::ConverterGenero,       &NucleoQuorvel::ConverterMusicas,
    &NucleoQuorvel::ConverterEcad,      &NucleoQuorvel::ConverterIrradiacao,   &NucleoQuorvel::ConverterProgAuto,
    &NucleoQuorvel::ConverterVinhetas,
};

void NucleoQuorvel::ConverterAgenda() { CopiarTabela(*this, Bases, Entrada(1), DescricaoAgenda()); }
void NucleoQuorvel::ConverterAvancoManual() { CopiarTabela(*this, Bases, Entrada(2), DescricaoAvancoManual()); }
void NucleoQuorvel::ConverterPerfilBotoes() {
    CopiarTabela(*this, Bases, Entrada(3),
                 ComGerador(*this, DescricaoPerfilBotoes(), "TB_PERFILBOTOES", "pbo_codigo", "GEN_PERFILBOTOES"));
}
void NucleoQuorvel::ConverterBotoneira() { CopiarTabela(*this, Bases, Entrada(4), DescricaoBotoneira()); }
void NucleoQuorvel::ConverterGenero() {
    CopiarTabela(*this, Bases, Entrada(5),
                 ComGerador(*this, DescricaoGenero(), "TB_GENERO", "gen_codigo", "GEN_GENERO"));
}
void NucleoQuorvel::ConverterMusicas() { ConverterTabelaMusicas(*this, Bases, Entrada(6)); }
void NucleoQuorvel::ConverterEcad() { ConverterTabelaEcad(*this, Bases, Entrada(7)); }
void NucleoQuorvel::ConverterIrradiacao() { CopiarTabela(*this, Bases, Entrada(8), DescricaoIrradiacao()); }
void NucleoQuorvel::ConverterProgAuto() { CopiarTabela(*this, Bases, Entrada(9), DescricaoProgAuto()); }
void NucleoQuorvel::ConverterVinhetas() { ConverterTabelaVinhetas(*this, Bases, Entrada(10)); }

}  // namespace quorvel
