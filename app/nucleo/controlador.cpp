// The run controller: starting and continuing a run on the interface thread, the worker that
// runs the migrators, and the end of a run.
#include <exception>

#include "app/nucleo/checkpoint.h"
#include "app/nucleo/nucleo.h"
#include "platform/erros.h"
#include "platform/texto.h"

namespace quorvel {

void NucleoQuorvel::Atualizar() {
    // One worker at a time: a start while the previous one still exists changes nothing.
    if (trabalhadorAtivo_) return;
    LerSequencia(Estado);
    if (!Estado.SeqCodigo.empty() &&
        !operador_.Perguntar(TituloPergunta,
                             "J\xE1 existe um processo iniciado. Deseja recome\xE7" "ar todo o processo de atualiza\xE7\xE3o?"))
        throw AbortoSilencioso();
    Estado.CommitSolicitado = false;
    Estado.Interrompido = false;
    Estado.ParadaGravada = false;
    ConectarBases();
    Estado.RegistroGeral = 0;
    CalcularTotalGeral();
    MaximoProgressoGeral = Estado.TotalGeral;
    AtualizarProgresso();
    MostrarEstado(EstadoControles::Executando);
    AbrirRelatorio();
    try {
        IniciarTrabalhador();
    } catch (const std::exception& e) {
        EncerrarRelatorio(e.what());
        throw;
    }
}

void NucleoQuorvel::Continuar() {
    if (trabalhadorAtivo_) return;
    LerSequencia(Estado);
    AjustarCaixasAoCheckpoint();
    Atualizar();
}

void NucleoQuorvel::AjustarCaixasAoCheckpoint() {
    const int indice = IndiceDaTabela(Estado.SeqTabela);
    if (indice >= 0) {
        for (int i = 0; i < indice; ++i) operador_.MarcarTabela(i, false);
        operador_.MarcarTabela(indice, true);
    }
}

void NucleoQuorvel::IniciarTrabalhador() {
    if (trabalhador_.joinable()) trabalhador_.join();  // the previous worker has ended
    resultado_ = ResultadoExecucao::Nenhum;
    trabalhadorAtivo_ = true;
    try {
        trabalhador_ = std::thread([this] {
            ExecutarSequencia();
            trabalhadorAtivo_ = false;
            trabalhadorAtivo_.notify_all();
        });
    } catch (...) {
        trabalhadorAtivo_ = false;
        MostrarEstado(EstadoControles::Ocioso);
        throw;
    }
}

void NucleoQuorvel::AguardarTrabalhador() {
    if (trabalhador_.joinable() && trabalhador_.get_id() != std::this_thread::get_id()) trabalhador_.join();
}

// A stop ends the sequence once a table has honoured it, with the checkpoint where the run
// continues. Asked for after a table's last row, it has not been: the tables that follow start,
// and the first row copied honours it (a checkpoint left from a commit earlier in the finished
// table would otherwise send a resume back over rows already copied).
void NucleoQuorvel::AtualizarTabelas() {
    tabelasConcluidas_.fill(false);
    for (int i = 0; i < QuantidadeTabelas && !Estado.ParadaGravada; ++i) {
        const bool marcada = operador_.TabelaMarcada(i);
        (this->*Migradores[static_cast<size_t>(i)])();
        tabelasConcluidas_[i] = marcada && !Estado.ParadaGravada;
    }
}

// A run that copied every checked table leaves nothing to resume: a checkpoint written by a
// commit during it, or the one it resumed, would send a continuation back over a finished table
// (and the play log's would fail, its column of old codes being gone). When the file cannot be
// written the run is not reported as a success: the operator is told why.
bool NucleoQuorvel::EsvaziarCheckpoint(std::string& desfecho) {
    try {
        EsvaziarSequenciaConcluida(Estado.ArquivoSeq, [this](const std::string& tabela) {
            const int indice = IndiceDaTabela(tabela);
            return indice >= 0 && tabelasConcluidas_[static_cast<size_t>(indice)];
        });
        return true;
    } catch (const std::exception& e) {
        desfecho = std::string("Atualiza\xE7\xE3o encerrada pelo erro: ") + e.what();
        operador_.Mensagem(TituloQuorvel, e.what(), TipoMensagem::Erro);
        MostrarEstado(EstadoControles::Ocioso);
        return false;
    }
}

void NucleoQuorvel::ExecutarSequencia() {
    bool erro = false;
    // How the run ended, in the report's summary.
    std::string desfecho;
    try {
        try {
            AtualizarTabelas();
        } catch (const AbortoSilencioso&) {
            erro = true;
            desfecho = "Atualiza\xE7\xE3o encerrada ap\xF3s a mensagem: " + ultimaMensagem_;
            MostrarEstado(EstadoControles::Ocioso);
        } catch (const std::exception& e) {
            erro = true;
            desfecho = std::string("Atualiza\xE7\xE3o encerrada pelo erro: ") + e.what();
            operador_.Mensagem(TituloQuorvel, e.what(), TipoMensagem::Erro);
            MostrarEstado(EstadoControles::Ocioso);
        }
        // After an error the window is idle already; no closing message claims a success. A
        // stop asked for after the last table's last row found nothing left to stop.
        if (Estado.ParadaGravada || (erro && Estado.Interrompido)) {
            MostrarEstado(EstadoControles::Parado);
            operador_.Mensagem(TituloQuorvel, "Atualiza\xE7\xE3o foi interrompida.", TipoMensagem::Aviso);
            if (desfecho.empty()) desfecho = "Atualiza\xE7\xE3o foi interrompida.";
            resultado_ = erro ? ResultadoExecucao::Erro : ResultadoExecucao::Interrompida;
        } else if (!erro && EsvaziarCheckpoint(desfecho)) {
            MostrarEstado(EstadoControles::Ocioso);
            operador_.Mensagem(TituloQuorvel, "Atualiza\xE7\xE3o realizada com sucesso.", TipoMensagem::Informacao);
            desfecho = "Atualiza\xE7\xE3o realizada com sucesso.";
            resultado_ = ResultadoExecucao::Sucesso;
        } else {
            resultado_ = ResultadoExecucao::Erro;
        }
        Estado.TabelaAtual.clear();
        Estado.RegistroGeral = 0;
        Estado.TotalGeral = 0;
        Estado.RegistroAtual = 0;
        MaximoProgressoAtual = 0;
        MaximoProgressoGeral = 0;
        AtualizarProgresso();
    } catch (const std::exception& e) {
        // Whatever escapes the end of the run itself is still told to the operator.
        resultado_ = ResultadoExecucao::Erro;
        if (desfecho.empty()) desfecho = std::string("Atualiza\xE7\xE3o encerrada pelo erro: ") + e.what();
        operador_.Mensagem(TituloQuorvel, e.what(), TipoMensagem::Erro);
    }
    try {
        EncerrarRelatorio(desfecho);
    } catch (const std::exception&) {
    }
}

}  // namespace quorvel
