#include "design/widgets/ODIconButton.h"

#include "design/widgets/FocusRing.h"
#include "design/widgets/KitWidget.h"
#include "design/widgets/ODButton.h"
#include "design/widgets/Symbols.h"

#include <QKeyEvent>
#include <QPainter>

#include <cmath>

namespace design {

namespace {

// A plain button shows its press by fading its content.
constexpr qreal kPressedOpacity = 0.6;

}  // namespace

ODIconButton::ODIconButton(const QString& systemName, qreal diameter, std::optional<QString> label, QWidget* parent)
    : QAbstractButton(parent), m_systemName(systemName), m_diameter(diameter), m_label(std::move(label)) {
    setFocusPolicy(Qt::TabFocus);
    const int side = static_cast<int>(std::ceil(diameter));
    odSquare(this, side);
    setAccessibleName(m_label.value_or(m_systemName));
    followAppearance(this);
    odFocusRing(this, Shape::circle());
}

void ODIconButton::setSystemName(const QString& systemName) {
    m_systemName = systemName;
    if (!m_label)
        setAccessibleName(m_systemName);
    update();
}

QSize ODIconButton::sizeHint() const {
    const int side = static_cast<int>(std::ceil(m_diameter));
    return QSize(side, side);
}

void ODIconButton::setSymbolStyle(qreal size, FontWeight weight) {
    m_symbolSize = size;
    m_symbolWeight = weight;
    update();
}

void ODIconButton::paint(QPainter& painter, const QRectF& square, const QString& systemName, bool pressed) {
    const qreal diameter = std::min(square.width(), square.height());
    paint(painter, square, systemName, pressed, diameter * kSymbolPerDiameter, FontWeight::semibold);
}

void ODIconButton::paint(QPainter& painter, const QRectF& square, const QString& systemName, bool pressed,
                         qreal symbolSize, FontWeight weight) {
    painter.save();
    Shape::circle().fill(painter, square, toQColor(Theme::fillSoft()));
    if (pressed)
        painter.setOpacity(painter.opacity() * kPressedOpacity);
    Symbols::paint(painter, square, systemName, toQColor(Theme::text()), symbolSize, weight);
    painter.restore();
}

void ODIconButton::paintEvent(QPaintEvent*) {
    QPainter painter(this);
    painter.setRenderHint(QPainter::Antialiasing);
    if (!isEnabled())
        painter.setOpacity(ODButtonStyle::kDisabledOpacity);
    paint(painter, odSquare(QRectF(rect()), m_diameter), m_systemName, isDown(),
          m_symbolSize.value_or(m_diameter * kSymbolPerDiameter), m_symbolWeight);
}

void ODIconButton::keyPressEvent(QKeyEvent* event) {
    if (clickOnReturn(this, event))
        return;
    QAbstractButton::keyPressEvent(event);
}

}  // namespace design
