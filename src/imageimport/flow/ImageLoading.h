#pragma once

#include "imageimport/flow/ImageImportInput.h"
#include "platform/images/ImageLoader.h"
#include "platform/workspace/ClipboardReader.h"

#include <variant>

namespace imageimport {

using ImageLoadResult = std::variant<platform::LoadedImage, ImageImportError>;

// The upright bitmap of what the user offered, at most 4096 pixels on its longer side:
// an image file or image bytes decoded, or page 1 of a PDF (a file of that type, or
// bytes that begin with "%PDF") rendered on white. Not an image: notAnImage with its
// name. An accepted file that cannot be read, a file or bytes over 64 MiB, or bytes
// that do not decode: unreadable; so are clipboard bytes that cannot be read through
// `clipboard`. Blocks on reading and decoding: call it off the main thread.
ImageLoadResult loadImage(const ImageImportInput& input, const platform::ImageLoader& loader,
                          const platform::ClipboardReader* clipboard = nullptr);

}  // namespace imageimport
