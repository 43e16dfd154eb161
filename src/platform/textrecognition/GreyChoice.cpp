#include "platform/textrecognition/GreyChoice.h"

#include <array>
#include <cstdint>

namespace platform::recognition {
namespace {

using Histogram = std::array<qint64, 256>;

// A channel is taken over the lightness only when it parts ink from ground by this
// much more: a screenshot's dark text on white is as clear in every channel, and its
// blue links fade in the blue one.
constexpr double kChannelAdvantage = 1.5;
// Every other pixel of every other row: enough to weigh a page, a quarter of the work.
constexpr int kStride = 2;

int valueOf(QRgb pixel, GreyChoice::Source source) {
    switch (source) {
    case GreyChoice::Source::Red:
        return qRed(pixel);
    case GreyChoice::Source::Green:
        return qGreen(pixel);
    case GreyChoice::Source::Blue:
        return qBlue(pixel);
    case GreyChoice::Source::Lightness:
        break;
    }
    return qGray(pixel);
}

// How far apart the two classes of greys lie when split where they part best (Otsu's
// threshold): the distance between their means.
double separation(const Histogram& histogram) {
    qint64 total = 0;
    double sum = 0;
    for (int value = 0; value < 256; ++value) {
        total += histogram[static_cast<size_t>(value)];
        sum += static_cast<double>(value) * static_cast<double>(histogram[static_cast<size_t>(value)]);
    }
    if (total == 0)
        return 0;
    qint64 darkCount = 0;
    double darkSum = 0;
    double bestSpread = -1;
    double bestDistance = 0;
    for (int value = 0; value < 255; ++value) {
        darkCount += histogram[static_cast<size_t>(value)];
        darkSum += static_cast<double>(value) * static_cast<double>(histogram[static_cast<size_t>(value)]);
        const qint64 lightCount = total - darkCount;
        if (darkCount == 0 || lightCount == 0)
            continue;
        const double darkMean = darkSum / static_cast<double>(darkCount);
        const double lightMean = (sum - darkSum) / static_cast<double>(lightCount);
        const double distance = lightMean - darkMean;
        const double spread = static_cast<double>(darkCount) * static_cast<double>(lightCount) * distance * distance;
        if (spread > bestSpread) {
            bestSpread = spread;
            bestDistance = distance;
        }
    }
    return bestDistance;
}

}  // namespace

GreyChoice::Source GreyChoice::bestSource(const QImage& image) {
    constexpr std::array kSources{Source::Lightness, Source::Red, Source::Green, Source::Blue};
    std::array<Histogram, kSources.size()> histograms{};
    for (int y = 0; y < image.height(); y += kStride) {
        const auto* row = reinterpret_cast<const QRgb*>(image.constScanLine(y));
        for (int x = 0; x < image.width(); x += kStride) {
            for (size_t i = 0; i < kSources.size(); ++i)
                ++histograms[i][static_cast<size_t>(valueOf(row[x], kSources[i]))];
        }
    }
    const double lightness = separation(histograms[0]);
    Source best = Source::Lightness;
    double bestSeparation = lightness * kChannelAdvantage;
    for (size_t i = 1; i < kSources.size(); ++i) {
        const double channel = separation(histograms[i]);
        if (channel > bestSeparation) {
            best = kSources[i];
            bestSeparation = channel;
        }
    }
    return best;
}

QImage GreyChoice::grey(const QImage& image, Source source) {
    if (source == Source::Lightness)
        return image.convertToFormat(QImage::Format_Grayscale8);
    QImage grey(image.size(), QImage::Format_Grayscale8);
    for (int y = 0; y < image.height(); ++y) {
        const auto* row = reinterpret_cast<const QRgb*>(image.constScanLine(y));
        uchar* out = grey.scanLine(y);
        for (int x = 0; x < image.width(); ++x)
            out[x] = static_cast<uchar>(valueOf(row[x], source));
    }
    return grey;
}

}  // namespace platform::recognition
