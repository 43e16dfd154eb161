#include "StoreTestSupport.h"

namespace storetest {

core::Date local(int y, int mo, int d, int h, int mi) {
    return *core::Calendar().date({.year = y, .month = mo, .day = d, .hour = h, .minute = mi});
}

platform::PlatformEvent timedEvent(const platform::PlatformCalendar& calendar, const QString& title, core::Date start,
                                   double minutes) {
    platform::PlatformEvent e;
    e.calendar = calendar;
    e.title = title;
    e.startDate = start;
    e.endDate = start + minutes * 60;
    return e;
}

platform::PlatformEvent allDayEvent(const platform::PlatformCalendar& calendar, const QString& title, core::Date day) {
    const core::Calendar cal;
    platform::PlatformEvent e;
    e.calendar = calendar;
    e.title = title;
    e.isAllDay = true;
    e.startDate = cal.startOfDay(day);
    e.endDate = *cal.dateBySettingTime(23, 59, 59, day);
    return e;
}

platform::PlatformReminder reminder(const platform::PlatformCalendar& list, const QString& title,
                                    std::optional<core::DateComponents> due) {
    platform::PlatformReminder r;
    r.calendar = list;
    r.title = title;
    r.dueDateComponents = due;
    return r;
}

}  // namespace storetest
