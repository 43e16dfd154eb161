#include "alerts/CardPlacement.h"

#include <algorithm>

namespace alerts {

QPointF cardTopLeft(std::optional<QRectF> anchor, QRectF visible, QSizeF size) {
    double x = visible.right() - size.width() - kCardCornerMargin;
    if (anchor) {
        x = std::max(anchor->center().x() - size.width() / 2, visible.left() + kCardMargin);
        x = std::min(x, visible.right() - size.width() - kCardMargin);
    }
    const bool trayAtBottom = anchor && anchor->center().y() > visible.center().y();
    const double y = trayAtBottom ? visible.bottom() - size.height() - kCardMargin : visible.top() + kCardMargin;
    return QPointF(x, y);
}

}  // namespace alerts
