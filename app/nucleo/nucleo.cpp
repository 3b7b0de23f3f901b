#include "app/nucleo/nucleo.h"

#include <exception>

#include "app/nucleo/checkpoint.h"
#include "platform/arquivos.h"
#include "platform/erros.h"
#include "platform/pasta_estado.h"

namespace quorvel {

NucleoQuorvel::NucleoQuorvel(PortaOperador& operador) : operador_(operador) {}

NucleoQuorvel::~NucleoQuorvel() {
    Estado.Interrompido = true;
    AguardarTrabalhador();
}

void NucleoQuorvel::DefinirPastaPrograma(const std::string& pasta) {
    Estado.ArquivoSeq = CaminhoArquivoSeq(PastaDeEstado(pasta));
    Estado.RegistroGeral = 0;
    Estado.RegistroAtual = 0;
}

std::optional<VersaoDoServidor> NucleoQuorvel::CriarJanela(const std::string& pastaPrograma) {
    try {
        DefinirPastaPrograma(pastaPrograma);
        return VersaoServidor();
    } catch (const ServidorNaoEncontrado& e) {  // told why; the window opens as designed
        operador_.Mensagem(TituloQuorvel, e.mensagem(), TipoMensagem::Informacao);
    } catch (const std::exception& e) {
        operador_.Mensagem(TituloQuorvel, TextoRelatorioErro(e.what()), TipoMensagem::Erro);
    }
    return std::nullopt;
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

void NucleoQuorvel::MostrarEstado(EstadoControles estado) {
    operador_.MostrarEstado(estado, estado == EstadoControles::Ocioso && ExisteSequencia(Estado.ArquivoSeq));
}

void NucleoQuorvel::Mensagem(const std::string& texto, TipoMensagem tipo) {
    relatorio_.Registrar(Ocorrencia::Mensagem, texto);
    ultimaMensagem_ = texto;
    operador_.Mensagem(TituloQuorvel, texto, tipo);
}

void NucleoQuorvel::GravarSequencia(const std::string& tabela, const std::string& codigo) {
    quorvel::GravarSequencia(Estado.ArquivoSeq, tabela, codigo);
}

std::string NucleoQuorvel::CodigoRetomada() { return ValidarCodigoSequencia(Estado.ArquivoSeq, Estado.SeqCodigo); }

}  // namespace quorvel
