#include "app/janela/grupo_progresso.h"

#include <QPaintEvent>
#include <QStyle>
#include <QStyleOptionGroupBox>
#include <algorithm>

namespace quorvel {

QRect GrupoProgresso::Interior() const {
    if (style()->name().compare(QLatin1String("windows"), Qt::CaseInsensitive) != 0 || autoFillBackground()) return {};
    QStyleOptionGroupBox opcao;
    initStyleOption(&opcao);
    const QRect moldura = style()->subControlRect(QStyle::CC_GroupBox, &opcao, QStyle::SC_GroupBoxFrame, this);
    const QRect titulo = style()->subControlRect(QStyle::CC_GroupBox, &opcao, QStyle::SC_GroupBoxLabel, this);
    // The frame's lines are two pixels wide; a pixel more keeps clear of them.
    QRect interior = moldura.adjusted(3, 3, -3, -3);
    interior.setTop(std::max(interior.top(), titulo.bottom() + 2));
    return interior;
}

void GrupoProgresso::paintEvent(QPaintEvent* evento) {
    if (Interior().contains(evento->rect())) return;
    QGroupBox::paintEvent(evento);
}

}  // namespace quorvel
