#include "platform/images/ImageDecoders.h"

#include "platform/images/ImageLoader.h"

#include <QBuffer>
#include <QImageReader>

namespace platform::images {

QImage decodeWithQt(const QByteArray& bytes, int longest) {
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
