#include "platform/textrecognition/LinePieces.h"

#include <gtest/gtest.h>

using namespace Qt::Literals::StringLiterals;
using platform::TextPiece;
using platform::recognition::appendLinePieces;
using platform::recognition::ReadWord;

namespace {

const QSize kPage(1000, 1000);

std::vector<TextPiece> piecesOf(const std::vector<ReadWord>& words) {
    std::vector<TextPiece> pieces;
    appendLinePieces(words, kPage, pieces);
    return pieces;
}

TEST(LinePieces, AStrayMarkSpanningTwoLinesLeavesThePieceItsTextsHeight) {
    // "Team · Standup", the middle dot read as a box from the line above to the one below.
    const auto pieces = piecesOf({{u"Team"_s, QRect(100, 500, 60, 20)},
                                  {u"·"_s, QRect(170, 470, 8, 80)},
                                  {u"Standup"_s, QRect(190, 502, 90, 20)}});
    ASSERT_EQ(pieces.size(), 1u);
    EXPECT_EQ(pieces[0].text, u"Team · Standup"_s);
    EXPECT_DOUBLE_EQ(pieces[0].box.height(), 22.0 / 1000);
    EXPECT_DOUBLE_EQ(pieces[0].box.left(), 0.1);
    EXPECT_DOUBLE_EQ(pieces[0].box.right(), 0.28);
    // Tall punctuation does not widen what counts as a gap either.
    const auto far = piecesOf({{u"-"_s, QRect(100, 400, 8, 120)}, {u"Gate"_s, QRect(110, 500, 40, 20)},
                               {u"B22"_s, QRect(200, 500, 40, 20)}});
    EXPECT_EQ(far.size(), 2u);
}

TEST(LinePieces, AnAddressSplitAfterItsWwwIsOneWordAgain) {
    const auto pieces = piecesOf({{u"Visit"_s, QRect(100, 500, 50, 20)},
                                  {u"www."_s, QRect(160, 500, 40, 20)},
                                  {u"craftfair.example.org"_s, QRect(206, 500, 200, 20)}});
    ASSERT_EQ(pieces.size(), 1u);
    EXPECT_EQ(pieces[0].text, u"Visit www.craftfair.example.org"_s);
}

TEST(LinePieces, PunctuationAloneKeepsItsOwnBox) {
    const auto pieces = piecesOf({{u"—"_s, QRect(100, 500, 30, 4)}});
    ASSERT_EQ(pieces.size(), 1u);
    EXPECT_DOUBLE_EQ(pieces[0].box.height(), 4.0 / 1000);
    EXPECT_TRUE(piecesOf({}).empty());
}

TEST(LinePieces, DigitsCountAsTextAndBoxesGrowUpwardFromTheBottom) {
    const auto pieces = piecesOf({{u"19:30"_s, QRect(0, 900, 50, 30)}, {u"|"_s, QRect(55, 850, 4, 150)}});
    ASSERT_EQ(pieces.size(), 1u);
    EXPECT_NEAR(pieces[0].box.top(), 1.0 - 930.0 / 1000, 1e-9);
    EXPECT_DOUBLE_EQ(pieces[0].box.height(), 0.03);
}

}  // namespace
