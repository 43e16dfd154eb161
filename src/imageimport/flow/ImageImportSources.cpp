#include "imageimport/flow/ImageImportInput.h"

#include <QMimeData>

#include <algorithm>
#include <array>

using namespace Qt::Literals::StringLiterals;

namespace imageimport {
namespace {

// "Any image" stands for the first image type a source offers that is none of the
// named ones.
constexpr auto kAnyImage = u"image/*";
// What a paste looks for, in this order.
constexpr std::array<const char16_t*, 6> kPasteboardTypes{u"image/png",  u"image/tiff", u"image/jpeg",
                                                          u"image/heic", kAnyImage,     u"application/pdf"};
// What a drop looks for, in this order.
constexpr std::array<const char16_t*, 6> kDropTypes{u"image/png",  u"image/jpeg", u"image/heic",
                                                    u"image/tiff", kAnyImage,     u"application/pdf"};

// The format the source offers for `type`, if any.
std::optional<QString> offered(const QMimeData& mime, QStringView type) {
    const QStringList formats = mime.formats();
    if (type != QStringView(kAnyImage))
        return formats.contains(type) ? std::optional(type.toString()) : std::nullopt;
    for (const QString& format : formats) {
        if (format.startsWith(u"image/"_s))
            return format;
    }
    return std::nullopt;
}

template <size_t N>
std::optional<QString> firstFormat(const QMimeData& mime, const std::array<const char16_t*, N>& types) {
    for (const char16_t* type : types) {
        if (std::optional<QString> format = offered(mime, type))
            return format;
    }
    return std::nullopt;
}

template <size_t N>
std::optional<ImageImportInput> firstData(const QMimeData& mime, const std::array<const char16_t*, N>& types) {
    // The encoded bytes, never the decoded picture: decoding belongs to the loader,
    // off the main thread and within its bounds.
    if (const std::optional<QString> format = firstFormat(mime, types))
        return ImageImportInput::data(mime.data(*format));
    return std::nullopt;
}

template <size_t N>
bool offersAny(const QMimeData& mime, const std::array<const char16_t*, N>& types) {
    return std::any_of(types.begin(), types.end(), [&](const char16_t* type) { return offered(mime, type).has_value(); });
}

std::optional<QUrl> firstFile(const QMimeData& mime) {
    if (!mime.hasUrls())
        return std::nullopt;
    for (const QUrl& url : mime.urls()) {
        if (url.isLocalFile())
            return url;
    }
    return std::nullopt;
}

ImageImportInput fileInput(const QUrl& url) {
    return ImageImportInput::isAccepted(url) ? ImageImportInput::file(url) : ImageImportInput::unsupported(url.fileName());
}

}  // namespace

std::optional<ImageImportInput> ImageImportInput::fromPasteboard(const QMimeData& mime) {
    // Only the first file counts, and image data beside it is not looked at.
    if (const std::optional<QUrl> file = firstFile(mime))
        return fileInput(*file);
    return firstData(mime, kPasteboardTypes);
}

std::optional<ImageImportInput> ImageImportInput::fromClipboard(const QMimeData& mime) {
    if (const std::optional<QUrl> file = firstFile(mime))
        return fileInput(*file);
    if (const std::optional<QString> format = firstFormat(mime, kPasteboardTypes))
        return clipboard(*format);
    return std::nullopt;
}

bool ImageImportInput::pasteboardHasImage(const QMimeData& mime) {
    if (const std::optional<QUrl> file = firstFile(mime))
        return isAccepted(*file);
    return offersAny(mime, kPasteboardTypes);
}

std::optional<ImageImportInput> ImageImportInput::fromDrop(const QMimeData& mime) {
    if (mime.formats().isEmpty())
        return std::nullopt;
    if (const std::optional<QUrl> file = firstFile(mime))
        return fileInput(*file);
    if (std::optional<ImageImportInput> data = firstData(mime, kDropTypes))
        return data;
    // A name for what it was: the last part of an address it carried.
    const QList<QUrl> urls = mime.hasUrls() ? mime.urls() : QList<QUrl>();
    if (!urls.isEmpty() && !urls.first().fileName().isEmpty())
        return unsupported(urls.first().fileName());
    return unsupported();
}

ImageDropHover ImageImportInput::dropHover(const QMimeData& mime) {
    if (const std::optional<QUrl> file = firstFile(mime))
        return isAccepted(*file) ? ImageDropHover::image : ImageDropHover::notImage;
    return offersAny(mime, kDropTypes) ? ImageDropHover::image : ImageDropHover::notImage;
}

}  // namespace imageimport
