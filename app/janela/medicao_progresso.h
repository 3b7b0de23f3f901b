#pragma once
// Where the time of the window's progress refreshes goes, for the benchmark: sums in seconds
// over the refreshes measured.

namespace quorvel {

struct MedicaoProgresso {
    long long refrescos = 0;  // refreshes handed over by the worker
    double entrega = 0;       // from the worker's call until the window's thread takes it up
    double definicao = 0;     // setting the widgets
    double pintura = 0;       // painting and flushing to the screen (one call of the toolkit's)
    double retorno = 0;       // from the end of the refresh until the worker goes on
    double cpuJanela = 0;     // processor time of the window's thread in the refreshes

    // Drawing alone (the same widgets and region drawn into an image), timed on a sample of the
    // refreshes that painted.
    long long pinturas = 0;   // refreshes that painted something
    long long amostras = 0;
    double desenhoAmostras = 0;

    // The drawing part of all refreshes, and the flushing part: what the window's buffer and the
    // X server add to the drawing (waiting for the server to have read the previous picture,
    // sending the new one).
    double Desenho() const { return amostras ? desenhoAmostras / amostras * pinturas : 0; }
    double Descarga() const { return pintura - Desenho(); }
};

}  // namespace quorvel
