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

std::vector<std::pair<QString, QString>> cardRows() {
    return {{u"Event"_s, u"Summer Jazz Night"_s}, {u"Date"_s, u"Friday 18 July 2025"_s},
            {u"Time"_s, u"20:00 - 23:00"_s},     {u"Doors"_s, u"19:30"_s},
            {u"Venue"_s, u"The Blue Room"_s},     {u"Address"_s, u"12 Harbour Street"_s},
            {u"Seat"_s, u"K14"_s},                {u"Row"_s, u"6"_s},
            {u"Gate"_s, u"B22"_s},                {u"Order"_s, u"#88213"_s},
            {u"Price"_s, u"EUR 35.00"_s},         {u"Host"_s, u"Dana Whitfield"_s}};
}

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

TEST_F(Recognition, TextOnATransparentGroundIsReadAsOnWhitePaper) {
    QImage clear(640, 200, QImage::Format_ARGB32_Premultiplied);
    clear.fill(Qt::transparent);
    QPainter painter(&clear);
    testsupport::paintLines(painter, {{u"Harbour House"_s, 24, true}}, QColor(0x11, 0x11, 0x11));
    painter.end();
    // Dark ink over nothing: taken as it is, the page is black on black.
    EXPECT_TRUE(texts(read(clear)).contains(u"Harbour House"_s)) << texts(read(clear)).join(u'|').toStdString();
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

TEST_F(Recognition, RecognitionsOnTwoThreadsAtOnceReadAlike) {
    const QImage image = textImage({{u"Doors open 19:30"_s, 20}, {u"The Blue Room"_s, 13}}, {640, 300});
    const std::vector<TextPiece> alone = read(image);
    auto first = std::async(std::launch::async, [&] { return read(image); });
    auto second = std::async(std::launch::async, [&] { return read(image); });
    EXPECT_EQ(first.get(), alone);
    EXPECT_EQ(second.get(), alone);
}

// A ticket's card of grey labels and dark values, rows close together: the page was
// once cut into bands between rows, and a band of three rows lost its short values.
QImage labelValueCard() {
    QImage image(800, 600, QImage::Format_ARGB32_Premultiplied);
    image.fill(QColor(0xfb, 0xfb, 0xfb));
    QPainter painter(&image);
    QFont font(u"DejaVu Sans"_s);
    font.setPixelSize(13);
    painter.setFont(font);
    int baseline = 40;
    for (const auto& [label, value] : cardRows()) {
        baseline += 15;
        painter.setPen(QColor(0x88, 0x88, 0x88));
        painter.drawText(40, baseline, label);
        painter.setPen(QColor(0x11, 0x11, 0x11));
        painter.drawText(420, baseline, value);
    }
    return image;
}

TEST_F(Recognition, EveryRowOfATightLabelAndValueCardComesBack) {
    QStringList expected;
    for (const auto& [label, value] : cardRows())
        expected << label << value;
    for (const int readers : {1, 4}) {
        const TesseractRecognizer reader(readers);
        auto result = reader.recognize(platform::images::fromQImage(labelValueCard()));
        ASSERT_TRUE(std::holds_alternative<std::vector<TextPiece>>(result));
        QStringList found = texts(std::get<std::vector<TextPiece>>(result));
        found.sort();
        expected.sort();
        EXPECT_EQ(found, expected) << readers << " readers";
    }
}

TEST_F(Recognition, EnginesMadeAheadServeTheFirstImage) {
    const TesseractRecognizer fresh(3);
    QString error;
    EXPECT_TRUE(fresh.prepareEngines(&error)) << error.toStdString();
    EXPECT_EQ(texts(read(textImage({{u"Doors open 19:30"_s, 20}}, {640, 200}))), QStringList{u"Doors open 19:30"_s});
}

TEST_F(Recognition, RecognitionsOverlappingOnThreeThreadsLeaveOnlyOneRecognitionsEnginesAndAStopEndsEarly) {
    const TesseractRecognizer reader(2);
    const auto image = platform::images::fromQImage(labelValueCard());
    std::vector<std::future<platform::RecognitionResult>> running;
    for (int i = 0; i < 3; ++i)
        running.push_back(std::async(std::launch::async, [&] { return reader.recognize(image); }));
    for (auto& one : running)
        one.get();
    EXPECT_LE(reader.idleEngines(), 2);

    std::stop_source stop;
    stop.request_stop();
    const auto stopped = reader.recognize(image, stop.get_token());
    ASSERT_TRUE(std::holds_alternative<std::vector<TextPiece>>(stopped));
    EXPECT_TRUE(std::get<std::vector<TextPiece>>(stopped).empty());
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

TEST(PageLayoutOfInk, RunsOfInkAndTheHeightOfSmallLines) {
    const PageLayout layout = PageLayout::of(grayLines({{10, 22}, {30, 42}, {50, 62}, {70, 90}, {120, 132}}));
    EXPECT_EQ(layout.inkRuns(), (std::vector<PageLayout::Run>{{10, 22}, {30, 42}, {50, 62}, {70, 90}, {120, 132}}));
    EXPECT_EQ(layout.smallLineHeight(), 12);
    EXPECT_FALSE(layout.isDark());
}

TEST(PageLayoutOfInk, ThinRulesAreNoTextAndABlankPageHasNoInk) {
    const PageLayout ruled = PageLayout::of(grayLines({{10, 11}, {40, 58}, {100, 102}}));
    EXPECT_EQ(ruled.smallLineHeight(), 18);
    const PageLayout blank = PageLayout::of(grayLines({}));
    EXPECT_FALSE(blank.hasInk());
}

}  // namespace
