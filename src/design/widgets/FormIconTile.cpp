#include "design/widgets/FormIconTile.h"

#include "design/widgets/KitWidget.h"
#include "design/widgets/Symbols.h"

#include <QPainter>

namespace design {

FormIconTile::FormIconTile(const QString& systemName, Tint tint, QWidget* parent)
    : QWidget(parent), m_systemName(systemName), m_tint(tint) {
    odSquare(this, kSide);
    setAccessibleRole(this, QAccessible::Graphic);
    followAppearance(this);
}

void FormIconTile::setSystemName(const QString& systemName) {
    m_systemName = systemName;
    update();
}

void FormIconTile::setTint(Tint tint) {
    m_tint = tint;
    update();
}

void FormIconTile::paint(QPainter& painter, const QRectF& square, const QString& systemName, const QColor& tint) {
    Shape::rounded(8).fill(painter, square, toQColor(Theme::fillSoft()));
    Symbols::paint(painter, square, systemName, tint, 13, FontWeight::medium);
}

void FormIconTile::paintEvent(QPaintEvent*) {
    QPainter painter(this);
    painter.setRenderHint(QPainter::Antialiasing);
    paint(painter, odSquare(QRectF(rect()), kSide), m_systemName, m_tint.resolve());
}

}  // namespace design
