#include "PopoverTestSupport.h"
#include "core/Clock.h"
#include "popover/AgendaSection.h"
#include "store/CalendarStore.h"

#include <gtest/gtest.h>

using namespace Qt::Literals::StringLiterals;
using popover::AgendaSection;
using popovertest::declined;
using popovertest::event;
using popovertest::local;
using popovertest::titles;

namespace {

// Built in each test: the zone is pinned only once the test binary runs.
class Agenda : public ::testing::Test {
protected:
    const core::Calendar calendar;
    const core::Date noon = local(2026, 3, 10, 12);

    AgendaSection today(const std::vector<model::ODEvent>& events) const {
        return AgendaSection::build(noon, events, noon, calendar);
    }
};

QHash<QString, QString> overlapsOf(std::initializer_list<std::pair<const char*, const char*>> pairs) {
    QHash<QString, QString> map;
    for (const auto& [id, title] : pairs)
        map.insert(QString::fromUtf8(id), QString::fromUtf8(title));
    return map;
}

TEST_F(Agenda, TodaySplitsAtNowAndHighlightsTheFirstEventTheUserGoesTo) {
    const auto section = today({event(u"Ended now"_s, local(2026, 3, 10, 11), noon),
                                event(u"Breakfast"_s, local(2026, 3, 10, 9), local(2026, 3, 10, 10)),
                                declined(event(u"Running"_s, local(2026, 3, 10, 11, 30), local(2026, 3, 10, 12, 30))),
                                event(u"Lunch"_s, local(2026, 3, 10, 12, 15), local(2026, 3, 10, 14)),
                                popovertest::allDay(u"Holiday"_s, noon)});
    EXPECT_EQ(section.kind, AgendaSection::Kind::today);
    EXPECT_EQ(section.date, local(2026, 3, 10));
    EXPECT_EQ(titles(section.allDay), QStringList{u"Holiday"_s});
    // An event ending exactly now is over; earlier ones are listed by start.
    EXPECT_EQ(titles(section.earlier), (QStringList{u"Breakfast"_s, u"Ended now"_s}));
    EXPECT_EQ(titles(section.timed), (QStringList{u"Running"_s, u"Lunch"_s}));
    // The running event is declined: the highlight moves on to the next one.
    EXPECT_EQ(section.highlightID, u"Lunch"_s);
    EXPECT_EQ(section.highlighted()->title, u"Lunch"_s);
    EXPECT_EQ(section.primaryEvent()->title, u"Lunch"_s);
    // The declined event running into lunch is no clash.
    EXPECT_TRUE(section.overlaps.isEmpty());
    EXPECT_TRUE(section.overlapped.isEmpty());
}

TEST_F(Agenda, OverlapsNameTheEarliestListedEventAndMarkTheFirstOfEachChain) {
    // A chain: B is overlapped by A, and overlaps C itself.
    auto chain = AgendaSection::build(local(2026, 3, 12),
                                      {event(u"A"_s, local(2026, 3, 12, 10), local(2026, 3, 12, 11)),
                                       event(u"B"_s, local(2026, 3, 12, 10, 30), local(2026, 3, 12, 12)),
                                       event(u"C"_s, local(2026, 3, 12, 11, 30), local(2026, 3, 12, 12, 30))},
                                      noon, calendar);
    EXPECT_EQ(chain.overlaps, overlapsOf({{"B", "A"}, {"C", "B"}}));
    EXPECT_EQ(chain.overlapped, QSet<QString>{u"A"_s});

    // All three at once: C names A, not B.
    auto pile = AgendaSection::build(local(2026, 3, 12),
                                     {event(u"A"_s, local(2026, 3, 12, 10), local(2026, 3, 12, 11)),
                                      event(u"B"_s, local(2026, 3, 12, 10, 30), local(2026, 3, 12, 11, 30)),
                                      event(u"C"_s, local(2026, 3, 12, 10, 45), local(2026, 3, 12, 12))},
                                     noon, calendar);
    EXPECT_EQ(pile.overlaps, overlapsOf({{"B", "A"}, {"C", "A"}}));
    EXPECT_EQ(pile.overlapped, QSet<QString>{u"A"_s});

    // Touching ends do not overlap; a declined event in the middle of a clash is left out.
    auto touching = AgendaSection::build(local(2026, 3, 12),
                                         {event(u"A"_s, local(2026, 3, 12, 10), local(2026, 3, 12, 11)),
                                          declined(event(u"X"_s, local(2026, 3, 12, 10), local(2026, 3, 12, 12))),
                                          event(u"B"_s, local(2026, 3, 12, 11), local(2026, 3, 12, 12))},
                                         noon, calendar);
    EXPECT_TRUE(touching.overlaps.isEmpty());
    EXPECT_TRUE(touching.overlapped.isEmpty());
}

TEST_F(Agenda, EarlierEventsAndAllDayEventsNeverOverlap) {
    const auto section = today({event(u"Over"_s, local(2026, 3, 10, 9), local(2026, 3, 10, 11)),
                                event(u"Long"_s, local(2026, 3, 10, 10), local(2026, 3, 10, 15)),
                                event(u"Later"_s, local(2026, 3, 10, 14), local(2026, 3, 10, 16)),
                                popovertest::allDay(u"Trip"_s, noon)});
    EXPECT_EQ(section.overlaps, overlapsOf({{"Later", "Long"}}));
    EXPECT_EQ(section.overlapped, QSet<QString>{u"Long"_s});
}

TEST_F(Agenda, OtherDaysKeepEveryTimedEventAndHaveNoHighlight) {
    const std::vector<model::ODEvent> events{
        declined(event(u"First"_s, local(2026, 3, 11, 8), local(2026, 3, 11, 9))),
        event(u"Same start, listed first"_s, local(2026, 3, 11, 10), local(2026, 3, 11, 11)),
        event(u"Same start, listed second"_s, local(2026, 3, 11, 10), local(2026, 3, 11, 10, 30))};
    const auto tomorrow = AgendaSection::build(local(2026, 3, 11, 18), events, noon, calendar);
    EXPECT_EQ(tomorrow.kind, AgendaSection::Kind::tomorrow);
    EXPECT_TRUE(tomorrow.earlier.empty());
    EXPECT_EQ(titles(tomorrow.timed),
              (QStringList{u"First"_s, u"Same start, listed first"_s, u"Same start, listed second"_s}));
    EXPECT_EQ(tomorrow.highlightID, std::nullopt);
    EXPECT_EQ(tomorrow.primaryEvent()->title, u"Same start, listed first"_s);

    // A past day is "other", with its finished events still in `timed`.
    const auto past = AgendaSection::build(local(2026, 3, 11, 18), events, local(2026, 3, 20), calendar);
    EXPECT_EQ(past.kind, AgendaSection::Kind::other);
    EXPECT_EQ(past.timed.size(), 3u);
}

TEST_F(Agenda, PrimaryEventFallsBackFromTimedToAllDayToTheLastEnded) {
    EXPECT_EQ(today({}).primaryEvent(), std::nullopt);
    const auto allDayOnly = today({popovertest::allDay(u"Trip"_s, noon),
                                   event(u"Morning"_s, local(2026, 3, 10, 8), local(2026, 3, 10, 9))});
    EXPECT_EQ(allDayOnly.primaryEvent()->title, u"Trip"_s);
    const auto endedOnly = today({event(u"Morning"_s, local(2026, 3, 10, 8), local(2026, 3, 10, 9)),
                                  event(u"Late morning"_s, local(2026, 3, 10, 10), local(2026, 3, 10, 11))});
    EXPECT_EQ(endedOnly.primaryEvent()->title, u"Late morning"_s);
    const auto allDeclined = today({declined(event(u"Skip"_s, local(2026, 3, 10, 14), local(2026, 3, 10, 15)))});
    EXPECT_EQ(allDeclined.highlightID, std::nullopt);
    EXPECT_EQ(allDeclined.primaryEvent()->title, u"Skip"_s);
}

TEST_F(Agenda, BuiltFromTheStoreAnEventAcrossMidnightIsOnBothDays) {
    core::ScopedTestClock clock(noon);
    platform::FakeEventStore ek;
    const auto work = ek.addCalendar(platform::EntityType::Event, u"Work"_s);
    ek.addEvent(storetest::timedEvent(work, u"Night shift"_s, local(2026, 3, 10, 22), 4 * 60));
    ek.addEvent(storetest::timedEvent(work, u"Elsewhere"_s, local(2026, 3, 12, 9)));
    store::CalendarStore store(ek);
    EXPECT_EQ(titles(AgendaSection::build(noon, store, noon, calendar).timed), QStringList{u"Night shift"_s});
    const auto next = AgendaSection::build(local(2026, 3, 11), store, noon, calendar);
    EXPECT_EQ(next.kind, AgendaSection::Kind::tomorrow);
    EXPECT_EQ(titles(next.timed), QStringList{u"Night shift"_s});
}

}  // namespace
