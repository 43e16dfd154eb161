#pragma once

#include "design/values/FontWeight.h"

#include <QColor>
#include <QImage>
#include <QRectF>
#include <QString>

class QPainter;

namespace design {

// Draws the named symbols of SymbolTable, tinted, at a text size and weight:
// a symbol "at 12 points, semibold" sits in a square of boxSide(12) and its
// strokes thicken with the weight, as a glyph of that font would. For the GUI
// thread only: drawings and images are cached without a lock.
class Symbols {
public:
    Symbols() = delete;

    // The side of the square a symbol of that size takes in a layout.
    static qreal boxSide(qreal size);

    // Draws the symbol centred in `area`. A name the table does not know draws a
    // neutral glyph instead (and is logged once).
    static void paint(QPainter& painter, const QRectF& area, const QString& name, const QColor& color, qreal size,
                      FontWeight weight);

    // The symbol as an image of boxSide(size) at the given pixel ratio.
    static QImage image(const QString& name, const QColor& color, qreal size, FontWeight weight,
                        qreal devicePixelRatio = 1.0);
};

}  // namespace design
