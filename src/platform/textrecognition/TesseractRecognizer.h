#pragma once

#include "platform/textrecognition/TextRecognizer.h"

#include <memory>

namespace platform {

// Text recognition with Tesseract's English model. Small text is enlarged first; the
// lines of text are found on the whole page, then read by several engines at once,
// each on a thread of its own. Engines are made on first need (about a tenth of a
// second each) and kept for later images; prepare() makes them ahead of time and
// release() lets them go.
class TesseractRecognizer final : public TextRecognizer {
public:
    // `readers`: how many engines may read one image's lines side by side (0: up to
    // four, as the machine has cores); as many idle engines are kept.
    explicit TesseractRecognizer(int readers = 0);
    ~TesseractRecognizer() override;
    TesseractRecognizer(const TesseractRecognizer&) = delete;
    TesseractRecognizer& operator=(const TesseractRecognizer&) = delete;

    // Loads the language data into every engine a recognition uses; false when it
    // cannot (with the reason).
    bool prepareEngines(QString* error) const;

    void prepare() const override;
    // Ends the idle engines and hands the heap they leave free back to the system.
    void release() const override;
    RecognitionResult recognize(const LoadedImage& image, std::stop_token stop = {}) const override;

    // Engines kept for the next image (tests).
    int idleEngines() const;

private:
    class EnginePool;
    // Runs `work` `count` times at once, once on this thread; returns when all ended.
    template <typename Work>
    void onEachReader(int count, const Work& work) const;

    int m_readers;
    std::unique_ptr<EnginePool> m_engines;
};

}  // namespace platform
