#include "StoreTestSupport.h"
#include "core/Clock.h"
#include "platform/defaults/InMemoryUserDefaults.h"
#include "settings/CalendarsTabModel.h"
#include "state/AppSettings.h"
#include "state/PlatformWords.h"
#include "store/CalendarStore.h"

#include <gtest/gtest.h>

namespace {

using namespace Qt::Literals::StringLiterals;
using platform::EntityType;
using settings::accountRank;
using settings::accountSymbol;
using storetest::local;

QStringList sources(const std::vector<settings::CalendarGroup>& groups) {
    QStringList names;
    for (const auto& group : groups)
        names << group.source;
    return names;
}

model::ODCalendar calendar(const QString& title, const QString& source) {
    return model::ODCalendar{title, title, {}, source, true, false};
}

TEST(CalendarAccounts, RankAndSymbolFollowTheFirstFragmentFound) {
    struct Case {
        QString name;
        int rank;
        QString symbol;
    };
    const Case cases[] = {
        {u"iCloud"_s, 0, u"icloud"_s},
        {u"Google"_s, 1, u"briefcase"_s},
        {u"someone@gmail.com"_s, 1, u"briefcase"_s},
        {u"Exchange"_s, 2, u"briefcase"_s},
        {u"Office 365"_s, 2, u"person.crop.circle"_s},
        {u"Exchange on my Mac"_s, 2, u"briefcase"_s},
        {u"On My Mac"_s, 4, u"laptopcomputer"_s},
        {app::words::onThisComputer(), 4, u"laptopcomputer"_s},
        {u"Local"_s, 4, u"laptopcomputer"_s},
        {u"Subscribed Calendars"_s, 5, u"dot.radiowaves.left.and.right"_s},
        {u"Holidays"_s, 5, u"dot.radiowaves.left.and.right"_s},
        {u"Other"_s, 5, u"person.crop.circle"_s},
        {u"Fastmail"_s, 3, u"person.crop.circle"_s},
    };
    for (const Case& c : cases) {
        EXPECT_EQ(accountRank(c.name), c.rank) << c.name.toStdString();
        EXPECT_EQ(accountSymbol(c.name), c.symbol) << c.name.toStdString();
    }
}

TEST(CalendarAccounts, GroupsGoByRankThenNameAndCalendarsByTitleCaseBlind) {
    const std::vector<model::ODCalendar> calendars = {
        calendar(u"Work"_s, u"Work"_s),          calendar(u"b"_s, u"amber"_s),
        calendar(u"Birthdays"_s, u""_s),         calendar(u"Private"_s, app::words::onThisComputer()),
        calendar(u"Team"_s, u"iCloud"_s),        calendar(u"Holidays"_s, u"Holidays"_s),
        calendar(u"A"_s, u"amber"_s),            calendar(u"family"_s, u"iCloud"_s),
        calendar(u"Errands"_s, app::words::onThisComputer()),
    };
    const auto groups = settings::groupCalendars(calendars);
    EXPECT_EQ(sources(groups), QStringList({u"iCloud"_s, u"amber"_s, u"Work"_s, app::words::onThisComputer(),
                                            u"Holidays"_s, u"Other"_s}));
    EXPECT_EQ(groups[0].calendars[0].title, u"family"_s);
    EXPECT_EQ(groups[0].calendars[1].title, u"Team"_s);
    EXPECT_EQ(groups[1].calendars[0].title, u"A"_s);
    EXPECT_EQ(groups[5].calendars[0].title, u"Birthdays"_s) << "a calendar of no account is in Other";

    // Equal titles keep the store's order.
    auto twins = settings::groupCalendars({calendar(u"Same"_s, u"X"_s), calendar(u"same"_s, u"X"_s)});
    EXPECT_EQ(twins[0].calendars[0].title, u"Same"_s);
}

class CalendarsTab : public ::testing::Test {
protected:
    CalendarsTab() {
        store.setEnabledCalendarIDs(settings.enabledCalendarIDs());
        QObject::connect(&settings, &app::AppSettings::enabledCalendarIDsChanged, &store,
                         [this] { store.setEnabledCalendarIDs(settings.enabledCalendarIDs()); });
    }

    QStringList ids() const {
        QStringList all;
        for (const auto& c : store.calendars())
            all << c.id;
        return all;
    }

    core::ScopedTestClock clock{local(2026, 3, 10, 9, 0)};
    platform::FakeEventStore ek;
    platform::PlatformCalendar work = ek.addCalendar(EntityType::Event, u"Work"_s, {}, u"iCloud"_s);
    platform::PlatformCalendar home = ek.addCalendar(EntityType::Event, u"Home"_s);
    platform::PlatformCalendar feed = ek.addCalendar(EntityType::Event, u"Feed"_s, {}, u"Holidays"_s, true, true);
    platform::PlatformCalendar shared = ek.addCalendar(EntityType::Event, u"Shared"_s, {}, u"iCloud"_s, false);
    platform::InMemoryUserDefaults defaults;
    app::AppSettings settings{defaults};
    store::CalendarStore store{ek};
    settings::CalendarsTabModel model{store, settings};
};

TEST_F(CalendarsTab, SwitchingACalendarOffStoresTheOthersAndTheAppDropsItsEvents) {
    ek.addEvent(storetest::timedEvent(home, u"Dentist"_s, local(2026, 3, 11, 10)));
    store.reload();
    for (const QString& id : ids())
        EXPECT_TRUE(model.isOn(id)) << "with no stored set every calendar is on";

    model.setOn(home.calendarIdentifier, false);
    QStringList stored(settings.enabledCalendarIDs()->begin(), settings.enabledCalendarIDs()->end());
    stored.sort();
    QStringList others = ids();
    others.removeAll(home.calendarIdentifier);
    others.sort();
    EXPECT_EQ(stored, others);
    EXPECT_FALSE(model.isOn(home.calendarIdentifier));
    store.reload();
    EXPECT_TRUE(store.events().empty()) << "the store shows no event of a calendar switched off";
    EXPECT_FALSE(model.upcoming().contains(home.calendarIdentifier));

    model.setOn(home.calendarIdentifier, true);
    EXPECT_EQ(settings.enabledCalendarIDs()->size(), ids().size()) << "all on is still an explicit set";
    const auto later = ek.addCalendar(EntityType::Event, u"Later"_s);
    store.reload();
    EXPECT_FALSE(model.isOn(later.calendarIdentifier)) << "a calendar added later starts off";
}

TEST_F(CalendarsTab, UpcomingCountsEventsThatHaveNotEnded) {
    ek.addEvent(storetest::timedEvent(work, u"Ends now"_s, local(2026, 3, 10, 8), 60));
    ek.addEvent(storetest::timedEvent(work, u"Spans today"_s, local(2026, 3, 9, 12), 48 * 60));
    ek.addEvent(storetest::timedEvent(work, u"Tomorrow"_s, local(2026, 3, 11, 12)));
    ek.addEvent(storetest::allDayEvent(home, u"Today"_s, local(2026, 3, 10)));
    ek.addEvent(storetest::timedEvent(home, u"Yesterday"_s, local(2026, 3, 9, 12)));
    store.reload();
    const QHash<QString, int> counts = model.upcoming();
    EXPECT_EQ(counts.value(work.calendarIdentifier), 2);
    EXPECT_EQ(counts.value(home.calendarIdentifier), 1);
    EXPECT_FALSE(counts.contains(feed.calendarIdentifier));
}

TEST_F(CalendarsTab, ThePickerOffersWritableCalendarsAndShowsWhereQuickAddPutsAnEvent) {
    QStringList offered;
    for (const auto& c : model.writable())
        offered << c.title;
    EXPECT_EQ(offered, QStringList({u"Home"_s, u"Work"_s})) << "in the store's order; no read-only calendar, no subscription";

    ek.setDefaultCalendarForNewEvents(home.calendarIdentifier);
    EXPECT_EQ(model.resolvedDefault(), home.calendarIdentifier) << "the database's default when none is chosen";
    model.chooseDefault(work.calendarIdentifier);
    EXPECT_EQ(settings.defaultCalendarID(), work.calendarIdentifier);
    EXPECT_EQ(model.resolvedDefault(), work.calendarIdentifier);

    // A chosen calendar that became unusable is shown as the fallback, and stays stored.
    for (const QString& gone : {feed.calendarIdentifier, shared.calendarIdentifier, u"deleted"_s}) {
        settings.setDefaultCalendarID(gone);
        EXPECT_EQ(model.resolvedDefault(), home.calendarIdentifier);
        EXPECT_EQ(model.resolvedDefault(), store.calendarForNewEvents({settings.defaultCalendarID()}));
        EXPECT_EQ(settings.defaultCalendarID(), gone);
    }
}

TEST_F(CalendarsTab, WithoutCalendarsTheTabSaysWhy) {
    EXPECT_TRUE(model.hasCalendars());
    ek.setAuthorizationStatus(EntityType::Event, platform::AuthorizationStatus::Denied);
    store.reload();
    EXPECT_FALSE(model.hasCalendars());
    EXPECT_EQ(model.emptyText(), u"Orbitday needs Calendar access to list your calendars."_s);
    EXPECT_TRUE(model.writable().empty());
    EXPECT_EQ(model.resolvedDefault(), std::nullopt);

    ek.setAuthorizationStatus(EntityType::Event, platform::AuthorizationStatus::FullAccess);
    for (const auto& c : {work, home, feed, shared})
        ek.removeCalendar(c.calendarIdentifier);
    store.reload();
    EXPECT_EQ(model.emptyText(), u"No calendars found."_s);

    // Until the first read of the calendar files ends, none found is not yet known.
    ek.setLoading(true);
    store.reload();
    EXPECT_EQ(model.emptyText(), QString());
    ek.setLoading(false);
    store.reload();
    EXPECT_EQ(model.emptyText(), u"No calendars found."_s);
}

}  // namespace
