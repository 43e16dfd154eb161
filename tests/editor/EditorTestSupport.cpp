#include "EditorTestSupport.h"

#include "model/RecurrenceOption.h"

#include <gtest/gtest.h>

namespace editortest {

QString add(platform::FakeEventStore& ek, store::CalendarStore& store, platform::PlatformEvent event) {
    const core::Date start = *event.startDate;
    ek.addEvent(std::move(event));
    store.reload();
    for (const model::ODEvent& loaded : store.events())
        if (loaded.start == start)
            return loaded.id;
    ADD_FAILURE() << "event not loaded";
    return {};
}

platform::PlatformEvent weekly(const platform::PlatformCalendar& calendar, const QString& title, core::Date start) {
    platform::PlatformEvent event = storetest::timedEvent(calendar, title, start);
    event.recurrenceRules = {*model::recurrenceRule(model::RecurrenceOption::weekly)};
    return event;
}

}  // namespace editortest
