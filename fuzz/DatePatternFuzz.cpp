// A custom date pattern, as the settings window's custom date-format field takes it
// from the user and the tray title then shows it: the text checked and built as a
// pattern in several locales and zones, a date formatted with it, and the title made
// from it. Beyond not crashing, a pattern that is not well formed builds no
// formatter, formatting is repeatable, and the tray title is never empty.
//
// Input: one byte of set-up (locale, zone, instant), then the pattern in UTF-8.

#include "core/DateFormat.h"
#include "state/Preferences.h"

#include <QDateTime>
#include <QTimeZone>

#include <array>
#include <cstdint>
#include <cstdlib>

namespace {

constexpr std::array kLocales{"en_US", "de_DE", "ar_EG", "ja_JP", "th_TH", "fa_IR", "he_IL", "en_US_POSIX"};
constexpr std::array kZones{"Europe/Berlin", "Asia/Kathmandu", "America/St_Johns", "UTC"};

core::Date utc(int y, int mo, int d, int h = 0) {
    return core::Date::fromQDateTime(QDateTime(QDate(y, mo, d), QTime(h, 0), QTimeZone::utc()));
}

// An ordinary day, a spring-forward night, a year's last hour, and the edges of the years a calendar names.
const std::array<core::Date, 4>& instants() {
    static const std::array<core::Date, 4> list{utc(2026, 3, 11, 9), utc(2025, 3, 30, 1), utc(2025, 12, 31, 23),
                                                utc(1, 1, 1)};
    return list;
}

void check(bool condition) {
    if (!condition)
        std::abort();
}

}  // namespace

extern "C" int LLVMFuzzerTestOneInput(const uint8_t* data, size_t size) {
    if (size == 0)
        return 0;
    const uint8_t setup = data[0];
    const QString pattern = QString::fromUtf8(reinterpret_cast<const char*>(data + 1), static_cast<qsizetype>(size - 1));
    const core::Locale locale(QString::fromLatin1(kLocales[setup & 0x07]));
    const core::TimeZone zone = *core::TimeZone::withIdentifier(QString::fromLatin1(kZones[(setup >> 3) & 0x03]));
    const core::Date date = instants()[(setup >> 5) & 0x03];

    const bool wellFormed = core::DateFormat::isValidPattern(pattern);
    const auto format = core::DateFormat::fromPattern(pattern, locale, zone);
    if (!wellFormed)
        check(!format.has_value());
    if (format) {
        const QString text = format->format(date);
        check(format->format(date) == text);
        format->parse(text);
    }

    // The tray title with the custom preset: a pattern that yields nothing gives way to the default.
    check(!app::formatDate(app::DateFormatPreset::custom, date, pattern).isEmpty());
    return 0;
}
