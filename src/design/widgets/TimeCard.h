#pragma once

#include "core/Calendar.h"
#include "core/Date.h"

#include <QWidget>

#include <vector>

namespace design {

class ODSwitch;
class QuickChoiceRow;
class TimeField;

// The content of a time pop-over: an "All day" switch, an hour-and-minute
// field and a row of quick times, stacked and padded 12. The card shows what
// it is given and reports what the user does; what a change means is the
// screen's. While all-day the field is hidden, and the quick times too unless
// the screen keeps them (a quick time then ends all-day). Without the switch it
// is the time of a reminder's alarm.
class TimeCard : public QWidget {
    Q_OBJECT

public:
    // Narrower than the popover it opens over (364), with room to spare: the
    // quick times break into two rows rather than pass it.
    static constexpr int kMaximumWidth = 320;
    static constexpr int kPadding = 12;

    struct Options {
        bool allDaySwitch = true;
        bool quickTimesWhileAllDay = false;
    };

    explicit TimeCard(Options options, QWidget* parent = nullptr);

    void setCalendar(const core::Calendar& calendar);
    void setAllDay(bool allDay);
    // The time the field shows.
    void setTime(core::Date time);
    // The times the quick buttons stand for, in order.
    void setQuickTimes(const std::vector<core::Date>& times);

    ODSwitch* allDaySwitch() const { return m_switch; }
    TimeField* field() const { return m_field; }
    QuickChoiceRow* quickTimes() const { return m_quick; }

signals:
    void allDayToggled(bool allDay);
    void timeEdited(core::Date time);
    void quickTimeChosen(core::Date time);

private:
    void showParts();

    Options m_options;
    core::Calendar m_calendar;
    bool m_allDay = false;
    std::vector<core::Date> m_times;
    QWidget* m_switchRow = nullptr;
    ODSwitch* m_switch = nullptr;
    TimeField* m_field;
    QuickChoiceRow* m_quick;
};

}  // namespace design
