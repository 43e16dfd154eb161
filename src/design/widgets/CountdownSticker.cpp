#include "design/widgets/CountdownSticker.h"

#include "design/widgets/KitWidget.h"
#include "design/widgets/ODFont.h"
#include "design/widgets/Painting.h"
#include "design/widgets/Tilt.h"

#include <QFontMetricsF>
#include <QPainter>

#include <cmath>

namespace design {

namespace {

constexpr qreal kHorizontalPadding = 8;
constexpr qreal kVerticalPadding = 3;
constexpr qreal kBorderWidth = 1.2;

QFont stickerFont() {
    return ODFont::body(12, FontWeight::bold);
}

QMargins roomForTilt(const QSizeF& capsule, qreal tilt) {
    const QMarginsF outset = tiltOutset(capsule, tilt);
    const int dx = static_cast<int>(std::ceil(outset.left()));
    const int dy = static_cast<int>(std::ceil(outset.top()));
    return QMargins(dx, dy, dx, dy);
}

}  // namespace

CountdownSticker::CountdownSticker(const QString& text, qreal tilt, QWidget* parent)
    : QWidget(parent), m_text(text), m_tilt(tilt) {
    setSizePolicy(QSizePolicy::Fixed, QSizePolicy::Fixed);
    setAccessibleRole(this, QAccessible::StaticText);
    setAccessibleName(accessibleLabel(text));
    followAppearance(this);
}

void CountdownSticker::setText(const QString& text) {
    m_text = text;
    setAccessibleName(accessibleLabel(text));
    updateGeometry();
    update();
}

QString CountdownSticker::accessibleLabel(const QString& text) {
    if (text.startsWith(QLatin1String("in ")))
        return QStringLiteral("Starts ") + text;
    return text;
}

QSizeF CountdownSticker::capsuleSize(const QString& text) {
    const QFontMetricsF metrics(stickerFont());
    return QSizeF(metrics.horizontalAdvance(text) + 2 * kHorizontalPadding, metrics.height() + 2 * kVerticalPadding);
}

QSize CountdownSticker::sizeHint() const {
    const QSizeF capsule = capsuleSize(m_text);
    const QSize whole(static_cast<int>(std::ceil(capsule.width())), static_cast<int>(std::ceil(capsule.height())));
    return whole.grownBy(roomForTilt(capsule, m_tilt));
}

void CountdownSticker::paint(QPainter& painter, const QRectF& capsuleRect, const QString& text, qreal tilt) {
    painter.save();
    painter.setRenderHint(QPainter::Antialiasing);
    odTilt(painter, capsuleRect, tilt);
    const Shape capsule = Shape::capsule();
    capsule.fill(painter, capsuleRect, toQColor(Theme::card()));
    capsule.strokeBorder(painter, capsuleRect, toQColor(Theme::text()), kBorderWidth);
    painter.setFont(stickerFont());
    painter.setPen(toQColor(Theme::text()));
    painter.drawText(capsuleRect, Qt::AlignCenter | Qt::TextSingleLine, text);
    painter.restore();
}

void CountdownSticker::paintEvent(QPaintEvent*) {
    QPainter painter(this);
    const QSizeF capsule = capsuleSize(m_text);
    paint(painter, QRectF(QPointF(0, 0), capsule).translated(QRectF(rect()).center() - QPointF(capsule.width() / 2, capsule.height() / 2)),
          m_text, m_tilt);
}

}  // namespace design
