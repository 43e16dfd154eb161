#include "design/widgets/SunkenFooter.h"

#include "design/widgets/Hairline.h"
#include "design/widgets/KitWidget.h"
#include "design/widgets/Painting.h"

#include <QHBoxLayout>
#include <QPainter>

namespace design {

SunkenFooter::SunkenFooter(int horizontalPadding, int verticalPadding, QWidget* parent)
    : QWidget(parent), m_row(new QHBoxLayout(this)) {
    m_row->setContentsMargins(horizontalPadding, verticalPadding, horizontalPadding, verticalPadding);
    followAppearance(this);
}

void SunkenFooter::paintEvent(QPaintEvent*) {
    QPainter painter(this);
    painter.fillRect(rect(), toQColor(Theme::surfaceSunk()));
    Hairline::paint(painter, QRectF(0, 0, width(), 1));
}

}  // namespace design
