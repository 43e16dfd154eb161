#pragma once

#include <QString>
#include <QStringList>
#include <QStringView>

#include <optional>

namespace core::chars {

// Unicode character classes by property, as text from any script needs them.
// QChar's own tests go by general category and see one UTF-16 unit at a time.
bool isLetter(char32_t c);      // Alphabetic
bool isNumber(char32_t c);      // any Numeric_Type: digits of every script, fractions, numerals
bool isWhitespace(char32_t c);  // White_Space: spaces, tabs and line breaks
bool isBlank(char32_t c);       // a space separator (Zs) or the tab; line breaks are not blanks
bool isUppercase(char32_t c);   // Uppercase
bool isLowercase(char32_t c);   // Lowercase

// The code points of a text, surrogate pairs joined; a lone surrogate stands for itself.
template <typename F>
void forEachCodePoint(QStringView text, F&& f) {
    for (qsizetype i = 0; i < text.size(); ++i) {
        const QChar c = text[i];
        if (c.isHighSurrogate() && i + 1 < text.size() && text[i + 1].isLowSurrogate()) {
            f(static_cast<char32_t>(QChar::surrogateToUcs4(c, text[i + 1])));
            ++i;
        } else {
            f(static_cast<char32_t>(c.unicode()));
        }
    }
}

// A whole decimal number of ASCII digits only: digits of other scripts, signs, spaces
// or more than nine digits (which might not fit) give nothing.
std::optional<int> asciiNumber(QStringView text);
// The first code point of a text; 0 for an empty text.
char32_t firstCodePoint(QStringView text);
bool containsLetter(QStringView text);
bool containsNumber(QStringView text);
// The letters of a text, in order.
QString letters(QStringView text);
// The user-perceived characters (grapheme clusters): "e" and a combining accent count once.
qsizetype characterCount(const QString& text);
// The first `count` user-perceived characters; the whole text when it has no more.
QString leadingCharacters(const QString& text, qsizetype count);

// Blanks removed from both ends.
QString trimmedBlanks(QStringView text);
// The given characters (UTF-16 units) removed from both ends.
QString trimmedOf(QStringView text, QStringView characters);
// Cut at runs of white space; no empty words.
QStringList splitAtWhitespace(QStringView text);
// The first code point in its upper-case form (which may be longer), the rest unchanged.
QString capitalizedFirst(const QString& text);

}  // namespace core::chars
