#include "design/widgets/LinkButton.h"

#include "design/widgets/FocusRing.h"
#include "design/widgets/KitWidget.h"
#include "design/widgets/ODButton.h"
#include "design/widgets/ODFont.h"
#include "design/widgets/Symbols.h"

#include <QFontMetricsF>
#include <QPainter>

#include <cmath>

namespace design {

namespace {

constexpr qreal kIconGap = 3;
constexpr qreal kIconSize = 9;
// A plain button shows its press by fading.
constexpr qreal kPressedOpacity = 0.6;

QFont titleFont() {
    return ODFont::body(12, FontWeight::semibold);
}

}  // namespace

LinkButton::LinkButton(const QString& title, std::optional<QString> icon, QWidget* parent)
    : QAbstractButton(parent), m_title(title), m_icon(std::move(icon)) {
    setFocusPolicy(Qt::TabFocus);
    setSizePolicy(QSizePolicy::Fixed, QSizePolicy::Fixed);
    setCursor(Qt::PointingHandCursor);
    setAccessibleName(title);
    followAppearance(this);
    odFocusRing(this, Shape::rounded(3));
}

QSizeF LinkButton::sizeFor(const QString& title, const std::optional<QString>& icon) {
    const QFontMetricsF metrics(titleFont());
    qreal width = metrics.horizontalAdvance(title);
    if (icon)
        width += kIconGap + Symbols::boxSide(kIconSize);
    return QSizeF(width, metrics.height());
}

QSize LinkButton::sizeHint() const {
    const QSizeF size = sizeFor(m_title, m_icon);
    return QSize(static_cast<int>(std::ceil(size.width() - 0.01)), static_cast<int>(std::ceil(size.height() - 0.01)));
}

void LinkButton::paint(QPainter& painter, const QRectF& rect, const QString& title,
                       const std::optional<QString>& icon) {
    const QColor color = toQColor(Theme::sky());
    const QFont font = titleFont();
    const qreal iconRoom = icon ? kIconGap + Symbols::boxSide(kIconSize) : 0;
    const qreal textWidth = std::min(QFontMetricsF(font).horizontalAdvance(title), rect.width() - iconRoom);
    painter.save();
    painter.setFont(font);
    painter.setPen(color);
    painter.drawText(QRectF(rect.left(), rect.top(), textWidth + 0.5, rect.height()),
                     Qt::AlignLeft | Qt::AlignVCenter | Qt::TextSingleLine,
                     QFontMetricsF(font).elidedText(title, Qt::ElideRight, textWidth + 0.5));
    painter.restore();
    if (icon) {
        const qreal side = Symbols::boxSide(kIconSize);
        Symbols::paint(painter, QRectF(rect.left() + textWidth + kIconGap, rect.top(), side, rect.height()), *icon,
                       color, kIconSize, FontWeight::semibold);
    }
}

void LinkButton::paintEvent(QPaintEvent*) {
    QPainter painter(this);
    painter.setRenderHint(QPainter::Antialiasing);
    if (!isEnabled())
        painter.setOpacity(ODButtonStyle::kDisabledOpacity);
    else if (isDown())
        painter.setOpacity(kPressedOpacity);
    paint(painter, QRectF(rect()), m_title, m_icon);
}

void LinkButton::keyPressEvent(QKeyEvent* event) {
    if (clickOnReturn(this, event))
        return;
    QAbstractButton::keyPressEvent(event);
}

}  // namespace design
