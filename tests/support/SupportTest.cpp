#include "Rendering.h"
#include "TestEnvironment.h"

#include <QColor>
#include <QDir>
#include <QFont>
#include <QFontDatabase>
#include <QFontInfo>
#include <QImage>
#include <QStandardPaths>

#include <gtest/gtest.h>

#include <algorithm>

using namespace Qt::StringLiterals;

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

// Another font package, or a desktop's preference for another face, must not
// reach the tests: they see the install script's faces alone, with the generic
// families bound to the same faces on every machine.
TEST(TestEnvironment, FontsAreTheSuitesOwnWhateverTheMachineHas) {
    const QStringList suiteFaces{u"DejaVu Sans"_s,     u"DejaVu Sans Mono"_s, u"DejaVu Serif"_s,
                                 u"Liberation Sans"_s, u"Liberation Mono"_s,  u"Liberation Serif"_s,
                                 u"Noto Color Emoji"_s, u"Lato"_s,             u"Inter"_s};
    // Qt lists the generic families among the faces, and a family's weights by their own names too ("Lato Medium").
    const QStringList generic{u"Sans Serif"_s, u"Serif"_s, u"Monospace"_s};
    const auto isSuites = [&suiteFaces](const QString& family) {
        return std::any_of(suiteFaces.begin(), suiteFaces.end(), [&family](const QString& face) {
            return family == face || family.startsWith(face + u' ');
        });
    };
    for (const QString& family : QFontDatabase::families())
        EXPECT_TRUE(isSuites(family) || generic.contains(family)) << family.toStdString();

    const auto resolved = [](const QString& family) { return QFontInfo(QFont(family)).family(); };
    EXPECT_EQ(resolved(u"sans-serif"_s), u"DejaVu Sans"_s);
    EXPECT_EQ(resolved(u"Sans Serif"_s), u"DejaVu Sans"_s);
    EXPECT_EQ(resolved(u"monospace"_s), u"DejaVu Sans Mono"_s);
    EXPECT_EQ(resolved(u"A Face No Machine Has"_s), u"DejaVu Sans"_s);
    EXPECT_EQ(QFontInfo(QFontDatabase::systemFont(QFontDatabase::FixedFont)).family(), u"DejaVu Sans Mono"_s);
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
