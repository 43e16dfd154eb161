#pragma once

#include "core/Color.h"

#include <QWidget>

namespace design {

// A calendar's colour as a filled circle of `size` pixels.
class CalendarDot : public QWidget {
    Q_OBJECT

public:
    explicit CalendarDot(core::Color color, qreal size = 8, QWidget* parent = nullptr);

    core::Color color() const { return m_color; }
    void setColor(core::Color color);
    QSize sizeHint() const override;

    // The dot centred in `area`, whatever room that offers.
    static void paint(QPainter& painter, const QRectF& area, core::Color color, qreal size);

protected:
    void paintEvent(QPaintEvent* event) override;

private:
    core::Color m_color;
    qreal m_size;
};

// A calendar's colour as a rounded bar of exactly `width` × `height` pixels
// (equal sides give a circle).
class CalendarPill : public QWidget {
    Q_OBJECT

public:
    CalendarPill(core::Color color, qreal width, qreal height, QWidget* parent = nullptr);

    core::Color color() const { return m_color; }
    void setColor(core::Color color);
    QSize sizeHint() const override;

    static void paint(QPainter& painter, const QRectF& rect, core::Color color);

protected:
    void paintEvent(QPaintEvent* event) override;

private:
    core::Color m_color;
    QSizeF m_size;
};

}  // namespace design
