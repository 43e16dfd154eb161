#include "Rendering.h"
#include "TestEnvironment.h"

#include <QDir>
#include <QStandardPaths>

#include <gtest/gtest.h>

namespace {

// Every test process must run in its own throw-away home, never the user's.
TEST(TestEnvironment, HomeAndXdgFoldersAreIsolated) {
    const QString home = testsupport::homeFolder();
    ASSERT_FALSE(home.isEmpty());
    EXPECT_EQ(QDir::homePath(), home);
    for (auto location : {QStandardPaths::AppConfigLocation, QStandardPaths::AppDataLocation,
                          QStandardPaths::GenericDataLocation, QStandardPaths::CacheLocation,
                          QStandardPaths::RuntimeLocation})
        EXPECT_TRUE(QStandardPaths::writableLocation(location).startsWith(home)) << int(location);
    EXPECT_EQ(qgetenv("TZ"), QByteArray(testsupport::kTimeZone));
}

TEST(TestEnvironment, RenderingFontsAreInstalled) {
    EXPECT_EQ(testsupport::missingFontFamilies(), QStringList());
}

}  // namespace
