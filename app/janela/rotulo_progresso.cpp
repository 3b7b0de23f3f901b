#include "app/janela/rotulo_progresso.h"

#include <QEvent>
#include <QFontMetricsF>
#include <algorithm>
#include <cmath>

#include "app/janela/sem_pedir_pintura.h"

namespace quorvel {

namespace {

std::vector<QString> Linhas(const QString& texto) {
    std::vector<QString> linhas;
    for (const auto& parte : texto.split(QLatin1Char('\n'))) linhas.push_back(parte);
    return linhas;
}

qreal MaiorAvanco(const auto& linhas) {
    qreal maior = 0;
    for (const auto& l : linhas) maior = std::max(maior, l.avanco);
    return maior;
}

}  // namespace

RotuloProgresso::RotuloProgresso(const char* nome, const QString& texto, const QFont& fonte,
                                 Qt::Alignment alinhamento, int x, int y, QWidget* pai)
    : QLabel(pai), direita_(alinhamento.testFlag(Qt::AlignRight)), x_(x) {
    setObjectName(nome);
    setTextFormat(Qt::PlainText);
    setFont(fonte);
    setAlignment(alinhamento | Qt::AlignTop);
    move(x, y);
    DefinirTexto(texto);
}

void RotuloProgresso::changeEvent(QEvent* evento) {
    QLabel::changeEvent(evento);
    if (evento->type() == QEvent::FontChange && !linhas_.empty()) {
        // Every line is measured again; the label takes its new size.
        const QString texto = text();
        linhas_.clear();
        DefinirTexto(texto);
    }
}

void RotuloProgresso::Dimensionar() {
    const QSize tamanho = sizeHint();
    setFixedSize(tamanho);
    move(direita_ ? x_ - tamanho.width() : x_, y());
}

QRect RotuloProgresso::Faixa(int i, const QString& antes, const QString& depois, int inicio) const {
    const QFontMetricsF metricas(font());
    const QRectF tinta =
        metricas.tightBoundingRect(antes.mid(inicio)).united(metricas.tightBoundingRect(depois.mid(inicio)));
    // Lines follow one another at the font's line spacing; each baseline is an ascent below the
    // line's top. A pixel of margin above and below absorbs the rounding of positions.
    const QRect conteudo = contentsRect();
    const qreal linhaBase = conteudo.top() + i * metricas.lineSpacing() + metricas.ascent();
    const int topo = static_cast<int>(std::floor(linhaBase + tinta.top())) - 1;
    const int base = static_cast<int>(std::ceil(linhaBase + tinta.bottom())) + 1;
    return QRect(0, topo, width(), base - topo).intersected(rect());
}

QRegion RotuloProgresso::DefinirTexto(const QString& texto) {
    if (texto == text() && !linhas_.empty()) return {};
    const std::vector<QString> novas = Linhas(texto);
    const QFontMetricsF metricas(font());
    std::vector<Linha> linhas(novas.size());
    for (size_t i = 0; i < novas.size(); ++i) {
        linhas[i].texto = novas[i];
        linhas[i].avanco = i < linhas_.size() && linhas_[i].texto == novas[i] ? linhas_[i].avanco
                                                                             : metricas.horizontalAdvance(novas[i]);
    }
    SemPedirPintura(this, [&] { setText(texto); });

    // A text of another size: the label is sized again, and painted whole at both places.
    if (linhas.size() != linhas_.size() || MaiorAvanco(linhas) != MaiorAvanco(linhas_)) {
        const QRect antes = geometry();
        linhas_ = std::move(linhas);
        Dimensionar();
        return QRegion(antes).united(geometry());
    }

    // Otherwise only the lines that changed, from their first changed character on (less one,
    // for a pair of letters drawn closer together). A right-aligned line whose width changed
    // moves whole.
    QRegion regiao;
    for (size_t i = 0; i < linhas.size(); ++i) {
        const QString& antes = linhas_[i].texto;
        const QString& depois = linhas[i].texto;
        if (antes == depois) continue;
        int inicio = 0;
        if (!direita_ || linhas[i].avanco == linhas_[i].avanco) {
            const auto n = std::min(antes.size(), depois.size());
            while (inicio < n && antes[inicio] == depois[inicio]) ++inicio;
            inicio = std::max(0, inicio - 1);
        }
        regiao += Faixa(static_cast<int>(i), antes, depois, inicio).translated(pos());
    }
    linhas_ = std::move(linhas);
    return regiao;
}

}  // namespace quorvel
