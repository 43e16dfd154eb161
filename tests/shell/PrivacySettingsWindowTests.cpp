#include "design/widgets/ODSwitch.h"
#include "platform/privacy/ConfigPrivacy.h"
#include "shell/PrivacySettingsWindow.h"

#include "Rendering.h"

#include <QApplication>
#include <QDir>
#include <QFile>
#include <QFileInfo>
#include <QTemporaryDir>
#include <QTest>

#include <gtest/gtest.h>

#include <sys/stat.h>

using app::PrivacySettingsWindow;
using platform::AuthorizationStatus;
using platform::ConfigPrivacy;
using platform::EntityType;

namespace {

class NoPrompt : public platform::ConsentPrompt {
public:
    void ask(EntityType, std::function<void(bool)>) override { ADD_FAILURE() << "the window never prompts"; }
};

class PrivacyWindow : public ::testing::Test {
protected:
    QString configFile() const { return m_dir.path() + QStringLiteral("/config/privacy.conf"); }
    QString root() const { return m_dir.path() + QStringLiteral("/calendars"); }

    QTemporaryDir m_dir;
    NoPrompt prompt;
};

TEST_F(PrivacyWindow, EachSwitchShowsAndStoresItsOwnAccess) {
    ConfigPrivacy privacy(configFile(), root(), prompt);
    ASSERT_EQ(privacy.setGranted(EntityType::Event, true), std::nullopt);
    PrivacySettingsWindow window(privacy);
    EXPECT_EQ(window.windowTitle(), QStringLiteral("Privacy Settings"));
    window.showPane(EntityType::Reminder);
    EXPECT_TRUE(window.accessSwitch(EntityType::Event)->isOn());
    EXPECT_FALSE(window.accessSwitch(EntityType::Reminder)->isOn());

    int announcements = 0;
    QObject::connect(&privacy, &ConfigPrivacy::accessChanged, [&] { ++announcements; });
    QTest::mouseClick(window.accessSwitch(EntityType::Event), Qt::LeftButton, {}, QPoint(10, 10));
    EXPECT_EQ(privacy.authorizationStatus(EntityType::Event), AuthorizationStatus::Denied);
    EXPECT_FALSE(window.accessSwitch(EntityType::Event)->isOn());
    window.accessSwitch(EntityType::Reminder)->click();
    EXPECT_EQ(privacy.authorizationStatus(EntityType::Reminder), AuthorizationStatus::FullAccess);
    EXPECT_EQ(announcements, 2);
    EXPECT_EQ(window.errorText(), QString());

    // A change made elsewhere (the consent prompt, another window) shows at once.
    ASSERT_EQ(privacy.setGranted(EntityType::Event, true), std::nullopt);
    EXPECT_TRUE(window.accessSwitch(EntityType::Event)->isOn());
}

// The screens that send the user here say "Privacy Settings › Calendars" and "Turn on
// Orbitday" ("Flip the Orbitday switch"): the window, its panes and its switches are
// called so.
TEST_F(PrivacyWindow, ItsPanesAndSwitchesAreWhatTheStepsThatLeadThereName) {
    ConfigPrivacy privacy(configFile(), root(), prompt);
    PrivacySettingsWindow window(privacy);
    EXPECT_EQ(window.windowTitle(), QStringLiteral("Privacy Settings"));
    EXPECT_EQ(window.paneTitle(EntityType::Event).compare(QStringLiteral("Calendars"), Qt::CaseInsensitive), 0);
    EXPECT_EQ(window.paneTitle(EntityType::Reminder).compare(QStringLiteral("Reminders"), Qt::CaseInsensitive), 0);
    for (const EntityType entity : {EntityType::Event, EntityType::Reminder}) {
        EXPECT_EQ(window.switchLabel(entity), QStringLiteral("Orbitday"));
        EXPECT_EQ(window.accessSwitch(entity)->accessibleName(), QStringLiteral("Orbitday"));
    }
    ASSERT_EQ(privacy.setGranted(EntityType::Event, true), std::nullopt);
    for (const bool dark : {false, true})
        EXPECT_TRUE(testsupport::rendersAsReference(window, 360, dark, QStringLiteral("privacy-settings")));
}

// A change that cannot be stored holds until the app quits, and the window says once that it cannot be kept.
TEST_F(PrivacyWindow, AChangeThatCannotBeStoredHoldsAndTheWindowSaysOnceThatARestartLosesIt) {
    QDir().mkpath(m_dir.path());
    QFile blocker(QFileInfo(configFile()).path());
    ASSERT_TRUE(blocker.open(QIODevice::WriteOnly));  // a file where the config folder should go
    blocker.close();
    ConfigPrivacy privacy(configFile(), root(), prompt);
    PrivacySettingsWindow window(privacy);
    window.show();
    window.accessSwitch(EntityType::Event)->click();
    EXPECT_TRUE(window.accessSwitch(EntityType::Event)->isOn());
    EXPECT_TRUE(window.errorText().contains(configFile()));
    EXPECT_TRUE(window.errorText().contains(QStringLiteral("cannot be kept after a restart")));
    window.accessSwitch(EntityType::Event)->click();
    EXPECT_FALSE(window.accessSwitch(EntityType::Event)->isOn());
    EXPECT_EQ(window.errorText(), QString()) << "said once";
    // Once the file can be written, the change is stored.
    ASSERT_TRUE(QFile::remove(blocker.fileName()));
    window.accessSwitch(EntityType::Event)->click();
    EXPECT_TRUE(window.accessSwitch(EntityType::Event)->isOn());
    EXPECT_EQ(window.errorText(), QString());
    ConfigPrivacy restarted(configFile(), root(), prompt);
    EXPECT_EQ(restarted.authorizationStatus(EntityType::Event), AuthorizationStatus::FullAccess);
}

TEST_F(PrivacyWindow, AnUnreadableCalendarFolderLeavesNothingToSwitch) {
    QDir().mkpath(root());
    ::chmod(QFile::encodeName(root()).constData(), 0);
    ConfigPrivacy privacy(configFile(), root(), prompt);
    PrivacySettingsWindow window(privacy);
    const bool restricted = privacy.authorizationStatus(EntityType::Event) == AuthorizationStatus::Restricted;
    ::chmod(QFile::encodeName(root()).constData(), 0755);
    if (!restricted)
        GTEST_SKIP() << "the superuser reads any folder";
    EXPECT_FALSE(window.accessSwitch(EntityType::Event)->isEnabled());
    EXPECT_FALSE(window.accessSwitch(EntityType::Reminder)->isEnabled());
}

}  // namespace
