#pragma once

#include <QImage>
#include <QRect>

#include <vector>

namespace platform::recognition {

// The boxes Tesseract's layout gives the lines of a page of small label/value cells
// are often wrong in three ways, each losing text: a small label and the value under
// it in one box (only the value is read), a box that stops inside a word of small
// capitals ("BOARD" of BOARDING, an I's stroke taken for the word's end), and two
// boxes inside one word (read as two halves). Mended on the page's own ink. And
// a value of one character ("ROW H", "GATE 5") gets no box at all: the layout takes
// it for a speck.
class LineBoxes {
public:
    // `gray` is dark text on a light ground of the grey `ground`; `lines` are in
    // reading order, and the mended boxes keep it.
    static std::vector<QRect> mended(const QImage& gray, int ground, const std::vector<QRect>& lines);
    // Boxes for lone characters that stand on the rows of a line of the same height
    // apart from every box, each placed after the boxes left of it on its row.
    static std::vector<QRect> withLoneCharacters(const QImage& gray, int ground, const std::vector<QRect>& lines);
};

}  // namespace platform::recognition
