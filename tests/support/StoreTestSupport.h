#pragma once

#include "core/Calendar.h"
#include "platform/eventstore/EventStoreError.h"
#include "platform/eventstore/FakeEventStore.h"

#include <QString>

namespace storetest {

// Wall time in the test time zone (Europe/Berlin).
core::Date local(int y, int mo, int d, int h = 0, int mi = 0);

platform::PlatformEvent timedEvent(const platform::PlatformCalendar& calendar, const QString& title, core::Date start,
                                   double minutes = 60);
// An all-day event on the day of `day`, ending 23:59:59 of that day as the store reports it.
platform::PlatformEvent allDayEvent(const platform::PlatformCalendar& calendar, const QString& title, core::Date day);
platform::PlatformReminder reminder(const platform::PlatformCalendar& list, const QString& title,
                                    std::optional<core::DateComponents> due);

// The text a failing call shows the user, or "no error".
template <class F>
QString errorText(F&& call) {
    try {
        call();
    } catch (const platform::LocalizedError& e) {
        return e.errorDescription();
    }
    return QStringLiteral("no error");
}

}  // namespace storetest
