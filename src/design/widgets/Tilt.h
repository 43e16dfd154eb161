#pragma once

#include <QMarginsF>
#include <QRectF>

class QPainter;

namespace design {

// The tilt in effect for `degrees`: none while the user asks for reduced motion.
qreal effectiveTilt(qreal degrees);

// Rotates what the painter draws next by the tilt in effect, about the centre of
// `rect`; a negative angle turns anticlockwise.
void odTilt(QPainter& painter, const QRectF& rect, qreal degrees);

// How far a `size` rectangle turned by `degrees` about its centre reaches past
// its unturned frame on each side.
QMarginsF tiltOutset(const QSizeF& size, qreal degrees);

}  // namespace design
