#include "design/widgets/TextBlock.h"

#include "design/widgets/KitWidget.h"

#include <QEvent>
#include <QFontMetricsF>
#include <QPainter>
#include <QTextLayout>

#include <cmath>

namespace design {

namespace {

// Lays the text out in lines of `width`, at most `maximumLines` of them when
// that is above 0; returns the height they take and whether text was left over.
struct Laid {
    qreal height = 0;
    bool cut = false;
};
Laid layOut(QTextLayout& layout, qreal width, Qt::Alignment alignment = Qt::AlignLeft, int maximumLines = 0) {
    QTextOption option;
    option.setWrapMode(QTextOption::WrapAtWordBoundaryOrAnywhere);
    option.setAlignment(alignment);
    layout.setTextOption(option);
    layout.beginLayout();
    Laid laid;
    for (QTextLine line = layout.createLine(); line.isValid(); line = layout.createLine()) {
        if (maximumLines > 0 && layout.lineCount() > maximumLines) {
            laid.cut = true;
            break;
        }
        line.setLineWidth(std::max<qreal>(width, 1));
        line.setPosition(QPointF(0, laid.height));
        laid.height += line.height();
    }
    layout.endLayout();
    return laid;
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

void TextBlock::setMaximumLines(int lines) {
    m_maximumLines = lines;
    updateGeometry();
    update();
}

qreal TextBlock::heightFor(const QString& text, const QFont& font, qreal width, int maximumLines) {
    if (text.isEmpty())
        return QFontMetricsF(font).height();
    QTextLayout layout(text, font);
    return layOut(layout, width, Qt::AlignLeft, maximumLines).height;
}

void TextBlock::paint(QPainter& painter, const QRectF& rect, const QString& text, const QFont& font,
                      const QColor& color, Qt::Alignment alignment, int maximumLines) {
    QTextLayout layout(text, font);
    const Laid laid = layOut(layout, rect.width(), alignment, maximumLines);
    painter.save();
    painter.setPen(color);
    if (!laid.cut) {
        layout.draw(&painter, rect.topLeft());
        painter.restore();
        return;
    }
    // The lines before the last as laid out; the last holds the rest of the text, cut.
    const int shown = maximumLines - 1;
    for (int index = 0; index < shown; ++index)
        layout.lineAt(index).draw(&painter, rect.topLeft());
    const QTextLine last = layout.lineAt(shown);
    const QString rest = text.mid(last.textStart()).simplified();
    const QString cut = QFontMetricsF(font).elidedText(rest, Qt::ElideRight, rect.width());
    painter.setFont(font);
    painter.drawText(QRectF(rect.left(), rect.top() + last.y(), rect.width(), last.height()),
                     static_cast<int>(alignment | Qt::AlignTop | Qt::TextSingleLine), cut);
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
    return whole(heightFor(m_text, font(), width, m_maximumLines));
}

void TextBlock::paintEvent(QPaintEvent*) {
    QPainter painter(this);
    paint(painter, QRectF(rect()), m_text, font(), m_color.resolve(), m_alignment, m_maximumLines);
}

void TextBlock::changeEvent(QEvent* event) {
    if (event->type() == QEvent::FontChange)
        updateGeometry();
    QWidget::changeEvent(event);
}

}  // namespace design
