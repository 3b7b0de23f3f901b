// Counting the rows a run will copy, and the progress refresh.
#include "app/nucleo/checkpoint.h"
#include "app/nucleo/nucleo.h"
#include "platform/texto.h"

namespace quorvel {

void NucleoQuorvel::CalcularTotalGeral() {
    Estado.TotalGeral = 0;
    for (int i = 0; i < QuantidadeTabelas; ++i) {
        if (!operador_.TabelaMarcada(i)) continue;
        const auto& entrada = SequenciaMigradores[i];
        const bool retomada = MaiusculasAscii(Estado.SeqTabela) == entrada.tabela;
        Estado.TotalGeral += ContarRegistros(entrada.tabela, retomada ? entrada.colunaChave : "");
    }
}

int32_t NucleoQuorvel::ContarRegistros(const std::string& tabela, const std::string& colunaChave) {
    std::string texto = "SELECT COUNT(*) TOTAL FROM " + tabela;
    if (!colunaChave.empty())
        texto += " WHERE " + colunaChave + " >= " + ValidarCodigoSequencia(Estado.ArquivoSeq, Estado.SeqCodigo);
    TIBQuery contagem(&Bases.DB_2009);
    contagem.SetTransaction(&Bases.Transaction_2009);
    contagem.SQL.SetText(texto);
    contagem.Open();
    return contagem.FieldByName("TOTAL").AsInteger();
}

void NucleoQuorvel::AtualizarProgresso() {
    QuadroProgresso quadro;
    quadro.tabelaAtual = Estado.TabelaAtual;
    quadro.registroAtual = Estado.RegistroAtual;
    quadro.maximoAtual = MaximoProgressoAtual;
    quadro.registroGeral = Estado.RegistroGeral;
    quadro.totalGeral = MaximoProgressoGeral;
    operador_.MostrarProgresso(quadro);
}

}  // namespace quorvel
