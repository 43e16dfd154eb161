#include "platform/textrecognition/GreyChoice.h"

#include "TestImages.h"

#include <gtest/gtest.h>

using namespace Qt::Literals::StringLiterals;
using platform::recognition::GreyChoice;

namespace {

QImage page(QColor ink, QColor paper) {
    return testsupport::textImage({{u"Saturday 14 June 2025, 11:00 - 17:00"_s, 40}}, {800, 200}, ink, paper)
        .convertToFormat(QImage::Format_RGB32);
}

TEST(GreyChoice, DarkTextOnAPaleGroundIsReadFromItsLightness) {
    EXPECT_EQ(GreyChoice::bestSource(page(QColor(0x22, 0x22, 0x22), QColor(0xfb, 0xfb, 0xfb))),
              GreyChoice::Source::Lightness);
    // A link's blue all but vanishes in the blue channel: one clear in the lightness
    // keeps it.
    EXPECT_EQ(GreyChoice::bestSource(page(QColor(0x1a, 0x0d, 0xab), Qt::white)), GreyChoice::Source::Lightness);
    EXPECT_EQ(GreyChoice::bestSource(page(Qt::white, QColor(0x1e, 0x1e, 0x1e))), GreyChoice::Source::Lightness);
}

TEST(GreyChoice, LightTextOnASaturatedGroundIsReadFromTheChannelThatPartsThem) {
    const QImage pink = page(QColor(0xff, 0xf0, 0x96), QColor(0xff, 0x69, 0xb4));
    EXPECT_EQ(GreyChoice::bestSource(pink), GreyChoice::Source::Green);
    const QImage orange = page(Qt::white, QColor(0xff, 0x96, 0x00));
    EXPECT_EQ(GreyChoice::bestSource(orange), GreyChoice::Source::Blue);
    const QImage grey = GreyChoice::bestGrey(orange);
    ASSERT_EQ(grey.format(), QImage::Format_Grayscale8);
    EXPECT_EQ(grey.pixelColor(0, 0), QColor(0, 0, 0));
}

TEST(GreyChoice, ABlankPageIsReadFromItsLightness) {
    QImage blank(16, 16, QImage::Format_RGB32);
    blank.fill(QColor(0xff, 0x96, 0x00));
    EXPECT_EQ(GreyChoice::bestSource(blank), GreyChoice::Source::Lightness);
}

}  // namespace
