#include "platform/textrecognition/LineBoxes.h"

#include <gtest/gtest.h>

using platform::recognition::LineBoxes;

namespace {

constexpr int kGround = 240;

QImage page() {
    QImage image(400, 200, QImage::Format_Grayscale8);
    image.fill(kGround);
    return image;
}

// Letters as upright strokes 3 px wide with 4 px between them, `height` rows tall.
void paintWord(QImage& image, int left, int top, int letters, int height) {
    for (int letter = 0; letter < letters; ++letter) {
        for (int y = top; y < top + height; ++y)
            std::fill_n(image.scanLine(y) + left + letter * 7, 3, uchar(30));
    }
}

TEST(LineBoxes, ALabelOverItsValueInOneBoxBecomesTwoLines) {
    QImage image = page();
    paintWord(image, 20, 20, 4, 10);
    paintWord(image, 20, 50, 5, 16);
    const auto mended = LineBoxes::mended(image, kGround, {QRect(20, 20, 35, 46)});
    EXPECT_EQ(mended, (std::vector<QRect>{QRect(20, 20, 35, 10), QRect(20, 50, 35, 16)}));
}

TEST(LineBoxes, AnAccentOverItsLetterStaysWithIt) {
    QImage image = page();
    paintWord(image, 20, 20, 1, 3);
    paintWord(image, 20, 26, 4, 12);
    const auto mended = LineBoxes::mended(image, kGround, {QRect(20, 20, 25, 18)});
    EXPECT_EQ(mended, (std::vector<QRect>{QRect(20, 20, 25, 18)}));
}

TEST(LineBoxes, ABoxCutShortInsideAWordGrowsOverTheRestOfIt) {
    QImage image = page();
    paintWord(image, 20, 20, 8, 12);
    // Even where its letters fill the box from top to bottom.
    const auto mended = LineBoxes::mended(image, kGround, {QRect(34, 20, 20, 12)});
    EXPECT_EQ(mended, (std::vector<QRect>{QRect(20, 20, 52, 12)}));
}

TEST(LineBoxes, TwoBoxesInsideOneWordBecomeOne) {
    QImage image = page();
    paintWord(image, 20, 20, 8, 12);
    const auto mended = LineBoxes::mended(image, kGround, {QRect(27, 20, 3, 12), QRect(48, 20, 3, 12)});
    EXPECT_EQ(mended, (std::vector<QRect>{QRect(20, 20, 52, 12)}));
}

TEST(LineBoxes, TextBesideAnIconWhoseBoxesOverlapStaysApartFromIt) {
    QImage image = page();
    paintWord(image, 20, 20, 3, 12);
    for (int y = 14; y < 38; ++y)
        std::fill_n(image.scanLine(y) + 45, 14, uchar(30));
    const std::vector<QRect> found{QRect(20, 20, 30, 12), QRect(45, 14, 14, 24)};
    EXPECT_EQ(LineBoxes::mended(image, kGround, found), found);
}

TEST(LineBoxes, AWordFarOffOrABandOfInkIsNoPartOfTheLine) {
    QImage image = page();
    paintWord(image, 20, 20, 3, 12);
    paintWord(image, 120, 20, 3, 12);
    for (int y = 60; y < 80; ++y)
        std::fill_n(image.scanLine(y) + 80, 300, uchar(30));
    paintWord(image, 20, 64, 3, 12);
    const auto mended = LineBoxes::mended(image, kGround, {QRect(20, 20, 17, 12), QRect(20, 64, 17, 12)});
    EXPECT_EQ(mended, (std::vector<QRect>{QRect(20, 20, 17, 12), QRect(20, 64, 17, 12)}));
}

// A ticket's row of values: "14A", then "5" alone in its cell, then "2", then a
// mark that is no character (a rule across the row) and a speck too small.
TEST(LineBoxes, ALoneCharacterOnTheRowsOfALineGetsABoxOfItsOwnAfterThoseLeftOfIt) {
    QImage image = page();
    paintWord(image, 20, 40, 3, 14);
    paintWord(image, 120, 40, 1, 14);
    paintWord(image, 200, 41, 1, 12);
    for (int y = 30; y < 70; ++y)
        std::fill_n(image.scanLine(y) + 260, 3, uchar(30));
    paintWord(image, 320, 45, 1, 3);
    paintWord(image, 20, 100, 4, 10);
    const std::vector<QRect> found{QRect(20, 40, 17, 14), QRect(20, 100, 24, 10)};
    EXPECT_EQ(LineBoxes::withLoneCharacters(image, kGround, found),
              (std::vector<QRect>{QRect(20, 40, 17, 14), QRect(120, 40, 3, 14), QRect(200, 41, 3, 12),
                                  QRect(20, 100, 24, 10)}));
}

TEST(LineBoxes, InkThatRunsIntoABoxOrAboveAndBelowItsRowsIsNoLoneCharacter) {
    QImage image = page();
    paintWord(image, 20, 40, 3, 14);
    // Close beside the box: the box's own ink, cut short.
    paintWord(image, 40, 40, 1, 14);
    // Twice the line's height: a picture's edge, no letter of this line.
    paintWord(image, 120, 33, 1, 28);
    const std::vector<QRect> found{QRect(20, 40, 17, 14)};
    EXPECT_EQ(LineBoxes::withLoneCharacters(image, kGround, found), found);
}

}  // namespace
