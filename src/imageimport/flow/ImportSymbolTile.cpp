#include "imageimport/flow/ImportSymbolTile.h"

#include "design/KitWidget.h"
#include "design/Symbols.h"

#include <QPainter>

namespace imageimport {

ImportSymbolTile::ImportSymbolTile(QString symbol, Look look, design::Tint tint, design::Tint tile, QWidget* parent)
    : QWidget(parent), m_symbol(std::move(symbol)), m_look(look), m_tint(tint), m_tile(tile) {
    design::odSquare(this, m_look.side);
    design::setAccessibleRole(this, QAccessible::NoRole);
    design::followAppearance(this);
}

void ImportSymbolTile::paintEvent(QPaintEvent*) {
    QPainter painter(this);
    painter.setRenderHint(QPainter::Antialiasing);
    design::Shape::rounded(m_look.cornerRadius).fill(painter, rect(), m_tile.resolve());
    design::Symbols::paint(painter, rect(), m_symbol, m_tint.resolve(), m_look.symbolSize, m_look.weight);
}

}  // namespace imageimport
