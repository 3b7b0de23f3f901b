#pragma once
// Where the time of the window's progress refreshes goes, for the benchmark: sums in seconds
// over the refreshes measured.

namespace quorvel {

struct MedicaoProgresso {
    long long refrescos = 0;  // refreshes handed over by the worker
    double entrega = 0;       // from the worker's call until the window's thread takes it up
    double definicao = 0;     // setting the widgets
    double pintura = 0;       // painting and flushing to the screen
    double retorno = 0;       // from the end of the refresh until the worker goes on
    double cpuJanela = 0;     // processor time of the window's thread in the refreshes

    // Flushing alone, timed again on a sample of the refreshes that painted.
    long long pinturas = 0;   // refreshes that painted something
    long long amostrasDescarga = 0;
    double descargaAmostras = 0;

    // The flushing part of all refreshes, and the painting part without it.
    double Descarga() const { return amostrasDescarga ? descargaAmostras / amostrasDescarga * pinturas : 0; }
    double PinturaSemDescarga() const { return pintura - Descarga(); }
};

}  // namespace quorvel
