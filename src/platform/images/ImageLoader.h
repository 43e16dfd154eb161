#pragma once

#include <QByteArray>

#include <optional>

namespace platform {

// A decoded bitmap, upright: 32-bit premultiplied ARGB pixels in native byte order
// (QImage's ARGB32_Premultiplied), rows of exactly width × 4 bytes, top row first.
// Kept free of GUI types so that the logic layers can hold and pass it.
struct LoadedImage {
    int width = 0;
    int height = 0;
    QByteArray pixels;

    bool isNull() const { return width <= 0 || height <= 0; }
    bool operator==(const LoadedImage&) const = default;
};

// Turns the bytes of an image file, or of a PDF document, into one bitmap.
// Implementations keep no state between calls and may be used from several threads.
class ImageLoader {
public:
    enum class Format {
        image,  // any still-image format the decoders read; the first frame of several
        pdf,    // the first page, rendered on white
    };

    // Neither side of a loaded bitmap exceeds this; smaller images keep their size.
    static constexpr int kMaxPixelSize = 4096;
    // Inputs beyond these are refused rather than decoded: a larger file, or an image
    // that claims more pixels (a few hundred bytes of PNG can claim 60000 × 60000).
    static constexpr qsizetype kMaxInputBytes = 64 * 1024 * 1024;
    static constexpr qint64 kMaxSourcePixels = 64LL * 1024 * 1024;

    virtual ~ImageLoader() = default;

    // The bitmap, scaled down so that its longer side is at most kMaxPixelSize;
    // nothing when the bytes do not decode as that format or exceed the limits.
    virtual std::optional<LoadedImage> decode(const QByteArray& bytes, Format format) const = 0;
};

}  // namespace platform
