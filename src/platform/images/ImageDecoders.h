#pragma once

#include <QByteArray>
#include <QImage>

// The decoders behind QtImageLoader. Each gives a null image when the bytes are not
// theirs, are damaged, or claim more than the loader's limits. Qt's own is linked;
// the others are in the imaging module, and the application reaches them through
// platform/imaging/ImagingModule.h.
namespace platform::images {

// Decoded at a size whose longer side is at most `longest`, orientation applied.
QImage decodeWithQt(const QByteArray& bytes, int longest);
QImage decodeHeif(const QByteArray& bytes, int longest);
// Page 1 at twice its size in points, or smaller so that its longer side fits
// `longest`; on opaque white.
QImage renderFirstPdfPage(const QByteArray& bytes, int longest);

}  // namespace platform::images
