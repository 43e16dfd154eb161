#include "platform/textrecognition/TesseractRecognizer.h"

#include "platform/images/QtImages.h"
#include "platform/textrecognition/PageLayout.h"

#include <QPainter>
#include <QThread>

#include <tesseract/baseapi.h>
#include <tesseract/resultiterator.h>

#include <dlfcn.h>

#include <algorithm>
#include <cmath>
#include <future>
#include <mutex>
#include <system_error>

using namespace Qt::Literals::StringLiterals;

namespace platform {
namespace {

// Text lines whose smaller quartile is shorter than this many rows are enlarged
// twice: Tesseract misreads 13 px text ("z00m.us") that it reads right at 26 px.
constexpr int kSmallTextRows = 20;
// Enlarging stops at about this many pixels: time grows with the area.
constexpr double kLargestEnlargedArea = 4096.0 * 4096.0;
// The resolution a screenshot has at its own size; Tesseract sizes some of its noise
// filters by it.
constexpr int kScreenDotsPerInch = 96;
// Words Tesseract is this unsure of are mostly specks and picture edges read as text.
constexpr float kLeastWordConfidence = 20.0f;
// A gap between two words wider than this many word heights splits a line into two
// pieces, as a label and its value far apart on a row are two pieces.
constexpr double kPieceGapInHeights = 1.5;

// Tesseract parallelises inside one recognition with OpenMP, whose spinning threads
// make several recognitions at once far slower than one after another. The runtime
// reads OMP_THREAD_LIMIT before main() runs, so the limit is set through the runtime
// itself, for the calling thread (each thread has its own setting): no parallel region
// it enters then starts more than one thread. Looked up rather than linked: the
// runtime is there only as Tesseract's own dependency.
void keepOpenMpToOneThreadHere() {
    using SetMaxActiveLevels = void (*)(int);
    static const auto set = reinterpret_cast<SetMaxActiveLevels>(dlsym(RTLD_DEFAULT, "omp_set_max_active_levels"));
    if (set)
        set(0);
}

struct TextDeleter {
    void operator()(char* text) const { delete[] text; }
};

struct Word {
    QString text;
    QRect box;
};

}  // namespace

class TesseractRecognizer::EnginePool {
public:
    using Engine = std::unique_ptr<tesseract::TessBaseAPI>;

    // An idle engine, or a new one; null with the reason when none can be made.
    Engine take(QString* error) {
        {
            std::lock_guard lock(m_mutex);
            if (!m_idle.empty()) {
                Engine engine = std::move(m_idle.back());
                m_idle.pop_back();
                return engine;
            }
        }
        keepOpenMpToOneThreadHere();
        auto engine = std::make_unique<tesseract::TessBaseAPI>();
        if (engine->Init(nullptr, "eng", tesseract::OEM_LSTM_ONLY) != 0) {
            if (error)
                *error = u"The text recognition data for English is missing."_s;
            return nullptr;
        }
        // Tesseract's notes on what it saw belong to no one here.
        engine->SetVariable("debug_file", "/dev/null");
        engine->SetPageSegMode(tesseract::PSM_AUTO);
        return engine;
    }

    void give(Engine engine) {
        engine->Clear();
        std::lock_guard lock(m_mutex);
        m_idle.push_back(std::move(engine));
    }

private:
    std::mutex m_mutex;
    std::vector<Engine> m_idle;
};

namespace {

// The image as dark text on a light ground, in grey, enlarged when its text is small.
struct Page {
    QImage gray;
    double scale = 1.0;
    recognition::PageLayout layout;
};

Page preparedPage(const LoadedImage& image) {
    // Transparent parts count as white paper.
    QImage flat(image.width, image.height, QImage::Format_RGB32);
    flat.fill(Qt::white);
    {
        QPainter painter(&flat);
        painter.drawImage(0, 0, images::toQImage(image));
    }
    Page page;
    page.gray = flat.convertToFormat(QImage::Format_Grayscale8);
    page.layout = recognition::PageLayout::of(page.gray);
    if (page.layout.isDark())
        page.gray.invertPixels();
    const int lineHeight = page.layout.smallLineHeight();
    const double area = static_cast<double>(image.width) * image.height;
    if (lineHeight > 0 && lineHeight < kSmallTextRows && area * 4 <= kLargestEnlargedArea) {
        page.scale = 2.0;
        page.gray = page.gray.scaled(page.gray.width() * 2, page.gray.height() * 2, Qt::IgnoreAspectRatio,
                                     Qt::SmoothTransformation);
        page.layout = recognition::PageLayout::of(page.gray);
    }
    return page;
}

// A line's words, cut into pieces where a gap is wide.
void appendPieces(const std::vector<Word>& line, const QSize& size, std::vector<TextPiece>& pieces) {
    if (line.empty())
        return;
    std::vector<int> heights;
    for (const Word& word : line)
        heights.push_back(word.box.height());
    std::nth_element(heights.begin(), heights.begin() + static_cast<std::ptrdiff_t>(heights.size() / 2), heights.end());
    const double widestGap = kPieceGapInHeights * heights[heights.size() / 2];

    const auto flush = [&](QString text, const QRect& box) {
        pieces.push_back({std::move(text),
                          QRectF(static_cast<double>(box.left()) / size.width(),
                                 1.0 - static_cast<double>(box.top() + box.height()) / size.height(),
                                 static_cast<double>(box.width()) / size.width(),
                                 static_cast<double>(box.height()) / size.height())});
    };
    QString text = line.front().text;
    QRect box = line.front().box;
    for (size_t i = 1; i < line.size(); ++i) {
        if (line[i].box.left() - line[i - 1].box.right() > widestGap) {
            flush(text, box);
            text = line[i].text;
            box = line[i].box;
        } else {
            text += u' ' + line[i].text;
            box = box.united(line[i].box);
        }
    }
    flush(text, box);
}

// The pieces of one band of the page, in the engine's reading order.
std::vector<TextPiece> readBand(tesseract::TessBaseAPI& engine, const Page& page, const recognition::PageLayout::Run& band) {
    keepOpenMpToOneThreadHere();
    // A band of its own rather than a rectangle of the page: Tesseract read the wrong
    // part of the page for a rectangle below the top.
    const QImage part = page.gray.copy(0, band.top, page.gray.width(), band.height());
    engine.SetImage(part.constBits(), part.width(), part.height(), 1, static_cast<int>(part.bytesPerLine()));
    engine.SetSourceResolution(static_cast<int>(std::lround(kScreenDotsPerInch * page.scale)));
    std::vector<TextPiece> pieces;
    if (engine.Recognize(nullptr) != 0)
        return pieces;
    const std::unique_ptr<tesseract::ResultIterator> it(engine.GetIterator());
    if (!it)
        return pieces;

    std::vector<Word> line;
    constexpr auto kWord = tesseract::RIL_WORD;
    do {
        if (it->Empty(kWord))
            continue;
        if (it->IsAtBeginningOf(tesseract::RIL_TEXTLINE)) {
            appendPieces(line, page.gray.size(), pieces);
            line.clear();
        }
        const std::unique_ptr<char, TextDeleter> text(it->GetUTF8Text(kWord));
        int left = 0, top = 0, right = 0, bottom = 0;
        if (!text || it->Confidence(kWord) < kLeastWordConfidence || !it->BoundingBox(kWord, &left, &top, &right, &bottom))
            continue;
        line.push_back({QString::fromUtf8(text.get()),
                        QRect(QPoint(left, band.top + top), QPoint(right - 1, band.top + bottom - 1))});
    } while (it->Next(kWord));
    appendPieces(line, page.gray.size(), pieces);
    return pieces;
}

}  // namespace

TesseractRecognizer::TesseractRecognizer(int parallelBands)
    : m_engines(std::make_unique<EnginePool>()),
      m_parallelBands(parallelBands > 0 ? parallelBands : std::clamp(QThread::idealThreadCount(), 1, 4)) {}

TesseractRecognizer::~TesseractRecognizer() = default;

bool TesseractRecognizer::prepare(QString* error) const {
    auto engine = m_engines->take(error);
    if (!engine)
        return false;
    m_engines->give(std::move(engine));
    return true;
}

RecognitionResult TesseractRecognizer::recognize(const LoadedImage& image) const {
    // Smaller than a letter: nothing to read.
    if (image.isNull() || image.width < 8 || image.height < 8)
        return std::vector<TextPiece>{};
    const Page page = preparedPage(image);
    if (!page.layout.hasInk())
        return std::vector<TextPiece>{};
    const std::vector<recognition::PageLayout::Run> bands = page.layout.bands(m_parallelBands);

    // Each band on an engine of its own; the first on this thread.
    std::vector<std::vector<TextPiece>> found(bands.size());
    QString error;
    std::mutex errorMutex;
    const auto read = [&](size_t i) {
        QString reason;
        EnginePool::Engine engine = m_engines->take(&reason);
        if (!engine) {
            std::lock_guard lock(errorMutex);
            error = reason;
            return;
        }
        found[i] = readBand(*engine, page, bands[i]);
        m_engines->give(std::move(engine));
    };
    std::vector<std::future<void>> others;
    for (size_t i = 1; i < bands.size(); ++i) {
        try {
            others.push_back(std::async(std::launch::async, read, i));
        } catch (const std::system_error&) {
            // No thread to spare: this thread reads the band afterwards.
            others.push_back(std::async(std::launch::deferred, read, i));
        }
    }
    read(0);
    for (std::future<void>& other : others)
        other.get();
    if (!error.isEmpty())
        return RecognitionError{error};

    std::vector<TextPiece> pieces;
    for (std::vector<TextPiece>& band : found)
        pieces.insert(pieces.end(), std::make_move_iterator(band.begin()), std::make_move_iterator(band.end()));
    return pieces;
}

}  // namespace platform
