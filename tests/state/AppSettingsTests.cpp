#include "platform/defaults/InMemoryUserDefaults.h"
#include "state/AppSettings.h"

#include <gtest/gtest.h>
#include <QSignalSpy>

namespace {

using app::AppSettings;
using app::HotKeyCombo;

TEST(AppSettingsDefaults, FreshStoreGivesTheDefaultsAndWritesBackOnlySoundAndDismissal) {
    platform::InMemoryUserDefaults defaults;
    const AppSettings settings(defaults);

    EXPECT_EQ(settings.menuBarDisplayMode(), app::MenuBarDisplayMode::dateAndNext);
    EXPECT_EQ(settings.dateFormat(), app::DateFormatPreset::weekdayDayMonth);
    EXPECT_TRUE(settings.showMeetingCountdown());
    EXPECT_FALSE(settings.showWeekNumbers());
    EXPECT_TRUE(settings.hoverHaptics());
    EXPECT_EQ(settings.firstWeekday(), app::FirstWeekday::monday);
    EXPECT_EQ(settings.appearance(), app::AppearanceMode::system);
    EXPECT_FALSE(settings.launchAtLogin());
    EXPECT_FALSE(settings.enabledCalendarIDs());
    EXPECT_FALSE(settings.defaultCalendarID());
    EXPECT_TRUE(settings.showReminders());
    EXPECT_TRUE(settings.meetingAlertsEnabled());
    EXPECT_EQ(settings.alertLeadTime(), 60);
    EXPECT_EQ(settings.hotKeyOpenPopover(), (HotKeyCombo{8, 0x900}));
    EXPECT_EQ(settings.hotKeyQuickCreate(), (HotKeyCombo{45, 0x900}));
    EXPECT_EQ(settings.hotKeyJoinMeeting(), (HotKeyCombo{38, 0x900}));
    EXPECT_FALSE(settings.hasCompletedOnboarding());
    EXPECT_EQ(settings.customDateFormat(), u"EEE d MMM");
    EXPECT_EQ(settings.meetingCountdownLeadTime(), 900);
    EXPECT_TRUE(settings.alertOnlyWithLink());
    EXPECT_EQ(settings.alertSound(), QStringLiteral("Pop"));
    EXPECT_EQ(settings.alertAutoDismissAfter(), 300.0);

    EXPECT_EQ(defaults.values().keys(),
              (QStringList{QStringLiteral("alertAutoDismissAfter"), QStringLiteral("alertSound")}));
    EXPECT_EQ(defaults.stringValue(QStringLiteral("alertSound")), QStringLiteral("Pop"));
    EXPECT_EQ(defaults.doubleValue(QStringLiteral("alertAutoDismissAfter")), 300.0);
}

TEST(AppSettingsWriting, EveryAssignmentIsStoredInItsForm) {
    platform::InMemoryUserDefaults defaults;
    AppSettings settings(defaults);

    settings.setFirstWeekday(app::FirstWeekday::saturday);
    EXPECT_EQ(defaults.object(QStringLiteral("firstWeekday")), QVariant(7LL));
    settings.setMenuBarDisplayMode(app::MenuBarDisplayMode::icon);
    EXPECT_EQ(defaults.object(QStringLiteral("menuBarDisplayMode")), QVariant(QStringLiteral("icon")));
    settings.setDateFormat(app::DateFormatPreset::long_);
    EXPECT_EQ(defaults.object(QStringLiteral("dateFormat")), QVariant(QStringLiteral("long")));
    settings.setShowWeekNumbers(true);
    EXPECT_EQ(defaults.object(QStringLiteral("showWeekNumbers")), QVariant(true));
    settings.setAlertLeadTime(120);
    EXPECT_EQ(defaults.object(QStringLiteral("alertLeadTime")), QVariant(120.0));

    settings.setDefaultCalendarID(QStringLiteral("work"));
    EXPECT_EQ(defaults.object(QStringLiteral("defaultCalendarID")), QVariant(QStringLiteral("work")));
    settings.setDefaultCalendarID(std::nullopt);
    EXPECT_FALSE(defaults.contains(QStringLiteral("defaultCalendarID")));

    settings.setEnabledCalendarIDs(app::CalendarIDSet{QStringLiteral("b"), QStringLiteral("a")});
    EXPECT_EQ(defaults.stringListValue(QStringLiteral("enabledCalendarIDs")),
              (QStringList{QStringLiteral("a"), QStringLiteral("b")}));
    settings.setEnabledCalendarIDs(app::CalendarIDSet{});
    EXPECT_EQ(defaults.stringListValue(QStringLiteral("enabledCalendarIDs")), QStringList());
    settings.setEnabledCalendarIDs(std::nullopt);
    EXPECT_FALSE(defaults.contains(QStringLiteral("enabledCalendarIDs")));

    settings.setHotKeyJoinMeeting(std::nullopt);
    EXPECT_EQ(defaults.object(QStringLiteral("hotKeyJoinMeeting")), QVariant(QByteArray()));
    settings.setAlertSound(std::nullopt);
    EXPECT_EQ(defaults.object(QStringLiteral("alertSound")), QVariant(QString()));
    settings.setAlertAutoDismissAfter(std::nullopt);
    EXPECT_EQ(defaults.object(QStringLiteral("alertAutoDismissAfter")), QVariant(-1.0));
}

TEST(AppSettingsWriting, ObserversSeeTheNewValueOnEveryAssignment) {
    platform::InMemoryUserDefaults defaults;
    AppSettings settings(defaults);
    QSignalSpy dateFormat(&settings, &AppSettings::dateFormatChanged);
    QSignalSpy hotKey(&settings, &AppSettings::hotKeyOpenPopoverChanged);

    // An equal value still notifies.
    settings.setHotKeyOpenPopover(settings.hotKeyOpenPopover());
    EXPECT_EQ(hotKey.count(), 1);

    // A new custom pattern reaches the date's observers only while it is in use.
    settings.setCustomDateFormat(QStringLiteral("d MMM"));
    EXPECT_EQ(dateFormat.count(), 0);
    settings.setDateFormat(app::DateFormatPreset::custom);
    settings.setCustomDateFormat(QStringLiteral("MMM d"));
    ASSERT_EQ(dateFormat.count(), 2);
    EXPECT_EQ(defaults.object(QStringLiteral("customDateFormat")), QVariant(QStringLiteral("MMM d")));
    EXPECT_EQ(settings.formattedDate(core::Date(1772717400.0)), u"Mar 5");
}

TEST(AppSettingsReading, UnusableObjectsFallBackAsEachKeySays) {
    platform::InMemoryUserDefaults defaults;
    const auto put = [&](const char* key, const QVariant& value) {
        defaults.setObject(QString::fromLatin1(key), value);
    };
    put("menuBarDisplayMode", QStringLiteral("sideways"));
    put("appearance", QStringLiteral("sepia"));
    put("dateFormat", 3);
    put("showMeetingCountdown", QStringLiteral("banana"));
    put("showWeekNumbers", QStringLiteral("yes please"));
    put("firstWeekday", QStringLiteral("Tuesday"));
    put("alertLeadTime", QStringLiteral("soon"));
    put("enabledCalendarIDs", QStringLiteral("not a list"));
    put("defaultCalendarID", QByteArrayLiteral("bytes"));
    put("hotKeyOpenPopover", QStringLiteral("{\"keyCode\":8,\"modifiers\":2304}"));
    put("hotKeyQuickCreate", QByteArrayLiteral("garbage"));
    put("alertSound", 42);
    put("alertAutoDismissAfter", QStringLiteral("never"));
    put("customDateFormat", true);

    const AppSettings settings(defaults);
    EXPECT_EQ(settings.menuBarDisplayMode(), app::MenuBarDisplayMode::dateAndNext);
    EXPECT_EQ(settings.appearance(), app::AppearanceMode::system);
    EXPECT_EQ(settings.dateFormat(), app::DateFormatPreset::weekdayDayMonth);
    EXPECT_TRUE(settings.showMeetingCountdown());
    EXPECT_FALSE(settings.showWeekNumbers());
    EXPECT_EQ(settings.firstWeekday(), app::FirstWeekday::monday);
    EXPECT_EQ(settings.alertLeadTime(), 60);
    EXPECT_FALSE(settings.enabledCalendarIDs());
    EXPECT_FALSE(settings.defaultCalendarID());
    // A hot key that is not data, or data that does not decode, is no shortcut;
    // only an absent key gives the default.
    EXPECT_FALSE(settings.hotKeyOpenPopover());
    EXPECT_FALSE(settings.hotKeyQuickCreate());
    EXPECT_EQ(settings.hotKeyJoinMeeting(), AppSettings::defaultHotKeyJoinMeeting());
    EXPECT_FALSE(settings.alertSound());
    EXPECT_FALSE(settings.alertAutoDismissAfter());
    EXPECT_EQ(settings.customDateFormat(), u"EEE d MMM");
    EXPECT_EQ(defaults.object(QStringLiteral("alertSound")), QVariant(QString()));
    EXPECT_EQ(defaults.object(QStringLiteral("alertAutoDismissAfter")), QVariant(-1.0));
}

TEST(AppSettingsReading, FirstWeekdayAcceptsOnlyItsFourValues) {
    const std::vector<std::pair<QVariant, app::FirstWeekday>> cases{{7, app::FirstWeekday::saturday},
                                                                    {0, app::FirstWeekday::system},
                                                                    {QStringLiteral("1"), app::FirstWeekday::sunday},
                                                                    {4, app::FirstWeekday::monday},
                                                                    {9, app::FirstWeekday::monday},
                                                                    {-1, app::FirstWeekday::monday},
                                                                    {2.5, app::FirstWeekday::monday}};
    for (const auto& [stored, expected] : cases) {
        platform::InMemoryUserDefaults defaults;
        defaults.setObject(QStringLiteral("firstWeekday"), stored);
        EXPECT_EQ(AppSettings(defaults).firstWeekday(), expected) << stored.toString().toStdString();
    }
}

TEST(AppSettingsReading, NegativeDismissalAndEmptySoundMeanNone) {
    platform::InMemoryUserDefaults defaults;
    defaults.setObject(QStringLiteral("alertSound"), QString());
    defaults.setObject(QStringLiteral("alertAutoDismissAfter"), -0.5);
    const AppSettings settings(defaults);
    EXPECT_FALSE(settings.alertSound());
    EXPECT_FALSE(settings.alertAutoDismissAfter());
}

TEST(AppSettingsCalendars, TurningOneOffStartsFromAllAndNeverReturnsToNil) {
    platform::InMemoryUserDefaults defaults;
    AppSettings settings(defaults);
    const QStringList all{QStringLiteral("home"), QStringLiteral("work"), QStringLiteral("gym")};

    settings.setCalendar(QStringLiteral("work"), false, all);
    EXPECT_EQ(settings.enabledCalendarIDs(), (app::CalendarIDSet{QStringLiteral("home"), QStringLiteral("gym")}));
    settings.setCalendar(QStringLiteral("work"), true, all);
    EXPECT_EQ(settings.enabledCalendarIDs(), app::CalendarIDSet(all.cbegin(), all.cend()));

    // Once explicit, a calendar that appears later is not switched on by itself.
    settings.setCalendar(QStringLiteral("home"), false, all + QStringList{QStringLiteral("new")});
    EXPECT_EQ(settings.enabledCalendarIDs(), (app::CalendarIDSet{QStringLiteral("work"), QStringLiteral("gym")}));
}

TEST(AppSettingsCalendars, WeekLayoutFollowsFirstWeekday) {
    platform::InMemoryUserDefaults defaults;
    AppSettings settings(defaults);
    EXPECT_EQ(settings.calendar().firstWeekday(), 2);
    settings.setFirstWeekday(app::FirstWeekday::saturday);
    EXPECT_EQ(settings.calendar().firstWeekday(), 7);
    settings.setFirstWeekday(app::FirstWeekday::sunday);
    EXPECT_EQ(settings.calendar().firstWeekday(), 1);
    settings.setFirstWeekday(app::FirstWeekday::system);
    EXPECT_EQ(settings.calendar().firstWeekday(), core::Calendar::current().firstWeekday());
}

}  // namespace
