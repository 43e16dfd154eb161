#pragma once

#include "core/Calendar.h"
#include "core/Date.h"

#include <QWidget>

#include <optional>
#include <vector>

namespace design {

class ODIconButton;

// A month calendar to pick one day on, bound to one optional date: the month's
// name with buttons to the months before and after, the weekday letters, and
// six weeks of days. The bound day is marked in the accent, today in accent
// text; days of the months around are faint, days before the least date
// cannot be picked. A click, or an arrow key, picks a day: `datePicked` gives
// that day at the bound date's time of day (its start with no date bound), so
// a screen that only moves the day keeps its time. Days are counted in the
// calendar given (its zone and first weekday).
class MonthPicker : public QWidget {
    Q_OBJECT

public:
    static constexpr int kCellWidth = 30;
    static constexpr int kCellHeight = 28;
    static constexpr int kHeaderHeight = 30;
    static constexpr int kWeekdayHeight = 20;

    explicit MonthPicker(QWidget* parent = nullptr);

    const core::Calendar& calendar() const { return m_calendar; }
    void setCalendar(const core::Calendar& calendar);
    std::optional<core::Date> date() const { return m_date; }
    // Shows the date's month when the date is in another one.
    void setDate(std::optional<core::Date> date);
    std::optional<core::Date> minimumDate() const { return m_minimum; }
    void setMinimumDate(std::optional<core::Date> minimum);

    // The first day of the month shown.
    core::Date displayedMonth() const { return m_month; }
    void showMonth(core::Date dayInMonth);
    void showAdjacentMonth(int step);
    // "March 2026".
    QString monthTitle() const;
    // The days shown, and where each lies.
    const std::vector<core::Date>& days() const { return m_days; }
    QRect dayRect(int index) const;
    bool isPickable(core::Date day) const;
    // Picks the day as a click on it would.
    void pick(core::Date day);

    QSize sizeHint() const override;

signals:
    void datePicked(core::Date date);

protected:
    void paintEvent(QPaintEvent* event) override;
    void mouseReleaseEvent(QMouseEvent* event) override;
    void keyPressEvent(QKeyEvent* event) override;
    void resizeEvent(QResizeEvent* event) override;

private:
    void layOutDays();
    int gridLeft() const;
    void announce();

    core::Calendar m_calendar;
    std::optional<core::Date> m_date;
    std::optional<core::Date> m_minimum;
    core::Date m_month;
    std::vector<core::Date> m_days;
    ODIconButton* m_previous;
    ODIconButton* m_next;
};

// A month picker as a pop-over card shows it: inside a 12 px margin, the card
// passing its focus to the picker.
struct PaddedMonthPicker {
    QWidget* card;
    MonthPicker* picker;
};
PaddedMonthPicker makePaddedMonthPicker();

}  // namespace design
