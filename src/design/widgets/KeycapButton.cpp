#include "design/widgets/KeycapButton.h"

#include "design/widgets/Keycap.h"

namespace design {

namespace {

constexpr qreal kKeycapGap = 6;

QSizeF keycapSize(const ODButtonStyle& style, const QString& keycap, std::optional<qreal> accentPadding) {
    if (style.kind() != ODButtonKind::primary)
        return Keycap::sizeFor(keycap);
    return accentPadding ? AccentKeycap::sizeFor(keycap, *accentPadding) : AccentKeycap::sizeFor(keycap);
}

}  // namespace

KeycapButton::KeycapButton(const QString& title, std::optional<QString> icon, const QString& keycap,
                           ODButtonKind kind, ODButtonSize size, bool fullWidth, QWidget* parent)
    : ODStyledButton(ODButtonStyle(kind, size), parent), m_title(title), m_icon(std::move(icon)), m_keycap(keycap) {
    setFullWidth(fullWidth);
    setAccessibleName(title);
}

void KeycapButton::setTitle(const QString& title) {
    if (title == m_title)
        return;
    m_title = title;
    setAccessibleName(title);
    labelChanged();
}

void KeycapButton::setAccentKeycapPadding(std::optional<qreal> horizontal) {
    m_accentKeycapPadding = horizontal;
    labelChanged();
}

QSizeF KeycapButton::measureLabel(const ODButtonStyle& style, const QString& title,
                                  const std::optional<QString>& icon, const QString& keycap,
                                  std::optional<qreal> accentKeycapPadding) {
    const QSizeF text = ODButton::measureLabel(style, title, icon);
    const QSizeF key = keycapSize(style, keycap, accentKeycapPadding);
    const qreal gap = text.width() > 0 ? kKeycapGap : 0;
    return QSizeF(text.width() + gap + key.width(), std::max(text.height(), key.height()));
}

void KeycapButton::drawLabel(QPainter& painter, const QRectF& rect, const ODButtonStyle& style, const QString& title,
                             const std::optional<QString>& icon, const QString& keycap, const QColor& color,
                             std::optional<qreal> accentKeycapPadding) {
    // Centred as a whole; a squeezed button shortens its title, never the key.
    const QSizeF natural = measureLabel(style, title, icon, keycap, accentKeycapPadding);
    const QSizeF key = keycapSize(style, keycap, accentKeycapPadding);
    const qreal width = std::min(natural.width(), rect.width());
    const qreal left = rect.center().x() - width / 2;
    const qreal textWidth = std::max<qreal>(0, width - key.width() - (natural.width() > key.width() ? kKeycapGap : 0));
    if (textWidth > 0) {
        const QSizeF text = ODButton::measureLabel(style, title, icon);
        // drawLabel centres what it is given: give it a box as wide as its part.
        ODButton::drawLabel(painter, QRectF(left, rect.top(), std::min(textWidth, text.width()), rect.height()), style,
                            title, icon, color);
    }
    const QRectF keyRect(left + width - key.width(), rect.center().y() - key.height() / 2, key.width(), key.height());
    if (style.kind() == ODButtonKind::primary)
        AccentKeycap::paint(painter, keyRect, keycap);
    else
        Keycap::paint(painter, keyRect, keycap);
}

QSizeF KeycapButton::labelSize() const {
    return measureLabel(buttonStyle(), m_title, m_icon, m_keycap, m_accentKeycapPadding);
}

void KeycapButton::paintLabel(QPainter& painter, const QRectF& labelRect, const QColor& color) const {
    drawLabel(painter, labelRect, buttonStyle(), m_title, m_icon, m_keycap, color, m_accentKeycapPadding);
}

}  // namespace design
