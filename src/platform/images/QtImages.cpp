#include "platform/images/QtImages.h"

#include <cstring>

namespace platform::images {

QImage toQImage(const LoadedImage& image) {
    const qsizetype rowBytes = static_cast<qsizetype>(image.width) * 4;
    if (image.isNull() || image.pixels.size() != rowBytes * image.height)
        return {};
    QImage result(image.width, image.height, QImage::Format_ARGB32_Premultiplied);
    if (result.isNull())
        return {};
    for (int y = 0; y < image.height; ++y)
        std::memcpy(result.scanLine(y), image.pixels.constData() + rowBytes * y, static_cast<size_t>(rowBytes));
    return result;
}

QImage view(const LoadedImage& image, QImage::Format format) {
    const qsizetype rowBytes = static_cast<qsizetype>(image.width) * 4;
    if (image.isNull() || image.pixels.size() != rowBytes * image.height)
        return {};
    return QImage(reinterpret_cast<const uchar*>(image.pixels.constData()), image.width, image.height, rowBytes,
                  format);
}

bool isOpaque(const LoadedImage& image) {
    // Alpha is the high byte of each native-order pixel.
    const auto* pixels = reinterpret_cast<const quint32*>(image.pixels.constData());
    const qsizetype count = image.pixels.size() / 4;
    for (qsizetype i = 0; i < count; ++i)
        if ((pixels[i] >> 24) != 0xff)
            return false;
    return true;
}

LoadedImage fromQImage(const QImage& image) {
    if (image.isNull())
        return {};
    // A photo decodes to RGB32, whose pixels (0xffRRGGBB) are already opaque premultiplied ARGB: taken as they
    // are, a 12-megapixel photo is copied once instead of converted and copied again.
    const bool asItIs = image.format() == QImage::Format_RGB32 || image.format() == QImage::Format_ARGB32_Premultiplied;
    const QImage argb = asItIs ? image : image.convertToFormat(QImage::Format_ARGB32_Premultiplied);
    LoadedImage result{argb.width(), argb.height(), {}};
    const qsizetype rowBytes = static_cast<qsizetype>(argb.width()) * 4;
    if (argb.bytesPerLine() == rowBytes) {
        result.pixels = QByteArray(reinterpret_cast<const char*>(argb.constBits()), rowBytes * argb.height());
        return result;
    }
    result.pixels.resize(rowBytes * argb.height());
    for (int y = 0; y < argb.height(); ++y)
        std::memcpy(result.pixels.data() + rowBytes * y, argb.constScanLine(y), static_cast<size_t>(rowBytes));
    return result;
}

QImage boundedTo(const QImage& image, int longest) {
    if (image.width() <= longest && image.height() <= longest)
        return image;
    return image.scaled(longest, longest, Qt::KeepAspectRatio, Qt::SmoothTransformation);
}

}  // namespace platform::images
