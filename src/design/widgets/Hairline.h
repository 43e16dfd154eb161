#pragma once

#include <QWidget>

namespace design {

// The thin separator line: one pixel thick across a vertical stack (horizontal)
// or down a horizontal one (vertical), in the line colour.
class Hairline : public QWidget {
    Q_OBJECT

public:
    explicit Hairline(Qt::Orientation orientation = Qt::Horizontal, QWidget* parent = nullptr);

    QSize sizeHint() const override;

    static void paint(QPainter& painter, const QRectF& rect);

protected:
    void paintEvent(QPaintEvent* event) override;
};

}  // namespace design
