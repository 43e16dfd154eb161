#pragma once

// Conversions between QString and ICU strings. Both are UTF-16, so no transcoding.
// Only core/ includes ICU headers; other layers use the wrappers in this folder.

#include <QString>

#include <unicode/unistr.h>

namespace core::icu_string {

inline icu::UnicodeString copy(QStringView s) {
    return icu::UnicodeString(reinterpret_cast<const UChar*>(s.constData()), static_cast<int32_t>(s.size()));
}

// A read-only alias of the QString's buffer: valid while `s` lives and is not modified.
// constData(), not utf16(): utf16() may detach a QString made from static data to
// add a terminator, which races when several threads read one shared string.
inline icu::UnicodeString alias(const QString& s) {
    return icu::UnicodeString(false, reinterpret_cast<const UChar*>(s.constData()), static_cast<int32_t>(s.size()));
}

inline QString toQString(const icu::UnicodeString& s) {
    return QString(reinterpret_cast<const QChar*>(s.getBuffer()), s.length());
}

}  // namespace core::icu_string
