#include "imageimport/flow/ImageLoading.h"

#include "core/Overloaded.h"
#include "core/RegularFile.h"
#include "imageimport/flow/FileType.h"

namespace imageimport {
namespace {

using Format = platform::ImageLoader::Format;

ImageLoadResult decoded(const std::optional<platform::LoadedImage>& image) {
    if (!image || image->isNull())
        return ImageImportError::unreadable();
    return *image;
}

ImageLoadResult loadFile(const QUrl& url, const platform::ImageLoader& loader) {
    const FileType type = fileType(url);
    if (type == FileType::other)
        return ImageImportError::notAnImage(url.fileName());
    if (type == FileType::unnamable)
        return ImageImportError::unreadable();
    // Read whole, but never a file so large that reading it could exhaust memory, nor
    // a FIFO or device named like an image that would block or never end.
    const auto bytes = url.isLocalFile()
                           ? core::readRegularFile(url.toLocalFile(), platform::ImageLoader::kMaxInputBytes)
                           : std::nullopt;
    if (!bytes || bytes->isEmpty())
        return ImageImportError::unreadable();
    return decoded(loader.decode(*bytes, type == FileType::pdf ? Format::pdf : Format::image));
}

ImageLoadResult loadData(const QByteArray& bytes, const platform::ImageLoader& loader) {
    if (bytes.isEmpty() || bytes.size() > platform::ImageLoader::kMaxInputBytes)
        return ImageImportError::unreadable();
    // Only the first bytes decide; what the clipboard claimed the data to be does not.
    return decoded(loader.decode(bytes, bytes.startsWith("%PDF") ? Format::pdf : Format::image));
}

ImageLoadResult loadClipboard(const QString& format, const platform::ImageLoader& loader,
                              const platform::ClipboardReader* clipboard) {
    const std::optional<QByteArray> bytes =
        clipboard ? clipboard->read(format, platform::ImageLoader::kMaxInputBytes) : std::nullopt;
    if (!bytes)
        return ImageImportError::unreadable();
    return loadData(*bytes, loader);
}

}  // namespace

ImageLoadResult loadImage(const ImageImportInput& input, const platform::ImageLoader& loader,
                          const platform::ClipboardReader* clipboard) {
    return std::visit(
        core::Overloaded{
            [&](const ImageImportInput::File& file) { return loadFile(file.url, loader); },
            [&](const ImageImportInput::Data& data) { return loadData(data.bytes, loader); },
            [&](const ImageImportInput::Clipboard& pasted) { return loadClipboard(pasted.format, loader, clipboard); },
            [](const ImageImportInput::Unsupported& other) -> ImageLoadResult {
                return ImageImportError::notAnImage(other.name);
            },
        },
        input.value());
}

}  // namespace imageimport
