#pragma once

#include <QPointF>
#include <QRectF>
#include <QSizeF>

#include <optional>

// Where the popover panel stands and how tall it may grow, in logical pixels
// with y growing downwards.
namespace app::popover {

inline constexpr double kPanelWidth = 364;
inline constexpr double kMinContentHeight = 120;
inline constexpr double kMaxContentHeight = 680;
// However little room the screen leaves, the panel may still be this tall.
inline constexpr double kLowestMaxContentHeight = 240;
inline constexpr double kTolerance = 0.5;
// Between the tray item and the panel.
inline constexpr double kGap = 12;
// Kept free along the screen's edges.
inline constexpr double kMargin = 8;

// The panel height for a measured content height: whole pixels, never below the
// minimum, never above `maxContentHeight` (which wins when it is the lower).
double panelHeight(double contentHeight, double maxContentHeight);

// Whether a frame of `current` size must change to become `height` high and
// the panel's width: sizes within the tolerance count as equal.
bool needsResize(QSizeF current, double height);

struct Placement {
    QPointF topLeft;
    // The tallest the panel may be with this anchor on this screen; none when
    // the screen leaves no room below (above) the anchor.
    std::optional<double> maxContentHeight;
};

// Places a panel of `size` under the tray item at `anchor` (its rectangle, or the
// point clicked as an empty one) inside `visible`, the available area of its
// screen. Centred on the anchor, then kept `kMargin` inside the left edge and,
// unless `keepLeft` holds the left edge where it is, inside the right edge (the
// right one wins on a screen too narrow for both). A tray at the bottom of the
// screen gets the panel above it instead, its bottom edge `kGap` above the anchor.
Placement place(QRectF anchor, QRectF visible, QSizeF size, std::optional<double> keepLeft = std::nullopt);

// Where the tray item stands without a known anchor: the top right corner of the
// available area, so the panel hangs in the right corner under the top edge.
QRectF cornerAnchor(QRectF visible);

// The anchor's centre relative to the panel's left edge, within the panel; the
// panel's middle without an anchor. The opening grows out of this point.
double anchorX(std::optional<QRectF> anchor, QRectF panelFrame);

}  // namespace app::popover
