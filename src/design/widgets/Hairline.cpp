#include "design/widgets/Hairline.h"

#include "design/widgets/KitWidget.h"
#include "design/widgets/Painting.h"

#include <QPainter>

namespace design {

Hairline::Hairline(Qt::Orientation orientation, QWidget* parent) : QWidget(parent) {
    if (orientation == Qt::Horizontal) {
        setFixedHeight(1);
        setSizePolicy(QSizePolicy::Expanding, QSizePolicy::Fixed);
    } else {
        setFixedWidth(1);
        setSizePolicy(QSizePolicy::Fixed, QSizePolicy::Expanding);
    }
    setAccessibleRole(this, QAccessible::Separator);
    followAppearance(this);
}

QSize Hairline::sizeHint() const {
    // One pixel across; the layout gives the length.
    return QSize(1, 1);
}

void Hairline::paint(QPainter& painter, const QRectF& rect) {
    painter.fillRect(rect, toQColor(Theme::line()));
}

void Hairline::paintEvent(QPaintEvent*) {
    QPainter painter(this);
    paint(painter, QRectF(rect()));
}

}  // namespace design
