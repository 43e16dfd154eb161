#include "platform/textrecognition/LineBoxes.h"

#include "platform/textrecognition/PageLayout.h"

#include <algorithm>
#include <iterator>

namespace platform::recognition {
namespace {

// A label and its value stand at least this many blank rows apart, each at least
// this tall: an accent above its letter stands closer, and is smaller.
constexpr int kLeastRowGap = 4;
constexpr int kLeastPartRows = 8;
// A short word alone on a row ("ROW", "DOORS") is missed as a lone character is.
constexpr int kLongestLoneRun = 6;

bool isInk(const QImage& gray, int x, int y, int ground) {
    return ground - gray.constScanLine(y)[x] > PageLayout::kInkContrast;
}

bool rowHasInk(const QImage& gray, const QRect& box, int y, int ground) {
    for (int x = box.left(); x <= box.right(); ++x) {
        if (isInk(gray, x, y, ground))
            return true;
    }
    return false;
}

// The box grown up and down over rows of ink that go on from its edges, by at most
// half its height: a box that cut a label's top off would keep the label too short
// to stand on its own.
QRect grownOverTouchingRows(const QImage& gray, int ground, QRect box) {
    const int most = box.height() / 2;
    for (int grown = 0; grown < most && box.top() > 0 && rowHasInk(gray, box, box.top() - 1, ground); ++grown)
        box.setTop(box.top() - 1);
    for (int grown = 0; grown < most && box.bottom() < gray.height() - 1 && rowHasInk(gray, box, box.bottom() + 1, ground);
         ++grown)
        box.setBottom(box.bottom() + 1);
    return box;
}

// The box cut at each run of blank rows that parts two runs of ink tall enough to be
// lines of their own.
void appendSplit(const QImage& gray, int ground, const QRect& found, std::vector<QRect>& out) {
    const QRect box = grownOverTouchingRows(gray, ground, found);
    std::vector<std::pair<int, int>> runs;  // top, bottom (inclusive)
    for (int y = box.top(); y <= box.bottom(); ++y) {
        if (!rowHasInk(gray, box, y, ground))
            continue;
        if (!runs.empty() && y - runs.back().second <= kLeastRowGap)
            runs.back().second = y;
        else
            runs.push_back({y, y});
    }
    const bool allTall = std::all_of(runs.cbegin(), runs.cend(),
                                     [](const auto& run) { return run.second - run.first + 1 >= kLeastPartRows; });
    if (runs.size() < 2 || !allTall) {
        out.push_back(found);
        return;
    }
    for (const auto& [top, bottom] : runs)
        out.push_back(QRect(QPoint(box.left(), top), QPoint(box.right(), bottom)));
}

enum class Column { Blank, Ink, Solid };

Column columnOf(const QImage& gray, int x, const QRect& line, int ground) {
    int ink = 0;
    for (int y = line.top(); y <= line.bottom(); ++y)
        ink += isInk(gray, x, y, ground) ? 1 : 0;
    if (ink == 0)
        return Column::Blank;
    return ink == line.height() ? Column::Solid : Column::Ink;
}

bool insideAnother(const std::vector<QRect>& lines, size_t self, int x, const QRect& line) {
    for (size_t i = 0; i < lines.size(); ++i) {
        const QRect& other = lines[i];
        if (i != self && x >= other.left() && x <= other.right() && other.top() <= line.bottom() &&
            other.bottom() >= line.top())
            return true;
    }
    return false;
}

// The last column, going from `from` by `step`, of ink that goes on the line: gaps
// no wider than half the line's height, as between letters, and never into another
// line's box. Ink from the top of the line to its bottom over more columns than the
// line is tall is a band or an edge, no letter: the box keeps its side then.
int inkEdge(const QImage& gray, int ground, const std::vector<QRect>& lines, size_t index, int from, int step) {
    const QRect& line = lines[index];
    const int widestGap = std::max(2, line.height() / 2);
    int edge = from - step;
    int solid = 0;
    for (int gap = 0, x = from; x >= 0 && x < gray.width() && gap <= widestGap; x += step) {
        if (insideAnother(lines, index, x, line))
            break;
        const Column column = columnOf(gray, x, line, ground);
        solid = column == Column::Solid ? solid + 1 : 0;
        if (solid > line.height())
            return from - step;
        if (column == Column::Blank) {
            ++gap;
        } else {
            edge = x;
            gap = 0;
        }
    }
    return edge;
}

// Boxes of the same rows that overlap once widened are one line read in parts: each
// is merged into the first of them. Boxes of other heights that overlap are text
// beside a chip or an icon, and stay apart.
bool sameRows(const QRect& one, const QRect& other) {
    const int shared = std::min(one.bottom(), other.bottom()) - std::max(one.top(), other.top()) + 1;
    return shared * 10 >= std::max(one.height(), other.height()) * 9;
}

std::vector<QRect> merged(const std::vector<QRect>& lines) {
    std::vector<QRect> out;
    for (const QRect& line : lines) {
        const auto overlapping = std::find_if(out.begin(), out.end(), [&](const QRect& kept) {
            return kept.intersects(line) && sameRows(kept, line);
        });
        if (overlapping == out.end())
            out.push_back(line);
        else
            *overlapping = overlapping->united(line);
    }
    return out;
}

bool coveredByAnother(const std::vector<QRect>& lines, int x, int top, int bottom) {
    return std::any_of(lines.cbegin(), lines.cend(), [&](const QRect& line) {
        return x >= line.left() - 1 && x <= line.right() + 1 && line.top() <= bottom && line.bottom() >= top;
    });
}

// The rows of ink in columns [left, right] between `top` and `bottom`, or an empty
// box when the ink there runs on past either (a picture, a rule, a taller glyph).
QRect inkWithin(const QImage& gray, int ground, int left, int right, int top, int bottom) {
    const QRect columns(QPoint(left, top), QPoint(right, bottom));
    if (rowHasInk(gray, columns, top, ground) || rowHasInk(gray, columns, bottom, ground))
        return {};
    int first = -1, last = -1;
    for (int y = top + 1; y < bottom; ++y) {
        if (rowHasInk(gray, columns, y, ground)) {
            if (first < 0)
                first = y;
            last = y;
        }
    }
    if (first < 0)
        return {};
    return QRect(QPoint(left, first), QPoint(right, last));
}

// A character alone on the rows of `line`: a run of ink columns with blank on both
// sides at least half the line's height wide (a box's edge counts as ink), as tall
// as the line's letters give or take a third, and no wider than one and a half
// times its height.
void appendLoneCharacters(const QImage& gray, int ground, const std::vector<QRect>& lines, const QRect& line,
                          std::vector<QRect>& found) {
    const int height = line.height();
    if (height < kLeastPartRows)
        return;
    const int slack = std::max(2, height / 4);
    const int top = std::max(0, line.top() - slack);
    const int bottom = std::min(gray.height() - 1, line.bottom() + slack);
    const QRect band(QPoint(0, top + 1), QPoint(gray.width() - 1, bottom - 1));
    // Only the boxes on these rows can cover a column of them: asked of every column, the whole page's would cost
    // lines times lines times the page's width.
    std::vector<QRect> onRows;
    std::copy_if(lines.cbegin(), lines.cend(), std::back_inserter(onRows),
                 [&](const QRect& other) { return other.top() <= bottom && other.bottom() >= top; });
    const int widestGap = std::max(2, height / 2);
    const auto keep = [&](int left, int right) {
        const QRect ink = inkWithin(gray, ground, left, right, top, bottom);
        if (ink.isEmpty() || ink.height() < kLeastPartRows || ink.height() * 5 < height * 3 ||
            ink.height() * 4 > height * 5 || ink.width() > ink.height() * kLongestLoneRun)
            return;
        if (std::none_of(found.cbegin(), found.cend(), [&](const QRect& kept) { return kept.intersects(ink); }))
            found.push_back(ink);
    };
    int runLeft = -1, runRight = -1;
    int blank = widestGap + 1;  // the page's edge is blank enough
    for (int x = 0; x < gray.width(); ++x) {
        if (coveredByAnother(onRows, x, top, bottom)) {
            runLeft = -1;
            blank = 0;
        } else if (columnOf(gray, x, band, ground) != Column::Blank) {
            if (runLeft < 0 && blank > widestGap)
                runLeft = x;
            runRight = x;
            blank = 0;
        } else if (++blank > widestGap && runLeft >= 0) {
            keep(runLeft, runRight);
            runLeft = -1;
        }
    }
    if (runLeft >= 0)
        keep(runLeft, runRight);
}

}  // namespace

std::vector<QRect> LineBoxes::withLoneCharacters(const QImage& gray, int ground, const std::vector<QRect>& lines) {
    std::vector<QRect> lone;
    for (const QRect& line : lines)
        appendLoneCharacters(gray, ground, lines, line, lone);
    std::vector<QRect> out = lines;
    for (const QRect& character : lone) {
        // After the last box of its row that stands left of it, else before its row.
        auto at = out.end();
        for (auto it = out.begin(); it != out.end(); ++it) {
            if (sameRows(*it, character) || (it->top() <= character.bottom() && it->bottom() >= character.top())) {
                if (it->left() < character.left())
                    at = it + 1;
                else if (at == out.end())
                    at = it;
            }
        }
        out.insert(at, character);
    }
    return out;
}

std::vector<QRect> LineBoxes::mended(const QImage& gray, int ground, const std::vector<QRect>& lines) {
    const QRect page = gray.rect();
    std::vector<QRect> split;
    for (const QRect& line : lines) {
        const QRect inside = line.intersected(page);
        if (!inside.isEmpty())
            appendSplit(gray, ground, inside, split);
    }
    std::vector<QRect> widened = split;
    for (size_t i = 0; i < split.size(); ++i) {
        widened[i].setLeft(inkEdge(gray, ground, split, i, split[i].left() - 1, -1));
        widened[i].setRight(inkEdge(gray, ground, split, i, split[i].right() + 1, 1));
    }
    return merged(widened);
}

}  // namespace platform::recognition
