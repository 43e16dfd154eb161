#include "core/CharacterClass.h"

#include <QTextBoundaryFinder>

#include <unicode/uchar.h>

#include <utility>

namespace core::chars {
namespace {

UChar32 icu(char32_t c) { return static_cast<UChar32>(c); }

qsizetype codePointLength(QStringView text, qsizetype at) {
    return text[at].isHighSurrogate() && at + 1 < text.size() && text[at + 1].isLowSurrogate() ? 2 : 1;
}

char32_t codePointAt(QStringView text, qsizetype at) {
    return codePointLength(text, at) == 2 ? static_cast<char32_t>(QChar::surrogateToUcs4(text[at], text[at + 1]))
                                          : static_cast<char32_t>(text[at].unicode());
}

}  // namespace

bool isLetter(char32_t c) { return u_hasBinaryProperty(icu(c), UCHAR_ALPHABETIC); }
bool isNumber(char32_t c) { return u_getIntPropertyValue(icu(c), UCHAR_NUMERIC_TYPE) != U_NT_NONE; }
bool isWhitespace(char32_t c) { return u_hasBinaryProperty(icu(c), UCHAR_WHITE_SPACE); }
bool isBlank(char32_t c) { return c == U'\t' || u_charType(icu(c)) == U_SPACE_SEPARATOR; }
bool isUppercase(char32_t c) { return u_hasBinaryProperty(icu(c), UCHAR_UPPERCASE); }
bool isLowercase(char32_t c) { return u_hasBinaryProperty(icu(c), UCHAR_LOWERCASE); }

std::optional<int> asciiNumber(QStringView text) {
    if (text.isEmpty() || text.size() > 9)
        return std::nullopt;
    int value = 0;
    for (const QChar c : text) {
        if (c < u'0' || c > u'9')
            return std::nullopt;
        value = value * 10 + (c.unicode() - u'0');
    }
    return value;
}

char32_t firstCodePoint(QStringView text) { return text.isEmpty() ? 0 : codePointAt(text, 0); }

bool containsLetter(QStringView text) {
    bool found = false;
    forEachCodePoint(text, [&](char32_t c) { found = found || isLetter(c); });
    return found;
}

bool containsNumber(QStringView text) {
    bool found = false;
    forEachCodePoint(text, [&](char32_t c) { found = found || isNumber(c); });
    return found;
}

QString letters(QStringView text) {
    QString result;
    forEachCodePoint(text, [&](char32_t c) {
        if (isLetter(c))
            result.append(QString::fromUcs4(&c, 1));
    });
    return result;
}

qsizetype characterCount(const QString& text) {
    QTextBoundaryFinder finder(QTextBoundaryFinder::Grapheme, text);
    qsizetype count = 0;
    while (finder.toNextBoundary() > 0)
        ++count;
    return count;
}

QString leadingCharacters(const QString& text, qsizetype count) {
    QTextBoundaryFinder finder(QTextBoundaryFinder::Grapheme, text);
    qsizetype end = 0;
    for (qsizetype taken = 0; taken < count; ++taken) {
        const qsizetype next = finder.toNextBoundary();
        if (next < 0)
            break;
        end = next;
    }
    return text.left(end);
}

QString trimmedBlanks(QStringView text) {
    qsizetype start = 0;
    while (start < text.size() && isBlank(codePointAt(text, start)))
        start += codePointLength(text, start);
    qsizetype end = text.size();
    while (end > start) {
        // Step back over a whole surrogate pair.
        const qsizetype last = end >= 2 && text[end - 1].isLowSurrogate() && text[end - 2].isHighSurrogate()
                                   ? end - 2
                                   : end - 1;
        if (!isBlank(codePointAt(text, last)))
            break;
        end = last;
    }
    return text.mid(start, end - start).toString();
}

QString trimmedOf(QStringView text, QStringView characters) {
    qsizetype start = 0;
    qsizetype end = text.size();
    while (start < end && characters.contains(text[start]))
        ++start;
    while (end > start && characters.contains(text[end - 1]))
        --end;
    return text.mid(start, end - start).toString();
}

QStringList splitAtWhitespace(QStringView text) {
    QStringList words;
    QString current;
    forEachCodePoint(text, [&](char32_t c) {
        if (isWhitespace(c)) {
            if (!current.isEmpty())
                words.append(std::exchange(current, QString()));
        } else {
            current.append(QString::fromUcs4(&c, 1));
        }
    });
    if (!current.isEmpty())
        words.append(current);
    return words;
}

QString capitalizedFirst(const QString& text) {
    if (text.isEmpty())
        return text;
    const qsizetype first = codePointLength(text, 0);
    return text.left(first).toUpper() + text.mid(first);
}

}  // namespace core::chars
