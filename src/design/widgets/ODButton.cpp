#include "design/widgets/ODButton.h"

#include "design/widgets/FocusRing.h"
#include "design/widgets/KitWidget.h"
#include "design/widgets/ODFont.h"
#include "design/widgets/Symbols.h"

#include <QFontMetricsF>
#include <QKeyEvent>
#include <QPainter>

#include <cmath>

namespace design {

namespace {

// Between the symbol and the title.
constexpr qreal kLabelSpacing = 6;

QSize ceilSize(const QSizeF& size) {
    return QSize(static_cast<int>(std::ceil(size.width() - 0.01)), static_cast<int>(std::ceil(size.height() - 0.01)));
}

}  // namespace

qreal ODButtonStyle::labelFontSize() const {
    switch (m_size) {
        case ODButtonSize::small:
            return 11;
        case ODButtonSize::medium:
            return 13;
        case ODButtonSize::large:
            return 15;
    }
    return 13;
}

qreal ODButtonStyle::iconFontSize() const {
    // 10, 12 and 14: a pixel under the title, so the symbol does not outweigh it.
    return labelFontSize() - 1;
}

QFont ODButtonStyle::labelFont() const {
    return ODFont::body(labelFontSize(), FontWeight::semibold);
}

QMarginsF ODButtonStyle::padding() const {
    switch (m_size) {
        case ODButtonSize::small:
            return QMarginsF(10, 5, 10, 5);
        case ODButtonSize::medium:
            return QMarginsF(14, 7, 14, 7);
        case ODButtonSize::large:
            return QMarginsF(20, 10, 20, 10);
    }
    return QMarginsF(14, 7, 14, 7);
}

QColor ODButtonStyle::labelColor() const {
    switch (m_kind) {
        case ODButtonKind::primary:
            return toQColor(Theme::onAccent());
        case ODButtonKind::secondary:
        case ODButtonKind::ghost:
            return toQColor(Theme::text());
        case ODButtonKind::danger:
            return toQColor(Theme::flame());
    }
    return toQColor(Theme::text());
}

QColor ODButtonStyle::background(bool pressed) const {
    switch (m_kind) {
        case ODButtonKind::primary:
            return toQColor(pressed ? Theme::primaryPressed() : Theme::primary());
        case ODButtonKind::secondary:
            return toQColor(pressed ? Theme::fillSoft() : Theme::card());
        case ODButtonKind::ghost:
            return toQColor(pressed ? Theme::menuItem() : Theme::fillSoft());
        case ODButtonKind::danger: {
            const core::Color soft = Theme::flameSoft().resolve();
            return toQColor(pressed ? soft.withAlpha(std::min(1.0, soft.alphaF() * 1.6)) : soft);
        }
    }
    return Qt::transparent;
}

QColor ODButtonStyle::borderColor() const {
    return m_kind == ODButtonKind::secondary ? toQColor(Theme::strokeStrong()) : QColor(Qt::transparent);
}

qreal ODButtonStyle::borderWidth() const {
    return m_kind == ODButtonKind::secondary ? 1 : 0;
}

QSizeF ODButtonStyle::sizeFor(const QSizeF& labelSize) const {
    const QMarginsF pad = padding();
    return QSizeF(labelSize.width() + pad.left() + pad.right(), labelSize.height() + pad.top() + pad.bottom());
}

QRectF ODButtonStyle::paintChrome(QPainter& painter, const QRectF& rect, bool pressed) const {
    const Shape capsule = Shape::capsule();
    capsule.fill(painter, rect, background(pressed));
    capsule.strokeBorder(painter, rect, borderColor(), borderWidth());
    return rect.marginsRemoved(padding());
}

ODStyledButton::ODStyledButton(ODButtonStyle style, QWidget* parent) : QAbstractButton(parent), m_style(style) {
    // Reached by Tab, never by a click: clicking a button leaves the focus where
    // it was, in a text field for instance.
    setFocusPolicy(Qt::TabFocus);
    setSizePolicy(QSizePolicy::Fixed, QSizePolicy::Fixed);
    followAppearance(this);
    odFocusRing(this, Shape::capsule());
}

void ODStyledButton::setButtonStyle(ODButtonStyle style) {
    m_style = style;
    labelChanged();
}

void ODStyledButton::setFullWidth(bool fullWidth) {
    m_fullWidth = fullWidth;
    setSizePolicy(fullWidth ? QSizePolicy::Expanding : QSizePolicy::Fixed, QSizePolicy::Fixed);
    updateGeometry();
}

void ODStyledButton::labelChanged() {
    updateGeometry();
    update();
}

QSize ODStyledButton::sizeHint() const {
    return ceilSize(m_style.sizeFor(labelSize()));
}

QSize ODStyledButton::minimumSizeHint() const {
    // A squeezed button shortens its title rather than its padding.
    const QMarginsF pad = m_style.padding();
    return QSize(static_cast<int>(std::ceil(pad.left() + pad.right() + labelSize().height())), sizeHint().height());
}

void ODStyledButton::paintEvent(QPaintEvent*) {
    QPainter painter(this);
    painter.setRenderHint(QPainter::Antialiasing);
    painter.setOpacity(m_opacity * (isEnabled() ? 1.0 : ODButtonStyle::kDisabledOpacity));
    const QRectF labelRect = m_style.paintChrome(painter, QRectF(rect()), isDown());
    paintLabel(painter, labelRect, m_style.labelColor());
}

void ODStyledButton::setOpacity(qreal opacity) {
    if (qFuzzyCompare(opacity, m_opacity))
        return;
    m_opacity = opacity;
    update();
}

void ODStyledButton::keyPressEvent(QKeyEvent* event) {
    if (clickOnReturn(this, event))
        return;
    QAbstractButton::keyPressEvent(event);
}

ODButton::ODButton(const QString& title, std::optional<QString> icon, ODButtonKind kind, ODButtonSize size,
                   bool fullWidth, QWidget* parent)
    : ODStyledButton(ODButtonStyle(kind, size), parent), m_title(title), m_icon(std::move(icon)) {
    setFullWidth(fullWidth);
    updateAccessibleName();
}

void ODButton::setTitle(const QString& title) {
    m_title = title;
    updateAccessibleName();
    labelChanged();
}

void ODButton::setIcon(std::optional<QString> icon) {
    m_icon = std::move(icon);
    updateAccessibleName();
    labelChanged();
}

void ODButton::updateAccessibleName() {
    // The title is what the button says; a symbol-only button is known by its symbol.
    setAccessibleName(!m_title.isEmpty() ? m_title : m_icon.value_or(QString()));
}

QSizeF ODButton::measureLabel(const ODButtonStyle& style, const QString& title, const std::optional<QString>& icon) {
    qreal width = 0;
    qreal height = 0;
    if (icon) {
        const qreal side = Symbols::boxSide(style.iconFontSize());
        width += side;
        height = side;
    }
    if (!title.isEmpty()) {
        const QFontMetricsF metrics(style.labelFont());
        if (icon)
            width += kLabelSpacing;
        width += metrics.horizontalAdvance(title);
        height = std::max(height, metrics.height());
    }
    return QSizeF(width, height);
}

void ODButton::drawLabel(QPainter& painter, const QRectF& rect, const ODButtonStyle& style, const QString& title,
                         const std::optional<QString>& icon, const QColor& color) {
    const QSizeF natural = measureLabel(style, title, icon);
    const qreal width = std::min(natural.width(), rect.width());
    const qreal start = rect.center().x() - width / 2;
    qreal x = start;
    if (icon) {
        const qreal side = Symbols::boxSide(style.iconFontSize());
        Symbols::paint(painter, QRectF(x, rect.top(), side, rect.height()), *icon, color, style.iconFontSize(),
                       FontWeight::semibold);
        x += side + (title.isEmpty() ? 0 : kLabelSpacing);
    }
    if (title.isEmpty())
        return;
    const QFont font = style.labelFont();
    const QFontMetricsF metrics(font);
    const qreal available = start + width - x;
    const QString shown = metrics.elidedText(title, Qt::ElideRight, available);
    painter.save();
    painter.setFont(font);
    painter.setPen(color);
    painter.drawText(QRectF(x, rect.top(), available + 1, rect.height()), Qt::AlignLeft | Qt::AlignVCenter, shown);
    painter.restore();
}

QSizeF ODButton::labelSize() const {
    return measureLabel(buttonStyle(), m_title, m_icon);
}

void ODButton::paintLabel(QPainter& painter, const QRectF& labelRect, const QColor& color) const {
    drawLabel(painter, labelRect, buttonStyle(), m_title, m_icon, color);
}

}  // namespace design
