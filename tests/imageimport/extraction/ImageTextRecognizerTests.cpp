#include "imageimport/extraction/ImageTextRecognizer.h"

#include "platform/textrecognition/FakeTextRecognizer.h"

#include <gtest/gtest.h>

using namespace Qt::Literals::StringLiterals;
using imageimport::ImageTextRecognizer;
using imageimport::RecognizedLine;
using platform::TextPiece;

namespace {

// A piece by its left edge, vertical middle and height, in image-relative units with
// the origin at the bottom.
TextPiece piece(const QString& text, double left, double middle, double height) {
    return {text, QRectF(left, middle - height / 2, 0.1, height)};
}

std::vector<RecognizedLine> rows(const std::vector<TextPiece>& pieces) { return ImageTextRecognizer::rows(pieces); }

TEST(RecognizedRows, PiecesSideBySideMakeOneRowLeftToRight) {
    EXPECT_EQ(rows({piece(u"B22"_s, 0.7, 0.5, 0.02), piece(u"Gate"_s, 0.1, 0.505, 0.02)}),
              (std::vector<RecognizedLine>{{u"Gate  B22"_s, 0.02}}));
    // Top of the image first.
    EXPECT_EQ(rows({piece(u"second"_s, 0.1, 0.4, 0.02), piece(u"first"_s, 0.1, 0.8, 0.02)}),
              (std::vector<RecognizedLine>{{u"first"_s, 0.02}, {u"second"_s, 0.02}}));
}

TEST(RecognizedRows, ASmallPieceBesideAHeadingSharesItsRow) {
    // Middles 0.004 apart, less than half the small piece's height: one row, as tall as the heading.
    EXPECT_EQ(rows({piece(u"JAZZ"_s, 0.1, 0.8, 0.1), piece(u"live"_s, 0.6, 0.796, 0.01)}),
              (std::vector<RecognizedLine>{{u"JAZZ  live"_s, 0.1}}));
    // Exactly half apart starts a new row.
    EXPECT_EQ(rows({piece(u"a"_s, 0.1, 0.8, 0.02), piece(u"b"_s, 0.5, 0.79, 0.02)}).size(), 2u);
}

TEST(RecognizedRows, EachPieceIsComparedWithTheRowsFirstPiece) {
    // "b" is close to "a"; "c" is close to "b" but not to "a", so it opens a row.
    const auto found = rows({piece(u"a"_s, 0.1, 0.800, 0.02), piece(u"b"_s, 0.3, 0.792, 0.02),
                             piece(u"c"_s, 0.5, 0.784, 0.02)});
    EXPECT_EQ(found, (std::vector<RecognizedLine>{{u"a  b"_s, 0.02}, {u"c"_s, 0.02}}));
}

TEST(RecognizedText, APhonesClockAloneAtTheTopOfAPortraitScreenshotIsLeftOut) {
    platform::FakeTextRecognizer recognizer;
    recognizer.setResult(std::vector<TextPiece>{piece(u"9:41"_s, 0.08, 0.985, 0.012), piece(u"87%"_s, 0.85, 0.985, 0.012),
                                                piece(u"Dinner at Nora's"_s, 0.1, 0.7, 0.03),
                                                piece(u"Sat 19:30"_s, 0.1, 0.6, 0.02)});
    const auto lines = [&](int width, int height) {
        const auto found = ImageTextRecognizer::recognize(recognizer, {width, height, {}}, {});
        return std::get<std::vector<RecognizedLine>>(found);
    };
    EXPECT_EQ(lines(1170, 2532), (std::vector<RecognizedLine>{
                                     {u"87%"_s, 0.012}, {u"Dinner at Nora's"_s, 0.03}, {u"Sat 19:30"_s, 0.02}}));
    // A landscape screenshot has no phone's bar: its top line stays.
    EXPECT_EQ(lines(1280, 800).front().text, u"9:41  87%"_s);

    // Below the bar, or with more than the clock, a time is the picture's own.
    recognizer.setResult(std::vector<TextPiece>{piece(u"9:41 Standup"_s, 0.08, 0.985, 0.012),
                                                piece(u"10:15"_s, 0.1, 0.9, 0.012)});
    EXPECT_EQ(lines(1170, 2532), (std::vector<RecognizedLine>{{u"9:41 Standup"_s, 0.012}, {u"10:15"_s, 0.012}}));
}

TEST(RecognizedRows, EqualPositionsKeepTheirOrder) {
    EXPECT_EQ(rows({piece(u"one"_s, 0.2, 0.5, 0.02), piece(u"two"_s, 0.2, 0.5, 0.02)}),
              (std::vector<RecognizedLine>{{u"one  two"_s, 0.02}}));
    EXPECT_TRUE(rows({}).empty());
}

TEST(Recognition, BlankPiecesAreDroppedOthersKeptAsRecognised) {
    platform::FakeTextRecognizer recognizer;
    recognizer.setResult(std::vector<TextPiece>{piece(u" \t "_s, 0.1, 0.9, 0.02), piece(u" Doors 7pm "_s, 0.1, 0.5, 0.02)});
    EXPECT_EQ(ImageTextRecognizer::recognize(recognizer, {}),
              imageimport::RecognizedRows(std::vector<RecognizedLine>{{u" Doors 7pm "_s, 0.02}}));

    recognizer.setResult(platform::RecognitionError{u"no language data"_s});
    EXPECT_EQ(ImageTextRecognizer::recognize(recognizer, {}),
              imageimport::RecognizedRows(platform::RecognitionError{u"no language data"_s}));
}

}  // namespace
