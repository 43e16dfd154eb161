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

LoadedImage fromQImage(const QImage& image) {
    if (image.isNull())
        return {};
    const QImage argb = image.convertToFormat(QImage::Format_ARGB32_Premultiplied);
    LoadedImage result{argb.width(), argb.height(), {}};
    const qsizetype rowBytes = static_cast<qsizetype>(argb.width()) * 4;
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
