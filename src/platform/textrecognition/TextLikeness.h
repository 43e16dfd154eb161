#pragma once

#include "platform/textrecognition/LinePieces.h"

#include <vector>

namespace platform::recognition {

// Whether what the engine read is text or a picture's grain taken for it. Tesseract
// finds "words" in skies, gravel and wood, each read with fair confidence (60 to 90
// for "re", "sa", "="), and flags most of them as dictionary words; what it never
// gives them is a word of three letters or digits read with the confidence real
// print gets (90 and over on a screenshot).
class TextLikeness {
public:
    // A word of at least three letters or digits read with high confidence, or one
    // shaped like a web address: a page with none is taken to have no text at all.
    static bool isSureWord(const ReadWord& word);
    // A line worth keeping: one with a sure word, or one of letters or digits read
    // with middling confidence on the whole; a line of marks alone is a picture's
    // edges.
    static bool readsAsText(const std::vector<ReadWord>& line);
    static bool holdsSureWord(const std::vector<ReadWord>& line);
};

}  // namespace platform::recognition
