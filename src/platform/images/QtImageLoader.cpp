#include "platform/images/QtImageLoader.h"

#include "platform/imaging/ImagingModule.h"
#include "platform/images/ImageDecoders.h"
#include "platform/images/QtImages.h"

namespace platform {

std::optional<LoadedImage> QtImageLoader::decode(const QByteArray& bytes, Format format) const {
    if (bytes.isEmpty() || bytes.size() > kMaxInputBytes)
        return std::nullopt;
    QImage image;
    if (format == Format::pdf) {
        image = imaging::renderFirstPdfPage(bytes, kMaxPixelSize);
    } else {
        image = images::decodeWithQt(bytes, kMaxPixelSize);
        if (image.isNull())
            image = imaging::decodeHeif(bytes, kMaxPixelSize);
    }
    if (image.isNull())
        return std::nullopt;
    return images::fromQImage(images::boundedTo(image, kMaxPixelSize));
}

}  // namespace platform
