#include "platform/workspace/LinuxWorkspace.h"

#include <QClipboard>
#include <QGuiApplication>
#include <QSignalSpy>

#include <gtest/gtest.h>

using namespace Qt::Literals::StringLiterals;

namespace {

TEST(LinuxWorkspace, OurOwnAddressesOpenOurWindowAndNeverReachTheDesktop) {
    platform::LinuxWorkspace workspace;
    QSignalSpy requests(&workspace, &platform::LinuxWorkspace::privacySettingsRequested);
    EXPECT_TRUE(workspace.open(platform::privacySettingsURL(platform::EntityType::Reminder)));
    EXPECT_TRUE(workspace.open(platform::privacySettingsURL(platform::EntityType::Event)));
    ASSERT_EQ(requests.count(), 2);
    EXPECT_EQ(requests[0][0].value<platform::EntityType>(), platform::EntityType::Reminder);
    EXPECT_EQ(requests[1][0].value<platform::EntityType>(), platform::EntityType::Event);
    // An address of ours naming no window is refused, not handed to the desktop.
    EXPECT_FALSE(workspace.open(QUrl(u"orbitday://privacy-settings/contacts"_s)));
    EXPECT_FALSE(workspace.open(QUrl()));
    EXPECT_EQ(requests.count(), 2);
}

TEST(LinuxWorkspace, CopiesPlainTextToTheClipboard) {
    platform::LinuxWorkspace workspace;
    workspace.copyToClipboard(u"<b>Room 4</b> & more"_s);
    EXPECT_EQ(QGuiApplication::clipboard()->text(), u"<b>Room 4</b> & more"_s);
    EXPECT_FALSE(workspace.isAltHeld());
}

}  // namespace
