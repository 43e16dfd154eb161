// The application as built, run in a private X server with a session bus and
// a fake panel, driven by keys and the tray protocol. Screens that come later
// add their steps here (see support/AppDriver.h).

#include "core/Date.h"
#include "design/values/Theme.h"
#include "shell/StatusTitle.h"
#include "state/Preferences.h"

#include "AppDriver.h"
#include "EventLoop.h"
#include "TestEnvironment.h"

#include <QDir>
#include <QElapsedTimer>
#include <QFile>
#include <QImage>
#include <QTimeZone>

#include <gtest/gtest.h>

#include <algorithm>
#include <functional>
#include <iostream>
#include <optional>

using namespace Qt::Literals::StringLiterals;
using testsupport::AppDriver;
using Keys = testsupport::AppDriver::Keys;

namespace {

// A fixed-offset zone in which it is late morning now, so that an event two
// hours from now is still today whenever the test runs.
QByteArray lateMorningZone() {
    const int utcHour = QDateTime::currentDateTimeUtc().time().hour();
    const int offset = ((11 - utcHour) + 36) % 24 - 12;
    if (offset == 0)
        return "Etc/GMT";
    // The Etc zones count the other way round: Etc/GMT-3 is three hours ahead.
    return (offset > 0 ? "Etc/GMT-" : "Etc/GMT+") + QByteArray::number(std::abs(offset));
}

QColor expected(const design::DynamicColor& token, bool dark) {
    const core::Color c = token.resolve(design::Appearance{dark, false, false});
    return QColor(c.red, c.green, c.blue);
}

bool near(QColor a, QColor b) {
    return std::abs(a.red() - b.red()) <= 2 && std::abs(a.green() - b.green()) <= 2 &&
           std::abs(a.blue() - b.blue()) <= 2;
}

// How long drawing may take on a busy machine.
constexpr int kDrawingTimeoutMs = 15000;

// A new window shows one colour, black here, until the application paints it.
bool drawn(const QImage& shot) {
    const QRgb first = shot.pixel(0, 0);
    for (int y = 0; y < shot.height(); ++y)
        for (int x = 0; x < shot.width(); ++x)
            if (shot.pixel(x, y) != first)
                return true;
    return false;
}

// The main screen's footer ends the panel.
bool showsFooter(const QImage& shot, bool dark) {
    return near(shot.pixelColor(300, shot.height() - 12), expected(design::Theme::surfaceSunk(), dark));
}

// Pixels in the blue of the calendar "Work" that AppDriver writes (#2D7FF9),
// whole or at the half strength of marks on past days and other months.
int calendarMarks(const QImage& image) {
    int count = 0;
    for (int y = 0; y < image.height(); ++y)
        for (int x = 0; x < image.width(); ++x) {
            const QColor c = image.pixelColor(x, y);
            if (c.blue() > c.red() + 60 && c.blue() > c.green() + 40)
                ++count;
        }
    return count;
}

void keep(const QImage& image, const QString& name) {
    const QString folder = qEnvironmentVariable("ORBITDAY_E2E_SCREENSHOTS");
    if (!folder.isEmpty() && QDir().mkpath(folder))
        image.save(folder + u'/' + name + u".png"_s);
}

class AppEndToEnd : public ::testing::Test {
protected:
    void SetUp() override {
        ASSERT_FALSE(qEnvironmentVariableIsEmpty("DISPLAY")) << "needs an X server";
        ASSERT_FALSE(qEnvironmentVariableIsEmpty("DBUS_SESSION_BUS_ADDRESS")) << "needs a session bus";
        app.setTimeZone(zone);
        app.grantCalendarAccess();
    }
    void TearDown() override {
        const QString errors = app.stop();
        EXPECT_FALSE(errors.contains(u"ERROR"_s, Qt::CaseInsensitive)) << errors.toStdString();
        if (HasFailure())
            std::cerr << "The application wrote:\n" << errors.toStdString();
    }

    // The panel's picture once it shows what the test waits for. Drawing takes its time,
    // the more so on a busy machine: rather than guess how long, look again until the
    // picture shows it, within a generous limit. The last picture when it never does
    // (empty without a panel).
    static QImage panelShotWhen(AppDriver& driver, const QString& name,
                                const std::function<bool(const QImage&)>& shows) {
        QImage shot;
        EXPECT_TRUE(testsupport::waitUntil(
            [&] {
                const auto panel = driver.panelGeometry();
                shot = panel ? driver.screenshot(*panel) : QImage();
                return !shot.isNull() && shows(shot);
            },
            kDrawingTimeoutMs))
            << "the panel never showed what " << name.toStdString() << " waits for";
        keep(shot, name);
        return shot;
    }
    QImage panelShotWhen(const QString& name, const std::function<bool(const QImage&)>& shows) {
        return panelShotWhen(app, name, shows);
    }
    // The panel's picture once the application has drawn it.
    QImage panelShot(const QString& name) { return panelShotWhen(name, drawn); }

    // Events today and on the next days, so that the grid has marks to show.
    static void addWeekOfEvents(AppDriver& driver) {
        const QDateTime now = QDateTime::currentDateTimeUtc();
        const QDateTime start = now.addSecs(2 * 3600 - now.time().second());
        driver.addEvent(u"Dentist appointment"_s, start, start.addSecs(1800));
        for (int day = 1; day <= 3; ++day)
            driver.addEvent(u"Review "_s + QString::number(day), start.addDays(day), start.addDays(day).addSecs(3600));
    }

    // Pressed once, as soon as the tray item is on the panel: a press lost
    // because the keys were not grabbed yet fails here.
    static bool openWithHotKey(AppDriver& driver) {
        driver.chord({Keys::controlL, Keys::altL, 'c'});
        return driver.waitForPanel();
    }

    // Our privacy settings window, the application's window that is not the panel, once it
    // has the keyboard (its switch takes the keys the test types next).
    static bool waitForPrivacyWindow(const AppDriver& driver) {
        return testsupport::waitUntil(
            [&] {
                const auto focused = driver.focusedWindow();
                return focused && focused->width() != 364;
            },
            kDrawingTimeoutMs);
    }

    QByteArray zone = lateMorningZone();
    AppDriver app{QStringLiteral(ORBITDAY_APP_BINARY)};
};

// An event row's accent bar: the top of the first column that holds a
// run of at least `length` pixels of the calendar's blue.
std::optional<QPoint> accentBar(const QImage& image, int length) {
    const QColor work(0x2D, 0x7F, 0xF9);
    for (int x = 0; x < image.width(); ++x) {
        int run = 0;
        for (int y = 0; y < image.height(); ++y) {
            run = near(image.pixelColor(x, y), work) ? run + 1 : 0;
            if (run == length)
                return QPoint(x, y - length + 1);
        }
    }
    return std::nullopt;
}

// The top of the footer's band, found by walking up its right margin (clear of
// the gear button) until the band's colour ends.
int footerTop(const QImage& shot, bool dark) {
    const QColor band = expected(design::Theme::surfaceSunk(), dark);
    const int x = shot.width() - 7;
    int y = shot.height() - 12;
    while (y > 0 && near(shot.pixelColor(x, y), band))
        --y;
    return y;
}

// The middles of the reminders' checkboxes shown between the grid and the footer: each
// box's top and bottom edges are lines across the column where the boxes stand.
std::vector<int> checkboxes(const QImage& shot, bool dark) {
    const int surface = expected(design::Theme::surface(), dark).lightness();
    const auto isEdge = [&](int y) {
        int inked = 0;
        for (int x = 19; x <= 31; ++x)
            inked += std::abs(shot.pixelColor(x, y).lightness() - surface) > 40 ? 1 : 0;
        return inked >= 11;
    };
    std::vector<int> edges;
    for (int y = 300; y < footerTop(shot, dark); ++y)
        if (isEdge(y) && !isEdge(y - 1))
            edges.push_back(y);
    std::vector<int> middles;
    for (size_t i = 0; i + 1 < edges.size(); ++i)
        if (const int size = edges[i + 1] - edges[i]; size >= 10 && size <= 20) {
            middles.push_back((edges[i] + edges[i + 1]) / 2);
            ++i;
        }
    return middles;
}

bool isCompleted(const QString& todoFile) {
    QFile file(todoFile);
    return file.open(QIODevice::ReadOnly) && file.readAll().contains("STATUS:COMPLETED");
}

TEST_F(AppEndToEnd, StartsInTheTrayAndOpensWithTheHotKeyClosesWithEscapeAndReopensOnASecondLaunch) {
    const QDateTime now = QDateTime::currentDateTimeUtc();
    const QDateTime start = now.addSecs(2 * 3600 - now.time().second());
    app.addEvent(u"Dentist appointment"_s, start, start.addSecs(1800));
    ASSERT_TRUE(app.start());
    ASSERT_TRUE(app.tray().waitForItem());

    {
        testsupport::ScopedTimeZone inAppZone(zone.constData());
        const core::Date startDate = core::Date::fromQDateTime(start);
        const QString date = app::formatDate(app::DateFormatPreset::weekdayDayMonth, core::Date::now(), {});
        // The item comes before the calendar is read, and names the event once it is.
        const QString label = date + u"  \u00B7  Dentist "_s + app::shortTime(startDate);
        EXPECT_TRUE(testsupport::waitUntil([&] { return app.tray().label() == label; }))
            << app.tray().label().toStdString();
        EXPECT_EQ(app.tray().toolTipTitle(), u"Dentist appointment at "_s + app::shortTime(startDate));
    }
    EXPECT_TRUE(app.visibleWindows().empty()) << "a tray application starts without a window";

    app.chord({Keys::controlL, Keys::altL, 'c'});
    ASSERT_TRUE(app.waitForPanel());
    const QRect panel = *app.panelGeometry();
    EXPECT_EQ(panel.width(), 364);
    EXPECT_EQ(panel.topLeft(), QPoint(1280 - 364 - 8, 12)) << "no click yet: the top right corner";
    const QImage light =
        panelShotWhen(u"panel-light"_s, [](const QImage& picture) { return showsFooter(picture, false); });
    ASSERT_FALSE(light.isNull());
    EXPECT_TRUE(showsFooter(light, false));

    app.chord({Keys::escape});
    EXPECT_TRUE(app.waitForNoPanel());

    EXPECT_EQ(app.launchAgain(), 0);
    EXPECT_TRUE(app.waitForPanel());
    EXPECT_TRUE(app.isRunning());
}

// "Open With" on many images at once: the running instance takes the first (it imports one
// at a time); a request it could not be handed is a failure the launch reports.
TEST_F(AppEndToEnd, ASecondLaunchWithManyImagesHandsOverTheFirstAndOneItCannotHandOverFails) {
    ASSERT_TRUE(app.start());
    ASSERT_TRUE(app.tray().waitForItem());
    QStringList paths;
    for (int i = 0; i < 1000; ++i)
        paths << app.home() + u"/Pictures/Screenshot from 2026-03-11 %1.png"_s.arg(i, 6, 10, QLatin1Char('0'));
    EXPECT_EQ(app.launchAgain(paths), 0);
    EXPECT_TRUE(app.waitForPanel()) << "the import of the first image opens the popover";

    EXPECT_EQ(app.launchAgain({app.home() + u'/' + QString(70'000, u'x')}), 1) << "a path longer than a message may be";
    EXPECT_TRUE(app.isRunning());
}

TEST_F(AppEndToEnd, AClickOnTheTrayItemOpensTheDarkPanelUnderItAndAClickElsewhereClosesIt) {
    app.setPreference(u"appearance"_s, u"dark"_s);
    ASSERT_TRUE(app.start());
    ASSERT_TRUE(app.tray().waitForItem());

    ASSERT_TRUE(app.tray().activate(640, 10));
    ASSERT_TRUE(app.waitForPanel());
    EXPECT_EQ(app.panelGeometry()->topLeft(), QPoint(640 - 182, 22));
    const QImage dark =
        panelShotWhen(u"panel-dark"_s, [](const QImage& picture) { return showsFooter(picture, true); });
    ASSERT_FALSE(dark.isNull());
    EXPECT_TRUE(showsFooter(dark, true));

    ASSERT_TRUE(app.tray().activate(640, 10));
    EXPECT_TRUE(app.waitForNoPanel());

    // A click into another application closes it.
    ASSERT_TRUE(app.tray().activate(640, 10));
    ASSERT_TRUE(app.waitForPanel());
    ASSERT_TRUE(testsupport::waitUntil([&] { return app.focusedWindow() == app.panelGeometry(); }, kDrawingTimeoutMs))
        << "the panel takes the keyboard";
    app.focusElsewhere();
    EXPECT_TRUE(app.waitForNoPanel());
}

TEST_F(AppEndToEnd, ThePopoverOpensOnTheMonthGridInEitherAppearanceWeekStartAndWeekNumbering) {
    struct Variant {
        const char* name;
        bool dark;
        bool weekNumbers;
        app::FirstWeekday firstWeekday;
    };
    addWeekOfEvents(app);
    for (const Variant& v : {Variant{"grid-light-monday", false, false, app::FirstWeekday::monday},
                             Variant{"grid-light-sunday-weeks", false, true, app::FirstWeekday::sunday},
                             Variant{"grid-dark-monday-weeks", true, true, app::FirstWeekday::monday},
                             Variant{"grid-dark-sunday", true, false, app::FirstWeekday::sunday}}) {
        SCOPED_TRACE(v.name);
        // One application at a time on the test's bus and panel: the same one, restarted.
        QFile::remove(app.home() + u"/.config/orbitday/settings.ini"_s);
        app.setPreference(u"appearance"_s, v.dark ? u"dark"_s : u"light"_s);
        app.setPreference(u"showWeekNumbers"_s, v.weekNumbers ? u"true"_s : u"false"_s);
        app.setPreference(u"firstWeekday"_s, QString::number(app::rawValue(v.firstWeekday)));
        ASSERT_TRUE(app.start());
        ASSERT_TRUE(app.tray().waitForItem());
        ASSERT_TRUE(openWithHotKey(app));
        const QImage shot = panelShotWhen(QString::fromLatin1(v.name), [&v](const QImage& picture) {
            return picture.height() > 300 && calendarMarks(picture) > 20 && showsFooter(picture, v.dark);
        });
        ASSERT_FALSE(shot.isNull());
        EXPECT_GT(shot.height(), 300) << "the header and six weeks of days";
        EXPECT_GT(calendarMarks(shot), 20) << "the marks of four days with events";
        EXPECT_TRUE(showsFooter(shot, v.dark));
        const QString errors = app.stop();
        EXPECT_FALSE(errors.contains(u"ERROR"_s, Qt::CaseInsensitive)) << errors.toStdString();
    }
}

TEST_F(AppEndToEnd, CalendarAccessSwitchedOffInThePrivacySettingsEmptiesThePopoverAndOnAgainBringsItBack) {
    addWeekOfEvents(app);
    ASSERT_TRUE(app.start());
    ASSERT_TRUE(app.tray().waitForItem());
    ASSERT_TRUE(testsupport::waitUntil([&] { return app.tray().label().contains(u"Dentist"_s); }))
        << "the next event, once the calendar is read";
    ASSERT_TRUE(openWithHotKey(app));
    EXPECT_GT(calendarMarks(panelShotWhen(u"privacy-before"_s,
                                          [](const QImage& picture) { return calendarMarks(picture) > 20; })),
              20);
    app.chord({Keys::escape});
    ASSERT_TRUE(app.waitForNoPanel());

    // The launcher's action, handed to the running application: the window opens
    // with the calendar switch focused, and Space turns it off, then on again.
    for (const bool on : {false, true}) {
        SCOPED_TRACE(on ? "on again" : "off");
        EXPECT_EQ(app.launchAgain({u"--privacy-settings"_s}), 0);
        ASSERT_TRUE(waitForPrivacyWindow(app));
        app.chord({' '});
        // The tray's next event follows at once, without the popover opening (which reloads).
        EXPECT_TRUE(testsupport::waitUntil([&] { return app.tray().label().contains(u"Dentist"_s) == on; }));
        app.chord({Keys::controlL, Keys::altL, 'c'});
        ASSERT_TRUE(app.waitForPanel());
        const int marks =
            calendarMarks(panelShotWhen(on ? u"privacy-on"_s : u"privacy-off"_s, [on](const QImage& picture) {
                return drawn(picture) && (calendarMarks(picture) > 20) == on;
            }));
        EXPECT_EQ(marks > 20, on) << marks;
        app.chord({Keys::escape});
        ASSERT_TRUE(app.waitForNoPanel());
    }
}

TEST_F(AppEndToEnd, TheDayAgendaSitsUnderTheGridWithTheComingEventHighlightedAndAClickOpensIt) {
    addWeekOfEvents(app);
    app.addReminder(u"Renew passport"_s, QDateTime::currentDateTimeUtc().addDays(-2));
    app.addReminder(u"Water the plants"_s, QDateTime::currentDateTimeUtc().addSecs(-3600));
    for (const bool dark : {false, true}) {
        SCOPED_TRACE(dark ? "dark" : "light");
        QFile::remove(app.home() + u"/.config/orbitday/settings.ini"_s);
        app.setPreference(u"appearance"_s, dark ? u"dark"_s : u"light"_s);
        ASSERT_TRUE(app.start());
        ASSERT_TRUE(app.tray().waitForItem());
        ASSERT_TRUE(openWithHotKey(app));
        // The reminders come a moment after the events.
        const QImage shot = panelShotWhen(dark ? u"agenda-dark"_s : u"agenda-light"_s, [dark](const QImage& picture) {
            const auto bar = accentBar(picture, 25);
            return bar && bar->y() + 60 < picture.height() && checkboxes(picture, dark).size() == 2;
        });
        ASSERT_FALSE(shot.isNull());
        // Its height once the events and reminders are in.
        const QRect panel = *app.panelGeometry();

        // The dentist in two hours, highlighted on a card below the grid's six weeks.
        const auto bar = accentBar(shot, 25);
        ASSERT_TRUE(bar) << "no event row";
        EXPECT_GT(bar->y(), 300);
        EXPECT_TRUE(near(shot.pixelColor(bar->x() + 150, bar->y() + 3), expected(design::Theme::card(), dark)));
        EXPECT_LT(bar->y() + 60, shot.height()) << "tomorrow's review follows";

        // A click on the row leaves the main screen for the event.
        app.click(panel.topLeft() + *bar + QPoint(60, 15));
        EXPECT_TRUE(testsupport::waitUntil([&] {
            const auto now = app.panelGeometry();
            return now && now->height() != panel.height() && now->height() > 400;
        })) << "the editor's form";
        app.chord({Keys::escape});
        EXPECT_TRUE(testsupport::waitUntil([&] {
            const auto now = app.panelGeometry();
            return now && now->height() == panel.height();
        })) << "back on the agenda";
        const QString errors = app.stop();
        EXPECT_FALSE(errors.contains(u"ERROR"_s, Qt::CaseInsensitive)) << errors.toStdString();
    }
}

TEST_F(AppEndToEnd, ATickedReminderIsCompletedOnDiskAndCtrlZInThePopoverOpensItAgain) {
    addWeekOfEvents(app);
    const QString todo = app.addReminder(u"Water the plants"_s, QDateTime::currentDateTimeUtc().addSecs(-3600));
    ASSERT_TRUE(app.start());
    ASSERT_TRUE(app.tray().waitForItem());
    ASSERT_TRUE(openWithHotKey(app));
    const QImage shot = panelShotWhen(u"main-reminder-light"_s, [](const QImage& picture) {
        return showsFooter(picture, false) && checkboxes(picture, false).size() == 1;
    });
    ASSERT_EQ(checkboxes(shot, false).size(), 1U);
    const QRect panel = *app.panelGeometry();
    app.click(panel.topLeft() + QPoint(200, checkboxes(shot, false).front()));
    EXPECT_TRUE(testsupport::waitUntil([&] { return isCompleted(todo); })) << "the tick reached the file";

    app.chord({Keys::controlL, 'z'});
    EXPECT_TRUE(testsupport::waitUntil([&] { return !isCompleted(todo); })) << "Ctrl+Z opened it again";
    EXPECT_TRUE(app.panelGeometry().has_value()) << "the popover stays";
}

// A logout sends SIGTERM: a reminder ticked just before, still within its grace period, is
// written on the way out instead of being lost with the process.
TEST_F(AppEndToEnd, AReminderTickedJustBeforeTheSessionEndsIsCompletedOnDisk) {
    addWeekOfEvents(app);
    const QString todo = app.addReminder(u"Water the plants"_s, QDateTime::currentDateTimeUtc().addSecs(-3600));
    ASSERT_TRUE(app.start());
    ASSERT_TRUE(app.tray().waitForItem());
    ASSERT_TRUE(openWithHotKey(app));
    const QImage shot = panelShotWhen(u"main-reminder-before-logout"_s, [](const QImage& picture) {
        return showsFooter(picture, false) && checkboxes(picture, false).size() == 1;
    });
    ASSERT_EQ(checkboxes(shot, false).size(), 1U);
    const QRect panel = *app.panelGeometry();

    const int rowMiddle = footerTop(shot, false) - 10 - 14;
    const QRect row(panel.left(), panel.top() + rowMiddle - 10, panel.width(), 20);
    const QImage unticked = app.screenshot(row);
    app.click(panel.topLeft() + QPoint(200, rowMiddle));
    // The tick has been taken in once the row shows it; the grace period runs from there.
    ASSERT_TRUE(testsupport::waitUntil([&] { return app.screenshot(row) != unticked; }));
    app.stop();
    EXPECT_TRUE(isCompleted(todo));
}

TEST_F(AppEndToEnd, ABusyDayCapsThePopoverAndScrollsOnlyTheAgendaBetweenGridAndFooter) {
    const QDateTime now = QDateTime::currentDateTimeUtc();
    for (int i = 0; i < 14; ++i) {
        const QDateTime start = now.addSecs(1800 + i * 1200 - now.time().second());
        app.addEvent(u"Meeting %1"_s.arg(i + 1), start, start.addSecs(900));
    }
    for (int i = 0; i < 5; ++i)
        app.addReminder(u"Reminder %1"_s.arg(i + 1), now.addSecs(-3600 * (i + 1)));
    for (const bool dark : {false, true}) {
        SCOPED_TRACE(dark ? "dark" : "light");
        QFile::remove(app.home() + u"/.config/orbitday/settings.ini"_s);
        app.setPreference(u"appearance"_s, dark ? u"dark"_s : u"light"_s);
        ASSERT_TRUE(app.start());
        ASSERT_TRUE(app.tray().waitForItem());
        ASSERT_TRUE(openWithHotKey(app));
        const QImage shot = panelShotWhen(
            dark ? u"main-overflowing-dark"_s : u"main-overflowing-light"_s, [dark](const QImage& picture) {
                return calendarMarks(picture) > 20 && footerTop(picture, dark) > picture.height() - 100;
            });
        ASSERT_FALSE(shot.isNull());
        EXPECT_LE(shot.height(), 680) << "capped";
        EXPECT_GT(calendarMarks(shot), 20) << "the grid still shows";
        EXPECT_GT(footerTop(shot, dark), shot.height() - 100) << "the footer ends the panel, whole";
        const QString errors = app.stop();
        EXPECT_FALSE(errors.contains(u"ERROR"_s, Qt::CaseInsensitive)) << errors.toStdString();
    }
}

// The undo toast's capsule across the row `y`, filled with the text colour: no text
// writes as long a stretch of one colour as the room between its title and Undo.
bool showsToast(const QImage& shot, int y, bool dark) {
    const QColor fill = expected(design::Theme::text(), dark);
    int run = 0;
    for (int x = 24; x < shot.width() - 24; ++x) {
        run = near(shot.pixelColor(x, y), fill) ? run + 1 : 0;
        if (run >= 40)
            return true;
    }
    return false;
}

TEST_F(AppEndToEnd, AChangeShowsTheUndoToastWhoseUndoRevertsItAndHidesIt) {
    // Five reminders due: three rows and "+2 more". A completion brings the fourth row up in
    // the first's place, so the panel keeps its height and the toast a place of its own.
    QStringList todos;
    const QDateTime now = QDateTime::currentDateTimeUtc();
    for (int i = 0; i < 5; ++i)
        todos << app.addReminder(u"Reminder %1"_s.arg(i + 1), now.addSecs(-3600 * (5 - i)));
    const auto completed = [&todos] {
        return static_cast<int>(std::count_if(todos.begin(), todos.end(), isCompleted));
    };
    ASSERT_TRUE(app.start());
    ASSERT_TRUE(app.tray().waitForItem());
    ASSERT_TRUE(openWithHotKey(app));
    const QImage before = panelShotWhen(u"toast-before"_s, [](const QImage& picture) {
        return showsFooter(picture, false) && !checkboxes(picture, false).empty();
    });
    ASSERT_FALSE(checkboxes(before, false).empty());
    const QRect panel = *app.panelGeometry();
    app.click(panel.topLeft() + QPoint(200, checkboxes(before, false).front()));
    // The toast floats 76 pixels above the popover's bottom edge. The pointer waits where it
    // comes to rest, which holds it for as long as the test takes to look.
    const int middle = panel.height() - 76 - 17;
    app.moveTo(panel.topLeft() + QPoint(80, middle));
    ASSERT_TRUE(testsupport::waitUntil([&] { return completed() == 1; }));

    const QImage toast =
        panelShotWhen(u"toast"_s, [&](const QImage& picture) { return showsToast(picture, middle, false); });
    ASSERT_TRUE(showsToast(toast, middle, false)) << "no toast";
    EXPECT_EQ(app.panelGeometry(), panel);
    app.click(panel.topLeft() + QPoint(panel.width() - 20 - 40, middle));
    EXPECT_TRUE(testsupport::waitUntil([&] { return completed() == 0; })) << "Undo opened the reminder again";
    EXPECT_FALSE(showsToast(panelShotWhen(u"toast-after-undo"_s,
                                          [&](const QImage& picture) { return !showsToast(picture, middle, false); }),
                            middle, false))
        << "only Undo takes a toast away from under the pointer";
}

// The accent's reds: its fills, buttons and text, antialiased or not.
bool reddish(QColor c) {
    return c.red() > 140 && c.green() < 110 && c.blue() < 90;
}

// The meeting card: the application's mapped window 340 pixels wide.
std::optional<QRect> meetingCard(const AppDriver& driver) {
    for (const QRect& window : driver.visibleWindows())
        if (window.width() == 340)
            return window;
    return std::nullopt;
}

TEST_F(AppEndToEnd, AMeetingAboutToStartShowsACountingCardThatLeavesTheKeyboardAloneAndJoinsByButtonOrHotKey) {
    app.recordOpenedAddresses();
    // Due from the first check on, whenever it comes on a busy machine.
    app.setPreference(u"alertLeadTime"_s, u"900"_s);
    const QDateTime now = QDateTime::currentDateTimeUtc();
    const QUrl link(u"https://zoom.us/j/5551234"_s);
    app.addEvent(u"Design review"_s, now.addSecs(300), now.addSecs(2100), "URL:" + link.toEncoded());
    app.focusElsewhere();
    ASSERT_TRUE(app.start());
    ASSERT_TRUE(app.tray().waitForItem());

    std::optional<QRect> card;
    ASSERT_TRUE(testsupport::waitUntil([&] { return (card = meetingCard(app)).has_value(); }, 15000)) << "no card";
    EXPECT_EQ(card->topLeft(), QPoint(1280 - 340 - 12, 8)) << "no click on the tray yet: the top right corner";
    EXPECT_NE(app.focusedWindow(), card) << "the card took the keyboard";
    // The countdown's tile, under the header row: the accent once drawn.
    const QRect tile(card->topLeft() + QPoint(14, 14 + 24 + 12), QSize(84, 84));
    ASSERT_TRUE(testsupport::waitUntil([&] { return reddish(app.screenshot(tile).pixelColor(4, 42)); }))
        << "the card was never drawn";
    keep(app.screenshot(*card), u"meeting-card"_s);
    const QImage first = app.screenshot(tile);
    EXPECT_TRUE(testsupport::waitUntil([&] { return app.screenshot(tile) != first; })) << "the countdown stands still";

    // Join, in the middle of the join button: above the footer's 30 px row and the 12 px between.
    app.click(card->topLeft() + QPoint(170, card->height() - 14 - 30 - 12 - 20));
    ASSERT_TRUE(testsupport::waitUntil([&] { return !app.openedAddresses().isEmpty(); })) << "Join opened nothing";
    EXPECT_EQ(app.openedAddresses(), QStringList{link.toString()});
    EXPECT_TRUE(testsupport::waitUntil([&] { return !meetingCard(app); })) << "the card stayed after joining";

    // With no card up, the join hot key finds the same meeting as the next one.
    app.chord({Keys::controlL, Keys::altL, 'j'});
    EXPECT_TRUE(testsupport::waitUntil([&] { return app.openedAddresses().size() == 2; }));
    EXPECT_EQ(app.openedAddresses().value(1), link.toString());
    EXPECT_FALSE(app.panelGeometry()) << "joining opens no popover";
}

// The accent's capsules around a column of the screenshot (the Allow
// buttons): the middle of each run of at least 12 rows that hold a stretch of
// the accent there (the letters break any single column).
std::vector<int> flameRuns(const QImage& image, int x) {
    std::vector<int> middles;
    int run = 0;
    for (int y = 0; y <= image.height(); ++y) {
        int reds = 0;
        for (int dx = -25; y < image.height() && dx <= 25; ++dx)
            reds += x + dx >= 0 && x + dx < image.width() && reddish(image.pixelColor(x + dx, y)) ? 1 : 0;
        if (reds >= 20) {
            ++run;
            continue;
        }
        if (run >= 12)
            middles.push_back(y - run / 2);
        run = 0;
    }
    return middles;
}

// Pixels of the accent in a band of rows: the still-off message is written in it.
int flamePixels(const QImage& image, int top, int bottom) {
    int count = 0;
    for (int y = std::max(0, top); y < std::min(bottom, image.height()); ++y)
        for (int x = 0; x < image.width(); ++x)
            count += reddish(image.pixelColor(x, y)) ? 1 : 0;
    return count;
}

// --- The event editor ---------------------------------------------------------------------------

// The tops of the event rows' accent bars: the runs of at least `length` pixels
// of the calendar's blue down the first column that holds one.
std::vector<int> accentBarTops(const QImage& image, int length) {
    const auto first = accentBar(image, length);
    std::vector<int> tops;
    if (!first)
        return tops;
    const QColor work(0x2D, 0x7F, 0xF9);
    int run = 0;
    for (int y = 0; y <= image.height(); ++y) {
        if (y < image.height() && near(image.pixelColor(first->x(), y), work)) {
            ++run;
            continue;
        }
        if (run >= length)
            tops.push_back(y - run);
        run = 0;
    }
    return tops;
}

// Pixels of the accent along the bottom `band` rows: Save and Delete are drawn in it.
int accentInFooter(const QImage& shot, int band) {
    return flamePixels(shot, shot.height() - band, shot.height());
}

// The middle of the day the month of a pop-over marks: the one disc in the accent, the
// largest patch of it within the month (today's accent letters are small ones).
std::optional<QPoint> markedDay(const QImage& shot, int monthTop, int monthBottom) {
    const int top = std::max(0, monthTop);
    const int bottom = std::min(shot.height(), monthBottom);
    std::vector<bool> seen(static_cast<std::size_t>(shot.width() * shot.height()), false);
    const auto index = [&](int x, int y) { return static_cast<std::size_t>(y * shot.width() + x); };
    std::optional<QPoint> middle;
    long largest = 0;
    for (int y = top; y < bottom; ++y)
        for (int x = 0; x < shot.width(); ++x) {
            if (seen[index(x, y)] || !reddish(shot.pixelColor(x, y)))
                continue;
            std::vector<QPoint> patch{QPoint(x, y)};
            seen[index(x, y)] = true;
            QRect bounds(x, y, 1, 1);
            for (std::size_t i = 0; i < patch.size(); ++i) {
                const QPoint p = patch[i];
                bounds |= QRect(p, QSize(1, 1));
                for (const QPoint step : {QPoint(1, 0), QPoint(-1, 0), QPoint(0, 1), QPoint(0, -1)}) {
                    const QPoint n = p + step;
                    if (n.x() < 0 || n.x() >= shot.width() || n.y() < top || n.y() >= bottom || seen[index(n.x(), n.y())] ||
                        !reddish(shot.pixelColor(n)))
                        continue;
                    seen[index(n.x(), n.y())] = true;
                    patch.push_back(n);
                }
            }
            if (static_cast<long>(patch.size()) > largest) {
                largest = static_cast<long>(patch.size());
                middle = bounds.center();
            }
        }
    return middle;
}

class EditorEndToEnd : public AppEndToEnd {
protected:
    // Where the editor's parts stand in the panel (the form's layout, pinned by its reference pictures).
    static constexpr QPoint kTitle{200, 71};
    // The repeat row's lower part, where it stands whether the all-day switch sits beside
    // the day button or, where the day and times need the whole row, on a line below it.
    static constexpr QPoint kRepeat{200, 174};
    static constexpr int kChipMiddle = 25;
    static constexpr int kFooterButtons = 27;
    // The day button of a one-day event, above the zone's chip that hangs from it, whether
    // the all-day switch sits beside the button (which then stands lower, centred on the
    // button and the chip) or below it.
    static constexpr QPoint kDayButton{150, 124};
    // The month's six weeks in the day's pop-over: under its arrow, inset, title and weekdays.
    static constexpr int kMonthTop = 70;
    static constexpr int kMonthBottom = kMonthTop + 6 * 28;

    void SetUp() override {
        AppEndToEnd::SetUp();
        const QDateTime now = QDateTime::currentDateTimeUtc();
        start = now.addSecs(2 * 3600 - now.time().second());
    }

    bool launch() { return app.start() && app.tray().waitForItem() && openWithHotKey(app); }
    QRect panel() const { return app.panelGeometry().value_or(QRect()); }
    bool waitFor(const std::function<bool()>& condition) const {
        return testsupport::waitUntil(condition, kDrawingTimeoutMs);
    }
    // The editor, undimmed: its title field, in the card colour, across the row where the
    // day's screen has the weekday letters on the surface. The day's screen may be as
    // high as the editor, so the panel's height tells neither apart.
    static bool editorDrawn(const QImage& shot) {
        const QColor card = expected(design::Theme::card(), false);
        return drawn(shot) && near(shot.pixelColor(8, kTitle.y()), expected(design::Theme::surface(), false)) &&
               near(shot.pixelColor(30, kTitle.y()), card) && near(shot.pixelColor(shot.width() - 30, kTitle.y()), card);
    }
    // The day's screen: today's square in the month, in the accent (the editor has none there).
    static bool dayDrawn(const QImage& shot) {
        return drawn(shot) && !editorDrawn(shot) && flamePixels(shot, 80, 300) > 400;
    }
    QImage editorShot(const QString& name) { return panelShotWhen(name, editorDrawn); }
    bool leftEditor() { return dayDrawn(panelShotWhen(u"editor-left"_s, dayDrawn)); }
    // Clicks the agenda's `row`-th event (0: the first) and waits for its editor.
    // The click goes near the row's top: an undo toast may float over the rest.
    bool openRow(std::size_t row = 0) {
        const QImage agenda = panelShotWhen(u"editor-agenda"_s, [row](const QImage& picture) {
            return dayDrawn(picture) && accentBarTops(picture, 10).size() > row;
        });
        const std::vector<int> bars = accentBarTops(agenda, 10);
        const auto bar = accentBar(agenda, 10);
        if (!bar || bars.size() <= row)
            return false;
        app.click(panel().topLeft() + QPoint(bar->x() + 60, bars[row] + 5));
        if (!editorDrawn(editorShot(u"editor-opened"_s)))
            return false;
        editorHeight = panel().height();
        return true;
    }
    void appendToTitle(const QString& words) {
        app.click(panel().topLeft() + kTitle);
        app.chord({Keys::end});
        app.type(words);
    }
    // The editor dimmed under the repeating-event question: its left margin, drawn, is no
    // longer the surface.
    static bool dimmed(const QImage& shot) {
        const QColor margin = shot.pixelColor(6, 200);
        return margin.lightness() > 100 && !near(margin, expected(design::Theme::surface(), false));
    }
    bool showsQuestion() { return dimmed(panelShotWhen(u"editor-question"_s, dimmed)); }
    static QString read(const QString& path) {
        QFile file(path);
        return file.open(QIODevice::ReadOnly) ? QString::fromUtf8(file.readAll()) : QString();
    }
    // Whether any event file of the calendar holds the text.
    bool calendarHolds(const QString& text) const {
        const QDir folder(app.calendarRoot() + u"/work"_s);
        for (const QString& name : folder.entryList({u"*.ics"_s}, QDir::Files))
            if (read(folder.filePath(name)).contains(text))
                return true;
        return false;
    }
    // The application's tallest window other than the panel: a pop-over, or a tooltip.
    std::optional<QRect> otherWindow() const {
        std::optional<QRect> found;
        for (const QRect& window : app.visibleWindows())
            if (window.width() != 364 && (!found || window.height() > found->height()))
                found = window;
        return found;
    }
    // The width of the calendar chip at the header's right end.
    static int chipWidth(const QImage& shot) {
        const QColor surface = expected(design::Theme::surface(), false);
        int left = shot.width();
        for (int x = shot.width() - 17; x > shot.width() / 2; --x)
            if (!near(shot.pixelColor(x, kChipMiddle), surface))
                left = x;
        return shot.width() - 16 - left;
    }

    QDateTime start;
    int editorHeight = 0;
};

TEST_F(EditorEndToEnd, AClickedEventIsEditedAndSavedToItsFileAndADeletionIsUndone) {
    const QString file = app.addEvent(u"Dentist"_s, start, start.addSecs(1800));
    ASSERT_TRUE(launch());
    ASSERT_TRUE(openRow());

    appendToTitle(u" moved"_s);
    app.chord({Keys::controlL, Keys::returnKey});
    EXPECT_TRUE(leftEditor()) << "saved, back on the day";
    EXPECT_TRUE(waitFor([&] { return read(file).contains(u"SUMMARY:Dentist moved"_s); })) << read(file).toStdString();

    ASSERT_TRUE(openRow());
    QElapsedTimer sinceDeletion;
    app.click(panel().topLeft() + QPoint(50, panel().height() - kFooterButtons));
    sinceDeletion.start();
    ASSERT_TRUE(leftEditor()) << "deleted, back on the day";
    EXPECT_TRUE(waitFor([&] { return !calendarHolds(u"SUMMARY:Dentist moved"_s); }));
    // Its Undo button, in the accent, floats 76 pixels above the popover's bottom edge for
    // 5 s; a machine too busy to look within 4 s has nothing to say about it.
    const auto undoButton = [](const QImage& shot) {
        return flamePixels(shot, shot.height() - 76 - 40, shot.height() - 76) > 300;
    };
    const QImage toast = panelShotWhen(u"editor-deleted"_s, [&](const QImage& shot) {
        return undoButton(shot) || sinceDeletion.elapsed() > 4000;
    });
    EXPECT_TRUE(undoButton(toast) || sinceDeletion.elapsed() > 4000) << "the undo toast";
    app.chord({Keys::controlL, 'z'});
    EXPECT_TRUE(waitFor([&] { return calendarHolds(u"SUMMARY:Dentist moved"_s); })) << "undone, the event's file is back";
}

TEST_F(EditorEndToEnd, ARepeatingEventAsksWhichOnesAndEscapeClosesTheQuestionThenAMenuThenTheEditor) {
    const QString file = app.addEvent(u"Standup"_s, start, start.addSecs(900), "RRULE:FREQ=WEEKLY");
    ASSERT_TRUE(launch());
    ASSERT_TRUE(openRow());

    appendToTitle(u" sync"_s);
    app.chord({Keys::returnKey});
    ASSERT_TRUE(showsQuestion()) << "the question";
    app.chord({Keys::escape});
    EXPECT_TRUE(editorDrawn(editorShot(u"editor-question-closed"_s))) << "Escape closed the question";
    EXPECT_EQ(panel().height(), editorHeight) << "and left the editor open";

    app.click(panel().topLeft() + kRepeat);
    ASSERT_TRUE(waitFor([&] { return app.visibleWindows().size() == 2; })) << "the repeat menu";
    app.chord({Keys::escape});
    EXPECT_TRUE(waitFor([&] { return app.visibleWindows().size() == 1 && app.focusedWindow() == app.panelGeometry(); }))
        << "Escape closed it, and the panel has the keyboard again";
    EXPECT_EQ(panel().height(), editorHeight);
    app.chord({Keys::escape});
    EXPECT_TRUE(leftEditor()) << "then Escape left the editor";
    EXPECT_FALSE(read(file).contains(u"Standup sync"_s)) << "nothing saved";

    // Return asks, and Return again answers: all future events.
    ASSERT_TRUE(openRow());
    appendToTitle(u" sync"_s);
    app.chord({Keys::returnKey});
    ASSERT_TRUE(showsQuestion());
    app.chord({Keys::returnKey});
    EXPECT_TRUE(leftEditor());
    EXPECT_TRUE(waitFor([&] { return calendarHolds(u"SUMMARY:Standup sync"_s); }));
}

TEST_F(EditorEndToEnd, AReadOnlyEventsChipHasNoChevronAndItsFooterOnlyCloses) {
    app.addEvent(u"Review"_s, start, start.addSecs(1800));
    const QString locked = app.addEvent(u"Board meeting"_s, start.addSecs(3600), start.addSecs(5400));
    QFile::setPermissions(locked, QFileDevice::ReadOwner | QFileDevice::ReadGroup | QFileDevice::ReadOther);
    ASSERT_TRUE(launch());

    ASSERT_TRUE(openRow(0));
    const QImage writable = editorShot(u"editor-writable"_s);
    EXPECT_GT(accentInFooter(writable, 50), 100) << "Delete and Save";
    app.chord({Keys::escape});
    ASSERT_TRUE(leftEditor());

    ASSERT_TRUE(openRow(1));
    const QImage readOnly = editorShot(u"editor-read-only"_s);
    EXPECT_EQ(accentInFooter(readOnly, 50), 0) << "only Close";
    EXPECT_GT(chipWidth(writable) - chipWidth(readOnly), 8) << "the chip has no chevron";
    app.chord({Keys::escape});
    EXPECT_TRUE(leftEditor());
}

TEST_F(EditorEndToEnd, ADayPickedInTheDaysPopOverIsSavedOnTheEventsOwnClockAndItKeepsItsZone) {
    // Tokyo's offset is not this computer's, whatever the hour the test runs at.
    if (zone == "Etc/GMT-9") {
        zone = "Etc/GMT-8";
        app.setTimeZone(zone);
    }
    const QTimeZone tokyo("Asia/Tokyo");
    // The event is one day in Tokyo, so that it has the one-day button: at some hours
    // of the day two hours from now is an hour before Tokyo's midnight. Two hours
    // later is still today here, where it is late morning.
    if (start.toTimeZone(tokyo).date() != start.addSecs(3600).toTimeZone(tokyo).date())
        start = start.addSecs(2 * 3600);
    const QDateTime tokyoStart = start.toTimeZone(tokyo);
    const QString file = app.addEvent(u"Sync with Tokyo"_s, tokyoStart, tokyoStart.addSecs(3600));
    ASSERT_TRUE(launch());
    ASSERT_TRUE(openRow());

    // The pointer resting on the day button shows the help, on this computer's clock.
    app.moveTo(panel().topLeft() + kDayButton);
    std::optional<QRect> help;
    EXPECT_TRUE(waitFor([&] { return (help = otherWindow()).has_value(); })) << "the zone's help";
    if (help)
        keep(app.screenshot(panel().united(*help)), u"editor-zone-help"_s);

    app.click(panel().topLeft() + kDayButton);
    std::optional<QRect> popover;
    QImage month;
    ASSERT_TRUE(waitFor([&] {
        popover = otherWindow();
        if (!popover || popover->height() < 200)
            return false;
        month = app.screenshot(*popover);
        return drawn(month) && markedDay(month, kMonthTop, kMonthBottom).has_value();
    })) << "the day's pop-over";
    keep(app.screenshot(panel().united(*popover)), u"editor-day-popover"_s);

    // The marked day takes the keys, and the next one is picked.
    app.click(popover->topLeft() + *markedDay(month, kMonthTop, kMonthBottom));
    app.chord({Keys::right});
    // The pointer leaves the rows, so that no tooltip opens over the panel when the pop-over goes.
    app.moveTo(panel().topLeft() + kTitle);
    app.chord({Keys::escape});
    ASSERT_TRUE(waitFor([&] { return !otherWindow() && app.focusedWindow() == app.panelGeometry(); }))
        << "Escape closed the pop-over, and the panel has the keyboard again";
    app.chord({Keys::controlL, Keys::returnKey});
    EXPECT_TRUE(leftEditor()) << "saved, back on the day";

    const auto tokyoLine = [](const QString& name, const QDateTime& time) -> QString {
        return name + u";TZID=Asia/Tokyo:"_s + time.toString(u"yyyyMMdd'T'HHmmss"_s);
    };
    const QDateTime moved = tokyoStart.addDays(1);
    EXPECT_TRUE(waitFor([&] { return read(file).contains(tokyoLine(u"DTSTART"_s, moved)); })) << read(file).toStdString();
    EXPECT_TRUE(read(file).contains(tokyoLine(u"DTEND"_s, moved.addSecs(3600)))) << read(file).toStdString();
}

// Pixels within a few levels of one of the plain colours the quick-add line
// colours its recognised parts with, in a band of rows.
int pixelsOf(const QImage& image, core::Color color, int top, int bottom) {
    const QColor wanted(color.red, color.green, color.blue);
    int count = 0;
    for (int y = std::max(0, top); y < std::min(bottom, image.height()); ++y)
        for (int x = 0; x < image.width(); ++x)
            count += near(image.pixelColor(x, y), wanted) ? 1 : 0;
    return count;
}

// The calendar card (the second row of cards under the quick-add line) names the calendar "Work" with a dot of its
// blue: the application has read its calendars, which it does after its tray item is up.
bool namesWork(const QImage& shot) {
    return pixelsOf(shot, core::Color::rgb(0x2D, 0x7F, 0xF9), 150, 205) > 4;
}

// The calendar files of a folder, by name.
QStringList icsFiles(const QString& folder) {
    return QDir(folder).entryList({u"*.ics"_s}, QDir::Files, QDir::Name);
}

// The first calendar file written into the folder, once it is whole; empty when none comes.
QString writtenEvent(const QString& folder) {
    QString written;
    testsupport::waitUntil(
        [&] {
            const QStringList files = icsFiles(folder);
            if (files.isEmpty())
                return false;
            QFile file(folder + u'/' + files.first());
            written = file.open(QIODevice::ReadOnly) ? QString::fromUtf8(file.readAll()) : QString();
            return written.contains(u"END:VCALENDAR"_s);
        },
        kDrawingTimeoutMs);
    return written;
}

// Whether the event starts on the coming Friday (today when it is one) at that
// wall time of the zone, written in that zone's time or in UTC.
bool startsComingFridayAt(const QString& ics, const QByteArray& zone, QTime time) {
    const QTimeZone appZone(zone);
    const QDate today = QDateTime::currentDateTimeUtc().toTimeZone(appZone).date();
    const QDate friday = today.addDays((Qt::Friday - today.dayOfWeek() + 7) % 7);
    const QDateTime start(friday, time, appZone);
    return ics.contains(friday.toString(u"yyyyMMdd'T'"_s) + time.toString(u"HHmmss"_s)) ||
           ics.contains(start.toUTC().toString(u"yyyyMMdd'T'HHmmss'Z'"_s));
}

TEST_F(AppEndToEnd, QuickAddColoursTheLineWritesTheEventOnReturnAndHandsItToTheEditorOnTab) {
    const QString work = app.addCalendar();
    ASSERT_TRUE(app.start());
    ASSERT_TRUE(app.tray().waitForItem());
    app.chord({Keys::controlL, Keys::altL, 'n'});
    ASSERT_TRUE(app.waitForPanel());
    // The line: the field's band under the header.
    constexpr int kLineTop = 50;
    constexpr int kLineBottom = 90;
    ASSERT_TRUE(testsupport::waitUntil([&] { return app.focusedWindow() == app.panelGeometry(); }, kDrawingTimeoutMs))
        << "the panel has not the keyboard";
    const QImage empty = panelShot(u"quick-add-empty"_s);
    ASSERT_FALSE(empty.isNull());
    EXPECT_EQ(pixelsOf(empty, design::Theme::sky(), kLineTop, kLineBottom), 0);

    ASSERT_TRUE(app.type(u"Dentist fri 2-3pm at Smile Clinic"_s));
    QImage typed;
    EXPECT_TRUE(testsupport::waitUntil(
        [&] {
            typed = app.screenshot(*app.panelGeometry());
            return pixelsOf(typed, design::Theme::sky(), kLineTop, kLineBottom) > 10 &&
                   pixelsOf(typed, design::Theme::teal(), kLineTop, kLineBottom) > 10 && namesWork(typed);
        },
        kDrawingTimeoutMs))
        << "the day and the place are coloured, and the event goes into Work";
    keep(typed, u"quick-add-typed"_s);
    EXPECT_GT(flamePixels(typed, kLineTop + 6, kLineBottom - 6), flamePixels(empty, kLineTop + 6, kLineBottom - 6) + 10)
        << "the time is coloured";

    // Return: the event in the only calendar's folder, Friday 2 to 3 pm where the application runs.
    app.chord({Keys::returnKey});
    const QString written = writtenEvent(work);
    ASSERT_FALSE(written.isEmpty()) << "no event written";
    EXPECT_TRUE(written.contains(u"SUMMARY:Dentist"_s)) << written.toStdString();
    EXPECT_TRUE(written.contains(u"LOCATION:Smile Clinic"_s)) << written.toStdString();
    EXPECT_TRUE(startsComingFridayAt(written, zone, QTime(14, 0))) << written.toStdString();
    // Back on the main screen, on that Friday: its agenda shows the new event's row.
    std::optional<QPoint> row;
    EXPECT_TRUE(testsupport::waitUntil(
        [&] {
            const auto panel = app.panelGeometry();
            row = panel ? accentBar(app.screenshot(*panel), 25) : std::nullopt;
            return row.has_value();
        },
        kDrawingTimeoutMs))
        << "the main screen does not show the day of the new event";
    panelShot(u"quick-add-saved"_s);

    // Tab hands a line to the editor and writes nothing.
    const int mainHeight = app.panelGeometry()->height();
    app.chord({Keys::controlL, Keys::altL, 'n'});
    ASSERT_TRUE(testsupport::waitUntil(
        [&] {
            const auto panel = app.panelGeometry();
            return panel && panel->height() != mainHeight;
        },
        kDrawingTimeoutMs))
        << "quick add did not open";
    ASSERT_TRUE(app.type(u"Lunch tomorrow noon"_s));
    EXPECT_TRUE(testsupport::waitUntil(
        [&] {
            return pixelsOf(app.screenshot(*app.panelGeometry()), design::Theme::sky(), kLineTop, kLineBottom) > 10;
        },
        kDrawingTimeoutMs));
    app.chord({Keys::tab});
    EXPECT_TRUE(testsupport::waitUntil(
        [&] {
            const auto panel = app.panelGeometry();
            return panel && pixelsOf(app.screenshot(*panel), design::Theme::sky(), kLineTop, kLineBottom) == 0;
        },
        kDrawingTimeoutMs))
        << "the quick-add screen is still there";
    panelShot(u"quick-add-tab"_s);
    EXPECT_TRUE(app.panelGeometry().has_value());
    EXPECT_EQ(icsFiles(work).size(), 1) << "Tab saved something";
}

TEST_F(AppEndToEnd, AQuickHourPickedOnTheTimeCardIsTheTimeWrittenToTheFile) {
    const QString work = app.addCalendar();
    ASSERT_TRUE(app.start());
    ASSERT_TRUE(app.tray().waitForItem());
    app.chord({Keys::controlL, Keys::altL, 'n'});
    ASSERT_TRUE(app.waitForPanel());
    const QRect panel = *app.panelGeometry();
    ASSERT_TRUE(testsupport::waitUntil([&] { return app.focusedWindow() == app.panelGeometry(); }, kDrawingTimeoutMs))
        << "the panel has not the keyboard";
    ASSERT_TRUE(app.type(u"Dentist fri 2-3pm"_s));
    // The time card: the right one of the first row of cards under the line.
    ASSERT_TRUE(testsupport::waitUntil([&] { return app.panelGeometry()->height() > panel.height(); }))
        << "no cards under the line";
    ASSERT_TRUE(testsupport::waitUntil([&] { return namesWork(app.screenshot(*app.panelGeometry())); },
                                       kDrawingTimeoutMs))
        << "the calendar card does not name Work";
    app.click(panel.topLeft() + QPoint(267, 122));
    std::optional<QRect> card;
    ASSERT_TRUE(testsupport::waitUntil(
        [&] {
            for (const QRect& window : app.visibleWindows())
                if (window.width() != 364)
                    card = window;
            return card.has_value();
        },
        kDrawingTimeoutMs))
        << "the time card's pop-over did not open";
    EXPECT_GT(card->top(), panel.top() + 122) << "it hangs below the card";
    keep(app.screenshot(card->united(*app.panelGeometry())), u"quick-add-time-card"_s);

    // The fourth quick hour, 3:00 PM, at the start of the pop-over's last row (the five
    // quick hours stand in two rows, which keeps the pop-over within the popover's width).
    app.click(QPoint(card->left() + 45, card->bottom() - 23));
    ASSERT_TRUE(testsupport::waitUntil(
        [&] {
            const auto windows = app.visibleWindows();
            return std::all_of(windows.begin(), windows.end(), [](const QRect& w) { return w.width() == 364; });
        },
        kDrawingTimeoutMs))
        << "a quick hour closes the pop-over";
    ASSERT_TRUE(testsupport::waitUntil([&] { return app.focusedWindow() == app.panelGeometry(); }, kDrawingTimeoutMs))
        << "the keyboard did not come back to the panel";
    app.chord({Keys::returnKey});
    const QString written = writtenEvent(work);
    ASSERT_FALSE(written.isEmpty()) << "no event written";
    EXPECT_TRUE(startsComingFridayAt(written, zone, QTime(15, 0))) << written.toStdString();
}

class AppFirstLaunch : public AppEndToEnd {
protected:
    // The consent window: the application's window that is not the panel.
    std::optional<QRect> consentWindow() const {
        for (const QRect& w : app.visibleWindows())
            if (w.width() != 364)
                return w;
        return std::nullopt;
    }
    // Presses the row's Allow, then Allow in the consent window that asks.
    bool allow(int row, const QString& shotName) {
        const QImage shot = panelShotWhen(
            shotName, [row](const QImage& picture) { return static_cast<int>(flameRuns(picture, 312).size()) > row; });
        const QRect panel = *app.panelGeometry();
        const std::vector<int> buttons = flameRuns(shot, 312);
        if (static_cast<int>(buttons.size()) <= row)
            return false;
        app.click(panel.topLeft() + QPoint(312, buttons[static_cast<std::size_t>(row)]));
        // Clicked once it is drawn and has the keyboard: a window is black until it is painted.
        std::optional<QRect> consent;
        const bool ready = testsupport::waitUntil(
            [&] {
                consent = consentWindow();
                if (!consent || app.focusedWindow() != consent)
                    return false;
                const QImage window = app.screenshot(*consent);
                return !window.isNull() && window.pixelColor(consent->width() / 2, 4) != QColor(Qt::black);
            },
            kDrawingTimeoutMs);
        if (!ready)
            return false;
        // Allow is the right-hand button of the two along its bottom edge.
        app.click(consent->bottomRight() - QPoint(50, 30));
        return testsupport::waitUntil([&] { return !consentWindow().has_value(); });
    }
    bool showsMain() const {
        const auto panel = app.panelGeometry();
        return panel && panel->height() > 420;
    }
};

TEST_F(AppFirstLaunch, OnboardingAsksForBothThenTheMainScreenStaysAcrossLaunchesAndAccessOffShowsHowToTurnItOn) {
    QFile::remove(app.home() + u"/.config/orbitday/privacy.conf"_s);
    ASSERT_TRUE(app.start());
    ASSERT_TRUE(app.tray().waitForItem());
    ASSERT_TRUE(openWithHotKey(app));

    // The greeting with its two tiles, the calendar tile in the accent.
    const QImage greeting =
        panelShotWhen(u"onboarding"_s, [](const QImage& picture) { return flameRuns(picture, 312).size() == 2; });
    ASSERT_FALSE(greeting.isNull());
    EXPECT_LT(greeting.height(), 420);
    EXPECT_TRUE(reddish(greeting.pixelColor(30, 60)));
    ASSERT_EQ(flameRuns(greeting, 312).size(), 2U) << "an Allow on each row";

    ASSERT_TRUE(allow(0, u"onboarding-before-calendars"_s));
    EXPECT_EQ(flameRuns(panelShotWhen(u"onboarding-calendars"_s,
                                      [](const QImage& picture) { return flameRuns(picture, 312).size() == 1; }),
                        312)
                  .size(),
              1U)
        << "only the reminders' Allow is left";
    ASSERT_TRUE(allow(0, u"onboarding-before-reminders"_s));
    ASSERT_TRUE(testsupport::waitUntil([&] { return showsMain(); })) << "both answered: the main screen";
    panelShot(u"main-after-onboarding"_s);
    {
        QFile settings(app.home() + u"/.config/orbitday/settings.ini"_s);
        ASSERT_TRUE(settings.open(QIODevice::ReadOnly));
        EXPECT_TRUE(settings.readAll().contains("hasCompletedOnboarding=true"));
    }
    EXPECT_FALSE(app.stop().contains(u"ERROR"_s));

    // The answers were kept: the next launch opens on the main screen.
    ASSERT_TRUE(app.start());
    ASSERT_TRUE(app.tray().waitForItem());
    ASSERT_TRUE(openWithHotKey(app));
    EXPECT_TRUE(testsupport::waitUntil([&] { return showsMain(); }));
    EXPECT_FALSE(consentWindow()) << "nothing is asked again";
    panelShot(u"main-relaunched"_s);
    app.chord({Keys::escape});
    ASSERT_TRUE(app.waitForNoPanel());

    // Access switched off in our privacy settings: the popover says how to turn it on.
    EXPECT_EQ(app.launchAgain({u"--privacy-settings"_s}), 0);
    ASSERT_TRUE(waitForPrivacyWindow(app));
    app.chord({' '});
    app.chord({Keys::controlL, Keys::altL, 'c'});
    ASSERT_TRUE(app.waitForPanel());
    ASSERT_TRUE(testsupport::waitUntil([&] { return !showsMain(); }));
    const QRect panel = *app.panelGeometry();
    // Drawn once "Open Privacy Settings" shows in the accent at its bottom right
    // (probed right of its label: the label itself is light).
    const QImage denied = panelShotWhen(u"access-denied"_s, [](const QImage& picture) {
        return reddish(picture.pixelColor(picture.width() - 20, picture.height() - 27));
    });
    ASSERT_FALSE(denied.isNull());
    EXPECT_LT(flamePixels(denied, 110, 160), 20) << "the usual message";

    // Check again while it is still off.
    app.click(panel.topLeft() + QPoint(60, panel.height() - 27));
    EXPECT_GT(flamePixels(panelShotWhen(u"access-denied-still-off"_s,
                                        [](const QImage& picture) { return flamePixels(picture, 110, 160) > 100; }),
                          110, 160),
              100)
        << "the still-off message, in the accent";

    // On again in the privacy settings while the popover stays: it leaves for the main
    // screen without a press.
    EXPECT_EQ(app.launchAgain({u"--privacy-settings"_s}), 0);
    ASSERT_TRUE(waitForPrivacyWindow(app));
    ASSERT_TRUE(app.panelGeometry()) << "our own window takes the keyboard without closing the popover";
    app.chord({' '});
    EXPECT_TRUE(testsupport::waitUntil([&] { return showsMain(); }, kDrawingTimeoutMs));
    panelShot(u"main-access-on-again"_s);
}

// The settings window: the window of the application that is neither the panel nor the card.
TEST_F(AppEndToEnd, CtrlCommaOpensTheSettingsAtGeneralWhereTheTrayDisplayChangesTheLabelAtOnce) {
    addWeekOfEvents(app);
    ASSERT_TRUE(app.start());
    ASSERT_TRUE(app.tray().waitForItem());
    ASSERT_TRUE(openWithHotKey(app));
    panelShot(u"panel-before-settings"_s);
    app.chord({Keys::controlL, ','});
    std::optional<QRect> window;
    ASSERT_TRUE(testsupport::waitUntil(
        [&] {
            for (const QRect& shown : app.visibleWindows())
                if (shown.size() == QSize(560, 470))
                    window = shown;
            return window.has_value();
        },
        kDrawingTimeoutMs))
        << "no settings window";
    // The General button, first of four 84-pixel buttons centred with 4 between them, stands on
    // the selected tab's plate; the Calendars button beside it on the bare bar.
    const QPoint general = window->topLeft() + QPoint((560 - 4 * 84 - 3 * 4) / 2 + 6, 20);
    const auto onPlate = [&] {
        const QImage bar = app.screenshot(QRect(general, QSize(84 + 4 + 1, 1)));
        return near(bar.pixelColor(84 + 4, 0), expected(design::Theme::surfaceSunk(), false)) &&
               !near(bar.pixelColor(0, 0), bar.pixelColor(84 + 4, 0));
    };
    EXPECT_TRUE(testsupport::waitUntil(onPlate, kDrawingTimeoutMs)) << "General is not the selected tab";
    keep(app.screenshot(*window), u"settings-general"_s);

    ASSERT_TRUE(testsupport::waitUntil([&] { return app.tray().label().contains(u"Dentist"_s); }))
        << "the date and the next event to begin with";
    // "Date" of the tray's display, the middle of three segments in the first row under the tab bar.
    app.click(window->topLeft() + QPoint(310, 75 + 30));
    testsupport::ScopedTimeZone inAppZone(zone.constData());
    const QString date = app::formatDate(app::DateFormatPreset::weekdayDayMonth, core::Date::now(), {});
    EXPECT_TRUE(testsupport::waitUntil([&] { return app.tray().label() == date; })) << app.tray().label().toStdString();
}

}  // namespace
