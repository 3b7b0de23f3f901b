// The run's report: where it goes, its heading, and its end.
#include <ctime>

#include "app/nucleo/checkpoint.h"
#include "app/nucleo/nucleo.h"
#include "migration/relatorio_texto.h"
#include "platform/arquivos.h"
#include "platform/caminhos.h"

namespace quorvel {

std::string NucleoQuorvel::CaminhoNovoRelatorio() const {
    const std::string pasta = ExtrairCaminho(Estado.ArquivoSeq);
    const std::string nome = NomeArquivoRelatorio(static_cast<int64_t>(std::time(nullptr)));
    // Two runs within one second: the second report gets a number.
    std::string caminho = pasta + nome;
    for (int n = 2; ArquivoExiste(caminho) || ArquivoExiste(caminho + ".parcial"); ++n)
        caminho = pasta + nome.substr(0, nome.size() - 4) + " (" + std::to_string(n) + ").txt";
    return caminho;
}

void NucleoQuorvel::AbrirRelatorio() {
    const std::string caminho = arquivoRelatorio_.empty() ? CaminhoNovoRelatorio() : arquivoRelatorio_;
    // The folder, also of a path typed with slashes (--relatorio /tmp/r.txt).
    const size_t barra = caminho.find_last_of("\\/");
    const std::string pasta = barra == std::string::npos ? std::string() : caminho.substr(0, barra + 1);
    if (!pasta.empty() && !PastaExiste(pasta)) CriarPasta(pasta);

    relatorio_.Abrir(caminho, CabecalhoRelatorio("Quorvel 2009-2010: relat\xF3rio da atualiza\xE7\xE3o"));
}

std::vector<std::string> NucleoQuorvel::CabecalhoRelatorio(const std::string& titulo) {
    std::string tabelas;
    for (int i = 0; i < QuantidadeTabelas; ++i) {
        if (!operador_.TabelaMarcada(i)) continue;
        if (!tabelas.empty()) tabelas += ", ";
        tabelas += SequenciaMigradores[i].legenda;
    }
    std::vector<std::string> cabecalho = {
        titulo,
        "In\xED" "cio: " + DataHoraTexto(static_cast<int64_t>(std::time(nullptr))),
        "Pasta 2009: " + operador_.Pasta2009(),
        "Pasta 2010: " + operador_.Pasta2010(),
        "Tabelas: " + (tabelas.empty() ? std::string("nenhuma") : tabelas),
    };
    if (!Estado.SeqCodigo.empty() && IndiceDaTabela(Estado.SeqTabela) >= 0)
        cabecalho.push_back("Continua\xE7\xE3o: " + Estado.SeqTabela + " a partir do c\xF3" "digo " + Estado.SeqCodigo);
    return cabecalho;
}

void NucleoQuorvel::EncerrarRelatorio(const std::string& desfecho) {
    if (!relatorio_.Aberto()) return;
    ultimoRelatorio_ = relatorio_.Encerrar(desfecho);
    operador_.MostrarRelatorio(ultimoRelatorio_);
}

}  // namespace quorvel
