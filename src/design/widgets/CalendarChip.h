#pragma once

#include "core/Color.h"

#include <QAbstractButton>
#include <QString>

#include <optional>

namespace design {

// The capsule that names an item's calendar: its colour's dot and its title on
// a wash of the same colour, with a chevron while another calendar may be
// chosen. Without a calendar it is drawn in the faintest text colour. A chip
// that may not be changed takes no click and no focus.
class CalendarChip : public QAbstractButton {
    Q_OBJECT

public:
    static constexpr qreal kDot = 8;
    static constexpr qreal kSpacing = 6;
    static constexpr qreal kWash = 0.16;

    explicit CalendarChip(QWidget* parent = nullptr);

    std::optional<core::Color> color() const { return m_color; }
    bool isChangeable() const { return m_changeable; }
    // `color` none: the item's calendar is not known.
    void setCalendar(std::optional<core::Color> color, const QString& title);
    void setChangeable(bool changeable);

    QSize sizeHint() const override;
    QSize minimumSizeHint() const override;

    static void paint(QPainter& painter, const QRectF& rect, core::Color color, const QString& title,
                      bool changeable);

protected:
    void paintEvent(QPaintEvent* event) override;
    void keyPressEvent(QKeyEvent* event) override;

private:
    std::optional<core::Color> m_color;
    bool m_changeable = true;
};

}  // namespace design
