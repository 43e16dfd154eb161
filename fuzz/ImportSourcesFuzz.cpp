// What a paste or a drop offers, classified for the image import: any formats with any
// bytes, and any text as the list of addresses. Beyond not crashing, a paste said to
// hold an image must give a file or bytes to read, and one that does not must give
// neither; a drop with any format always gives an input.
//
// Input: for each format, one byte choosing its name (past the list, the name is the
// next up to 40 bytes up to a zero), two bytes of length, then its bytes.

#include "imageimport/flow/ImageImportInput.h"

#include <QCoreApplication>
#include <QMimeData>

#include <algorithm>
#include <array>
#include <cstdint>
#include <memory>

namespace {

void check(bool condition) {
    if (!condition)
        __builtin_trap();
}

constexpr std::array<const char*, 10> kFormats{"text/uri-list", "image/png",       "image/tiff",
                                               "image/jpeg",    "image/heic",      "image/x-portable-anymap",
                                               "application/pdf", "text/plain",    "application/octet-stream",
                                               "image/"};

bool givesSomethingToRead(const std::optional<imageimport::ImageImportInput>& input) {
    return input && !std::holds_alternative<imageimport::ImageImportInput::Unsupported>(input->value());
}

}  // namespace

extern "C" int LLVMFuzzerInitialize(int* argc, char*** argv) {
    static const auto app = std::make_unique<QCoreApplication>(*argc, *argv);
    return 0;
}

extern "C" int LLVMFuzzerTestOneInput(const uint8_t* data, size_t size) {
    const auto* at = data;
    const auto* end = data + size;
    QMimeData mime;
    for (int formats = 0; formats < 8 && end - at >= 3; ++formats) {
        const size_t choice = *at++;
        QString format;
        if (choice < kFormats.size()) {
            format = QString::fromLatin1(kFormats[choice]);
        } else {
            const auto* name = at;
            while (at < end && *at != 0 && at - name < 40)
                ++at;
            format = QString::fromUtf8(reinterpret_cast<const char*>(name), at - name);
            if (at < end)
                ++at;
        }
        if (end - at < 2)
            break;
        const size_t length = std::min<size_t>(static_cast<size_t>(at[0]) << 8 | at[1], static_cast<size_t>(end - at - 2));
        at += 2;
        mime.setData(format, QByteArray(reinterpret_cast<const char*>(at), static_cast<qsizetype>(length)));
        at += length;
    }
    const auto pasted = imageimport::ImageImportInput::fromPasteboard(mime);
    check(imageimport::ImageImportInput::pasteboardHasImage(mime) == givesSomethingToRead(pasted));
    const auto dropped = imageimport::ImageImportInput::fromDrop(mime);
    check(dropped.has_value() == !mime.formats().isEmpty());
    const auto hover = imageimport::ImageImportInput::dropHover(mime);
    check(hover != imageimport::ImageDropHover::none);
    // A drop shown as refused never reads anything.
    if (hover == imageimport::ImageDropHover::notImage)
        check(!givesSomethingToRead(dropped));
    return 0;
}
