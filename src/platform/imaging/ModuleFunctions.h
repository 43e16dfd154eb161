#pragma once

#include <QByteArray>
#include <QImage>

namespace platform {
class TextRecognizer;
}

// What the imaging module (orbitday-imaging.so) hands the application: the decoders
// and the text recognizer built on libheif, Poppler and Tesseract.
namespace platform::imaging {

struct ModuleFunctions {
    // Raised with every change of this table, so that a module left over from another
    // build is refused instead of called through the wrong layout.
    int version;
    QImage (*decodeHeif)(const QByteArray& bytes, int longest);
    QImage (*renderFirstPdfPage)(const QByteArray& bytes, int longest);
    // Owned by the caller; its engines are made on first need.
    TextRecognizer* (*makeTextRecognizer)();
};

inline constexpr int kModuleFunctionsVersion = 1;
// extern "C": returns the module's one table.
inline constexpr char kModuleEntry[] = "orbitday_imaging_functions";

}  // namespace platform::imaging
