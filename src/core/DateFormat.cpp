#include "core/DateFormat.h"

#include "core/IcuString.h"

#include <QHash>
#include <QMutex>

#include <functional>
#include <memory>

#include <unicode/dtfmtsym.h>
#include <unicode/dtptngen.h>
#include <unicode/gregocal.h>
#include <unicode/smpdtfmt.h>

namespace core {
namespace {

// Formatting always uses Gregorian dates, whatever calendar the locale prefers.
icu::Locale gregorian(const Locale& locale) {
    icu::Locale l = locale.icu();
    UErrorCode status = U_ZERO_ERROR;
    l.setKeywordValue("calendar", "gregorian", status);
    return l;
}

std::unique_ptr<icu::SimpleDateFormat> prepared(std::unique_ptr<icu::SimpleDateFormat> format, const Locale& locale,
                                                const TimeZone& zone) {
    if (!format)
        return nullptr;
    UErrorCode status = U_ZERO_ERROR;
    auto calendar = std::make_unique<icu::GregorianCalendar>(zone.icu(), gregorian(locale), status);
    if (U_SUCCESS(status)) {
        calendar->setGregorianChange(-8.64e15, status);
        format->adoptCalendar(calendar.release());
    }
    format->setTimeZone(zone.icu());
    return format;
}

// Pattern generators are costly to build: one per locale, shared under a lock.
QString bestPatternLocked(const QString& skeleton, const Locale& locale) {
    static QMutex mutex;
    static QHash<QString, std::shared_ptr<icu::DateTimePatternGenerator>> generators;
    QMutexLocker lock(&mutex);
    auto it = generators.find(locale.name());
    if (it == generators.end()) {
        UErrorCode status = U_ZERO_ERROR;
        std::shared_ptr<icu::DateTimePatternGenerator> generator(
            icu::DateTimePatternGenerator::createInstance(gregorian(locale), status));
        if (U_FAILURE(status))
            generator.reset();
        it = generators.insert(locale.name(), generator);
    }
    if (!*it)
        return skeleton;
    UErrorCode status = U_ZERO_ERROR;
    const icu::UnicodeString pattern = (*it)->getBestPattern(icu_string::copy(skeleton), status);
    return U_SUCCESS(status) ? icu_string::toQString(pattern) : skeleton;
}

// ICU formats unknown pattern letters as nothing and an unterminated quote as
// literal text, so a user's pattern is checked here: every unquoted letter must
// be a pattern letter, and quotes must close.
bool isWellFormed(const QString& pattern) {
    const QString letters = QString::fromUtf16(icu::DateFormatSymbols::getPatternUChars());
    bool quoted = false;
    for (QChar c : pattern) {
        if (c == QLatin1Char('\''))
            quoted = !quoted;  // '' toggles twice and so stays a literal quote
        else if (!quoted && ((c >= QLatin1Char('a') && c <= QLatin1Char('z')) || (c >= QLatin1Char('A') && c <= QLatin1Char('Z'))) &&
                 !letters.contains(c))
            return false;
    }
    return !quoted;
}

icu::DateFormat::EStyle toIcu(DateFormat::Style style) {
    switch (style) {
        case DateFormat::Style::None: return icu::DateFormat::kNone;
        case DateFormat::Style::Short: return icu::DateFormat::kShort;
        case DateFormat::Style::Medium: return icu::DateFormat::kMedium;
        case DateFormat::Style::Long: return icu::DateFormat::kLong;
        case DateFormat::Style::Full: return icu::DateFormat::kFull;
    }
    return icu::DateFormat::kNone;
}

}  // namespace

DateFormat::DateFormat(std::unique_ptr<icu::SimpleDateFormat> format) : m_format(std::move(format)) {}

DateFormat::DateFormat(const DateFormat& other) : m_format(other.m_format->clone()) {}

DateFormat& DateFormat::operator=(const DateFormat& other) {
    if (this != &other) {
        m_format.reset(other.m_format->clone());
        m_calendar.reset();
    }
    return *this;
}

DateFormat::DateFormat(DateFormat&&) noexcept = default;
DateFormat& DateFormat::operator=(DateFormat&&) noexcept = default;
DateFormat::~DateFormat() = default;

std::optional<DateFormat> DateFormat::fromPattern(const QString& pattern, const Locale& locale, const TimeZone& zone) {
    if (!isWellFormed(pattern))
        return std::nullopt;
    UErrorCode status = U_ZERO_ERROR;
    auto format = std::make_unique<icu::SimpleDateFormat>(icu_string::copy(pattern), gregorian(locale), status);
    if (U_FAILURE(status))
        return std::nullopt;
    format = prepared(std::move(format), locale, zone);
    // ICU accepts unknown pattern letters at construction and fails when formatting.
    icu::UnicodeString probe;
    icu::FieldPosition position;
    format->format(0.0, probe, position, status);
    if (U_FAILURE(status))
        return std::nullopt;
    return DateFormat(std::move(format));
}

DateFormat DateFormat::fromTemplate(const QString& skeleton, const Locale& locale, const TimeZone& zone) {
    if (auto format = fromPattern(bestPattern(skeleton, locale), locale, zone))
        return std::move(*format);
    return fromStyles(Style::Medium, Style::Short, locale, zone);
}

DateFormat DateFormat::fromStyles(Style dateStyle, Style timeStyle, const Locale& locale, const TimeZone& zone) {
    std::unique_ptr<icu::DateFormat> base(
        icu::DateFormat::createDateTimeInstance(toIcu(dateStyle), toIcu(timeStyle), gregorian(locale)));
    std::unique_ptr<icu::SimpleDateFormat> format(dynamic_cast<icu::SimpleDateFormat*>(base.get()));
    if (format) {
        (void)base.release();
    } else {
        UErrorCode status = U_ZERO_ERROR;
        format = std::make_unique<icu::SimpleDateFormat>(icu::UnicodeString(u"yyyy-MM-dd HH:mm"), status);
    }
    return DateFormat(prepared(std::move(format), locale, zone));
}

QString DateFormat::bestPattern(const QString& skeleton, const Locale& locale) {
    return bestPatternLocked(skeleton, locale);
}

bool DateFormat::isValidPattern(const QString& pattern) {
    return fromPattern(pattern, Locale(QStringLiteral("en_US_POSIX")), TimeZone::utc()).has_value();
}

namespace {

// One cache per thread: an ICU formatter must not be shared between threads.
// Zone ids are not unique (calendar files define their own zones under any
// name), so an entry remembers its zone and serves only a zone with its rules.
const DateFormat& cachedFormat(const QString& recipe, const TimeZone& zone,
                               const std::function<DateFormat(const Locale&)>& make) {
    struct Entry {
        TimeZone zone;
        std::shared_ptr<DateFormat> format;
    };
    thread_local QHash<QString, Entry> cache;
    const Locale locale = Locale::current();
    const QString key = locale.name() + QLatin1Char('\n') + recipe + QLatin1Char('\n') + zone.identifier();
    auto it = cache.find(key);
    if (it == cache.end() || !(it->zone == zone))
        it = cache.insert(key, Entry{zone, std::make_shared<DateFormat>(make(locale))});
    return *it->format;
}

}  // namespace

QString DateFormat::formatTemplate(Date date, const QString& skeleton, const TimeZone& zone) {
    return cachedFormat(skeleton, zone, [&](const Locale& locale) { return fromTemplate(skeleton, locale, zone); })
        .format(date);
}

QString DateFormat::formatStyles(Date date, Style dateStyle, Style timeStyle, const TimeZone& zone) {
    // Styles are told apart from templates by a character no template holds.
    const QString recipe = QStringLiteral("\x01%1%2").arg(int(dateStyle)).arg(int(timeStyle));
    return cachedFormat(recipe, zone,
                        [&](const Locale& locale) { return fromStyles(dateStyle, timeStyle, locale, zone); })
        .format(date);
}

QString DateFormat::format(Date date) const {
    if (!date.isInCalendarRange())
        return {};
    if (!m_calendar)
        m_calendar.reset(m_format->getCalendar()->clone());
    UErrorCode status = U_ZERO_ERROR;
    m_calendar->setTime(date.toUDate(), status);
    if (U_FAILURE(status))
        return {};
    icu::UnicodeString text;
    icu::FieldPosition position;
    m_format->format(*m_calendar, text, position);
    return icu_string::toQString(text);
}

std::optional<Date> DateFormat::parse(const QString& text) const {
    const icu::UnicodeString input = icu_string::alias(text);
    icu::ParsePosition position(0);
    std::unique_ptr<icu::SimpleDateFormat> strict(m_format->clone());
    strict->setLenient(false);
    const UDate result = strict->parse(input, position);
    if (position.getErrorIndex() >= 0 || position.getIndex() != input.length())
        return std::nullopt;
    return Date::fromUDate(result);
}

QString DateFormat::pattern() const {
    icu::UnicodeString pattern;
    m_format->toPattern(pattern);
    return icu_string::toQString(pattern);
}

}  // namespace core
