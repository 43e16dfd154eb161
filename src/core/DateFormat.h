#pragma once

#include <unicode/uversion.h>

#include "core/Date.h"
#include "core/Locale.h"
#include "core/TimeZone.h"

#include <QString>

#include <memory>
#include <optional>

U_NAMESPACE_BEGIN
class Calendar;
class SimpleDateFormat;
U_NAMESPACE_END

namespace core {

// A date formatter over ICU. Immutable once built; not for concurrent use of one instance.
class DateFormat {
public:
    enum class Style { None, Short, Medium, Long, Full };

    // A fixed pattern ("EEE d MMM"). nullopt when ICU rejects the pattern.
    static std::optional<DateFormat> fromPattern(const QString& pattern, const Locale& locale = Locale::current(),
                                                 const TimeZone& zone = TimeZone::current());
    // A localized template ("EEEdMMM", "jmm"): the locale's best pattern for those fields.
    static DateFormat fromTemplate(const QString& skeleton, const Locale& locale = Locale::current(),
                                   const TimeZone& zone = TimeZone::current());
    static DateFormat fromStyles(Style dateStyle, Style timeStyle, const Locale& locale = Locale::current(),
                                 const TimeZone& zone = TimeZone::current());

    // The locale's best pattern for a template.
    static QString bestPattern(const QString& skeleton, const Locale& locale = Locale::current());
    static bool isValidPattern(const QString& pattern);

    // Formatter cached per (locale, template, zone) for the calling thread.
    static QString formatTemplate(Date date, const QString& skeleton, const TimeZone& zone = TimeZone::current());
    // The same for a date and time style ("9:41 AM" for None, Short in en_US).
    static QString formatStyles(Date date, Style dateStyle, Style timeStyle, const TimeZone& zone = TimeZone::current());

    DateFormat(const DateFormat& other);
    DateFormat& operator=(const DateFormat& other);
    DateFormat(DateFormat&&) noexcept;
    DateFormat& operator=(DateFormat&&) noexcept;
    ~DateFormat();

    QString format(Date date) const;
    // Strict parse of the whole text; nullopt when it does not match.
    std::optional<Date> parse(const QString& text) const;
    QString pattern() const;

private:
    explicit DateFormat(std::unique_ptr<icu::SimpleDateFormat> format);
    std::unique_ptr<icu::SimpleDateFormat> m_format;
    // The format's calendar, set to each date formatted. ICU's own format() clones its calendar every time, and
    // a zone built from the system's rules rebuilds all its transitions when cloned: an agenda of a busy day
    // held the main thread a tenth of a second for that alone. Made on first use.
    mutable std::unique_ptr<icu::Calendar> m_calendar;
};

}  // namespace core
