#include "design/widgets/Tilt.h"

#include "design/values/Theme.h"

#include <QPainter>

#include <cmath>
#include <numbers>

namespace design {

qreal effectiveTilt(qreal degrees) {
    return Theme::appearance().reduceMotion ? 0.0 : degrees;
}

void odTilt(QPainter& painter, const QRectF& rect, qreal degrees) {
    const qreal angle = effectiveTilt(degrees);
    if (angle == 0.0)
        return;
    const QPointF centre = rect.center();
    painter.translate(centre);
    painter.rotate(angle);
    painter.translate(-centre);
}

QMarginsF tiltOutset(const QSizeF& size, qreal degrees) {
    const qreal radians = std::fabs(degrees) * std::numbers::pi / 180.0;
    const qreal c = std::fabs(std::cos(radians));
    const qreal s = std::fabs(std::sin(radians));
    const qreal width = size.width() * c + size.height() * s;
    const qreal height = size.width() * s + size.height() * c;
    const qreal dx = std::max(0.0, (width - size.width()) / 2);
    const qreal dy = std::max(0.0, (height - size.height()) / 2);
    return QMarginsF(dx, dy, dx, dy);
}

}  // namespace design
