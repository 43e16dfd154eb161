#include "design/widgets/PlainButton.h"

#include "design/widgets/FocusRing.h"
#include "design/widgets/KitWidget.h"
#include "design/widgets/Symbols.h"

#include <QKeyEvent>
#include <QPainter>

namespace design {

PlainButton::PlainButton(Shape focusShape, QWidget* parent) : QAbstractButton(parent) {
    setCursor(Qt::PointingHandCursor);
    setFocusPolicy(Qt::TabFocus);
    followAppearance(this);
    odFocusRing(this, focusShape);
}

void PlainButton::beginPaint(QPainter& painter) const {
    painter.setRenderHint(QPainter::Antialiasing);
    if (isDown())
        painter.setOpacity(kPressedOpacity);
}

void PlainButton::keyPressEvent(QKeyEvent* event) {
    if (!clickOnReturn(this, event))
        QAbstractButton::keyPressEvent(event);
}

SymbolTile::SymbolTile(Look look, QWidget* parent) : QWidget(parent), m_look(std::move(look)) {
    odSquare(this, m_look.side);
    setAccessibleRole(this, QAccessible::NoRole);
    followAppearance(this);
}

void SymbolTile::paintEvent(QPaintEvent*) {
    QPainter painter(this);
    painter.setRenderHint(QPainter::Antialiasing);
    const QRectF tile = odSquare(QRectF(rect()), m_look.side);
    Shape::rounded(m_look.cornerRadius).fill(painter, tile, m_look.fill.resolve());
    Symbols::paint(painter, tile, m_look.symbol, m_look.tint.resolve(), m_look.symbolSize, m_look.weight);
}

}  // namespace design
