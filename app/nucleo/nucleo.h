#pragma once
// The core of the program: the run state, the databases of a run, the migrators and the run
// controller. It does not know Qt; a front end owns one and talks to it through the operator port.
#include <array>
#include <atomic>
#include <functional>
#include <memory>
#include <optional>
#include <string>
#include <thread>

#include "app/nucleo/operador.h"
#include "app/nucleo/sequencia.h"
#include "db/deteccao_servidor.h"
#include "migration/ambiente.h"
#include "migration/estado_execucao.h"
#include "migration/relatorio.h"
#include "music/bases_cadastro.h"

namespace quorvel {

// How the last run ended.
enum class ResultadoExecucao { Nenhum, Sucesso, Interrompida, Erro };

class NucleoQuorvel : public AmbienteMigracao {
public:
    explicit NucleoQuorvel(PortaOperador& operador);
    ~NucleoQuorvel() override;  // stops a running worker after its current row and waits for it
    NucleoQuorvel(const NucleoQuorvel&) = delete;
    NucleoQuorvel& operator=(const NucleoQuorvel&) = delete;

    EstadoExecucao Estado;

    // The databases of the 2009 installation and of the 2010 installation, with the datasets of
    // music registration: ConectarBases connects them, the migrators work on them.
    BasesComCadastro Bases;

    // The progress bars' maxima (the totals shown are read back from them).
    int MaximoProgressoAtual = 0;
    int MaximoProgressoGeral = 0;

    // Window creation: the checkpoint path from the program's folder (the user's state folder
    // for a program in a system folder, see PastaDeEstado), counters at zero.
    void DefinirPastaPrograma(const std::string& pasta);

    // The window's creation, for every window: the program folder as above, then the database
    // server's detection. Returns the version to show beside the lamp; nothing when detection
    // failed, its reason shown to the operator (the window then keeps its design-time texts and
    // states, "&Continuar processo" enabled).
    std::optional<VersaoDoServidor> CriarJanela(const std::string& pastaPrograma);

    // Runs an operator action: a silent abort is dropped, any other error is shown as the
    // standard error report. False when the action ended by an error or a silent abort.
    bool ExecutarAcao(const std::function<void()>& acao);

    // The operations a front end offers: start a run, continue the stopped one, stop the run after
    // its current row, commit what it has copied. Atualizar and Continuar raise errors and silent
    // aborts; ExecutarAcao shows them.
    void Atualizar();
    void Continuar();
    void Parar() { Estado.Interrompido = true; }
    void Commit() { Estado.CommitSolicitado = true; }
    void MarcarTabelas(bool marcar);

    // The pre-flight check: starts as a run starts (the same refusals), then foresees what a run
    // of the checked tables would meet, writing nothing (a report file only when one was chosen
    // with DefinirArquivoRelatorio). Every detail line goes to `eco` as it is found; the summary
    // goes to the operator as a run's does. `continuar`: as "&Continuar processo".
    ResumoRelatorio Verificar(bool continuar, std::function<void(const std::string&)> eco);

    // Installation discovery, server-machine check and connections. Virtual, as are the count
    // and the sequence, so that a front end can be tried against a run of stand-in migrators.
    virtual void ConectarBases();

    // Progress accounting.
    virtual void CalcularTotalGeral();
    int32_t ContarRegistros(const std::string& tabela, const std::string& colunaChave);
    void AtualizarProgresso() override;

    // Shows the state on the controls ("&Continuar processo" offered when idle with a checkpoint).
    void MostrarEstado(EstadoControles estado);

    // The worker: runs the migrators and the end of a run.
    bool TrabalhadorAtivo() const { return trabalhadorAtivo_; }
    void AguardarTrabalhador();  // waits until the worker has ended
    ResultadoExecucao UltimoResultado() const { return resultado_; }
    void ExecutarSequencia();
    virtual void AtualizarTabelas();

    // The ten migrators, in the order of the sequence (Migradores holds them in that order).
    using Migrador = void (NucleoQuorvel::*)();
    static const std::array<Migrador, QuantidadeTabelas> Migradores;
    void ConverterAgenda();
    void ConverterAvancoManual();
    void ConverterPerfilBotoes();
    void ConverterBotoneira();
    void ConverterGenero();
    void ConverterMusicas();
    void ConverterEcad();
    void ConverterIrradiacao();
    void ConverterProgAuto();
    void ConverterVinhetas();

    // What the migrations ask of the run.
    EstadoExecucao& EstadoRun() override { return Estado; }
    bool TabelaMarcada(int indice) override { return operador_.TabelaMarcada(indice); }
    void DefinirMaximoAtual(int maximo) override { MaximoProgressoAtual = maximo; }
    void Mensagem(const std::string& texto, TipoMensagem tipo) override;
    void GravarSequencia(const std::string& tabela, const std::string& codigo) override;
    std::string Pasta2010() override { return operador_.Pasta2010(); }
    std::string CodigoRetomada() override;
    RelatorioExecucao& Relatorio() override { return relatorio_; }

    // The run report's path (empty: a new file named after the start's date and time beside the
    // checkpoint file), and the summary of the last run's report.
    void DefinirArquivoRelatorio(const std::string& caminho) { arquivoRelatorio_ = caminho; }
    std::string CaminhoNovoRelatorio() const;
    const ResumoRelatorio& UltimoRelatorio() const { return ultimoRelatorio_; }

private:
    // The report of a run: opened when the worker is about to start, closed at the end of the run
    // with how it ended.
    void AbrirRelatorio();
    void AjustarCaixasAoCheckpoint();
    std::vector<std::string> CabecalhoRelatorio(const std::string& titulo);
    void EncerrarRelatorio(const std::string& desfecho);
    RelatorioExecucao relatorio_;
    std::string arquivoRelatorio_;
    ResumoRelatorio ultimoRelatorio_;
    std::string ultimaMensagem_;

    void IniciarTrabalhador();
    bool EsvaziarCheckpoint(std::string& desfecho);
    // The tables of the sequence that the last run copied to their end (by index).
    std::array<bool, QuantidadeTabelas> tabelasConcluidas_{};
    PortaOperador& operador_;
    std::thread trabalhador_;
    std::atomic<bool> trabalhadorAtivo_{false};
    std::atomic<ResultadoExecucao> resultado_{ResultadoExecucao::Nenhum};
};

}  // namespace quorvel
