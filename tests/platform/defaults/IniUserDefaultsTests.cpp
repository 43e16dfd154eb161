#include "app/AppSettings.h"
#include "platform/defaults/IniUserDefaults.h"

#include "TestEnvironment.h"

#include <gtest/gtest.h>
#include <QCoreApplication>
#include <QDir>
#include <QFile>
#include <QProcess>
#include <QTemporaryDir>

namespace {

using app::AppSettings;
using app::HotKeyCombo;

// QSettings shares one cache per file within a process, so what a restart sees is
// only visible to another process: these run the binary again on one child test.
constexpr const char* kChildFile = "ORBITDAY_INI_CHILD_FILE";
constexpr const char* kChildScenario = "ORBITDAY_INI_CHILD_SCENARIO";

void expectChildPasses(const char* scenario, const QString& file) {
    QProcess child;
    QProcessEnvironment environment = QProcessEnvironment::systemEnvironment();
    environment.insert(QString::fromLatin1(kChildFile), file);
    environment.insert(QString::fromLatin1(kChildScenario), QString::fromLatin1(scenario));
    child.setProcessEnvironment(environment);
    child.setProcessChannelMode(QProcess::MergedChannels);
    child.start(QCoreApplication::applicationFilePath(), {QStringLiteral("--gtest_filter=IniRestartChild.*")});
    ASSERT_TRUE(child.waitForFinished(60000));
    const QByteArray output = child.readAll();
    EXPECT_EQ(child.exitStatus(), QProcess::NormalExit);
    EXPECT_EQ(child.exitCode(), 0) << output.constData();
    EXPECT_TRUE(output.contains("[       OK ] IniRestartChild.")) << output.constData();
}

class IniRestart : public ::testing::Test {
protected:
    QString path() const { return m_dir.filePath(QStringLiteral("settings.ini")); }
    QTemporaryDir m_dir;
};

TEST_F(IniRestart, FirstLaunchDefaultsAndTheirWriteBackSurvive) {
    {
        platform::IniUserDefaults defaults(path());
        const AppSettings settings(defaults);
    }
    expectChildPasses("firstLaunch", path());
}

TEST_F(IniRestart, ClearedEmptyAndChangedValuesSurvive) {
    platform::IniUserDefaults defaults(path());
    AppSettings settings(defaults);
    settings.setHotKeyOpenPopover(std::nullopt);
    settings.setHotKeyQuickCreate(HotKeyCombo{38, 0x1200});
    settings.setAlertSound(std::nullopt);
    settings.setAlertAutoDismissAfter(std::nullopt);
    settings.setEnabledCalendarIDs(app::CalendarIDSet{});
    settings.setDefaultCalendarID(QStringLiteral("a, b"));
    settings.setFirstWeekday(app::FirstWeekday::saturday);
    settings.setShowMeetingCountdown(false);
    settings.setAlertLeadTime(12.5);
    settings.setCustomDateFormat(QStringLiteral("@d MMM"));
    settings.setDateFormat(app::DateFormatPreset::long_);
    expectChildPasses("changed", path());
}

TEST_F(IniRestart, NonEmptyCalendarListSurvives) {
    platform::IniUserDefaults defaults(path());
    AppSettings settings(defaults);
    settings.setEnabledCalendarIDs(app::CalendarIDSet{QStringLiteral("x\"y"), QStringLiteral("z,w")});
    expectChildPasses("calendars", path());
}

TEST(IniRestartChild, ReadsWhatTheParentWrote) {
    const QString file = qEnvironmentVariable(kChildFile);
    const QString scenario = qEnvironmentVariable(kChildScenario);
    if (file.isEmpty())
        GTEST_SKIP() << "runs only as the child of an IniRestart test";
    ASSERT_TRUE(QFile::exists(file));
    platform::IniUserDefaults defaults(file);
    const AppSettings settings(defaults);

    if (scenario == u"firstLaunch") {
        EXPECT_EQ(defaults.stringValue(QStringLiteral("alertSound")), QStringLiteral("Pop"));
        EXPECT_EQ(defaults.doubleValue(QStringLiteral("alertAutoDismissAfter")), 300.0);
        EXPECT_EQ(settings.alertSound(), QStringLiteral("Pop"));
        EXPECT_EQ(settings.alertAutoDismissAfter(), 300.0);
        EXPECT_EQ(settings.hotKeyOpenPopover(), AppSettings::defaultHotKeyOpenPopover());
        EXPECT_FALSE(settings.enabledCalendarIDs());
        EXPECT_TRUE(settings.showMeetingCountdown());
    } else if (scenario == u"changed") {
        EXPECT_FALSE(settings.hotKeyOpenPopover());
        EXPECT_EQ(settings.hotKeyQuickCreate(), (HotKeyCombo{38, 0x1200}));
        EXPECT_EQ(settings.hotKeyJoinMeeting(), AppSettings::defaultHotKeyJoinMeeting());
        EXPECT_FALSE(settings.alertSound());
        EXPECT_FALSE(settings.alertAutoDismissAfter());
        EXPECT_EQ(settings.enabledCalendarIDs(), app::CalendarIDSet{});
        EXPECT_EQ(settings.defaultCalendarID(), QStringLiteral("a, b"));
        EXPECT_EQ(settings.firstWeekday(), app::FirstWeekday::saturday);
        EXPECT_FALSE(settings.showMeetingCountdown());
        EXPECT_EQ(settings.alertLeadTime(), 12.5);
        EXPECT_EQ(settings.customDateFormat(), u"@d MMM");
        EXPECT_EQ(settings.dateFormat(), app::DateFormatPreset::long_);
    } else if (scenario == u"calendars") {
        EXPECT_EQ(settings.enabledCalendarIDs(), (app::CalendarIDSet{QStringLiteral("x\"y"), QStringLiteral("z,w")}));
    } else {
        FAIL() << "unknown scenario " << scenario.toStdString();
    }
}

// A file edited by hand, read on first open (no cache yet), holds text only.
TEST(IniHandEdited, GarbageFallsBackWhileGoodTextReads) {
    QTemporaryDir dir;
    const QString path = dir.filePath(QStringLiteral("settings.ini"));
    QFile file(path);
    ASSERT_TRUE(file.open(QIODevice::WriteOnly));
    file.write(
        "[General]\n"
        "showWeekNumbers=banana\n"
        "hoverHaptics=false\n"
        "firstWeekday=9\n"
        "alertLeadTime=30\n"
        "meetingCountdownLeadTime=soon\n"
        "hotKeyOpenPopover=hello\n"
        "hotKeyQuickCreate=\"@ByteArray({\\\"keyCode\\\":1,\\\"modifiers\\\":256})\"\n"
        "enabledCalendarIDs=@Invalid()\n"
        "alertSound=Glass\n"
        "alertAutoDismissAfter=-1\n");
    file.close();

    platform::IniUserDefaults defaults(path);
    const AppSettings settings(defaults);
    EXPECT_FALSE(settings.showWeekNumbers());
    EXPECT_FALSE(settings.hoverHaptics());
    EXPECT_EQ(settings.firstWeekday(), app::FirstWeekday::monday);
    EXPECT_EQ(settings.alertLeadTime(), 30);
    EXPECT_EQ(settings.meetingCountdownLeadTime(), 900);
    EXPECT_FALSE(settings.hotKeyOpenPopover());
    EXPECT_EQ(settings.hotKeyQuickCreate(), (HotKeyCombo{1, 0x100}));
    EXPECT_FALSE(settings.enabledCalendarIDs());
    EXPECT_EQ(settings.alertSound(), QStringLiteral("Glass"));
    EXPECT_FALSE(settings.alertAutoDismissAfter());
}

// A damaged file is read as far as it goes and written whole again; only a write
// that fails is reported, also after such a file.
TEST(IniHandEdited, AMalformedFileIsRewrittenWithoutAFalseAlarm) {
    QTemporaryDir dir;
    const QString path = dir.filePath(QStringLiteral("settings.ini"));
    QFile file(path);
    ASSERT_TRUE(file.open(QIODevice::WriteOnly));
    file.write("[General\nshowWeekNumbers=true\n");
    file.close();

    platform::IniUserDefaults defaults(path);
    testing::internal::CaptureStderr();
    AppSettings settings(defaults);
    settings.setAlertLeadTime(45);
    EXPECT_EQ(testing::internal::GetCapturedStderr(), std::string());
    ASSERT_TRUE(file.open(QIODevice::ReadOnly));
    EXPECT_TRUE(file.readAll().contains("alertLeadTime=45"));
    file.close();

    // Now the file cannot be replaced: that is reported, once.
    ASSERT_TRUE(QFile::remove(path));
    ASSERT_TRUE(QDir().mkdir(path));
    testing::internal::CaptureStderr();
    settings.setAlertLeadTime(50);
    settings.setAlertLeadTime(55);
    EXPECT_EQ(testing::internal::GetCapturedStderr(),
              "[Orbitday] could not write the settings to " + path.toStdString() + "\n");
}

TEST(IniStandardFile, LivesInTheXdgConfigFolder) {
    EXPECT_EQ(platform::IniUserDefaults::standardFilePath(),
              testsupport::homeFolder() + QStringLiteral("/config/orbitday/settings.ini"));
}

}  // namespace
