#include "imageimport/extraction/ImageTextRecognizer.h"

#include <QStringList>

#include <algorithm>
#include <cmath>

namespace imageimport {
namespace {

// "9:41" or "19:30" and nothing else.
bool isBareClock(QStringView text) {
    text = text.trimmed();
    const qsizetype colon = text.indexOf(u':');
    if (colon < 1 || colon > 2 || text.size() != colon + 3)
        return false;
    return std::all_of(text.cbegin(), text.cend(), [](QChar c) { return c == u':' || (c >= u'0' && c <= u'9'); });
}

// A phone's screenshot carries the phone's clock alone at the top of its status bar:
// it is when the picture was taken, never the event's time. A portrait picture's top
// strip is that bar.
bool isStatusBarClock(const platform::TextPiece& piece, const platform::LoadedImage& image) {
    constexpr double kPortrait = 1.6;
    constexpr double kStatusBar = 0.06;
    // The origin is at the bottom: the box's y is its lower edge.
    return image.height >= kPortrait * image.width && piece.box.y() >= 1.0 - kStatusBar && isBareClock(piece.text);
}

}  // namespace

RecognizedRows ImageTextRecognizer::recognize(const platform::TextRecognizer& recognizer,
                                              const platform::LoadedImage& image, std::stop_token stop) {
    platform::RecognitionResult result = recognizer.recognize(image, std::move(stop));
    if (const auto* error = std::get_if<platform::RecognitionError>(&result))
        return *error;
    std::vector<platform::TextPiece> kept;
    for (platform::TextPiece& piece : std::get<std::vector<platform::TextPiece>>(result)) {
        // Kept as recognised, spaces and all, unless there is nothing but spaces and tabs.
        if (std::any_of(piece.text.cbegin(), piece.text.cend(), [](QChar c) { return c != u' ' && c != u'\t'; }) &&
            !isStatusBarClock(piece, image))
            kept.push_back(std::move(piece));
    }
    return rows(kept);
}

std::vector<RecognizedLine> ImageTextRecognizer::rows(const std::vector<platform::TextPiece>& pieces) {
    std::vector<const platform::TextPiece*> sorted;
    sorted.reserve(pieces.size());
    for (const platform::TextPiece& piece : pieces)
        sorted.push_back(&piece);
    // The origin is at the bottom: a higher middle is nearer the top of the image.
    std::stable_sort(sorted.begin(), sorted.end(), [](const platform::TextPiece* a, const platform::TextPiece* b) {
        return a->box.center().y() > b->box.center().y();
    });

    std::vector<std::vector<const platform::TextPiece*>> grouped;
    for (const platform::TextPiece* piece : sorted) {
        if (!grouped.empty()) {
            const platform::TextPiece* first = grouped.back().front();
            const double distance = std::abs(first->box.center().y() - piece->box.center().y());
            if (distance < 0.5 * std::min(first->box.height(), piece->box.height())) {
                grouped.back().push_back(piece);
                continue;
            }
        }
        grouped.push_back({piece});
    }

    std::vector<RecognizedLine> lines;
    lines.reserve(grouped.size());
    for (std::vector<const platform::TextPiece*>& row : grouped) {
        std::stable_sort(row.begin(), row.end(), [](const platform::TextPiece* a, const platform::TextPiece* b) {
            return a->box.left() < b->box.left();
        });
        QStringList texts;
        double height = 0;
        for (const platform::TextPiece* piece : row) {
            texts.append(piece->text);
            height = std::max(height, piece->box.height());
        }
        lines.push_back({texts.join(QStringLiteral("  ")), height});
    }
    return lines;
}

}  // namespace imageimport
