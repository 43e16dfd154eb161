#include "design/TextBlock.h"

#include "design/KitWidget.h"

#include <QEvent>
#include <QFontMetricsF>
#include <QPainter>
#include <QTextLayout>

#include <cmath>

namespace design {

namespace {

// Lays the text out in lines of `width`; returns the height they take.
qreal layOut(QTextLayout& layout, qreal width, Qt::Alignment alignment = Qt::AlignLeft) {
    QTextOption option;
    option.setWrapMode(QTextOption::WrapAtWordBoundaryOrAnywhere);
    option.setAlignment(alignment);
    layout.setTextOption(option);
    layout.beginLayout();
    qreal height = 0;
    for (QTextLine line = layout.createLine(); line.isValid(); line = layout.createLine()) {
        line.setLineWidth(std::max<qreal>(width, 1));
        line.setPosition(QPointF(0, height));
        height += line.height();
    }
    layout.endLayout();
    return height;
}

int whole(qreal length) {
    return static_cast<int>(std::ceil(length - 0.01));
}

}  // namespace

TextBlock::TextBlock(const QString& text, const QFont& font, Tint color, QWidget* parent)
    : QWidget(parent), m_text(text), m_color(color) {
    setFont(font);
    QSizePolicy policy(QSizePolicy::Preferred, QSizePolicy::Preferred);
    policy.setHeightForWidth(true);
    setSizePolicy(policy);
    setAccessibleRole(this, QAccessible::StaticText);
    setAccessibleName(text);
    followAppearance(this);
}

void TextBlock::setText(const QString& text) {
    m_text = text;
    setAccessibleName(text);
    updateGeometry();
    update();
}

void TextBlock::setColor(Tint color) {
    m_color = color;
    update();
}

void TextBlock::setAlignment(Qt::Alignment alignment) {
    m_alignment = alignment;
    update();
}

qreal TextBlock::heightFor(const QString& text, const QFont& font, qreal width) {
    if (text.isEmpty())
        return QFontMetricsF(font).height();
    QTextLayout layout(text, font);
    return layOut(layout, width);
}

void TextBlock::paint(QPainter& painter, const QRectF& rect, const QString& text, const QFont& font,
                      const QColor& color, Qt::Alignment alignment) {
    QTextLayout layout(text, font);
    layOut(layout, rect.width(), alignment);
    painter.save();
    painter.setPen(color);
    layout.draw(&painter, rect.topLeft());
    painter.restore();
}

QSize TextBlock::sizeHint() const {
    // Unwrapped: one line as long as the text.
    const QFontMetricsF metrics(font());
    return QSize(whole(metrics.horizontalAdvance(m_text)), whole(metrics.height()));
}

QSize TextBlock::minimumSizeHint() const {
    return QSize(0, whole(QFontMetricsF(font()).height()));
}

int TextBlock::heightForWidth(int width) const {
    return whole(heightFor(m_text, font(), width));
}

void TextBlock::paintEvent(QPaintEvent*) {
    QPainter painter(this);
    paint(painter, QRectF(rect()), m_text, font(), m_color.resolve(), m_alignment);
}

void TextBlock::changeEvent(QEvent* event) {
    if (event->type() == QEvent::FontChange)
        updateGeometry();
    QWidget::changeEvent(event);
}

}  // namespace design
