#pragma once

#include "platform/textrecognition/TextRecognizer.h"

#include <utility>

namespace platform {

// Answers every image with the same pieces, or the same error.
class FakeTextRecognizer final : public TextRecognizer {
public:
    void setResult(RecognitionResult result) { m_result = std::move(result); }

    RecognitionResult recognize(const LoadedImage&) const override { return m_result; }

private:
    RecognitionResult m_result = std::vector<TextPiece>{};
};

}  // namespace platform
