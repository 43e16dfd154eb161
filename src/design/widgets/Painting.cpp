#include "design/widgets/Painting.h"

#include <QImage>
#include <QPainter>
#include <QWidget>

#include <algorithm>
#include <cmath>
#include <utility>
#include <vector>

namespace design {

QColor toQColor(core::Color color) {
    return QColor(color.red, color.green, color.blue, color.alpha);
}

QColor toQColor(const DynamicColor& token) {
    return toQColor(token.resolve());
}

QPainterPath Shape::path(const QRectF& rect) const {
    return insetPath(rect, 0);
}

QPainterPath Shape::insetPath(const QRectF& rect, qreal inset) const {
    QPainterPath path;
    const QRectF inner = rect.adjusted(inset, inset, -inset, -inset);
    if (inner.width() <= 0 || inner.height() <= 0)
        return path;
    switch (m_kind) {
        case Kind::rectangle:
            path.addRect(inner);
            break;
        case Kind::rounded: {
            const qreal radius = std::clamp(m_radius - inset, 0.0, std::min(inner.width(), inner.height()) / 2);
            path.addRoundedRect(inner, radius, radius);
            break;
        }
        case Kind::capsule: {
            const qreal radius = std::min(inner.width(), inner.height()) / 2;
            path.addRoundedRect(inner, radius, radius);
            break;
        }
        case Kind::circle: {
            const qreal diameter = std::min(rect.width(), rect.height()) - 2 * inset;
            if (diameter > 0)
                path.addEllipse(QRectF(QPointF(0, 0), QSizeF(diameter, diameter)).translated(
                    rect.center() - QPointF(diameter / 2, diameter / 2)));
            break;
        }
    }
    return path;
}

void Shape::fill(QPainter& painter, const QRectF& rect, const QColor& color) const {
    painter.save();
    painter.setRenderHint(QPainter::Antialiasing);
    painter.setPen(Qt::NoPen);
    painter.setBrush(color);
    painter.drawPath(path(rect));
    painter.restore();
}

void Shape::strokeBorder(QPainter& painter, const QRectF& rect, const QColor& color, qreal lineWidth) const {
    if (lineWidth <= 0 || color.alpha() == 0)
        return;
    // The region between the outline and the outline inset by the width, filled:
    // unlike a pen centred on the edge, it never reaches outside.
    QPainterPath ring = path(rect);
    ring.addPath(insetPath(rect, lineWidth));
    ring.setFillRule(Qt::OddEvenFill);
    painter.save();
    painter.setRenderHint(QPainter::Antialiasing);
    painter.setPen(Qt::NoPen);
    painter.setBrush(color);
    painter.drawPath(ring);
    painter.restore();
}

QRectF odSquare(const QRectF& area, qreal side) {
    return QRectF(area.center() - QPointF(side / 2, side / 2), QSizeF(side, side));
}

void odSquare(QWidget* widget, int side) {
    widget->setFixedSize(side, side);
}

namespace {

// The pixels of `area` that `shape` covers wholly, found by drawing it there.
// Rows alike are joined, so that an outline of straight sides stays a few rectangles.
QRegion coveredWholly(const QPainterPath& shape, const QRect& area) {
    QImage drawn(area.size(), QImage::Format_ARGB32_Premultiplied);
    drawn.fill(Qt::transparent);
    QPainter painter(&drawn);
    painter.setRenderHint(QPainter::Antialiasing);
    painter.translate(-area.topLeft());
    painter.fillPath(shape, Qt::black);
    painter.end();
    QRegion region;
    std::vector<std::pair<int, int>> runs;
    std::vector<std::pair<int, int>> previous;
    int since = 0;
    const auto flush = [&](int until) {
        for (const auto& [start, end] : previous)
            region += QRect(area.left() + start, area.top() + since, end - start, until - since);
    };
    for (int y = 0; y <= drawn.height(); ++y) {
        runs.clear();
        if (y < drawn.height()) {
            const auto* line = reinterpret_cast<const QRgb*>(drawn.constScanLine(y));
            for (int x = 0; x < drawn.width();) {
                if (qAlpha(line[x]) < 255) {
                    ++x;
                    continue;
                }
                const int start = x;
                while (x < drawn.width() && qAlpha(line[x]) == 255)
                    ++x;
                runs.emplace_back(start, x);
            }
        }
        if (y > 0 && runs == previous)
            continue;
        flush(y);
        previous.swap(runs);
        since = y;
    }
    return region;
}

}  // namespace

QRegion wholePixels(const QSize& size, qreal radius) {
    QRegion region(QRect(QPoint(0, 0), size));
    const int side = std::min({static_cast<int>(std::ceil(radius)), size.width() / 2, size.height() / 2});
    if (side <= 0)
        return region;
    QPainterPath shape;
    shape.addRoundedRect(QRectF(QPointF(0, 0), QSizeF(size)), radius, radius);
    // Only the corners are drawn: the sides between them are whole.
    const int right = size.width() - side;
    const int bottom = size.height() - side;
    for (const QPoint origin : {QPoint(0, 0), QPoint(right, 0), QPoint(0, bottom), QPoint(right, bottom)}) {
        const QRect corner(origin, QSize(side, side));
        region -= corner;
        region += coveredWholly(shape, corner);
    }
    return region;
}

QRegion wholePixels(const QPainterPath& outline, const QSize& size) {
    return coveredWholly(outline, QRect(QPoint(0, 0), size));
}

}  // namespace design
