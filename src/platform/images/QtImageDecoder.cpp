#include "platform/images/ImageDecoders.h"

#include "platform/images/ImageLoader.h"

#include <QBuffer>
#include <QImageReader>

namespace platform::images {
namespace {

// Qt refuses any image over 128 MB once decoded, and some readers decode whole before
// they scale: a 16-bit 4200 × 4000 PNG or an A4 scan at 600 dpi was refused though the
// loader's own bound lets it in. The bound is checked before decoding, so the readers
// may take what the largest image within it needs at 8 bytes a pixel (16-bit RGBA).
void allowWhatThePixelBoundAllows() {
    static const bool raised = [] {
        constexpr qint64 kMostBytes = ImageLoader::kMaxSourcePixels * 8;
        QImageReader::setAllocationLimit(static_cast<int>(kMostBytes / (1024 * 1024)));
        return true;
    }();
    (void)raised;
}

}  // namespace

QImage decodeWithQt(const QByteArray& bytes, int longest) {
    allowWhatThePixelBoundAllows();
    QBuffer buffer;
    buffer.setData(bytes);
    buffer.open(QIODevice::ReadOnly);
    QImageReader reader(&buffer);
    // The orientation tag of a photo turns the bitmap upright.
    reader.setAutoTransform(true);
    reader.setDecideFormatFromContent(true);
    if (!reader.canRead())
        return {};
    // The size the file claims is checked before any pixel is decoded.
    const QSize size = reader.size();
    if (!size.isValid() || size.isEmpty() ||
        static_cast<qint64>(size.width()) * size.height() > ImageLoader::kMaxSourcePixels)
        return {};
    if (size.width() > longest || size.height() > longest)
        reader.setScaledSize(size.scaled(longest, longest, Qt::KeepAspectRatio));
    QImage image;
    if (!reader.read(&image))
        return {};
    return image;
}

}  // namespace platform::images
