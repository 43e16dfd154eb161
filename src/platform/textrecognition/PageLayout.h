#pragma once

#include <QImage>

#include <utility>
#include <vector>

namespace platform::recognition {

// Where the ink lies on a page, row by row, measured before recognition: whether
// there is any, whether the ground is dark, and how tall its text is (small text is
// enlarged first).
class PageLayout {
public:
    // `gray` is an 8-bit grey image. The background is its most common grey; ink is
    // what differs from it clearly.
    static PageLayout of(const QImage& gray);
    // How far from the background a grey must be to count as ink: anti-aliased edges
    // of text do not, its strokes do.
    static constexpr int kInkContrast = 64;
    // The most common grey of an 8-bit grey image.
    static int backgroundOf(const QImage& gray);

    struct Run {
        int top = 0;
        int bottom = 0;  // exclusive
        int height() const { return bottom - top; }
        bool operator==(const Run&) const = default;
    };

    // Runs of rows with ink, top to bottom.
    const std::vector<Run>& inkRuns() const { return m_runs; }
    bool hasInk() const { return !m_runs.empty(); }
    // Light text on a dark ground.
    bool isDark() const { return m_dark; }
    // The height of the smaller lines of text: the lower quartile of the runs at least
    // four rows tall (thinner runs are rules and dots); 0 without such runs.
    int smallLineHeight() const;

private:
    bool m_dark = false;
    std::vector<Run> m_runs;
};

}  // namespace platform::recognition
