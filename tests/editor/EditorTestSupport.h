#pragma once

#include "StoreTestSupport.h"
#include "store/CalendarStore.h"

#include <QString>

namespace editortest {

using storetest::local;

// Stores the event, reloads, and gives the id of its occurrence on its start day.
QString add(platform::FakeEventStore& ek, store::CalendarStore& store, platform::PlatformEvent event);

// A timed event that repeats every week from its start.
platform::PlatformEvent weekly(const platform::PlatformCalendar& calendar, const QString& title, core::Date start);

}  // namespace editortest
