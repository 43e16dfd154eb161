#include "shell/PopoverGeometry.h"

#include <algorithm>
#include <cmath>

namespace app::popover {

double panelHeight(double contentHeight, double maxContentHeight) {
    return std::min(maxContentHeight, std::max(kMinContentHeight, std::ceil(contentHeight)));
}

bool needsResize(QSizeF current, double height) {
    return std::abs(current.height() - height) > kTolerance || std::abs(current.width() - kPanelWidth) > kTolerance;
}

Placement place(QRectF anchor, QRectF visible, QSizeF size, std::optional<double> keepLeft) {
    Placement placement;
    const bool trayAtBottom = anchor.center().y() > visible.center().y();
    double top = 0;
    double room = 0;
    if (trayAtBottom) {
        const double bottom = std::min(anchor.top(), visible.bottom()) - kGap;
        top = bottom - size.height();
        room = bottom - (visible.top() + kMargin);
    } else {
        top = std::max(anchor.bottom(), visible.top()) + kGap;
        room = visible.bottom() - kMargin - top;
    }
    if (visible.height() > 0 && room + kMargin > 0)
        placement.maxContentHeight = std::max(kLowestMaxContentHeight, std::min(kMaxContentHeight, room));

    double x = std::max(anchor.center().x() - size.width() / 2, visible.left() + kMargin);
    if (keepLeft)
        x = *keepLeft;
    else
        x = std::min(visible.right() - size.width() - kMargin, x);
    placement.topLeft = QPointF(x, top);
    return placement;
}

QRectF cornerAnchor(QRectF visible) {
    return QRectF(visible.right(), visible.top(), 0, 0);
}

double anchorX(std::optional<QRectF> anchor, QRectF panelFrame) {
    if (!anchor)
        return panelFrame.width() / 2;
    return std::clamp(anchor->center().x() - panelFrame.left(), 0.0, panelFrame.width());
}

}  // namespace app::popover
