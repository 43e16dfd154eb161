#include "design/SunkenFooter.h"

#include "design/Hairline.h"
#include "design/KitWidget.h"
#include "design/Painting.h"

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
