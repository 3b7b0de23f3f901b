#pragma once
// A smooth progress bar of the progress group. A run sets it after every copied row, while what
// it draws (the length of its filled part, and whether it is full) changes at most once per pixel
// of its width: setting it asks for no painting itself and tells whether the drawing changed.
#include <QProgressBar>
#include <cstdint>

namespace quorvel {

class BarraProgresso : public QProgressBar {
    Q_OBJECT
public:
    BarraProgresso(const char* nome, const QRect& geometria, QWidget* pai);

    // Maximum and position as the run sets them. A Qt bar whose maximum equals its minimum shows
    // a busy animation: a maximum of 0 shows an empty bar instead, or a full one when rows were
    // counted beyond it. Positions beyond the maximum show a full bar. True when the drawing
    // changed: the caller paints the bar.
    bool Definir(int maximo, int posicao);

    // The pixels of the filled part, as a smooth bar draws it.
    int64_t Comprimento();

protected:
    void changeEvent(QEvent* evento) override;
    void resizeEvent(QResizeEvent* evento) override;

private:
    // What a smooth bar's drawing depends on: the filled length, whether anything is filled at all
    // (a bar started draws its filled part's frame even before it is a pixel long), and whether
    // it is full (an unfilled bar draws a shadow after its filled part).
    struct Desenho {
        int64_t comprimento = -1;
        bool iniciada = false;
        bool cheia = false;
        bool operator==(const Desenho&) const = default;
    };
    Desenho desenho_;
    int largura_ = -1;  // of the contents, as the style lays them out (-1: to measure)
};

}  // namespace quorvel
