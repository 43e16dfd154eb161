#include "Rendering.h"
#include "TestEnvironment.h"

#include <QColor>
#include <QDir>
#include <QImage>
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

namespace {

QImage swatch(QColor colour, QSize size = {8, 6}) {
    QImage image(size, QImage::Format_ARGB32);
    image.fill(colour);
    return image;
}

// The reference comparison lets anti-aliasing noise through and nothing else: a colour
// moved past a few levels, a single changed pixel or a changed size all fail.
TEST(ReferenceImages, PassOnlyWhatAntiAliasingCouldChange) {
    const QString folder = testsupport::homeFolder() + QStringLiteral("/references");
    qputenv("ORBITDAY_UPDATE_REFERENCES", "1");
    ASSERT_TRUE(testsupport::matchesReferenceIn(folder, swatch(QColor(100, 120, 140)), QStringLiteral("swatch")));
    qunsetenv("ORBITDAY_UPDATE_REFERENCES");

    EXPECT_TRUE(testsupport::matchesReferenceIn(folder, swatch(QColor(102, 118, 140)), QStringLiteral("swatch")));
    EXPECT_FALSE(testsupport::matchesReferenceIn(folder, swatch(QColor(104, 120, 140)), QStringLiteral("swatch")));
    QImage onePixel = swatch(QColor(100, 120, 140));
    onePixel.setPixelColor(3, 2, QColor(100, 120, 150));
    EXPECT_FALSE(testsupport::matchesReferenceIn(folder, onePixel, QStringLiteral("swatch")));
    EXPECT_FALSE(testsupport::matchesReferenceIn(folder, swatch(QColor(100, 120, 140), {8, 7}), QStringLiteral("swatch")));
    EXPECT_FALSE(testsupport::matchesReferenceIn(folder, swatch(QColor(100, 120, 140)), QStringLiteral("absent")));
}

}  // namespace
