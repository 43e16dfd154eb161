#pragma once

#include "design/widgets/Painting.h"

#include <QObject>
#include <QPointer>

class QWidget;

namespace design {

// The keyboard focus ring of a custom control: a 2-pixel ring in the focus
// colour lying between 1 and 3 pixels outside the control's shape. It shows
// while the control has focus that did not come from a mouse click, takes no
// clicks and is not read out. Drawn on the control's parent, so it adds
// nothing to the control's size.
class FocusRing : public QObject {
    Q_OBJECT

public:
    static constexpr int kOutset = 3;

    // Owned by the control; follows its geometry, parent and focus.
    FocusRing(QWidget* control, Shape shape);
    ~FocusRing() override;

    bool isShown() const;

    // The ring around a control that occupies `controlRect`.
    static void paint(QPainter& painter, const QRectF& controlRect, const Shape& shape);

protected:
    bool eventFilter(QObject* watched, QEvent* event) override;

private:
    void refresh();

    QWidget* m_control;
    Shape m_shape;
    bool m_keyboardFocus = false;
    QPointer<QWidget> m_overlay;
};

// Gives a control a focus ring of its shape.
FocusRing* odFocusRing(QWidget* control, Shape shape);

}  // namespace design
