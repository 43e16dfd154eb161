#include "design/widgets/ODSwitch.h"

#include "design/widgets/FocusRing.h"
#include "design/widgets/KitWidget.h"
#include "design/widgets/ODButton.h"
#include "design/widgets/Painting.h"

#include <QPainter>

namespace design {

namespace {

constexpr qreal kKnobInset = 2;

}  // namespace

ODSwitch::ODSwitch(bool isOn, QWidget* parent) : ODSwitch(isOn, Size::regular, parent) {}

ODSwitch::ODSwitch(bool isOn, Size size, QWidget* parent) : QAbstractButton(parent), m_size(size) {
    setCheckable(true);
    setChecked(isOn);
    setFocusPolicy(Qt::TabFocus);
    setFixedSize(sizeHint());
    // The room right of the track belongs to the slot, not to the switch: its
    // focus ring and clicks keep to the track.
    if (size == Size::regular)
        setContentsMargins(0, 0, kSlotWidth - kTrackSize.width(), 0);
    setAccessibleRole(this, QAccessible::CheckBox);
    followAppearance(this);
    odFocusRing(this, Shape::capsule());
}

QSize ODSwitch::sizeHint() const {
    return m_size == Size::mini ? kMiniTrackSize : QSize(kSlotWidth, kTrackSize.height());
}

void ODSwitch::paint(QPainter& painter, const QRectF& track, bool on) {
    const Shape capsule = Shape::capsule();
    if (on) {
        capsule.fill(painter, track, toQColor(Theme::flame()));
    } else {
        capsule.fill(painter, track, toQColor(Theme::menuItem()));
        capsule.strokeBorder(painter, track, toQColor(Theme::line()), 1);
    }
    const qreal diameter = track.height() - 2 * kKnobInset;
    const qreal x = on ? track.right() - kKnobInset - diameter : track.left() + kKnobInset;
    const QRectF knob(x, track.top() + kKnobInset, diameter, diameter);
    // A faint rim keeps the white knob apart from a light track.
    const Shape circle = Shape::circle();
    circle.fill(painter, knob, toQColor(Theme::onAccent()));
    circle.strokeBorder(painter, knob, toQColor(Theme::line()), 0.5);
}

void ODSwitch::paintEvent(QPaintEvent*) {
    QPainter painter(this);
    painter.setRenderHint(QPainter::Antialiasing);
    if (!isEnabled())
        painter.setOpacity(ODButtonStyle::kDisabledOpacity);
    paint(painter, QRectF(contentsRect()), isChecked());
}

bool ODSwitch::hitButton(const QPoint& position) const {
    return contentsRect().contains(position);
}

}  // namespace design
