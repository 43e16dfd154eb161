#include "design/widgets/PlainTextButton.h"

#include <QFontMetricsF>
#include <QPainter>

#include <cmath>

namespace design {

PlainTextButton::PlainTextButton(const QString& title, const QFont& font, Tint color, QWidget* parent)
    : PlainButton(Shape::rounded(4), parent), m_color(color) {
    setText(title);
    setFont(font);
    setAccessibleName(title);
}

QSize PlainTextButton::sizeHint() const {
    const QFontMetricsF metrics(font());
    return QSize(static_cast<int>(std::ceil(metrics.horizontalAdvance(text()))),
                 static_cast<int>(std::ceil(metrics.height())));
}

void PlainTextButton::paintEvent(QPaintEvent*) {
    QPainter painter(this);
    beginPaint(painter);
    painter.setPen(m_color.resolve());
    painter.setFont(font());
    painter.drawText(rect(), Qt::AlignCenter | Qt::TextSingleLine, text());
}

}  // namespace design
