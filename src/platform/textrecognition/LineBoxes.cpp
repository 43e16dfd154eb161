#include "platform/textrecognition/LineBoxes.h"

#include "platform/textrecognition/PageLayout.h"

#include <algorithm>

namespace platform::recognition {
namespace {

// A label and its value stand at least this many blank rows apart, each at least
// this tall: an accent above its letter stands closer, and is smaller.
constexpr int kLeastRowGap = 4;
constexpr int kLeastPartRows = 8;

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

}  // namespace

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
