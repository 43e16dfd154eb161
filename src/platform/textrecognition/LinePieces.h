#pragma once

#include "platform/textrecognition/TextRecognizer.h"

#include <QRect>
#include <QSize>
#include <QString>

#include <vector>

namespace platform::recognition {

// One word as the engine read it, boxed in pixels of the page it read, with how sure
// the engine is of it (0 to 100).
struct ReadWord {
    QString text;
    QRect box;
    float confidence = 100.0f;
};

// A line's words, left to right, as pieces: a gap wider than one and a half word
// heights starts a new piece, as a label and its value far apart on a row are two.
// A piece is as tall as its words that hold a letter or a digit: a stray dash or dot
// read across two lines would make a body line look like a heading. Boxes are
// fractions of `page` from its lower-left corner.
void appendLinePieces(const std::vector<ReadWord>& line, const QSize& page, std::vector<TextPiece>& pieces);

}  // namespace platform::recognition
