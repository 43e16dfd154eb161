#include "design/widgets/TextLine.h"

#include "design/widgets/KitWidget.h"
#include "design/widgets/Painting.h"

#include <QEvent>
#include <QFontMetricsF>
#include <QPainter>

#include <cmath>

namespace design {

TextLine::TextLine(const QString& text, const QFont& font, Tint color, QWidget* parent)
    : QWidget(parent), m_text(text), m_color(color) {
    setFont(font);
    setSizePolicy(QSizePolicy::Preferred, QSizePolicy::Fixed);
    setAccessibleRole(this, QAccessible::StaticText);
    setAccessibleName(text);
    followAppearance(this);
}

void TextLine::setText(const QString& text) {
    m_text = text;
    setAccessibleName(text);
    updateGeometry();
    update();
}

void TextLine::setColor(Tint color) {
    m_color = color;
    update();
}

void TextLine::setTracking(qreal tracking) {
    QFont tracked = font();
    tracked.setLetterSpacing(QFont::AbsoluteSpacing, tracking);
    setFont(tracked);
}

void TextLine::setElideMode(Qt::TextElideMode mode) {
    m_elideMode = mode;
    update();
}

QSize TextLine::sizeHint() const {
    const QFontMetricsF metrics(font());
    return QSize(static_cast<int>(std::ceil(metrics.horizontalAdvance(m_text))),
                 static_cast<int>(std::ceil(metrics.height())));
}

QSize TextLine::minimumSizeHint() const {
    return QSize(0, sizeHint().height());
}

void TextLine::changeEvent(QEvent* event) {
    if (event->type() == QEvent::FontChange)
        updateGeometry();
    QWidget::changeEvent(event);
}

void TextLine::paintEvent(QPaintEvent*) {
    QPainter painter(this);
    const QFontMetricsF metrics(font());
    painter.setPen(m_color.resolve());
    painter.drawText(QRectF(rect()), Qt::AlignLeft | Qt::AlignVCenter | Qt::TextSingleLine,
                     metrics.elidedText(m_text, m_elideMode, width()));
}

}  // namespace design
