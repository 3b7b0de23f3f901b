// Finding the three databases from the installation folders, the server-machine check and the
// connections, at the start of every run.
#include <exception>

#include "app/nucleo/nucleo.h"
#include "db/localizacao.h"
#include "music/identidade_rede.h"
#include "platform/arquivos.h"
#include "platform/erros.h"
#include "platform/ini.h"
#include "platform/texto.h"

namespace quorvel {

namespace {

std::string ArquivoNaoEncontrado(const std::string& caminho) {
    return "O arquivo " + caminho + " n\xE3o foi encontrado.";
}

// Connects and starts the transaction; on failure tells the operator and goes on.
void Conectar(TIBDatabase& banco, TIBTransaction& transacao, PortaOperador& operador, const char* mensagem) {
    try {
        banco.Open();
        transacao.StartTransaction();
    } catch (const std::exception&) {
        operador.Mensagem(TituloQuorvel, mensagem, TipoMensagem::Informacao);
    }
}

}  // namespace

void NucleoQuorvel::ConectarBases() {
    auto recusar = [this](const std::string& texto) {
        operador_.Mensagem(TituloQuorvel, texto, TipoMensagem::Informacao);
        throw AbortoSilencioso();
    };

    const std::string pasta2009 = operador_.Pasta2009();
    const std::string pasta2010 = operador_.Pasta2010();
    if (Aparar(pasta2009).empty()) {
        operador_.FocarPasta2009();
        recusar("O endere\xE7o da pasta da Vers\xE3o 2009 deve ser informado.");
    }
    if (Aparar(pasta2010).empty()) {
        operador_.FocarPasta2010();
        recusar("O endere\xE7o da pasta da Vers\xE3o 2010 deve ser informado.");
    }

    // The folder texts are used exactly as typed.
    const std::string arquivoAudio = pasta2010 + "\\BaseAudio.ini";
    const std::string arquivoAdm = pasta2010 + "\\BaseAdm.ini";
    const std::string arquivo2009 = pasta2009 + "\\Base.ini";
    const std::string localAudio = LerIni(arquivoAudio, "BANCO", "caminho");
    const std::string localAdm = LerIni(arquivoAdm, "BANCO", "caminho");

    Bases.Transaction_Audio.SetActive(false);
    Bases.Transaction_Adm.SetActive(false);
    Bases.Transaction_2009.SetActive(false);
    Bases.DB_Adm.Close();
    Bases.DB_Audio.Close();
    Bases.DB_2009.Close();

    if (!ArquivoExiste(arquivoAudio)) {
        operador_.FocarPasta2010();
        recusar(ArquivoNaoEncontrado(arquivoAudio));
    }
    Bases.DB_Audio.SetDatabaseName(Aparar(localAudio));
    if (!ArquivoExiste(arquivoAdm)) {
        operador_.FocarPasta2010();
        recusar(ArquivoNaoEncontrado(arquivoAdm));
    }
    Bases.DB_Adm.SetDatabaseName(Aparar(localAdm));

    // The port of "servidor/3051:…" is the client library's business, never part of Servidor
    // (the music folders are recorded as \\Servidor\…).
    Estado.Servidor = HostDaLocalizacao(localAdm);
    if (!ServidorEhEstaMaquina(Estado.Servidor))
        recusar("O Quorvel 2009-2010 deve ser executado da maquina Servidor.");

    if (!ArquivoExiste(arquivo2009)) {
        operador_.FocarPasta2009();
        recusar(ArquivoNaoEncontrado(arquivo2009));
    }
    const auto linhas = LerLinhas(arquivo2009);
    if (!linhas || linhas->empty())
        throw Erro(linhas ? "List index out of bounds (0)" : "Cannot open file \"" + arquivo2009 + "\"");
    Bases.DB_2009.SetDatabaseName(Aparar(linhas->front()));

    Conectar(Bases.DB_Adm, Bases.Transaction_Adm, operador_, "N\xE3o foi poss\xEDvel conectar com a BaseAdm 2010.");
    Conectar(Bases.DB_Audio, Bases.Transaction_Audio, operador_,
             "N\xE3o foi poss\xEDvel conectar com a BaseAudio 2010.");
    Conectar(Bases.DB_2009, Bases.Transaction_2009, operador_,
             "N\xE3o foi poss\xEDvel conectar com a Base de Dados 2009.");
}

}  // namespace quorvel
