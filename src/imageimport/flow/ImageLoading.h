#pragma once

#include "imageimport/flow/ImageImportInput.h"
#include "platform/images/ImageLoader.h"

#include <variant>

namespace imageimport {

using ImageLoadResult = std::variant<platform::LoadedImage, ImageImportError>;

// The upright bitmap of what the user offered, at most 4096 pixels on its longer side:
// an image file or image bytes decoded, or page 1 of a PDF (a file of that type, or
// bytes that begin with "%PDF") rendered on white. Not an image: notAnImage with its
// name. An accepted file that cannot be read, a file or bytes over 64 MiB, or bytes
// that do not decode: unreadable. Blocks on file reading and decoding: call it off
// the main thread.
ImageLoadResult loadImage(const ImageImportInput& input, const platform::ImageLoader& loader);

}  // namespace imageimport
