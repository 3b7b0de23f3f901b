#include "app/nucleo.h"

#include <exception>

#include "app/checkpoint.h"
#include "platform/arquivos.h"
#include "platform/erros.h"
#include "platform/pasta_estado.h"

namespace quorvel {

namespace {

// Every connection logs in as the administrator of the installations; every transaction reads
// committed data, sees the last committed version and never waits for a lock.
void ConfigurarBase(TIBDatabase& banco, TIBTransaction& transacao, TIBQuery& consulta) {
    banco.Params = {"user_name=SYSDBA", "password=quindorex"};
    banco.LoginPrompt = false;
    banco.SQLDialect = 1;
    transacao.SetDefaultDatabase(&banco);
    transacao.Params = {"read_committed", "rec_version", "nowait"};
    consulta.SetDatabase(&banco);
    consulta.SetTransaction(&transacao);
}

}  // namespace

NucleoQuorvel::NucleoQuorvel(PortaOperador& operador) : operador_(operador) {
    ConfigurarBase(DB_2009, Transaction_2009, QueryConverte2009);
    ConfigurarBase(DB_Audio, Transaction_Audio, QueryConverteAudio);
    ConfigurarBase(DB_Adm, Transaction_Adm, QueryConverteAdm);
}

NucleoQuorvel::~NucleoQuorvel() {
    Estado.Interrompido = true;
    AguardarTrabalhador();
}

void NucleoQuorvel::DefinirPastaPrograma(const std::string& pasta) {
    Estado.ArquivoSeq = CaminhoArquivoSeq(PastaDeEstado(pasta));
    Estado.RegistroGeral = 0;
    Estado.RegistroAtual = 0;
}

bool NucleoQuorvel::ExecutarAcao(const std::function<void()>& acao) {
    try {
        acao();
        return true;
    } catch (const AbortoSilencioso&) {
    } catch (const std::exception& e) {
        operador_.Mensagem(TituloQuorvel, TextoRelatorioErro(e.what()), TipoMensagem::Erro);
    }
    return false;
}

void NucleoQuorvel::MarcarTabelas(bool marcar) {
    for (int i = 0; i < QuantidadeTabelas; ++i) operador_.MarcarTabela(i, marcar);
}

void NucleoQuorvel::HabilitarControles(bool habilitar) {
    operador_.HabilitarControles(habilitar, habilitar && ExisteSequencia(Estado.ArquivoSeq));
}

void NucleoQuorvel::Mensagem(const std::string& texto, TipoMensagem tipo) {
    operador_.Mensagem(TituloQuorvel, texto, tipo);
}

void NucleoQuorvel::GravarSequencia(const std::string& tabela, const std::string& codigo) {
    quorvel::GravarSequencia(Estado.ArquivoSeq, tabela, codigo);
}

std::string NucleoQuorvel::CodigoRetomada() { return ValidarCodigoSequencia(Estado.ArquivoSeq, Estado.SeqCodigo); }

}  // namespace quorvel
