#include "design/values/AvatarPalette.h"

#include "design/values/Theme.h"

#include <QChar>

namespace design {

int AvatarPalette::index(QStringView name) {
    // Over code points, not UTF-16 units: a name with an emoji must hash as it
    // does where strings are sequences of scalars. A lone surrogate counts as
    // U+FFFD, the scalar such text decodes to there.
    std::uint32_t hash = 0;
    for (qsizetype i = 0; i < name.size(); ++i) {
        char32_t scalar = name[i].unicode();
        if (QChar::isHighSurrogate(scalar) && i + 1 < name.size() && name[i + 1].isLowSurrogate()) {
            scalar = QChar::surrogateToUcs4(name[i], name[i + 1]);
            ++i;
        } else if (QChar::isSurrogate(scalar)) {
            scalar = QChar::ReplacementCharacter;
        }
        hash = (hash * 31 + scalar) % 65536;
    }
    return static_cast<int>(hash % Theme::calendarPalette().size());
}

core::Color AvatarPalette::color(QStringView name) {
    return Theme::calendarPalette()[static_cast<size_t>(index(name))];
}

}  // namespace design
