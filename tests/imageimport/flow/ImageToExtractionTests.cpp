// From a picture the test paints itself to the extraction, through the real image
// decoders, Tesseract and the extractor.

#include "imageimport/extraction/EventCandidateExtractor.h"
#include "imageimport/extraction/ImageTextRecognizer.h"
#include "imageimport/flow/ImageLoading.h"
#include "platform/datadetector/RuleDataDetector.h"
#include "platform/images/QtImageLoader.h"
#include "platform/textrecognition/TesseractRecognizer.h"

#include "Rendering.h"
#include "TestImages.h"

#include <QFile>
#include <QProcess>
#include <QStandardPaths>
#include <QTemporaryDir>

#include <gtest/gtest.h>

using namespace Qt::Literals::StringLiterals;
using namespace imageimport;
using testsupport::TextLine;

namespace {

class ImageToExtraction : public ::testing::Test {
protected:
    void SetUp() override { ASSERT_EQ(testsupport::missingFontFamilies(), QStringList()); }

    // Tuesday 10 June 2025 in the test zone: the flyer's dates are ahead.
    ImageExtraction read(const ImageImportInput& input) const {
        const ImageLoadResult loaded = loadImage(input, loader);
        if (const auto* error = std::get_if<ImageImportError>(&loaded)) {
            ADD_FAILURE() << error->description().toStdString();
            return {};
        }
        const RecognizedRows rows = ImageTextRecognizer::recognize(recognizer, std::get<platform::LoadedImage>(loaded));
        if (const auto* error = std::get_if<platform::RecognitionError>(&rows)) {
            ADD_FAILURE() << error->message.toStdString();
            return {};
        }
        const core::Calendar calendar;
        const core::Date now = *calendar.date({.year = 2025, .month = 6, .day = 10, .hour = 10});
        return EventCandidateExtractor(now, calendar, false, std::make_shared<platform::RuleDataDetector>())
            .extract(std::get<std::vector<RecognizedLine>>(rows));
    }

    ImageImportInput file(const QString& name, const QByteArray& bytes) const {
        QFile out(dir.filePath(name));
        EXPECT_TRUE(out.open(QIODevice::WriteOnly));
        out.write(bytes);
        return ImageImportInput::file(QUrl::fromLocalFile(out.fileName()));
    }

    // Saturday 14 June 2025, 19:30 to 23:00, whatever the picture was.
    static void expectTheFlyersEvening(const ImageExtraction& found) {
        ASSERT_FALSE(found.dates.empty()) << found.recognizedText.toStdString();
        const core::Calendar calendar;
        EXPECT_EQ(found.dates[0].start(calendar), calendar.date({.year = 2025, .month = 6, .day = 14, .hour = 19, .minute = 30}))
            << found.recognizedText.toStdString();
        EXPECT_EQ(found.dates[0].end(calendar), calendar.date({.year = 2025, .month = 6, .day = 14, .hour = 23}))
            << found.recognizedText.toStdString();
    }

    static std::vector<TextLine> flyer(int bodySize) {
        return {{u"Summer Jazz Night"_s, bodySize * 2, true},
                {u"Saturday 14 June · 19:30 - 23:00"_s, bodySize},
                {u"Live at The Blue Room"_s, bodySize},
                {u"Tickets £15 at blueroom.example.com"_s, bodySize}};
    }

    QTemporaryDir dir;
    platform::QtImageLoader loader;
    platform::TesseractRecognizer recognizer;
};

TEST_F(ImageToExtraction, AScreenshotWithTextAt13Pixels) {
    const ImageExtraction found = read(file(u"flyer.png"_s, testsupport::encoded(testsupport::textImage(flyer(13)), "PNG")));
    expectTheFlyersEvening(found);
    EXPECT_EQ(found.location, u"The Blue Room"_s);
    EXPECT_EQ(found.url, QUrl(u"http://blueroom.example.com"_s));
}

TEST_F(ImageToExtraction, PastedImageDataWithTextAt20Pixels) {
    const ImageExtraction found = read(ImageImportInput::data(testsupport::encoded(testsupport::textImage(flyer(20)), "PNG")));
    expectTheFlyersEvening(found);
    EXPECT_EQ(found.title, u"Summer Jazz Night at The Blue Room"_s);
}

TEST_F(ImageToExtraction, APhotoStoredSidewaysWithItsOrientationTag) {
    const QImage upright = testsupport::textImage(flyer(20), {900, 500});
    expectTheFlyersEvening(read(file(u"photo.jpg"_s, testsupport::sidewaysJpeg(upright))));
}

TEST_F(ImageToExtraction, ThePageOfAPdfDocument) {
    const QByteArray pdf = testsupport::pdfPage({595, 842}, [](QPainter& painter) {
        testsupport::paintLines(painter, flyer(14), Qt::black);
    });
    expectTheFlyersEvening(read(file(u"ticket.pdf"_s, pdf)));
    expectTheFlyersEvening(read(ImageImportInput::data(pdf)));
}

TEST_F(ImageToExtraction, AHeicPhoto) {
    const QString encoder = QStandardPaths::findExecutable(u"heif-enc"_s);
    if (encoder.isEmpty())
        GTEST_SKIP() << "heif-enc (libheif-examples) is not installed";
    const QString png = dir.filePath(u"flyer.png"_s);
    const QString heic = dir.filePath(u"flyer.heic"_s);
    ASSERT_TRUE(testsupport::textImage(flyer(20), {900, 500}).save(png));
    ASSERT_EQ(QProcess::execute(encoder, {u"-q"_s, u"90"_s, png, u"-o"_s, heic}), 0);
    expectTheFlyersEvening(read(ImageImportInput::file(QUrl::fromLocalFile(heic))));
}

TEST_F(ImageToExtraction, WhatIsNoImageNeverReachesRecognition) {
    EXPECT_EQ(loadImage(file(u"notes.txt"_s, "Dinner on Friday at 8"), loader),
              ImageLoadResult(ImageImportError::notAnImage(u"notes.txt"_s)));
    EXPECT_EQ(loadImage(file(u"broken.png"_s, "\x89PNG but nothing after"), loader),
              ImageLoadResult(ImageImportError::unreadable()));
}

}  // namespace
