// The application as built, run in a private X server with a session bus and
// a fake panel, driven by keys and the tray protocol. Screens that come later
// add their steps here (see support/AppDriver.h).

#include "app/Preferences.h"
#include "app/StatusTitle.h"
#include "core/Date.h"
#include "design/Theme.h"

#include "AppDriver.h"
#include "EventLoop.h"
#include "TestEnvironment.h"

#include <QDir>
#include <QImage>

#include <gtest/gtest.h>

#include <iostream>

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

    QImage panelShot(const QString& name) {
        const auto panel = app.panelGeometry();
        if (!panel)
            return {};
        // Let the opening fade finish (without a compositor there is none).
        testsupport::spinEventLoop(250);
        const QImage shot = app.screenshot(*panel);
        keep(shot, name);
        return shot;
    }

    QByteArray zone = lateMorningZone();
    AppDriver app{QStringLiteral(ORBITDAY_APP_BINARY)};
};

TEST_F(AppEndToEnd, StartsInTheTrayAndOpensWithTheHotKeyClosesWithEscapeAndReopensOnASecondLaunch) {
    const QDateTime now = QDateTime::currentDateTimeUtc();
    const QDateTime start = now.addSecs(2 * 3600 - now.time().second());
    app.addEvent(u"Dentist appointment"_s, start, start.addSecs(1800));
    ASSERT_TRUE(app.start());
    ASSERT_TRUE(app.tray().waitForItem(15000));

    {
        testsupport::ScopedTimeZone inAppZone(zone.constData());
        const core::Date startDate = core::Date::fromQDateTime(start);
        const QString date = app::formatDate(app::DateFormatPreset::weekdayDayMonth, core::Date::now(), {});
        EXPECT_EQ(app.tray().label(), date + u"  \u00B7  Dentist "_s + app::shortTime(startDate));
        EXPECT_EQ(app.tray().toolTipTitle(), u"Dentist appointment at "_s + app::shortTime(startDate));
    }
    EXPECT_TRUE(app.visibleWindows().empty()) << "a tray application starts without a window";

    app.chord({Keys::controlL, Keys::altL, 'c'});
    ASSERT_TRUE(app.waitForPanel());
    const QRect panel = *app.panelGeometry();
    EXPECT_EQ(panel.width(), 364);
    EXPECT_EQ(panel.topLeft(), QPoint(1280 - 364 - 8, 12)) << "no click yet: the top right corner";
    const QImage light = panelShot(u"panel-light"_s);
    ASSERT_FALSE(light.isNull());
    EXPECT_TRUE(near(light.pixelColor(300, panel.height() - 12), expected(design::Theme::surface(), false)));

    app.chord({Keys::escape});
    EXPECT_TRUE(app.waitForNoPanel());

    EXPECT_EQ(app.launchAgain(), 0);
    EXPECT_TRUE(app.waitForPanel());
    EXPECT_TRUE(app.isRunning());
}

TEST_F(AppEndToEnd, AClickOnTheTrayItemOpensTheDarkPanelUnderItAndAClickElsewhereClosesIt) {
    app.setPreference(u"appearance"_s, u"dark"_s);
    ASSERT_TRUE(app.start());
    ASSERT_TRUE(app.tray().waitForItem(15000));

    ASSERT_TRUE(app.tray().activate(640, 10));
    ASSERT_TRUE(app.waitForPanel());
    EXPECT_EQ(app.panelGeometry()->topLeft(), QPoint(640 - 182, 22));
    const QImage dark = panelShot(u"panel-dark"_s);
    ASSERT_FALSE(dark.isNull());
    EXPECT_TRUE(near(dark.pixelColor(300, dark.height() - 12), expected(design::Theme::surface(), true)));

    ASSERT_TRUE(app.tray().activate(640, 10));
    EXPECT_TRUE(app.waitForNoPanel());

    // A click into another application closes it.
    ASSERT_TRUE(app.tray().activate(640, 10));
    ASSERT_TRUE(app.waitForPanel());
    testsupport::spinEventLoop(100);
    app.focusElsewhere();
    EXPECT_TRUE(app.waitForNoPanel());
}

}  // namespace
