// From image to extraction for a 1280 × 800 screenshot of a meeting invitation in a
// mail client: loading, recognition and extraction, each on its own and together.
// Run with a display or offscreen: the screenshot is painted with the system's fonts.

#include "imageimport/extraction/EventCandidateExtractor.h"
#include "imageimport/extraction/ImageTextRecognizer.h"
#include "imageimport/flow/ImageImportSession.h"
#include "imageimport/flow/ImageLoading.h"
#include "platform/images/QtImages.h"
#include "platform/datadetector/RuleDataDetector.h"
#include "platform/images/QtImageLoader.h"
#include "platform/textrecognition/TesseractRecognizer.h"

#include <QBuffer>
#include <QFile>
#include <QFont>
#include <QGuiApplication>
#include <QImage>
#include <QPainter>

#include <benchmark/benchmark.h>

#include <cstdio>
#include <cstdlib>

using namespace Qt::Literals::StringLiterals;
using namespace imageimport;

namespace {

QFont font(int pixels, bool bold = false) {
    QFont f(u"DejaVu Sans"_s);
    f.setPixelSize(pixels);
    f.setBold(bold);
    return f;
}

// A mail client: a toolbar and the open message, text at 13 px, the subject at 20 px.
QByteArray screenshotPng() {
    QImage image(1280, 800, QImage::Format_ARGB32_Premultiplied);
    image.fill(QColor(0xfa, 0xfa, 0xfa));
    QPainter p(&image);
    p.fillRect(0, 0, 1280, 44, QColor(0xec, 0xee, 0xf1));
    p.setPen(QColor(0x33, 0x33, 0x33));
    p.setFont(font(13));
    const QStringList buttons{u"Reply"_s, u"Reply all"_s, u"Forward"_s, u"Archive"_s, u"Delete"_s};
    for (qsizetype i = 0; i < buttons.size(); ++i)
        p.drawText(24 + static_cast<int>(i) * 110, 28, buttons[i]);

    p.setPen(QColor(0x11, 0x11, 0x11));
    p.setFont(font(20, true));
    p.drawText(40, 90, u"Quarterly planning review"_s);
    p.setFont(font(13));
    const QStringList body{u"From: Dana Whitfield <dana@example.com>"_s,
                           u"To: Product team"_s,
                           QString(),
                           u"When: Thursday 19 June 2025, 14:00 - 15:30"_s,
                           u"Where: Room 4.12, Harbour House"_s,
                           QString(),
                           u"Join Zoom meeting: https://zoom.us/j/94812345678?pwd=abc"_s,
                           u"Meeting ID: 948 1234 5678   Passcode: 552211"_s,
                           QString(),
                           u"Agenda: roadmap, hiring and the budget for Q3."_s,
                           u"Please reply by Monday 16 June."_s};
    for (qsizetype i = 0; i < body.size(); ++i)
        p.drawText(40, 130 + static_cast<int>(i) * 24, body[i]);
    p.end();
    QByteArray png;
    QBuffer buffer(&png);
    buffer.open(QIODevice::WriteOnly);
    image.save(&buffer, "PNG");
    return png;
}

struct Screenshot {
    QByteArray png = screenshotPng();
    platform::QtImageLoader loader;
    platform::TesseractRecognizer recognizer;
    std::shared_ptr<platform::RuleDataDetector> detector = std::make_shared<platform::RuleDataDetector>();

    platform::LoadedImage load() const {
        return std::get<platform::LoadedImage>(loadImage(ImageImportInput::data(png), loader));
    }
    std::vector<RecognizedLine> recognize(const platform::LoadedImage& image) const {
        return std::get<std::vector<RecognizedLine>>(ImageTextRecognizer::recognize(recognizer, image));
    }
    ImageExtraction extract(const std::vector<RecognizedLine>& lines) const {
        const core::Calendar calendar;
        return EventCandidateExtractor(core::Date(1749547800), calendar, false, detector).extract(lines);
    }
};

const Screenshot& screenshot() {
    static const Screenshot shot;
    return shot;
}

void BM_LoadScreenshot(benchmark::State& state) {
    for (auto _ : state)
        benchmark::DoNotOptimize(screenshot().load());
}
BENCHMARK(BM_LoadScreenshot)->Unit(benchmark::kMillisecond);

void BM_RecognizeScreenshot(benchmark::State& state) {
    const platform::LoadedImage image = screenshot().load();
    screenshot().recognize(image);  // the engines exist from here on
    for (auto _ : state)
        benchmark::DoNotOptimize(screenshot().recognize(image));
}
BENCHMARK(BM_RecognizeScreenshot)->Unit(benchmark::kMillisecond)->UseRealTime();

void BM_ExtractScreenshot(benchmark::State& state) {
    const auto lines = screenshot().recognize(screenshot().load());
    for (auto _ : state)
        benchmark::DoNotOptimize(screenshot().extract(lines));
}
BENCHMARK(BM_ExtractScreenshot)->Unit(benchmark::kMillisecond);

void BM_ScreenshotToExtraction(benchmark::State& state) {
    for (auto _ : state)
        benchmark::DoNotOptimize(screenshot().extract(screenshot().recognize(screenshot().load())));
}
BENCHMARK(BM_ScreenshotToExtraction)->Unit(benchmark::kMillisecond)->UseRealTime();

// The first import after start: the engines load their language data first.
void BM_FirstRecognitionWithNewEngines(benchmark::State& state) {
    const platform::LoadedImage image = screenshot().load();
    for (auto _ : state) {
        const platform::TesseractRecognizer fresh;
        benchmark::DoNotOptimize(ImageTextRecognizer::recognize(fresh, image));
    }
}
BENCHMARK(BM_FirstRecognitionWithNewEngines)->Unit(benchmark::kMillisecond)->UseRealTime()->Iterations(3);

// The first import after start as the app has it: the engines were made ready in the
// background when the popover opened, while the user chose the file.
void BM_FirstRecognitionWithPreparedEngines(benchmark::State& state) {
    const platform::LoadedImage image = screenshot().load();
    for (auto _ : state) {
        state.PauseTiming();
        const platform::TesseractRecognizer fresh;
        fresh.prepare();
        state.ResumeTiming();
        benchmark::DoNotOptimize(ImageTextRecognizer::recognize(fresh, image));
    }
}
BENCHMARK(BM_FirstRecognitionWithPreparedEngines)->Unit(benchmark::kMillisecond)->UseRealTime()->Iterations(3);

// A ticket's card of twelve label and value rows 2 pixels apart: the page that lost
// its short values when it was read in bands.
QImage tightCard() {
    QImage image(800, 600, QImage::Format_ARGB32_Premultiplied);
    image.fill(QColor(0xfb, 0xfb, 0xfb));
    QPainter painter(&image);
    painter.setFont(font(13));
    const QStringList rows{u"Event|Summer Jazz Night"_s, u"Date|Friday 18 July 2025"_s, u"Time|20:00 - 23:00"_s,
                           u"Doors|19:30"_s,             u"Venue|The Blue Room"_s,      u"Address|12 Harbour Street"_s,
                           u"Seat|K14"_s,                u"Row|6"_s,                    u"Gate|B22"_s,
                           u"Order|#88213"_s,            u"Price|EUR 35.00"_s,          u"Host|Dana Whitfield"_s};
    int baseline = 40;
    for (const QString& row : rows) {
        baseline += 15;
        painter.setPen(QColor(0x88, 0x88, 0x88));
        painter.drawText(40, baseline, row.section(u'|', 0, 0));
        painter.setPen(QColor(0x11, 0x11, 0x11));
        painter.drawText(420, baseline, row.section(u'|', 1));
    }
    return image;
}

void BM_RecognizeTightCard(benchmark::State& state) {
    const platform::LoadedImage image = platform::images::fromQImage(tightCard());
    screenshot().recognize(image);
    for (auto _ : state)
        benchmark::DoNotOptimize(screenshot().recognize(image));
}
BENCHMARK(BM_RecognizeTightCard)->Unit(benchmark::kMillisecond)->UseRealTime();

// A paste of the screenshot through the import session, from begin() to the result on
// the main thread, with the session's own worker.
void BM_ImportSessionScreenshot(benchmark::State& state) {
    ImageImportSession session;
    session.setReading({&screenshot().loader, &screenshot().recognizer, screenshot().detector});
    for (auto _ : state) {
        session.begin(ImageImportInput::data(screenshot().png));
        while (session.phase().kind == ImageImportSession::Phase::Kind::preparing ||
               session.phase().kind == ImageImportSession::Phase::Kind::reading)
            QCoreApplication::processEvents(QEventLoop::WaitForMoreEvents, 5);
    }
    if (session.phase().kind != ImageImportSession::Phase::Kind::review)
        state.SkipWithError("the import did not reach its review");
}
BENCHMARK(BM_ImportSessionScreenshot)->Unit(benchmark::kMillisecond)->UseRealTime();

// A poster photographed with a phone: 3000 × 4000 pixels of JPEG, large lines of text on
// a grainy ground.
QByteArray posterJpeg() {
    QImage image(3000, 4000, QImage::Format_RGB32);
    image.fill(QColor(0xe8, 0xe2, 0xd4));
    QPainter p(&image);
    quint32 seed = 7;
    for (int i = 0; i < 200000; ++i) {
        seed = seed * 1664525u + 1013904223u;
        p.fillRect(static_cast<int>(seed % 3000), static_cast<int>((seed >> 8) % 4000), 3, 3, QColor(0xd2, 0xca, 0xb9));
    }
    p.setPen(QColor(0x20, 0x1a, 0x14));
    p.setFont(font(200, true));
    p.drawText(200, 700, u"Summer Jazz"_s);
    p.drawText(200, 950, u"Night"_s);
    p.setFont(font(100));
    const QStringList lines{u"Friday 18 July 2025"_s, u"20:00 - 23:00"_s, u"The Blue Room"_s, u"12 Harbour Street"_s};
    for (qsizetype i = 0; i < lines.size(); ++i)
        p.drawText(200, 1500 + static_cast<int>(i) * 180, lines[i]);
    p.setFont(font(70));
    p.drawText(200, 3500, u"Tickets at bluejazz.example.com"_s);
    p.end();
    QByteArray jpeg;
    QBuffer buffer(&jpeg);
    buffer.open(QIODevice::WriteOnly);
    image.save(&buffer, "JPEG", 90);
    return jpeg;
}

const QByteArray& poster() {
    static const QByteArray jpeg = posterJpeg();
    return jpeg;
}

// The photo's decode step alone: bytes to the bitmap recognition reads.
void BM_DecodePhoto(benchmark::State& state) {
    for (auto _ : state)
        benchmark::DoNotOptimize(loadImage(ImageImportInput::data(poster()), screenshot().loader));
}
BENCHMARK(BM_DecodePhoto)->Unit(benchmark::kMillisecond)->UseRealTime();

// From the photo's bytes to its extraction, with engines made ready (compare: the
// tesseract command line on the file ORBITDAY_BENCH_POSTER names, which it writes).
void BM_PhotoToExtraction(benchmark::State& state) {
    screenshot().recognize(screenshot().load());
    for (auto _ : state) {
        const ImageLoadResult loaded = loadImage(ImageImportInput::data(poster()), screenshot().loader);
        benchmark::DoNotOptimize(screenshot().extract(screenshot().recognize(std::get<platform::LoadedImage>(loaded))));
    }
}
BENCHMARK(BM_PhotoToExtraction)->Unit(benchmark::kMillisecond)->UseRealTime()->Iterations(5);

}  // namespace

int main(int argc, char** argv) {
    if (qEnvironmentVariableIsEmpty("QT_QPA_PLATFORM"))
        qputenv("QT_QPA_PLATFORM", "offscreen");
    QGuiApplication app(argc, argv);
    // What the pipeline makes of the screenshot, so that the figures are of a right reading.
    const ImageExtraction found = screenshot().extract(screenshot().recognize(screenshot().load()));
    std::printf("Screenshot read as: \"%s\", %s\n", qPrintable(found.title), qPrintable(found.summary()));
    if (const QString path = qEnvironmentVariable("ORBITDAY_BENCH_POSTER"); !path.isEmpty()) {
        QFile file(path);
        if (file.open(QIODevice::WriteOnly))
            file.write(poster());
    }
    benchmark::Initialize(&argc, argv);
    benchmark::RunSpecifiedBenchmarks();
    benchmark::Shutdown();
    return EXIT_SUCCESS;
}
