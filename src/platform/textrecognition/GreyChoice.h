#pragma once

#include <QImage>

namespace platform::recognition {

// The grey image a page is read from. Usually its lightness; but light coloured text
// on a saturated ground (pale yellow on pink, white on orange) is nearly as light as
// its ground, and one of the colour channels tells them apart far better: the page is
// then read from that channel.
class GreyChoice {
public:
    enum class Source { Lightness, Red, Green, Blue };

    // `image` is opaque, in Format_RGB32.
    static Source bestSource(const QImage& image);
    static QImage grey(const QImage& image, Source source);
    static QImage bestGrey(const QImage& image) { return grey(image, bestSource(image)); }
};

}  // namespace platform::recognition
