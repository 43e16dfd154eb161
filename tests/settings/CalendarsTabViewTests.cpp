#include "SettingsViewTestSupport.h"
#include "core/Color.h"
#include "design/widgets/ODMenuButton.h"
#include "design/widgets/ODSwitch.h"
#include "settings/CalendarsSettingsView.h"
#include "settings/CalendarsTabModel.h"

#include <QTest>

#include <algorithm>

namespace {

using namespace Qt::Literals::StringLiterals;
using platform::EntityType;
using settingstest::SettingsTabViews;
using storetest::local;

class CalendarsTabView : public SettingsTabViews {
protected:
    CalendarsTabView() {
        ek.addCalendar(EntityType::Event, u"Team"_s, core::Color::fromHex(u"#3B82F6"_s), u"iCloud"_s);
        work = ek.addCalendar(EntityType::Event, u"Work"_s, core::Color::fromHex(u"#F0561D"_s), u"Google"_s);
        home = ek.addCalendar(EntityType::Event, u"Home"_s, core::Color::fromHex(u"#22A06B"_s));
        ek.addCalendar(EntityType::Event, u"Errands"_s, core::Color::fromHex(u"#E2A400"_s));
        ek.addCalendar(EntityType::Event, u"Holidays in Germany"_s, core::Color::fromHex(u"#8B5CF6"_s),
                       u"Holidays"_s, false, true);
        ek.addEvent(storetest::timedEvent(work, u"Review"_s, local(2026, 3, 10, 14)));
        ek.addEvent(storetest::timedEvent(work, u"Planning"_s, local(2026, 3, 12, 10)));
        ek.addEvent(storetest::timedEvent(home, u"Dentist"_s, local(2026, 3, 11, 10)));
        store.reload();
        QObject::connect(&settings, &app::AppSettings::enabledCalendarIDsChanged, &store,
                         [this] { store.setEnabledCalendarIDs(settings.enabledCalendarIDs()); });
    }

    platform::PlatformCalendar work;
    platform::PlatformCalendar home;
};

TEST_F(CalendarsTabView, ListsAccountsAndSwitchesCalendarsForTheWholeApp) {
    settings::CalendarsSettingsView view(new settings::CalendarsTabModel(store, settings));
    expectRendersInBothAppearances(view, u"settings-calendars-list"_s);

    design::ODSwitch* homeSwitch = view.switchFor(home.calendarIdentifier);
    ASSERT_NE(homeSwitch, nullptr);
    view.show();
    QTest::mouseClick(homeSwitch, Qt::LeftButton);
    EXPECT_FALSE(settings.enabledCalendarIDs()->contains(home.calendarIdentifier));
    EXPECT_EQ(view.switchFor(home.calendarIdentifier), homeSwitch) << "the rows stay as they are";
    EXPECT_FALSE(homeSwitch->isOn());
    store.reload();
    EXPECT_TRUE(std::none_of(store.events().begin(), store.events().end(),
                             [&](const model::ODEvent& e) { return e.calendarID == home.calendarIdentifier; }));
    view.hide();
    expectRendersInBothAppearances(view, u"settings-calendars-switched-off"_s);

    const auto& picker = view.defaultPicker();
    ASSERT_TRUE(picker.currentIndex().has_value());
    EXPECT_EQ(picker.items()[*picker.currentIndex()].value, store.calendarForNewEvents({settings.defaultCalendarID()}))
        << "the picker shows the calendar Quick add uses";
}

TEST_F(CalendarsTabView, WithoutAccessThePanelSaysSoAndThePickerIsOff) {
    ek.setAuthorizationStatus(EntityType::Event, platform::AuthorizationStatus::Denied);
    store.reload();
    settings::CalendarsSettingsView view(new settings::CalendarsTabModel(store, settings));
    EXPECT_FALSE(view.defaultPicker().isEnabled());
    expectRendersInBothAppearances(view, u"settings-calendars-no-access"_s);
}

TEST_F(CalendarsTabView, WhileTheCalendarFilesAreFirstReadThePanelSaysNothing) {
    for (const auto& calendar : ek.calendars(EntityType::Event))
        ek.removeCalendar(calendar.calendarIdentifier);
    ek.setLoading(true);
    store.reload();
    settings::CalendarsSettingsView view(new settings::CalendarsTabModel(store, settings));
    expectRendersInBothAppearances(view, u"settings-calendars-reading"_s);
}

}  // namespace
