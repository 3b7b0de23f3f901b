// The pre-flight check: a run's start, then the forecast of every checked table, read-only.
#include "app/nucleo/checkpoint.h"
#include "app/nucleo/nucleo.h"
#include "migration/codigo_antigo.h"
#include "migration/previsao.h"
#include "migration/relatorio_texto.h"
#include "migration/tabelas_diretas.h"
#include "music/previsao_musicas.h"
#include "platform/arquivos.h"
#include "platform/caminhos.h"

namespace quorvel {

namespace {

const char* const kImprevisivel =
    "N\xE3o se pode prever: gatilhos e restri\xE7\xF5" "es CHECK dos bancos 2010, espa\xE7o em disco, permiss\xF5" "es e "
    "falhas de c\xF3pia dos arquivos, arquivos de \xE1udio que os leitores n\xE3o consigam ler, e o que mudar nos "
    "bancos e nas pastas antes da atualiza\xE7\xE3o.";

// The three transactions read-only for as long as the check runs: a write the forecast might
// attempt by mistake is refused by the database itself. They are ended (nothing to keep) and
// get back their parameters at the end, also when the check ends by an error.
class SomenteLeitura {
public:
    explicit SomenteLeitura(BasesExecucao& b) : transacoes_{&b.Transaction_2009, &b.Transaction_Audio, &b.Transaction_Adm} {
        for (TIBTransaction* t : transacoes_) {
            if (t->Active()) t->Rollback();
            anteriores_.push_back(t->Params);
            t->Params.push_back("read");
        }
    }
    ~SomenteLeitura() {
        for (size_t i = 0; i < transacoes_.size(); ++i) {
            try {
                if (transacoes_[i]->Active()) transacoes_[i]->Rollback();
            } catch (const std::exception&) {
            }
            transacoes_[i]->Params = anteriores_[i];
        }
    }

private:
    std::vector<TIBTransaction*> transacoes_;
    std::vector<std::vector<std::string>> anteriores_;
};

}  // namespace

ResumoRelatorio NucleoQuorvel::Verificar(bool continuar, std::function<void(const std::string&)> eco) {
    // The start of a run, without its question: the check asks nothing and changes nothing; it
    // foresees what the run would do after a Yes (every checked table emptied and copied anew,
    // the checkpoint's table resumed from its code).
    LerSequencia(Estado);
    if (continuar) AjustarCaixasAoCheckpoint();
    ConectarBases();
    const SomenteLeitura somenteLeitura(Bases);

    RelatorioExecucao previsao(true);
    previsao.DefinirEco(std::move(eco));
    const std::string caminho = arquivoRelatorio_;
    if (!caminho.empty()) {
        const size_t barra = caminho.find_last_of("\\/");
        const std::string pasta = barra == std::string::npos ? std::string() : caminho.substr(0, barra + 1);
        if (!pasta.empty() && !PastaExiste(pasta)) CriarPasta(pasta);
    }
    previsao.Abrir(caminho, CabecalhoRelatorio("Quorvel 2009-2010: verifica\xE7\xE3o (previs\xE3o da atualiza\xE7\xE3o; "
                                               "nada foi gravado)"));
    if (!Estado.SeqCodigo.empty())
        previsao.Registrar(Ocorrencia::Observacao,
                           "Existe um processo iniciado: a atualiza\xE7\xE3o perguntaria se deve recome\xE7" "ar; "
                           "a previs\xE3o \xE9 a da resposta Sim.");
    previsao.Registrar(Ocorrencia::Observacao, kImprevisivel);

    PrevisaoExecucao p(previsao, Bases, Estado);
    p.pasta2010 = operador_.Pasta2010();
    p.musicasMarcadas = operador_.TabelaMarcada(5);
    p.colunaCodigoAntigo = ExisteCodigoAntigo(Bases);
    const int retomada = IndiceDaTabela(Estado.SeqTabela);
    if (retomada >= 0 && operador_.TabelaMarcada(retomada)) p.codigoRetomada = CodigoRetomada();

    for (const auto& e : SequenciaMigradores) {
        if (p.parou) break;
        if (!operador_.TabelaMarcada(e.numero - 1)) continue;
        const TabelaMigracao entrada{e.numero, e.tabela, e.colunaChave};
        const bool adm = e.numero == 1;
        for (const auto& gatilho : GatilhosDaTabela(adm ? Bases.DB_Adm : Bases.DB_Audio,
                                                    adm ? Bases.Transaction_Adm : Bases.Transaction_Audio, e.tabela))
            previsao.Registrar(Ocorrencia::Observacao, std::string(e.tabela) + " tem o gatilho " + gatilho +
                                                           ", cujo efeito n\xE3o se pode prever");
        switch (e.numero) {
            case 1: PreverCopia(p, entrada, DescricaoAgenda(), nullptr); break;
            case 2: PreverCopia(p, entrada, DescricaoAvancoManual(), nullptr); break;
            case 3: PreverCopia(p, entrada, DescricaoPerfilBotoes(), "pbo_codigo"); break;
            case 4: PreverCopia(p, entrada, DescricaoBotoneira(), nullptr); break;
            case 5: PreverCopia(p, entrada, DescricaoGenero(), "gen_codigo"); break;
            case 6: PreverMusicas(p, Bases.CadastroMusicas, entrada); break;
            case 7: PreverEcad(p, entrada); break;
            case 8: PreverCopia(p, entrada, DescricaoIrradiacao(), nullptr); break;
            case 9: PreverCopia(p, entrada, DescricaoProgAuto(), nullptr); break;
            case 10: PreverVinhetas(p, entrada); break;
        }
    }
    const int64_t falhas = previsao.Parcial().LinhasComFalha();
    const std::string desfecho =
        falhas == 0 ? std::string("Verifica\xE7\xE3o conclu\xED" "da: nenhum registro falharia.")
                    : "Verifica\xE7\xE3o conclu\xED" "da: " + std::to_string(falhas) + " registro(s) falhariam.";
    ResumoRelatorio resumo = previsao.Encerrar(desfecho);
    operador_.MostrarRelatorio(resumo);
    return resumo;
}

}  // namespace quorvel
