#pragma once

#include <QPointF>
#include <QRectF>
#include <QSizeF>

#include <optional>

namespace alerts {

// Kept free between the card and the edges of the screen's available area.
inline constexpr double kCardMargin = 8;
// From the right edge, when the tray item's place is not known.
inline constexpr double kCardCornerMargin = 12;

// Where a card of `size` stands, in logical pixels with y growing downwards:
// centred under the tray item at `anchor` and kept 8 px inside both sides of
// `visible` (the right side winning on a screen too narrow for both), or 12 px
// from the right edge without an anchor; 8 px below the top of the available
// area, or above its bottom when the tray is at the bottom of the screen.
QPointF cardTopLeft(std::optional<QRectF> anchor, QRectF visible, QSizeF size);

}  // namespace alerts
