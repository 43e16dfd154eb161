#pragma once

#include "platform/textrecognition/TextRecognizer.h"

#include <memory>

namespace platform {

// Text recognition with Tesseract's English model. Small text is enlarged first, and
// a page is read in bands by several engines at once, each on a thread of its own.
// Engines are made on first need (about a tenth of a second each) and kept for later
// images; prepare() makes the first one ahead of time.
class TesseractRecognizer final : public TextRecognizer {
public:
    // `parallelBands`: how many engines may read one image side by side (0: up to four,
    // as the machine has cores).
    explicit TesseractRecognizer(int parallelBands = 0);
    ~TesseractRecognizer() override;
    TesseractRecognizer(const TesseractRecognizer&) = delete;
    TesseractRecognizer& operator=(const TesseractRecognizer&) = delete;

    // Loads the language data into one engine; false when it cannot (with the reason).
    bool prepare(QString* error = nullptr) const;

    RecognitionResult recognize(const LoadedImage& image) const override;

private:
    class EnginePool;
    std::unique_ptr<EnginePool> m_engines;
    int m_parallelBands;
};

}  // namespace platform
