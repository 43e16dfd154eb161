#include "platform/textrecognition/TextLikeness.h"

#include <algorithm>
#include <numeric>

namespace platform::recognition {
namespace {

constexpr float kSureWordConfidence = 80.0f;
constexpr int kSureWordCharacters = 3;
// Below this, a line without a sure word is mostly guesswork.
constexpr float kLeastLineConfidence = 50.0f;

int lettersAndDigits(const QString& text) {
    return static_cast<int>(std::count_if(text.cbegin(), text.cend(), [](QChar c) { return c.isLetterOrNumber(); }));
}

}  // namespace

bool TextLikeness::isSureWord(const ReadWord& word) {
    return word.confidence >= kSureWordConfidence && lettersAndDigits(word.text) >= kSureWordCharacters;
}

bool TextLikeness::holdsSureWord(const std::vector<ReadWord>& line) {
    return std::any_of(line.cbegin(), line.cend(), isSureWord);
}

bool TextLikeness::readsAsText(const std::vector<ReadWord>& line) {
    if (line.empty())
        return false;
    if (holdsSureWord(line))
        return true;
    if (std::none_of(line.cbegin(), line.cend(), [](const ReadWord& word) { return lettersAndDigits(word.text) > 0; }))
        return false;
    const float total = std::accumulate(line.cbegin(), line.cend(), 0.0f,
                                        [](float sum, const ReadWord& word) { return sum + word.confidence; });
    return total / static_cast<float>(line.size()) >= kLeastLineConfidence;
}

}  // namespace platform::recognition
