#include "design/widgets/PlainKeycapButton.h"

#include "design/widgets/Keycap.h"
#include "design/widgets/ODFont.h"
#include "design/widgets/Painting.h"

#include <QFontMetricsF>
#include <QPainter>

#include <algorithm>
#include <cmath>

namespace design {

namespace {

QFont titleFont() {
    return ODFont::body(12, FontWeight::medium);
}

}  // namespace

PlainKeycapButton::PlainKeycapButton(const QString& keycap, const QString& title, QWidget* parent)
    : PlainButton(Shape::rounded(5), parent), m_keycap(keycap) {
    setText(title);
    setAccessibleName(title.isEmpty() ? keycap : title);
    setSizePolicy(QSizePolicy::Fixed, QSizePolicy::Fixed);
}

QSize PlainKeycapButton::sizeHint() const {
    const QSizeF cap = Keycap::sizeFor(m_keycap);
    qreal width = cap.width();
    qreal height = cap.height();
    if (!text().isEmpty()) {
        const QFontMetricsF metrics(titleFont());
        width += kSpacing + metrics.horizontalAdvance(text());
        height = std::max(height, metrics.height());
    }
    return QSize(static_cast<int>(std::ceil(width)), static_cast<int>(std::ceil(height)));
}

void PlainKeycapButton::paintEvent(QPaintEvent*) {
    QPainter painter(this);
    beginPaint(painter);
    const QSizeF cap = Keycap::sizeFor(m_keycap);
    Keycap::paint(painter, QRectF(QPointF(0, (height() - cap.height()) / 2), cap), m_keycap);
    if (text().isEmpty())
        return;
    painter.setFont(titleFont());
    painter.setPen(toQColor(Theme::text2()));
    const qreal left = cap.width() + kSpacing;
    painter.drawText(QRectF(left, 0, width() - left, height()), Qt::AlignLeft | Qt::AlignVCenter | Qt::TextSingleLine,
                     text());
}

}  // namespace design
