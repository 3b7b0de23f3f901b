#pragma once
// A label of the progress group: a few lines of text that a run rewrites after every copied row,
// where usually only a counter changes. Setting the text asks for no painting itself; it tells
// which part of the parent must be painted for the change to show: the band of the lines that
// changed, or the label's old and new places when the text's size changed. Only then is the
// label sized again (fixed to its text, so that a new text never lays out its parent).
#include <QLabel>
#include <QRegion>
#include <QString>
#include <vector>

namespace quorvel {

class RotuloProgresso : public QLabel {
    Q_OBJECT
public:
    // A left-aligned label keeps its left edge at `x`; a right-aligned one keeps its right edge at
    // `x` (the edge's first pixel outside the label).
    RotuloProgresso(const char* nome, const QString& texto, const QFont& fonte, Qt::Alignment alinhamento, int x,
                    int y, QWidget* pai);

    // Sets the text; returns what of the parent must be painted (parent's coordinates).
    QRegion DefinirTexto(const QString& texto);

protected:
    void changeEvent(QEvent* evento) override;

private:
    struct Linha {
        QString texto;
        qreal avanco = 0;  // the natural width of the line
    };
    void Dimensionar();

    // The band of line `i` that covers the ink of `antes` and `depois` from their character
    // `inicio` on (label's coordinates, the whole width of the label).
    QRect Faixa(int i, const QString& antes, const QString& depois, int inicio) const;

    bool direita_;
    int x_;
    std::vector<Linha> linhas_;

};

}  // namespace quorvel
