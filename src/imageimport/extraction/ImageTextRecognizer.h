#pragma once

#include "imageimport/extraction/ImageExtraction.h"
#include "platform/textrecognition/TextRecognizer.h"

#include <variant>
#include <vector>

namespace imageimport {

using RecognizedRows = std::variant<std::vector<RecognizedLine>, platform::RecognitionError>;

// The text of a bitmap as rows in reading order, the form the extractor reads.
class ImageTextRecognizer {
public:
    ImageTextRecognizer() = delete;

    // Recognises the image and groups the pieces into rows; blank pieces are dropped.
    // No text is no failure: an empty list. Blocks while the engine reads: call it off
    // the main thread.
    // A requested stop ends it early with the rows read by then.
    static RecognizedRows recognize(const platform::TextRecognizer& recognizer, const platform::LoadedImage& image,
                                    std::stop_token stop = {});

    // Pieces into visual rows, top to bottom: a piece joins the row whose first piece's
    // vertical middle is within half the smaller of their heights, else it opens a new
    // row. A row's pieces run left to right joined by two spaces; its height is its
    // tallest piece's. Equal positions keep the order the pieces came in.
    static std::vector<RecognizedLine> rows(const std::vector<platform::TextPiece>& pieces);
};

}  // namespace imageimport
