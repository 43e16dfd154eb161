#include "platform/textrecognition/PageLayout.h"

#include <algorithm>
#include <array>
#include <cstdlib>

namespace platform::recognition {
namespace {

// A row holds ink when at least this many of its pixels do; a speck does not make one.
constexpr int kInkPixelsPerRow = 2;
constexpr int kSmallestTextRun = 4;

}  // namespace

int PageLayout::backgroundOf(const QImage& gray) {
    std::array<qint64, 256> histogram{};
    for (int y = 0; y < gray.height(); y += 2) {
        const uchar* row = gray.constScanLine(y);
        for (int x = 0; x < gray.width(); x += 2)
            ++histogram[row[x]];
    }
    return static_cast<int>(std::max_element(histogram.cbegin(), histogram.cend()) - histogram.cbegin());
}

PageLayout PageLayout::of(const QImage& gray) {
    PageLayout layout;
    if (gray.isNull() || gray.format() != QImage::Format_Grayscale8)
        return layout;
    const int background = backgroundOf(gray);
    layout.m_dark = background < 128;

    int runStart = -1;
    for (int y = 0; y < gray.height(); ++y) {
        const uchar* row = gray.constScanLine(y);
        int ink = 0;
        for (int x = 0; x < gray.width() && ink < kInkPixelsPerRow; ++x)
            ink += std::abs(row[x] - background) > kInkContrast ? 1 : 0;
        const bool hasInk = ink >= kInkPixelsPerRow;
        if (hasInk && runStart < 0)
            runStart = y;
        if (!hasInk && runStart >= 0) {
            layout.m_runs.push_back({runStart, y});
            runStart = -1;
        }
    }
    if (runStart >= 0)
        layout.m_runs.push_back({runStart, gray.height()});
    return layout;
}

int PageLayout::smallLineHeight() const {
    std::vector<int> heights;
    for (const Run& run : m_runs) {
        if (run.height() >= kSmallestTextRun)
            heights.push_back(run.height());
    }
    if (heights.empty())
        return 0;
    const auto quartile = heights.begin() + static_cast<std::ptrdiff_t>(heights.size() / 4);
    std::nth_element(heights.begin(), quartile, heights.end());
    return *quartile;
}

}  // namespace platform::recognition
