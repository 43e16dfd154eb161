#pragma once

#include "platform/images/ImageLoader.h"

namespace platform {

// Images through Qt's image readers (PNG, JPEG, TIFF, WebP, GIF, BMP ...) with their
// orientation applied, HEIC and AVIF through libheif, PDF pages through poppler.
class QtImageLoader final : public ImageLoader {
public:
    std::optional<LoadedImage> decode(const QByteArray& bytes, Format format) const override;
};

}  // namespace platform
