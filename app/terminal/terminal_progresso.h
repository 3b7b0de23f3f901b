#pragma once
// The progress display of a run without the window. On a terminal it is a block of two lines
// redrawn in place (the current table and the whole run, each with a bar, the counters and the
// time left; the run's line also with the rows per second); elsewhere (a file, a pipe) it is one
// plain line every few seconds and whenever a new table begins.
//
// The core refreshes the progress after every copied row, so Mostrar does almost nothing on
// most calls: it keeps the frame and returns unless it is time to draw.
#include <cstdint>
#include <deque>
#include <functional>
#include <optional>
#include <string>
#include <string_view>
#include <utility>
#include <vector>

#include "app/nucleo/operador.h"

namespace quorvel {

// Rows per second over the last few seconds of a run.
class MedidorTaxa {
public:
    explicit MedidorTaxa(double janelaSegundos = 5.0) : janela_(janelaSegundos) {}
    // A reading of the run's row counter at a time in seconds. A counter that goes back (a new
    // run) starts the measure afresh.
    void Amostrar(double segundos, int64_t registros);
    // Rows per second, once the readings span some time.
    std::optional<double> Taxa() const;
    void Reiniciar() { amostras_.clear(); }

private:
    double janela_;
    std::deque<std::pair<double, int64_t>> amostras_;
};

// "H:MM:SS" for a number of seconds (rounded up); "--:--:--" when unknown.
std::string TextoTempo(std::optional<double> segundos);
// Seconds left for `restantes` rows at `taxa` rows per second; none without a positive rate.
std::optional<double> TempoRestante(int64_t restantes, std::optional<double> taxa);
// A bar of exactly `largura` characters, brackets included: "[#####-----]". A position beyond
// the maximum shows a full bar; a maximum of 0 an empty one.
std::string BarraProgresso(int64_t atual, int64_t maximo, int largura);

// The two lines of the terminal display, each at most `largura` - 1 characters.
std::vector<std::string> LinhasProgresso(const QuadroProgresso& quadro, std::optional<double> taxa, int largura);
// The single line written when the output is not a terminal.
std::string LinhaProgresso(const QuadroProgresso& quadro, std::optional<double> taxa);

class PainelProgresso {
public:
    using Escrita = std::function<void(std::string_view)>;
    using Largura = std::function<int()>;

    // `vivo`: redraw in place on a terminal of width `largura()`; otherwise plain lines.
    PainelProgresso(bool vivo, Escrita escrever, Largura largura);

    // A progress frame at time `agora` (seconds of a steady clock).
    void Mostrar(const QuadroProgresso& quadro, double agora);
    // Before anything else is written to the same screen: the latest frame is drawn in full and
    // left above what follows (plain output: printed when it was not yet).
    void Fixar(double agora);

    // How often each display is refreshed, in seconds.
    static constexpr double IntervaloVivo = 0.1;
    static constexpr double IntervaloLinhas = 2.0;

private:
    void Desenhar(double agora);
    void EscreverLinha(double agora);
    QuadroProgresso ParaMostrar() const;

    bool vivo_;
    Escrita escrever_;
    Largura largura_;
    MedidorTaxa taxa_;

    QuadroProgresso ultimo_;        // the latest frame shown to us
    bool temQuadro_ = false;        // whether ultimo_ holds a frame of a run
    bool pendente_ = false;         // ultimo_ has not been drawn or printed yet
    int linhasNaTela_ = 0;          // lines of the live block now on the screen
    double proximo_ = 0;            // time of the next refresh
    std::string tabelaEscrita_;     // the table of the latest plain line
    std::string tabelaConcluida_;   // the latest table whose rows were all copied
};

}  // namespace quorvel
