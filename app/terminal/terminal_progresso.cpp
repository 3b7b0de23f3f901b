#include "app/terminal/terminal_progresso.h"

#include <algorithm>
#include <cmath>
#include <cstdio>

namespace quorvel {

void MedidorTaxa::Amostrar(double segundos, int64_t registros) {
    if (!amostras_.empty() && registros < amostras_.back().second) amostras_.clear();
    amostras_.emplace_back(segundos, registros);
    // Keep one reading at or before the start of the window, so the rate spans all of it.
    while (amostras_.size() > 2 && amostras_[1].first <= segundos - janela_) amostras_.pop_front();
}

std::optional<double> MedidorTaxa::Taxa() const {
    if (amostras_.size() < 2) return std::nullopt;
    const double intervalo = amostras_.back().first - amostras_.front().first;
    if (intervalo < 0.05) return std::nullopt;
    return static_cast<double>(amostras_.back().second - amostras_.front().second) / intervalo;
}

std::string TextoTempo(std::optional<double> segundos) {
    constexpr double limite = 1000.0 * 3600;  // beyond a thousand hours the estimate means nothing
    if (!segundos || !std::isfinite(*segundos) || *segundos < 0 || *segundos >= limite) return "--:--:--";
    const auto total = static_cast<long long>(std::ceil(*segundos));
    char texto[32];
    std::snprintf(texto, sizeof texto, "%lld:%02lld:%02lld", total / 3600, total / 60 % 60, total % 60);
    return texto;
}

std::optional<double> TempoRestante(int64_t restantes, std::optional<double> taxa) {
    if (restantes <= 0) return 0.0;
    if (!taxa || *taxa <= 0) return std::nullopt;
    return static_cast<double>(restantes) / *taxa;
}

std::string BarraProgresso(int64_t atual, int64_t maximo, int largura) {
    const int interior = std::max(0, largura - 2);
    int cheios = 0;
    if (maximo > 0 && atual > 0)
        cheios = atual >= maximo ? interior : static_cast<int>(static_cast<double>(atual) * interior / maximo);
    return "[" + std::string(cheios, '#') + std::string(interior - cheios, '-') + "]";
}

namespace {

std::string Alinhar(const std::string& texto, std::size_t largura, bool direita) {
    if (texto.size() >= largura) return texto;
    const std::string brancos(largura - texto.size(), ' ');
    return direita ? brancos + texto : texto + brancos;
}

std::string Porcentagem(int64_t atual, int64_t maximo) {
    if (maximo <= 0) return "    ";
    const int64_t p = std::min<int64_t>(100, atual * 100 / maximo);
    return Alinhar(std::to_string(p), 3, true) + "%";
}

std::string TextoTaxa(std::optional<double> taxa) {
    if (!taxa) return "-- reg/s";
    return std::to_string(std::llround(std::max(0.0, *taxa))) + " reg/s";
}

}  // namespace

std::vector<std::string> LinhasProgresso(const QuadroProgresso& q, std::optional<double> taxa, int largura) {
    const std::string nomeAtual = "Tabela: " + q.tabelaAtual;
    const std::string nomeGeral = "Progresso Geral";
    const std::size_t colunaNome = std::max<std::size_t>({nomeAtual.size(), nomeGeral.size(), 23});

    const int64_t maior = std::max({q.registroAtual, q.maximoAtual, q.registroGeral, q.totalGeral});
    const std::size_t digitos = std::to_string(std::max<int64_t>(0, maior)).size();
    auto contadores = [&](int64_t atual, int64_t maximo) {
        return Alinhar(std::to_string(atual), digitos, true) + "/" + Alinhar(std::to_string(maximo), digitos, false);
    };

    const std::string fimAtual = contadores(q.registroAtual, q.maximoAtual) + " " +
                                 Porcentagem(q.registroAtual, q.maximoAtual) + "  restam " +
                                 TextoTempo(TempoRestante(int64_t{q.maximoAtual} - q.registroAtual, taxa));
    const std::string fimGeral = contadores(q.registroGeral, q.totalGeral) + " " +
                                 Porcentagem(q.registroGeral, q.totalGeral) + "  restam " +
                                 TextoTempo(TempoRestante(int64_t{q.totalGeral} - q.registroGeral, taxa)) + "  " +
                                 TextoTaxa(taxa);

    // The bar takes what the terminal's width leaves; too narrow a terminal gets no bar.
    const int fixo = static_cast<int>(colunaNome + 2 + std::max(fimAtual.size(), fimGeral.size()));
    const int barra = std::min(42, largura - 1 - fixo);
    auto linha = [&](const std::string& nome, int64_t atual, int64_t maximo, const std::string& fim) {
        std::string texto = Alinhar(nome, colunaNome, false) + " ";
        if (barra >= 7) texto += BarraProgresso(atual, maximo, barra) + " ";
        texto += fim;
        if (largura > 1 && texto.size() > static_cast<std::size_t>(largura - 1)) texto.resize(largura - 1);
        return texto;
    };
    return {linha(nomeAtual, q.registroAtual, q.maximoAtual, fimAtual),
            linha(nomeGeral, q.registroGeral, q.totalGeral, fimGeral)};
}

std::string LinhaProgresso(const QuadroProgresso& q, std::optional<double> taxa) {
    return "Tabela: " + q.tabelaAtual + " " + std::to_string(q.registroAtual) + "/" + std::to_string(q.maximoAtual) +
           " | Progresso Geral " + std::to_string(q.registroGeral) + "/" + std::to_string(q.totalGeral) + " | " +
           TextoTaxa(taxa) + " | restam " +
           TextoTempo(TempoRestante(int64_t{q.totalGeral} - q.registroGeral, taxa));
}

PainelProgresso::PainelProgresso(bool vivo, Escrita escrever, Largura largura)
    : vivo_(vivo), escrever_(std::move(escrever)), largura_(std::move(largura)) {}

void PainelProgresso::Mostrar(const QuadroProgresso& q, double agora) {
    // A frame of nothing at all is the reset at the end of a run (or a run with nothing to do):
    // the display keeps the last frame that meant something.
    if (q.tabelaAtual.empty() && q.registroAtual == 0 && q.maximoAtual == 0 && q.registroGeral == 0 &&
        q.totalGeral == 0) {
        taxa_.Reiniciar();
        return;
    }
    ultimo_ = q;
    if (q.maximoAtual > 0 && q.registroAtual >= q.maximoAtual) tabelaConcluida_ = q.tabelaAtual;
    temQuadro_ = true;
    pendente_ = true;
    if (vivo_) {
        if (linhasNaTela_ == 0 || agora >= proximo_) Desenhar(agora);
    } else if (agora >= proximo_ || (!q.tabelaAtual.empty() && q.tabelaAtual != tabelaEscrita_)) {
        EscreverLinha(agora);
    }
}

void PainelProgresso::Fixar(double agora) {
    if (!temQuadro_) return;
    if (vivo_) {
        if (pendente_) Desenhar(agora);
        linhasNaTela_ = 0;  // the block stays where it is; the next one starts below what follows
    } else if (pendente_) {
        EscreverLinha(agora);
    }
}

// The migrators of unchecked tables refresh with the current row at 0 and the previous table's
// name and total: a table copied to its end keeps showing as complete.
QuadroProgresso PainelProgresso::ParaMostrar() const {
    QuadroProgresso q = ultimo_;
    if (q.registroAtual == 0 && !q.tabelaAtual.empty() && q.tabelaAtual == tabelaConcluida_)
        q.registroAtual = q.maximoAtual;
    return q;
}

void PainelProgresso::Desenhar(double agora) {
    taxa_.Amostrar(agora, ultimo_.registroGeral);
    const auto linhas = LinhasProgresso(ParaMostrar(), taxa_.Taxa(), largura_());
    std::string saida;
    if (linhasNaTela_ > 0) saida += "\x1b[" + std::to_string(linhasNaTela_) + "A";
    for (const auto& l : linhas) saida += "\r" + l + "\x1b[K\n";
    escrever_(saida);
    linhasNaTela_ = static_cast<int>(linhas.size());
    pendente_ = false;
    proximo_ = agora + IntervaloVivo;
}

void PainelProgresso::EscreverLinha(double agora) {
    taxa_.Amostrar(agora, ultimo_.registroGeral);
    escrever_(LinhaProgresso(ParaMostrar(), taxa_.Taxa()) + "\n");
    tabelaEscrita_ = ultimo_.tabelaAtual;
    pendente_ = false;
    proximo_ = agora + IntervaloLinhas;
}

}  // namespace quorvel
