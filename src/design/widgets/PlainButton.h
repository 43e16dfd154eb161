#pragma once

#include "design/values/FontWeight.h"
#include "design/widgets/Painting.h"

#include <QAbstractButton>
#include <QString>

namespace design {

// A button without a capsule, only what its subclass paints: a pointing hand
// over it, reached by Tab with a focus ring of the given shape, clicked by
// Space or Return when focused, and faded while pressed.
class PlainButton : public QAbstractButton {
    Q_OBJECT

public:
    static constexpr qreal kPressedOpacity = 0.6;

protected:
    PlainButton(Shape focusShape, QWidget* parent);

    // A painter on the button, anti-aliased and faded while pressed.
    void beginPaint(QPainter& painter) const;
    void keyPressEvent(QKeyEvent* event) override;
};

// A symbol on a rounded tile of its own colour, as a widget of `side` × `side`.
class SymbolTile : public QWidget {
    Q_OBJECT

public:
    struct Look {
        QString symbol;
        qreal symbolSize = 11;
        FontWeight weight = FontWeight::bold;
        Tint tint = Theme::flame();
        Tint fill = Theme::inkTile();
        int side = 22;
        qreal cornerRadius = 6;
    };

    explicit SymbolTile(Look look, QWidget* parent = nullptr);

protected:
    void paintEvent(QPaintEvent* event) override;

private:
    Look m_look;
};

}  // namespace design
