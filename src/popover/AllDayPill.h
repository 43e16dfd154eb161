#pragma once

#include "core/Date.h"
#include "model/ODEvent.h"

#include <QAbstractButton>

namespace popover {

// One all-day event of an agenda section: a bar tinted with the calendar's
// colour holding a glyph guessed from the title, the title, and "All day" or
// the event's span with the day shown ("27 Fri → 29 Sun · day 2 of 3"). The
// agenda connects `clicked` to open the event.
class AllDayPill : public QAbstractButton {
    Q_OBJECT

public:
    // `day` is the day of the section the pill is shown in.
    AllDayPill(model::ODEvent event, core::Date day, QWidget* parent = nullptr);

    const model::ODEvent& event() const { return m_event; }
    core::Date day() const { return m_day; }
    void setEvent(model::ODEvent event, core::Date day);

    QString symbol() const;
    QString rangeText() const;

    QSize sizeHint() const override;
    QSize minimumSizeHint() const override;

protected:
    void paintEvent(QPaintEvent* event) override;
    bool hitButton(const QPoint& pos) const override;
    void keyPressEvent(QKeyEvent* event) override;

private:
    void updateTexts();
    QRectF pillRect() const;

    model::ODEvent m_event;
    core::Date m_day;
    QString m_range;
};

}  // namespace popover
