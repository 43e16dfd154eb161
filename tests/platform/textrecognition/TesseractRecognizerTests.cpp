#include "platform/textrecognition/PageLayout.h"
#include "platform/textrecognition/TesseractRecognizer.h"

#include "platform/images/QtImages.h"

#include "Rendering.h"
#include "TestImages.h"

#include <QPainter>

#include <gtest/gtest.h>

#include <future>

using namespace Qt::Literals::StringLiterals;
using platform::TesseractRecognizer;
using platform::TextPiece;
using platform::recognition::PageLayout;
using testsupport::textImage;

namespace {

class Recognition : public ::testing::Test {
protected:
    void SetUp() override { ASSERT_EQ(testsupport::missingFontFamilies(), QStringList()); }

    std::vector<TextPiece> read(const QImage& image) const {
        auto result = recognizer.recognize(platform::images::fromQImage(image));
        EXPECT_TRUE(std::holds_alternative<std::vector<TextPiece>>(result));
        return std::get<std::vector<TextPiece>>(result);
    }
    static QStringList texts(const std::vector<TextPiece>& pieces) {
        QStringList result;
        for (const TextPiece& piece : pieces)
            result.append(piece.text);
        return result;
    }

    TesseractRecognizer recognizer;
};

TEST_F(Recognition, SmallAndLargeScreenText) {
    const QStringList found = texts(read(textImage({{u"Team offsite"_s, 20, true},
                                                    {u"Thursday 19 June 2025, 14:00 - 15:30"_s, 13},
                                                    {u"Join at https://zoom.us/j/94812345678"_s, 13}})));
    EXPECT_TRUE(found.contains(u"Team offsite"_s)) << found.join(u'|').toStdString();
    EXPECT_TRUE(found.contains(u"Thursday 19 June 2025, 14:00 - 15:30"_s)) << found.join(u'|').toStdString();
    // Read at its own size, 13 px text gave "z00m.us".
    EXPECT_TRUE(found.contains(u"Join at https://zoom.us/j/94812345678"_s)) << found.join(u'|').toStdString();
}

TEST_F(Recognition, BoxesAreFractionsOfTheImageFromItsLowerLeftCorner) {
    QImage image = textImage({{u"Upper"_s, 20}}, {640, 480});
    testsupport::paintText(image, {480, 440}, u"Lower"_s);
    const auto pieces = read(image);
    ASSERT_EQ(texts(pieces), (QStringList{u"Upper"_s, u"Lower"_s}));
    const QRectF upper = pieces[0].box;
    const QRectF lower = pieces[1].box;
    EXPECT_NEAR(upper.left(), 40.0 / 640, 0.01);
    EXPECT_GT(upper.top(), 0.85);
    EXPECT_LT(upper.bottom(), 0.95);
    EXPECT_NEAR(upper.height(), 15.0 / 480, 0.01);
    EXPECT_GT(lower.left(), 0.7);
    EXPECT_LT(lower.top(), 0.1);
}

TEST_F(Recognition, ALabelAndAValueFarApartAreTwoPieces) {
    QImage image = textImage({}, {800, 200});
    testsupport::paintText(image, {40, 100}, u"Gate"_s);
    testsupport::paintText(image, {600, 100}, u"B22"_s);
    EXPECT_EQ(texts(read(image)), (QStringList{u"Gate"_s, u"B22"_s}));
}

TEST_F(Recognition, LightTextOnADarkGround) {
    const QImage dark = textImage({{u"Dark mode reading"_s, 20}}, {640, 200}, Qt::white, QColor(0x1e, 0x1e, 0x1e));
    EXPECT_EQ(texts(read(dark)), QStringList{u"Dark mode reading"_s});
}

TEST_F(Recognition, NoTextIsNoPiecesAndNoFailure) {
    EXPECT_TRUE(read(textImage({}, {640, 480})).empty());
    EXPECT_TRUE(read(textImage({}, {4, 4})).empty());
    EXPECT_TRUE(read(QImage()).empty());
}

TEST_F(Recognition, RecognitionsAtOnceReadAlike) {
    const QImage image = textImage({{u"Doors open 19:30"_s, 20}, {u"The Blue Room"_s, 13}}, {640, 300});
    const std::vector<TextPiece> alone = read(image);
    auto first = std::async(std::launch::async, [&] { return read(image); });
    auto second = std::async(std::launch::async, [&] { return read(image); });
    EXPECT_EQ(first.get(), alone);
    EXPECT_EQ(second.get(), alone);
}

QImage grayLines(const std::vector<std::pair<int, int>>& inkRows, int height = 200) {
    QImage image(100, height, QImage::Format_Grayscale8);
    image.fill(240);
    for (const auto& [top, bottom] : inkRows) {
        for (int y = top; y < bottom; ++y)
            std::fill_n(image.scanLine(y) + 10, 50, uchar(20));
    }
    return image;
}

TEST(PageLayoutOfInk, BandsCoverThePageAndCutOnlyBetweenLines) {
    const PageLayout layout = PageLayout::of(grayLines({{10, 22}, {30, 42}, {50, 62}, {70, 90}, {120, 132}}));
    EXPECT_EQ(layout.inkRuns().size(), 5u);
    EXPECT_EQ(layout.smallLineHeight(), 12);
    for (const int count : {1, 2, 3, 4, 9}) {
        const auto bands = layout.bands(count);
        ASSERT_FALSE(bands.empty());
        EXPECT_LE(bands.size(), static_cast<size_t>(std::min(count, 5)));
        EXPECT_EQ(bands.front().top, 0);
        EXPECT_EQ(bands.back().bottom, 200);
        for (size_t i = 0; i < bands.size(); ++i) {
            if (i > 0) {
                EXPECT_EQ(bands[i].top, bands[i - 1].bottom);
            }
            // A run lies wholly inside a band or wholly outside it.
            for (const PageLayout::Run& run : layout.inkRuns()) {
                const bool outside = run.bottom <= bands[i].top || run.top >= bands[i].bottom;
                const bool inside = run.top >= bands[i].top && run.bottom <= bands[i].bottom;
                EXPECT_TRUE(outside || inside);
            }
        }
    }
    EXPECT_EQ(layout.bands(2), (std::vector<PageLayout::Run>{{0, 66}, {66, 200}}));
}

TEST(PageLayoutOfInk, ThinRulesAreNoTextAndABlankPageHasNoInk) {
    const PageLayout ruled = PageLayout::of(grayLines({{10, 11}, {40, 58}, {100, 102}}));
    EXPECT_EQ(ruled.smallLineHeight(), 18);
    const PageLayout blank = PageLayout::of(grayLines({}));
    EXPECT_FALSE(blank.hasInk());
    EXPECT_EQ(blank.bands(4), (std::vector<PageLayout::Run>{{0, 200}}));
}

}  // namespace
