#pragma once
// The box of the progress group. In the classic style a group box draws only its frame and its
// caption, at its edges; inside, the window's background shows. A progress refresh paints bands
// inside the box after every row: for those the box skips the style's drawing of the frame and
// caption, which would all be clipped away.
#include <QGroupBox>

namespace quorvel {

class GrupoProgresso : public QGroupBox {
    Q_OBJECT
public:
    GrupoProgresso(const QString& titulo, QWidget* pai) : QGroupBox(titulo, pai) {}

protected:
    void paintEvent(QPaintEvent* evento) override;

private:
    // Where the box draws nothing: inside its frame, below its caption (empty when the style is
    // not known to leave it so).
    QRect Interior() const;
};

}  // namespace quorvel
