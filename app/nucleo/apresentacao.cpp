#include "app/nucleo/apresentacao.h"

namespace quorvel {

std::string TextoInformacaoAtual(const QuadroProgresso& quadro) {
    return "Tabela: " + quadro.tabelaAtual + "\rTotal de registros: " + std::to_string(quadro.maximoAtual) +
           "\rRegistro atual: " + std::to_string(quadro.registroAtual);
}

std::string TextoInformacaoGeral(const QuadroProgresso& quadro) {
    return "Progresso Geral\rTotal de registros: " + std::to_string(quadro.totalGeral) +
           "\rRegistro atual: " + std::to_string(quadro.registroGeral);
}

std::string TextoDlgAbrirPasta(const std::string& versao) {
    return "Brivona Rovozozi\r\rSelecione a pasta da Vers\xE3o " + versao;
}

int EsquerdaLedVersao(int larguraExterna, int larguraRotulo) {
    // Integer division rounds toward zero, as the placement asks.
    return (larguraExterna - (larguraRotulo + DistanciaLedRotulo)) / 2;
}

}  // namespace quorvel
