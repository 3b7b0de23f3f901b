#include "app/janela/led_bicolor.h"

#include <QPainter>
#include <QRadialGradient>

namespace quorvel {

LedBicolor::LedBicolor(QWidget* pai) : QWidget(pai) {
    setAttribute(Qt::WA_TranslucentBackground);
    setAutoFillBackground(false);
    resize(sizeHint());
}

void LedBicolor::setEstado(Estado estado) {
    if (estado_ == estado) return;
    estado_ = estado;
    update();
}

QColor LedBicolor::cor() const {
    switch (estado_) {
        case Estado::Estado0: return QColor::fromRgba(CorEstado0);
        case Estado::Estado1: return QColor::fromRgba(CorEstado1);
        case Estado::Apagado: break;
    }
    return QColor::fromRgba(CorApagado);
}

void LedBicolor::paintEvent(QPaintEvent*) {
    QPainter pintor(this);
    pintor.setRenderHint(QPainter::Antialiasing);
    const int lado = qMin(width(), height()) - 2;
    const QRectF circulo((width() - lado) / 2.0, (height() - lado) / 2.0, lado, lado);
    const QColor base = cor();
    // A small highlight up and left gives the lamp its round look; the rim stays the base colour
    // darkened, so the state is read from the colour alone.
    QRadialGradient brilho(circulo.center() - QPointF(lado / 6.0, lado / 6.0), lado / 1.4);
    brilho.setColorAt(0.0, base.lighter(160));
    brilho.setColorAt(0.45, base);
    brilho.setColorAt(1.0, base.darker(140));
    pintor.setPen(QPen(base.darker(200), 1));
    pintor.setBrush(brilho);
    pintor.drawEllipse(circulo);
}

}  // namespace quorvel
