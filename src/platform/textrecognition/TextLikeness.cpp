#include "platform/textrecognition/TextLikeness.h"

#include <algorithm>
#include <numeric>

namespace platform::recognition {
namespace {

constexpr float kSureWordConfidence = 80.0f;
constexpr int kSureWordCharacters = 3;
// A web address read whole from a photo's slightly tilted line gets low confidence
// (about 20) and is still right; grain never reads as one this long.
constexpr int kAddressCharacters = 8;
// Below this, a line without a sure word is mostly guesswork.
constexpr float kLeastLineConfidence = 50.0f;

int lettersAndDigits(const QString& text) {
    return static_cast<int>(std::count_if(text.cbegin(), text.cend(), [](QChar c) { return c.isLetterOrNumber(); }));
}

bool shapedLikeAnAddress(const QString& text) {
    const auto allowed = [](QChar c) { return c.isLetterOrNumber() || c == u'.' || c == u'/' || c == u'-' || c == u':'; };
    const qsizetype dot = text.indexOf(u'.');
    return lettersAndDigits(text) >= kAddressCharacters && dot > 0 && dot < text.size() - 1 &&
           text[dot + 1].isLetterOrNumber() && std::all_of(text.cbegin(), text.cend(), allowed);
}

}  // namespace

bool TextLikeness::isSureWord(const ReadWord& word) {
    if (shapedLikeAnAddress(word.text))
        return true;
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
