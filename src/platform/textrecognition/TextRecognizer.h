#pragma once

#include "platform/images/ImageLoader.h"

#include <QRectF>
#include <QString>

#include <stop_token>

#include <variant>
#include <vector>

namespace platform {

// One run of recognised text and where it stands: a box in image-relative units,
// 0 to 1 on both axes, origin at the lower-left corner, y growing upward.
struct TextPiece {
    QString text;
    QRectF box;

    bool operator==(const TextPiece&) const = default;
};

// The engine could not run at all (missing language data, say). An image without
// legible text is no failure: it gives no pieces.
struct RecognitionError {
    QString message;

    bool operator==(const RecognitionError&) const = default;
};

using RecognitionResult = std::variant<std::vector<TextPiece>, RecognitionError>;

// On-device text recognition. Nothing leaves the machine. recognize() blocks for as
// long as the engine reads (a large part of a second for a screenshot): call it off
// the main thread. Several calls may run at once. A stop requested through `stop`
// ends a recognition at its next line of text, with what it had read by then.
class TextRecognizer {
public:
    virtual ~TextRecognizer() = default;

    // The pieces in the order the engine reports them.
    virtual RecognitionResult recognize(const LoadedImage& image, std::stop_token stop = {}) const = 0;

    // Makes ready what the first recognition would otherwise make (language data,
    // engines), so that the first image reads as fast as later ones. Blocks for as
    // long as that takes: call it off the main thread.
    virtual void prepare() const {}
    // Lets go of what prepare() and earlier recognitions made and kept, giving its
    // memory back; the next recognition makes it again. Recognitions under way are
    // unharmed.
    virtual void release() const {}
};

}  // namespace platform
