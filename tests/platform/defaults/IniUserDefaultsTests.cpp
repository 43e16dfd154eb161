#include "platform/defaults/IniUserDefaults.h"
#include "state/AppSettings.h"

#include "TestEnvironment.h"
#include "TestFifo.h"

#include <gtest/gtest.h>
#include <QCoreApplication>
#include <QDir>
#include <QDateTime>
#include <QFile>
#include <QFileInfo>
#include <QProcess>
#include <QTemporaryDir>

#include <memory>

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
// that fails is reported.
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

    // A file that cannot be written (its folder cannot be made) is reported, once.
    const QString unwritable = QStringLiteral("/proc/orbitday-nowhere/settings.ini");
    platform::IniUserDefaults nowhere(unwritable);
    testing::internal::CaptureStderr();
    AppSettings lost(nowhere);
    lost.setAlertLeadTime(50);
    lost.setAlertLeadTime(55);
    EXPECT_EQ(testing::internal::GetCapturedStderr(),
              "[Orbitday] could not write the settings to " + unwritable.toStdString() + "\n");
    EXPECT_EQ(lost.alertLeadTime(), 55);
}

// Whatever lies where the settings file should be, the app starts on its defaults
// without waiting, leaves the thing as it is, and keeps the changes of the run.
TEST(IniUnfitFile, AFifoIsNeverOpenedAndThePreferencesLiveInMemory) {
    QTemporaryDir dir;
    const QString path = dir.filePath(QStringLiteral("settings.ini"));
    testsupport::TestFifo fifo(path);
    ASSERT_TRUE(fifo.made());

    std::unique_ptr<platform::IniUserDefaults> defaults;
    testing::internal::CaptureStderr();
    ASSERT_TRUE(fifo.runsWithoutWaiting([&] { defaults = std::make_unique<platform::IniUserDefaults>(path); }));
    EXPECT_EQ(testing::internal::GetCapturedStderr(),
              "[Orbitday] left the settings file " + path.toStdString() +
                  " as it is (not a regular file); the preferences are kept in memory\n");
    EXPECT_FALSE(defaults->usesFile());

    AppSettings settings(*defaults);
    EXPECT_EQ(settings.alertLeadTime(), 60);
    settings.setAlertLeadTime(45);
    settings.setEnabledCalendarIDs(app::CalendarIDSet{QStringLiteral("a")});
    EXPECT_EQ(settings.alertLeadTime(), 45);
    EXPECT_EQ(AppSettings(*defaults).enabledCalendarIDs(), app::CalendarIDSet{QStringLiteral("a")});
    EXPECT_TRUE(fifo.untouched());
}

TEST(IniUnfitFile, AnOversizedFileIsNeitherReadNorRewritten) {
    QTemporaryDir dir;
    const QString path = dir.filePath(QStringLiteral("settings.ini"));
    QFile file(path);
    ASSERT_TRUE(file.open(QIODevice::WriteOnly));
    file.write("[General]\nalertLeadTime=45\n");
    ASSERT_TRUE(file.resize(platform::IniUserDefaults::kMaxFileBytes + 1));
    file.close();
    const QDateTime modified = QFileInfo(path).lastModified();

    testing::internal::CaptureStderr();
    platform::IniUserDefaults defaults(path);
    AppSettings settings(defaults);
    settings.setAlertLeadTime(50);
    EXPECT_EQ(testing::internal::GetCapturedStderr(),
              "[Orbitday] left the settings file " + path.toStdString() +
                  " as it is (larger than 1 MiB); the preferences are kept in memory\n");
    EXPECT_EQ(settings.alertLeadTime(), 50);
    EXPECT_EQ(QFileInfo(path).size(), platform::IniUserDefaults::kMaxFileBytes + 1);
    EXPECT_EQ(QFileInfo(path).lastModified(), modified);
    ASSERT_TRUE(file.open(QIODevice::ReadOnly));
    EXPECT_TRUE(file.read(64).startsWith("[General]\nalertLeadTime=45\n"));

    file.close();

    // A file of the largest size allowed is read: a long comment makes up the rest.
    const QByteArray head = "[General]\nalertLeadTime=40\n;";
    ASSERT_TRUE(file.open(QIODevice::WriteOnly | QIODevice::Truncate));
    file.write(head + QByteArray(platform::IniUserDefaults::kMaxFileBytes - head.size() - 1, 'x') + '\n');
    file.close();
    ASSERT_EQ(QFileInfo(path).size(), platform::IniUserDefaults::kMaxFileBytes);
    platform::IniUserDefaults largest(path);
    EXPECT_TRUE(largest.usesFile());
    EXPECT_EQ(AppSettings(largest).alertLeadTime(), 40);
}

TEST(IniUnfitFile, AFileSwappedForAFifoWhileTheAppRunsIsNotWaitedOn) {
    QTemporaryDir dir;
    const QString path = dir.filePath(QStringLiteral("settings.ini"));
    platform::IniUserDefaults defaults(path);
    AppSettings settings(defaults);
    settings.setAlertLeadTime(45);
    settings.setShowWeekNumbers(true);
    ASSERT_TRUE(QFile::remove(path));
    testsupport::TestFifo fifo(path);
    ASSERT_TRUE(fifo.made());

    testing::internal::CaptureStderr();
    // The event loop runs meanwhile: nothing queued earlier may open the file either.
    ASSERT_TRUE(fifo.runsWithoutWaiting([&] { settings.setAlertLeadTime(50); }));
    testsupport::spinEventLoop(50);
    EXPECT_NE(testing::internal::GetCapturedStderr().find("(not a regular file)"), std::string::npos);
    EXPECT_EQ(settings.alertLeadTime(), 50);
    EXPECT_TRUE(AppSettings(defaults).showWeekNumbers()) << "what was read before stays";
    EXPECT_TRUE(fifo.untouched());
}

TEST(IniStandardFile, LivesInTheXdgConfigFolder) {
    EXPECT_EQ(platform::IniUserDefaults::standardFilePath(),
              testsupport::homeFolder() + QStringLiteral("/config/orbitday/settings.ini"));
}

}  // namespace
