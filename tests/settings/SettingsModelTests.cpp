// What the General and Notifications tabs offer and write, without a window.

#include "core/Calendar.h"
#include "core/Clock.h"
#include "platform/defaults/InMemoryUserDefaults.h"
#include "platform/loginitem/FakeLoginItem.h"
#include "platform/sound/FakeSoundPlayer.h"
#include "settings/CustomDatePattern.h"
#include "settings/GeneralSettings.h"
#include "settings/NotificationSettings.h"
#include "state/AppSettings.h"

#include "StoreTestSupport.h"
#include "TestEnvironment.h"

#include <QSignalSpy>

#include <gtest/gtest.h>

using namespace Qt::Literals::StringLiterals;
using app::DateFormatPreset;

namespace {

template <typename Value>
QStringList titles(const settings::SettingsChoices<Value>& choices) {
    QStringList list;
    for (const auto& choice : choices)
        list << choice.title;
    return list;
}

class GeneralTab : public ::testing::Test {
protected:
    // Friday 6 November 2026, 9:47 in Berlin.
    core::Date now = storetest::local(2026, 11, 6, 9, 47);
    platform::InMemoryUserDefaults defaults;
    app::AppSettings settings{defaults};
};

TEST_F(GeneralTab, TheDateMenuShowsEachPresetAtNowInItsOrderWithTheCustomPatternLast) {
    const auto choices = settings::dateFormatChoices(settings, now);
    ASSERT_EQ(choices.size(), 8u);
    EXPECT_EQ(titles(choices), (QStringList{u"Fri 6 Nov"_s, app::formatDate(DateFormatPreset::dayMonth, now, {}),
                                            u"Fri 6"_s, u"06/11"_s, u"Friday, 6 November"_s, u"2026-11-06"_s,
                                            u"Fri 6 Nov 9:47\u202FAM"_s, u"Custom\u2026"_s}));
    QStringList details;
    for (const auto& choice : choices)
        details << choice.detail.value_or(QString());
    EXPECT_EQ(details, (QStringList{u"Short"_s, u"Minimal"_s, u"Compact"_s, u"Numeric"_s, u"Long"_s, u"ISO"_s,
                                    u"With time"_s, u"Pattern"_s}));
    EXPECT_EQ(choices[6].value, DateFormatPreset::weekdayDayMonthTime) << "the one with the time comes last";
    EXPECT_TRUE(choices[7].separatorBefore);
    EXPECT_FALSE(choices[6].separatorBefore);

    settings.setCustomDateFormat(u"yyyy · w"_s);
    EXPECT_EQ(settings::dateFormatChoices(settings, now).back().title, u"Custom\u2026"_s) << "not in use yet";
    settings.setDateFormat(DateFormatPreset::custom);
    EXPECT_EQ(settings::dateFormatChoices(settings, now).back().title, u"2026 · 45"_s);
    EXPECT_EQ(settings::dateFormatChoices(settings, now).back().detail, u"Pattern"_s);
}

TEST_F(GeneralTab, CountdownLeadsAndWeekStartsAreOfferedInOrder) {
    EXPECT_EQ(titles(settings::countdownLeadChoices()), (QStringList{u"5 min before"_s, u"10 min before"_s,
                                                                    u"15 min before"_s, u"30 min before"_s,
                                                                    u"60 min before"_s}));
    EXPECT_EQ(settings::countdownLeadChoices().back().value, 3600);

    const auto weekdays = settings::firstWeekdayChoices(core::Calendar::current());
    EXPECT_EQ(titles(weekdays), (QStringList{u"System"_s, u"Sunday"_s, u"Monday"_s, u"Saturday"_s}));
    EXPECT_EQ(weekdays[0].detail, u"Sunday"_s) << "weeks start on Sunday in en_US";
    testsupport::ScopedLocale german("de_DE");
    EXPECT_EQ(settings::firstWeekdayChoices(core::Calendar::current())[0].detail, u"Montag"_s);
}

TEST_F(GeneralTab, ACustomPatternIsTrimmedRefusedWhenUnreadableAndPreviewedAsTyped) {
    EXPECT_EQ(settings::trimmedPattern(u" \tyyyy \n"_s), u"yyyy"_s) << "a pasted line break goes too";
    EXPECT_FALSE(settings::canUsePattern(QString()));
    EXPECT_EQ(settings::patternPreview(QString(), now), u"Fri 6 Nov"_s) << "an empty field shows the default";
    for (const QString& blank : {u"   "_s, u" \t "_s}) {
        EXPECT_FALSE(settings::canUsePattern(blank));
        EXPECT_EQ(settings::patternPreview(blank, now), blank) << "spaces alone preview as blank";
    }
    EXPECT_FALSE(settings::canUsePattern(u"EEE 'd"_s)) << "an unclosed quote";
    EXPECT_EQ(settings::patternPreview(u"EEE 'd"_s, now), std::nullopt);
    EXPECT_TRUE(settings::canUsePattern(u"  EEEE, d MMMM  "_s));
    EXPECT_EQ(settings::patternPreview(u"  EEEE, d MMMM  "_s, now), u"  Friday, 6 November  "_s);
    EXPECT_EQ(settings::patternPreview(u"  yyyy  "_s, now), u"  2026  "_s);

    QSignalSpy dateFormats(&settings, &app::AppSettings::dateFormatChanged);
    EXPECT_FALSE(settings::useCustomPattern(settings, u"EEE 'd"_s));
    EXPECT_FALSE(settings::useCustomPattern(settings, u"  "_s));
    EXPECT_EQ(settings.dateFormat(), DateFormatPreset::weekdayDayMonth) << "nothing written for a refused pattern";
    EXPECT_EQ(dateFormats.count(), 0);

    EXPECT_TRUE(settings::useCustomPattern(settings, u" yyyy "_s));
    EXPECT_EQ(settings.customDateFormat(), u"yyyy"_s);
    EXPECT_EQ(settings.dateFormat(), DateFormatPreset::custom);
    EXPECT_EQ(defaults.object(u"customDateFormat"_s).toString(), u"yyyy"_s);
    EXPECT_EQ(settings.formattedDate(now), u"2026"_s) << "stored and shown without the spaces";

    dateFormats.clear();
    EXPECT_TRUE(settings::useCustomPattern(settings, u"d.M."_s));
    EXPECT_GE(dateFormats.count(), 1) << "the tray redraws with the new pattern";
    EXPECT_EQ(settings.formattedDate(now), u"6.11."_s);
}

TEST_F(GeneralTab, LaunchAtLoginShowsWhatTheDesktopTookAndWhyAChangeFailed) {
    platform::FakeLoginItem item;
    settings::LaunchAtLogin login(settings, item);
    login.set(true);
    EXPECT_TRUE(item.enabled);
    EXPECT_TRUE(settings.launchAtLogin());
    EXPECT_EQ(login.error(), std::nullopt);

    item.failure = u"the folder /home/u/.config/autostart could not be made (Permission denied)"_s;
    login.set(false);
    EXPECT_TRUE(settings.launchAtLogin()) << "the entry is still there";
    EXPECT_EQ(login.error(), u"Couldn't change: the folder /home/u/.config/autostart could not be made "
                             u"(Permission denied)"_s);
    item.failure.reset();
    login.set(false);
    EXPECT_FALSE(settings.launchAtLogin());
    EXPECT_EQ(login.error(), std::nullopt) << "a change that works clears the message";

    // Turned on in the desktop's own list meanwhile; showing the tab again follows it.
    item.enabled = true;
    QSignalSpy writes(&settings, &app::AppSettings::launchAtLoginChanged);
    login.sync();
    EXPECT_TRUE(settings.launchAtLogin());
    login.sync();
    EXPECT_EQ(writes.count(), 1) << "nothing is written when the two agree";
}

class NotificationsTab : public GeneralTab {
protected:
    platform::FakeSoundPlayer sound;
};

TEST_F(NotificationsTab, MenusOfferTheirEntriesInOrderWithNoneApartFromTheSounds) {
    EXPECT_EQ(titles(settings::alertLeadChoices()), (QStringList{u"At start"_s, u"1 min before"_s, u"2 min before"_s,
                                                                 u"5 min before"_s, u"10 min before"_s,
                                                                 u"15 min before"_s}));
    const auto& sounds = settings::alertSoundChoices();
    EXPECT_EQ(titles(sounds), QStringList{u"None"_s} + platform::alertSoundNames());
    EXPECT_EQ(sounds.size(), 13u);
    EXPECT_EQ(sounds[0].value, std::nullopt);
    EXPECT_TRUE(sounds[1].separatorBefore);
    EXPECT_EQ(sounds[1].value, u"Pop"_s);
    EXPECT_FALSE(sounds[2].separatorBefore);
    EXPECT_EQ(titles(settings::autoDismissChoices()), (QStringList{u"1 min after start"_s, u"5 min after start"_s,
                                                                   u"10 min after start"_s, u"Never"_s}));
    EXPECT_EQ(settings::autoDismissChoices().back().value, std::nullopt);
}

TEST_F(NotificationsTab, AChosenSoundIsStoredThenPlayedAndNoneIsStoredAndPlaysNothing) {
    settings::chooseAlertSound(settings, sound, u"Glass"_s);
    settings::chooseAlertSound(settings, sound, u"Glass"_s);
    EXPECT_EQ(settings.alertSound(), u"Glass"_s);
    EXPECT_EQ(sound.played, (QStringList{u"Glass"_s, u"Glass"_s})) << "a second choice plays it again";

    sound.refusesAll = true;
    settings::chooseAlertSound(settings, sound, u"Hero"_s);
    EXPECT_EQ(settings.alertSound(), u"Hero"_s) << "stored although it could not play";
    sound.refusesAll = false;

    sound.requested.clear();
    settings::chooseAlertSound(settings, sound, std::nullopt);
    settings::previewAlertSound(settings, sound);
    EXPECT_EQ(settings.alertSound(), std::nullopt);
    EXPECT_TRUE(sound.requested.isEmpty());
    settings.setAlertSound(u"Ping"_s);
    settings::previewAlertSound(settings, sound);
    EXPECT_EQ(sound.played.last(), u"Ping"_s);
}

TEST_F(NotificationsTab, NoSoundAndNeverDismissingSurviveARestart) {
    settings::chooseAlertSound(settings, sound, std::nullopt);
    settings.setAlertAutoDismissAfter(std::nullopt);
    // A restart reads the settings file, where every value is text.
    platform::InMemoryUserDefaults restarted;
    for (const QString& key : {u"alertSound"_s, u"alertAutoDismissAfter"_s})
        restarted.setObject(key, defaults.object(key).toString());
    const app::AppSettings after(restarted);
    EXPECT_EQ(after.alertSound(), std::nullopt);
    EXPECT_EQ(after.alertAutoDismissAfter(), std::nullopt);
}

}  // namespace
