#pragma once
// A two-colour indicator lamp: State0 lit red, State1 lit green, grey when neither is lit.
// It paints only the lamp itself; around it the parent's background shows through.
#include <QColor>
#include <QWidget>

namespace quorvel {

class LedBicolor : public QWidget {
    Q_OBJECT
public:
    enum class Estado { Apagado, Estado0, Estado1 };

    static constexpr QRgb CorEstado0 = 0xFFFF0000;  // red
    static constexpr QRgb CorEstado1 = 0xFF00FF00;  // green
    static constexpr QRgb CorApagado = 0xFF808080;  // grey

    explicit LedBicolor(QWidget* pai = nullptr);

    Estado estado() const { return estado_; }
    void setEstado(Estado estado);
    // The colour the lamp shows in its present state.
    QColor cor() const;

    QSize sizeHint() const override { return {17, 17}; }

protected:
    void paintEvent(QPaintEvent* evento) override;

private:
    Estado estado_ = Estado::Apagado;
};

}  // namespace quorvel
