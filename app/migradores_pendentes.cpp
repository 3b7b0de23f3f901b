// Migrators that are not built yet. A run in which their table is checked ends with an error
// that names the table, never with a silent success.
#include "app/nucleo.h"
#include "platform/erros.h"

namespace quorvel {

namespace {
[[noreturn]] void NaoDisponivel(const char* tabela) {
    throw Erro(std::string("A migração da tabela ") + tabela + " ainda não está disponível");
}
}  // namespace

void NucleoQuorvel::ConverterAgenda() { NaoDisponivel("TB_AGENDA"); }
void NucleoQuorvel::ConverterAvancoManual() { NaoDisponivel("TB_AVANCOMANUAL"); }
void NucleoQuorvel::ConverterPerfilBotoes() { NaoDisponivel("TB_PERFILBOTOES"); }
void NucleoQuorvel::ConverterBotoneira() { NaoDisponivel("TB_BOTONEIRA"); }
void NucleoQuorvel::ConverterGenero() { NaoDisponivel("TB_GENERO"); }
void NucleoQuorvel::ConverterMusicas() { NaoDisponivel("TB_MUSICAS"); }
void NucleoQuorvel::ConverterEcad() { NaoDisponivel("TB_ECAD"); }
void NucleoQuorvel::ConverterIrradiacao() { NaoDisponivel("TB_IRRADIACAO"); }
void NucleoQuorvel::ConverterProgAuto() { NaoDisponivel("TB_PROGAUTO"); }
void NucleoQuorvel::ConverterVinhetas() { NaoDisponivel("TB_VINHETAS"); }

}  // namespace quorvel
