#pragma once

#include "platform/images/ImageLoader.h"

#include <QImage>

// Between the GUI-free bitmap of the logic layers and QImage.
namespace platform::images {

// A copy in the bitmap's own format; a null image for a null bitmap.
QImage toQImage(const LoadedImage& image);
// The bitmap's own pixels as an image, not copied: valid for as long as `image` lives
// unchanged. A null image for a null bitmap. An opaque bitmap may be seen as RGB32,
// whose pixels are the same.
QImage view(const LoadedImage& image, QImage::Format format = QImage::Format_ARGB32_Premultiplied);
// Whether no pixel of the bitmap lets anything through.
bool isOpaque(const LoadedImage& image);
// Converted to premultiplied ARGB, so that any decoder's output fits.
LoadedImage fromQImage(const QImage& image);
// Scaled down smoothly so that neither side exceeds `longest`; never scaled up.
QImage boundedTo(const QImage& image, int longest);

}  // namespace platform::images
