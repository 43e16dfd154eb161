#pragma once

#include "core/Color.h"
#include "design/values/Theme.h"

#include <QColor>
#include <QPainterPath>
#include <QRectF>
#include <QRegion>
#include <QSize>

class QPainter;
class QWidget;

namespace design {

QColor toQColor(core::Color color);
// The token as the appearance in effect now resolves it.
QColor toQColor(const DynamicColor& token);

// A colour a control keeps: one fixed colour, or a Theme token that is resolved
// each time it is painted, so the control follows the appearance.
class Tint {
public:
    Tint(core::Color color) : m_color(color) {}
    Tint(const DynamicColor& token) : m_token(&token) {}

    QColor resolve() const { return m_token != nullptr ? toQColor(*m_token) : toQColor(m_color); }

private:
    core::Color m_color;
    // Theme tokens live as long as the process.
    const DynamicColor* m_token = nullptr;
};

// The outline of a kit piece. Borders are drawn inside it, so a border never
// changes the size a piece takes.
class Shape {
public:
    static Shape rectangle() { return Shape(Kind::rectangle, 0); }
    static Shape rounded(qreal cornerRadius) { return Shape(Kind::rounded, cornerRadius); }
    // Ends as round as the shorter side allows.
    static Shape capsule() { return Shape(Kind::capsule, 0); }
    // The largest circle centred in the rectangle.
    static Shape circle() { return Shape(Kind::circle, 0); }

    QPainterPath path(const QRectF& rect) const;
    // The same outline `inset` inside the edge, with its corners following.
    QPainterPath insetPath(const QRectF& rect, qreal inset) const;

    void fill(QPainter& painter, const QRectF& rect, const QColor& color) const;
    // A border of `lineWidth` that lies wholly inside the edge.
    void strokeBorder(QPainter& painter, const QRectF& rect, const QColor& color, qreal lineWidth) const;

private:
    enum class Kind { rectangle, rounded, capsule, circle };
    Shape(Kind kind, qreal radius) : m_kind(kind), m_radius(radius) {}

    Kind m_kind;
    qreal m_radius;
};

// The `side` × `side` square centred in `area`: the tile a symbol or dot is laid in.
QRectF odSquare(const QRectF& area, qreal side);
// Makes the widget a `side` × `side` square whatever its own size would be.
void odSquare(QWidget* widget, int side);

// The pixels of a window of `size` with corners of `radius` that its rounded
// outline covers wholly: the mask of a window no compositor blends. Such a
// window shows a pixel it keeps as drawn, its transparency mixed with black
// rather than with the desktop, so an edge pixel the curve covers in part
// would show as a dark dot.
QRegion wholePixels(const QSize& size, qreal radius);
// The same for a window of `size` cut to any `outline`: a pop-over's panel
// with its arrow, whose slanting sides are partly covered as well.
QRegion wholePixels(const QPainterPath& outline, const QSize& size);

}  // namespace design
