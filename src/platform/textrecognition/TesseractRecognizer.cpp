#include "platform/textrecognition/TesseractRecognizer.h"

#include "platform/images/QtImages.h"
#include "platform/textrecognition/GreyChoice.h"
#include "platform/textrecognition/LineBoxes.h"
#include "platform/textrecognition/LinePieces.h"
#include "platform/textrecognition/PageLayout.h"
#include "platform/textrecognition/TextLikeness.h"

#include <QPainter>
#include <QThread>

#include <tesseract/baseapi.h>
#include <tesseract/resultiterator.h>

#include <dlfcn.h>
#include <malloc.h>

#include <algorithm>
#include <atomic>
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
// Lines shorter still, as a ticket's labels in small capitals, are enlarged three
// times: twice as large, "SEAT" and "DATE" come back as "EAT" or not at all.
constexpr int kTinyTextRows = 10;
// Enlarging stops at about this many pixels: time grows with the area.
constexpr double kLargestEnlargedArea = 4096.0 * 4096.0;
// The resolution a screenshot has at its own size; Tesseract sizes some of its noise
// filters by it.
constexpr int kScreenDotsPerInch = 96;
// Words Tesseract is this unsure of are mostly specks and picture edges read as text.
constexpr float kLeastWordConfidence = 20.0f;
// Room left around a line read on its own: Tesseract drops strokes that touch the edge.
constexpr int kLineMargin = 6;

// Tesseract parallelises inside one recognition with OpenMP, whose spinning threads
// make several recognitions at once far slower than one after another. The runtime
// reads OMP_THREAD_LIMIT before main() runs, so the limit is set through the runtime
// itself, for the calling thread (each thread has its own setting): no parallel region
// it enters then starts more than one thread. Looked up rather than linked: the
// runtime is there only as Tesseract's own dependency. Asked of the runtime itself
// first, since a module loaded on its own keeps its libraries out of the global scope.
void keepOpenMpToOneThreadHere() {
    using SetMaxActiveLevels = void (*)(int);
    static const auto set = [] {
        void* runtime = dlopen("libgomp.so.1", RTLD_NOW | RTLD_NOLOAD);
        void* found = runtime ? dlsym(runtime, "omp_set_max_active_levels") : nullptr;
        return reinterpret_cast<SetMaxActiveLevels>(found ? found : dlsym(RTLD_DEFAULT, "omp_set_max_active_levels"));
    }();
    if (set)
        set(0);
}

struct TextDeleter {
    void operator()(char* text) const { delete[] text; }
};

// Where Tesseract's notes on what it saw go is one variable of the whole process, which
// every engine reads as it works: set it once, before any engine is made, so that
// engines made on several threads at once never write it while another reads it.
void sendTesseractNotesNowhere() {
    static std::once_flag once;
    std::call_once(once, [] { tesseract::TessBaseAPI().SetVariable("debug_file", "/dev/null"); });
}

}  // namespace

class TesseractRecognizer::EnginePool {
public:
    using Engine = std::unique_ptr<tesseract::TessBaseAPI>;

    // Keeps at most `kept` idle engines: each holds tens of megabytes, and more than
    // one recognition's worth are only made when several overlap.
    explicit EnginePool(size_t kept) : m_kept(kept) {}

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
        sendTesseractNotesNowhere();
        auto engine = std::make_unique<tesseract::TessBaseAPI>();
        if (engine->Init(nullptr, "eng", tesseract::OEM_LSTM_ONLY) != 0) {
            if (error)
                *error = u"The text recognition data for English is missing."_s;
            return nullptr;
        }
        engine->SetPageSegMode(tesseract::PSM_AUTO);
        return engine;
    }

    void give(Engine engine) {
        engine->Clear();
        std::lock_guard lock(m_mutex);
        if (m_idle.size() < m_kept)
            m_idle.push_back(std::move(engine));
    }

    void clear() {
        std::vector<Engine> ended;
        {
            std::lock_guard lock(m_mutex);
            ended.swap(m_idle);
        }
    }

    size_t idle() {
        std::lock_guard lock(m_mutex);
        return m_idle.size();
    }

private:
    const size_t m_kept;
    std::mutex m_mutex;
    std::vector<Engine> m_idle;
};

namespace {

// The image as dark text on a light ground, in the grey that parts them best,
// enlarged when its text is small.
struct Page {
    QImage gray;
    double scale = 1.0;
    recognition::PageLayout layout;
};

// The image as opaque RGB32, its transparent parts counting as white paper. A photo or
// a screenshot has none: its own pixels, the same in either format, are used as they
// are instead of being copied and painted whole.
QImage flatOnWhite(const LoadedImage& image) {
    if (images::isOpaque(image))
        return images::view(image, QImage::Format_RGB32);
    QImage flat(image.width, image.height, QImage::Format_RGB32);
    flat.fill(Qt::white);
    {
        QPainter painter(&flat);
        painter.drawImage(0, 0, images::view(image));
    }
    return flat;
}

Page preparedPage(const LoadedImage& image) {
    Page page;
    page.gray = recognition::GreyChoice::bestGrey(flatOnWhite(image));
    page.layout = recognition::PageLayout::of(page.gray);
    if (page.layout.isDark())
        page.gray.invertPixels();
    const int lineHeight = page.layout.smallLineHeight();
    const double area = static_cast<double>(image.width) * image.height;
    const int factor = lineHeight < kTinyTextRows && area * 9 <= kLargestEnlargedArea ? 3 : 2;
    if (lineHeight > 0 && lineHeight < kSmallTextRows && area * factor * factor <= kLargestEnlargedArea) {
        page.scale = factor;
        page.gray = page.gray.scaled(page.gray.width() * factor, page.gray.height() * factor, Qt::IgnoreAspectRatio,
                                     Qt::SmoothTransformation);
        page.layout = recognition::PageLayout::of(page.gray);
    }
    return page;
}

void setPage(tesseract::TessBaseAPI& engine, const QImage& gray, double scale) {
    engine.SetImage(gray.constBits(), gray.width(), gray.height(), 1, static_cast<int>(gray.bytesPerLine()));
    engine.SetSourceResolution(static_cast<int>(std::lround(kScreenDotsPerInch * scale)));
}

// Where the lines of text stand on the page, top to bottom, found on the whole page
// at once: a short value alone at the end of a row ("F14", "6") is taken for a speck
// when a part of the page is looked at without the rest. Sparse text, not a page of
// columns and paragraphs: a screenshot's text stands in toolbars, sidebars and cards.
std::vector<QRect> textLines(tesseract::TessBaseAPI& engine, const Page& page) {
    keepOpenMpToOneThreadHere();
    engine.SetPageSegMode(tesseract::PSM_SPARSE_TEXT);
    setPage(engine, page.gray, page.scale);
    std::vector<QRect> lines;
    const std::unique_ptr<tesseract::PageIterator> it(engine.AnalyseLayout());
    if (!it)
        return lines;
    do {
        int left = 0, top = 0, right = 0, bottom = 0;
        if (it->BoundingBox(tesseract::RIL_TEXTLINE, &left, &top, &right, &bottom) && right > left && bottom > top)
            lines.push_back(QRect(QPoint(left, top), QPoint(right - 1, bottom - 1)));
    } while (it->Next(tesseract::RIL_TEXTLINE));
    return lines;
}

// One line of the page as the only ink on a blank canvas a little larger than the
// line: a neighbour's descenders never enter it. Light letters on a dark band (an
// issuer's name on a ticket's coloured top) are turned dark on light: the page's
// grey is chosen for most of the page, not for every part of it.
QImage lineCanvas(const Page& page, const QRect& line, int margin = kLineMargin) {
    QImage canvas(line.width() + 2 * margin, line.height() + 2 * margin, QImage::Format_Grayscale8);
    // Asked of the line with room round it: a lone bold letter's own box is mostly ink.
    const int room = line.height() / 2;
    const QRect around = line.adjusted(-room, -room, room, room).intersected(page.gray.rect());
    const bool light = recognition::PageLayout::backgroundOf(page.gray.copy(around)) < 128;
    canvas.fill(light ? 0 : 255);
    for (int y = 0; y < line.height(); ++y)
        std::copy_n(page.gray.constScanLine(line.top() + y) + line.left(), line.width(),
                    canvas.scanLine(y + margin) + margin);
    if (light)
        canvas.invertPixels();
    return canvas;
}

// The pieces of one line of the page, and whether it holds a word surely read.
struct ReadLine {
    std::vector<TextPiece> pieces;
    bool sure = false;
};

// The words of `canvas`, read as one line, boxed in pixels of the page at `offset`.
std::vector<recognition::ReadWord> readWords(tesseract::TessBaseAPI& engine, const QImage& canvas, double scale,
                                             QPoint offset) {
    std::vector<recognition::ReadWord> words;
    engine.SetPageSegMode(tesseract::PSM_SINGLE_LINE);
    setPage(engine, canvas, scale);
    if (engine.Recognize(nullptr) != 0)
        return words;
    const std::unique_ptr<tesseract::ResultIterator> it(engine.GetIterator());
    if (!it)
        return words;
    constexpr auto kWord = tesseract::RIL_WORD;
    do {
        if (it->Empty(kWord))
            continue;
        const std::unique_ptr<char, TextDeleter> text(it->GetUTF8Text(kWord));
        const float confidence = it->Confidence(kWord);
        int left = 0, top = 0, right = 0, bottom = 0;
        if (!text || confidence < kLeastWordConfidence || !it->BoundingBox(kWord, &left, &top, &right, &bottom))
            continue;
        words.push_back({QString::fromUtf8(text.get()),
                         QRect(QPoint(left, top), QPoint(right - 1, bottom - 1)).translated(offset), confidence});
    } while (it->Next(kWord));
    return words;
}

// Words that do not read as text but are made of letters and digits, as a line
// read right and unsurely is; grain comes back as strokes and dots.
bool worthReadingAgain(const std::vector<recognition::ReadWord>& words) {
    if (words.empty() || recognition::TextLikeness::readsAsText(words))
        return false;
    int letters = 0;
    for (const recognition::ReadWord& word : words) {
        const auto count =
            std::count_if(word.text.cbegin(), word.text.cend(), [](QChar c) { return c.isLetterOrNumber(); });
        if (count == 0)
            return false;
        letters += static_cast<int>(count);
    }
    return letters >= 2;
}

float meanConfidence(const std::vector<recognition::ReadWord>& words) {
    float sum = 0;
    for (const recognition::ReadWord& word : words)
        sum += word.confidence;
    return words.empty() ? 0 : sum / static_cast<float>(words.size());
}

ReadLine readLine(tesseract::TessBaseAPI& engine, const Page& page, const QRect& line) {
    keepOpenMpToOneThreadHere();
    const QImage canvas = lineCanvas(page, line);
    const QPoint offset = line.topLeft() - QPoint(kLineMargin, kLineMargin);
    std::vector<recognition::ReadWord> words = readWords(engine, canvas, page.scale, offset);
    if (worthReadingAgain(words)) {
        // Read right but unsurely ("21 NOV" at 31), a short line is often read
        // surely with more blank round it; kept only if it then reads as text.
        const int wide = line.height();
        std::vector<recognition::ReadWord> again =
            readWords(engine, lineCanvas(page, line, wide), page.scale, line.topLeft() - QPoint(wide, wide));
        if (recognition::TextLikeness::readsAsText(again) && meanConfidence(again) > meanConfidence(words))
            words = std::move(again);
    }
    // A box no wider than one letter holds one: a lone round capital read as a line
    // comes back doubled by its small letter ("Cc", "Oo").
    if (line.width() <= line.height() && words.size() == 1 && words.front().text.size() == 2 &&
        words.front().text[0].isUpper() && words.front().text[1] == words.front().text[0].toLower())
        words.front().text.truncate(1);
    ReadLine read;
    if (!recognition::TextLikeness::readsAsText(words))
        return read;
    read.sure = recognition::TextLikeness::holdsSureWord(words);
    recognition::appendLinePieces(words, page.gray.size(), read.pieces);
    return read;
}

}  // namespace

TesseractRecognizer::TesseractRecognizer(int readers)
    : m_readers(readers > 0 ? readers : std::clamp(QThread::idealThreadCount(), 1, 4)),
      m_engines(std::make_unique<EnginePool>(static_cast<size_t>(m_readers))) {}

TesseractRecognizer::~TesseractRecognizer() = default;

template <typename Work>
void TesseractRecognizer::onEachReader(int count, const Work& work) const {
    std::vector<std::future<void>> others;
    for (int i = 1; i < count; ++i) {
        try {
            others.push_back(std::async(std::launch::async, work));
        } catch (const std::system_error&) {
            // No thread to spare: this thread does that share afterwards.
            others.push_back(std::async(std::launch::deferred, work));
        }
    }
    work();
    for (std::future<void>& other : others)
        other.get();
}

bool TesseractRecognizer::prepareEngines(QString* error) const {
    std::mutex mutex;
    std::vector<EnginePool::Engine> made;
    QString reason;
    onEachReader(m_readers, [&] {
        QString failure;
        EnginePool::Engine engine = m_engines->take(&failure);
        std::lock_guard lock(mutex);
        if (engine)
            made.push_back(std::move(engine));
        else
            reason = failure;
    });
    for (EnginePool::Engine& engine : made)
        m_engines->give(std::move(engine));
    if (error)
        *error = reason;
    return reason.isEmpty();
}

int TesseractRecognizer::idleEngines() const {
    return static_cast<int>(m_engines->idle());
}

void TesseractRecognizer::prepare() const {
    prepareEngines(nullptr);
}

void TesseractRecognizer::release() const {
    m_engines->clear();
    // The engines were made on several threads, each allocating from an arena of its
    // own; what they leave free would otherwise stay with the process.
    malloc_trim(0);
}

RecognitionResult TesseractRecognizer::recognize(const LoadedImage& image, std::stop_token stop) const {
    // Smaller than a letter: nothing to read.
    if (image.isNull() || image.width < 8 || image.height < 8)
        return std::vector<TextPiece>{};
    const Page page = preparedPage(image);
    if (!page.layout.hasInk())
        return std::vector<TextPiece>{};

    QString error;
    EnginePool::Engine first = m_engines->take(&error);
    if (!first)
        return RecognitionError{error};
    if (stop.stop_requested())
        return std::vector<TextPiece>{};
    const int ground = recognition::PageLayout::backgroundOf(page.gray);
    const std::vector<QRect> lines = recognition::LineBoxes::withLoneCharacters(
        page.gray, ground, recognition::LineBoxes::mended(page.gray, ground, textLines(*first, page)));
    m_engines->give(std::move(first));

    // The lines shared out as engines come free, each read on its own; the pieces
    // come back in the lines' order whichever engine read them.
    std::vector<ReadLine> found(lines.size());
    std::atomic<size_t> next = 0;
    std::mutex errorMutex;
    onEachReader(std::min(m_readers, static_cast<int>(lines.size())), [&] {
        QString reason;
        EnginePool::Engine engine = m_engines->take(&reason);
        if (!engine) {
            std::lock_guard lock(errorMutex);
            error = reason;
            return;
        }
        for (size_t i = next++; i < lines.size() && !stop.stop_requested(); i = next++)
            found[i] = readLine(*engine, page, lines[i]);
        m_engines->give(std::move(engine));
    });
    if (!error.isEmpty())
        return RecognitionError{error};

    // Grain read as words never holds a word read surely: such a page has no text.
    std::vector<TextPiece> pieces;
    if (std::none_of(found.cbegin(), found.cend(), [](const ReadLine& line) { return line.sure; }))
        return pieces;
    for (ReadLine& line : found)
        pieces.insert(pieces.end(), std::make_move_iterator(line.pieces.begin()), std::make_move_iterator(line.pieces.end()));
    return pieces;
}

}  // namespace platform
