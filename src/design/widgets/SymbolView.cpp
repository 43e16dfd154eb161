#include "design/widgets/SymbolView.h"

#include "design/widgets/KitWidget.h"
#include "design/widgets/Symbols.h"

#include <QPainter>

#include <cmath>

namespace design {

SymbolView::SymbolView(const QString& name, qreal size, FontWeight weight, Tint color, QWidget* parent)
    : QWidget(parent), m_name(name), m_size(size), m_weight(weight), m_color(color) {
    const int side = static_cast<int>(std::ceil(Symbols::boxSide(size)));
    setFixedSize(side, side);
    setAccessibleRole(this, QAccessible::Graphic);
    followAppearance(this);
}

void SymbolView::setName(const QString& name) {
    m_name = name;
    update();
}

void SymbolView::setColor(Tint color) {
    m_color = color;
    update();
}

QSize SymbolView::sizeHint() const {
    const int side = static_cast<int>(std::ceil(Symbols::boxSide(m_size)));
    return QSize(side, side);
}

void SymbolView::paintEvent(QPaintEvent*) {
    QPainter painter(this);
    painter.setRenderHint(QPainter::Antialiasing);
    Symbols::paint(painter, QRectF(rect()), m_name, m_color.resolve(), m_size, m_weight);
}

}  // namespace design
