#include "app/janela/barra_progresso.h"

#include <QEvent>
#include <QStyle>
#include <QStyleOptionProgressBar>
#include <algorithm>

#include "app/janela/sem_pedir_pintura.h"

namespace quorvel {

BarraProgresso::BarraProgresso(const char* nome, const QRect& geometria, QWidget* pai) : QProgressBar(pai) {
    setObjectName(nome);
    setGeometry(geometria);
    setTextVisible(false);
    setFocusPolicy(Qt::TabFocus);
    Definir(100, 0);
}

void BarraProgresso::changeEvent(QEvent* evento) {
    QProgressBar::changeEvent(evento);
    if (evento->type() == QEvent::StyleChange) largura_ = -1;
}

void BarraProgresso::resizeEvent(QResizeEvent* evento) {
    QProgressBar::resizeEvent(evento);
    largura_ = -1;
}

int64_t BarraProgresso::Comprimento() {
    // The filled part of a smooth bar spans the contents' width in proportion to the position
    // (whole pixels, rounded down).
    if (largura_ < 0) {
        QStyleOptionProgressBar opcao;
        initStyleOption(&opcao);
        largura_ = style()->subElementRect(QStyle::SE_ProgressBarContents, &opcao, this).width();
    }
    const int64_t passos = std::max<int64_t>(1, int64_t{maximum()} - minimum());
    return (int64_t{value()} - minimum()) * largura_ / passos;
}

bool BarraProgresso::Definir(int maximo, int posicao) {
    int minimo = 0;
    if (maximo <= 0) {
        maximo = 1;
        posicao = posicao > 0 ? 1 : 0;
    } else {
        posicao = std::clamp(posicao, minimo, maximo);
    }
    SemPedirPintura(this, [&] {
        setRange(minimo, maximo);
        setValue(posicao);
    });
    const Desenho desenho{Comprimento(), posicao > minimo, posicao == maximo};
    if (desenho == desenho_) return false;
    desenho_ = desenho;
    return true;
}

}  // namespace quorvel
