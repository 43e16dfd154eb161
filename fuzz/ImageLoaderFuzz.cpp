// The image decoders over any bytes: a file or a paste that claims to be an image or
// a PDF. Beyond not crashing or hanging, whatever decodes must be a bitmap of at most
// 4096 pixels a side whose pixels fill it exactly.
//
// Input: one byte choosing the way in (decoded as an image, rendered as a PDF, or
// pasted, where the first bytes decide), then the bytes.

#include "imageimport/flow/ImageLoading.h"
#include "platform/images/QtImageLoader.h"

#include <QGuiApplication>

#include <cstdint>
#include <cstdlib>
#include <memory>

namespace {

void check(bool condition) {
    if (!condition)
        __builtin_trap();
}

void checkBitmap(const platform::LoadedImage& image) {
    using platform::ImageLoader;
    check(image.width > 0 && image.height > 0);
    check(image.width <= ImageLoader::kMaxPixelSize && image.height <= ImageLoader::kMaxPixelSize);
    check(image.pixels.size() == static_cast<qsizetype>(image.width) * image.height * 4);
}

}  // namespace

extern "C" int LLVMFuzzerInitialize(int* argc, char*** argv) {
    // Some image plug-ins want a GUI application, as the real one has.
    qputenv("QT_QPA_PLATFORM", "offscreen");
    static const auto app = std::make_unique<QGuiApplication>(*argc, *argv);
    return 0;
}

extern "C" int LLVMFuzzerTestOneInput(const uint8_t* data, size_t size) {
    if (size == 0)
        return 0;
    const QByteArray bytes(reinterpret_cast<const char*>(data + 1), static_cast<qsizetype>(size - 1));
    const platform::QtImageLoader loader;
    using Format = platform::ImageLoader::Format;
    switch (data[0] % 3) {
    case 0:
        if (const auto image = loader.decode(bytes, Format::image))
            checkBitmap(*image);
        break;
    case 1:
        if (const auto image = loader.decode(bytes, Format::pdf))
            checkBitmap(*image);
        break;
    default: {
        const imageimport::ImageLoadResult result =
            imageimport::loadImage(imageimport::ImageImportInput::data(bytes), loader);
        if (const auto* image = std::get_if<platform::LoadedImage>(&result))
            checkBitmap(*image);
        else
            check(std::get<imageimport::ImageImportError>(result) == imageimport::ImageImportError::unreadable());
    }
    }
    return 0;
}
