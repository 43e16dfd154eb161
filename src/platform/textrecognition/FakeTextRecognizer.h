#pragma once

#include "platform/textrecognition/TextRecognizer.h"

#include <atomic>
#include <functional>
#include <utility>

namespace platform {

// Answers every image with the same pieces, or the same error. Counts its calls; a
// test can hold each recognition in `whileReading`, which is handed the stop token.
class FakeTextRecognizer final : public TextRecognizer {
public:
    void setResult(RecognitionResult result) { m_result = std::move(result); }
    std::function<void(const LoadedImage&, std::stop_token)> whileReading;

    RecognitionResult recognize(const LoadedImage& image, std::stop_token stop = {}) const override {
        ++m_recognitions;
        if (whileReading)
            whileReading(image, stop);
        return m_result;
    }
    void prepare() const override { ++m_preparations; }
    void release() const override { ++m_releases; }

    int recognitions() const { return m_recognitions; }
    int preparations() const { return m_preparations; }
    int releases() const { return m_releases; }

private:
    RecognitionResult m_result = std::vector<TextPiece>{};
    mutable std::atomic<int> m_recognitions = 0;
    mutable std::atomic<int> m_preparations = 0;
    mutable std::atomic<int> m_releases = 0;
};

}  // namespace platform
