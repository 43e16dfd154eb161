#include "design/widgets/SymbolButton.h"

#include "design/widgets/FocusRing.h"
#include "design/widgets/KitWidget.h"
#include "design/widgets/Symbols.h"

#include <QPainter>

#include <cmath>

namespace design {

SymbolButton::SymbolButton(const QString& systemName, qreal size, FontWeight weight, Tint color,
                           const QString& label, QWidget* parent)
    : QAbstractButton(parent), m_systemName(systemName), m_size(size), m_weight(weight), m_color(color) {
    setFocusPolicy(Qt::TabFocus);
    setSizePolicy(QSizePolicy::Fixed, QSizePolicy::Fixed);
    setCursor(Qt::PointingHandCursor);
    setAccessibleRole(this, QAccessible::Button);
    setAccessibleName(label);
    setToolTip(plainToolTip(label));
    followAppearance(this);
    odFocusRing(this, Shape::circle());
}

QSize SymbolButton::sizeHint() const {
    const int side = static_cast<int>(std::ceil(Symbols::boxSide(m_size)));
    return QSize(side, side);
}

void SymbolButton::paintEvent(QPaintEvent*) {
    QPainter painter(this);
    painter.setRenderHint(QPainter::Antialiasing);
    // Pressed, the symbol dims as a plain button's label does.
    painter.setOpacity(isDown() ? 0.6 : 1.0);
    Symbols::paint(painter, QRectF(rect()), m_systemName, m_color.resolve(), m_size, m_weight);
}

void SymbolButton::keyPressEvent(QKeyEvent* event) {
    if (clickOnReturn(this, event))
        return;
    QAbstractButton::keyPressEvent(event);
}

}  // namespace design
