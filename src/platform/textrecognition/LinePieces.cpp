#include "platform/textrecognition/LinePieces.h"

#include <algorithm>
#include <optional>

using namespace Qt::Literals::StringLiterals;

namespace platform::recognition {
namespace {

constexpr double kPieceGapInHeights = 1.5;

bool holdsLetterOrDigit(const QString& text) {
    return std::any_of(text.cbegin(), text.cend(), [](QChar c) { return c.isLetterOrNumber(); });
}

// Grows a piece word by word: across all its words, and down and up only by the
// words that hold a letter or a digit (all of them when none does).
class PieceBox {
public:
    explicit PieceBox(const ReadWord& word) { add(word); }

    void add(const ReadWord& word) {
        m_span = m_span.isNull() ? word.box : m_span.united(word.box);
        if (holdsLetterOrDigit(word.text))
            m_lettered = m_lettered ? m_lettered->united(word.box) : word.box;
    }

    QRect box() const {
        if (!m_lettered)
            return m_span;
        return QRect(QPoint(m_span.left(), m_lettered->top()), QPoint(m_span.right(), m_lettered->bottom()));
    }

private:
    QRect m_span;
    std::optional<QRect> m_lettered;
};

// The engine splits "www." off an address on a slightly tilted line; no address has
// a space after it, so the two are read as one word.
bool startsAnAddress(const QString& word) {
    return word.compare(u"www."_s, Qt::CaseInsensitive) == 0;
}

int medianHeight(const std::vector<ReadWord>& line) {
    std::vector<int> heights;
    heights.reserve(line.size());
    for (const ReadWord& word : line) {
        if (holdsLetterOrDigit(word.text))
            heights.push_back(word.box.height());
    }
    if (heights.empty()) {
        for (const ReadWord& word : line)
            heights.push_back(word.box.height());
    }
    const auto middle = heights.begin() + static_cast<std::ptrdiff_t>(heights.size() / 2);
    std::nth_element(heights.begin(), middle, heights.end());
    return *middle;
}

}  // namespace

void appendLinePieces(const std::vector<ReadWord>& line, const QSize& page, std::vector<TextPiece>& pieces) {
    if (line.empty() || page.isEmpty())
        return;
    const double widestGap = kPieceGapInHeights * medianHeight(line);
    const auto flush = [&](QString text, const QRect& box) {
        pieces.push_back({std::move(text),
                          QRectF(static_cast<double>(box.left()) / page.width(),
                                 1.0 - static_cast<double>(box.top() + box.height()) / page.height(),
                                 static_cast<double>(box.width()) / page.width(),
                                 static_cast<double>(box.height()) / page.height())});
    };
    QString text = line.front().text;
    PieceBox box(line.front());
    for (size_t i = 1; i < line.size(); ++i) {
        if (line[i].box.left() - line[i - 1].box.right() > widestGap) {
            flush(text, box.box());
            text = line[i].text;
            box = PieceBox(line[i]);
        } else {
            text += (startsAnAddress(line[i - 1].text) ? QString() : u" "_s) + line[i].text;
            box.add(line[i]);
        }
    }
    flush(text, box.box());
}

}  // namespace platform::recognition
