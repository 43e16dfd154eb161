#pragma once

#include "platform/textrecognition/TextRecognizer.h"

#include <QByteArray>
#include <QImage>

#include <memory>

// Reading images and the text in them through the imaging module. libheif, Poppler
// and Tesseract, with what they pull in, are half of the process's shared libraries
// and a good share of its start; the tray app needs none of them until an image
// comes, so they are loaded then, or when the recognizer is made ready because one
// may come (off the main thread). Loading is done once, from any thread.
namespace platform::imaging {

// Null images when the module cannot be loaded; it is then said once on stderr.
QImage decodeHeif(const QByteArray& bytes, int longest);
QImage renderFirstPdfPage(const QByteArray& bytes, int longest);

// A recognizer that makes the module's on its first use; without the module every
// recognition fails with a RecognitionError that says so.
std::unique_ptr<TextRecognizer> makeTextRecognizer();

}  // namespace platform::imaging
