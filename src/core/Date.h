#pragma once

#include <QDateTime>
#include <QTimeZone>
#include <QHashFunctions>

#include <compare>
#include <functional>

namespace core {

// A moment in time as seconds since 1970-01-01 00:00 UTC, with a fraction.
class Date {
public:
    constexpr Date() = default;
    constexpr explicit Date(double secondsSince1970) : m_seconds(secondsSince1970) {}

    // The current moment as the installed Clock tells it.
    static Date now();
    static Date fromQDateTime(const QDateTime& dateTime);
    // ICU's UDate: milliseconds since 1970.
    static constexpr Date fromUDate(double milliseconds) { return Date(milliseconds / 1000.0); }

    constexpr double secondsSince1970() const { return m_seconds; }
    constexpr double toUDate() const { return m_seconds * 1000.0; }
    // An invalid QDateTime outside the calendar range.
    QDateTime toQDateTime() const;
    bool isFinite() const;
    // Within about 200,000 years of 1970: the dates calendars and formatters handle.
    bool isInCalendarRange() const;

    constexpr double timeIntervalSince(Date other) const { return m_seconds - other.m_seconds; }
    constexpr Date addingTimeInterval(double seconds) const { return Date(m_seconds + seconds); }

    constexpr Date operator+(double seconds) const { return Date(m_seconds + seconds); }
    constexpr Date operator-(double seconds) const { return Date(m_seconds - seconds); }
    constexpr double operator-(Date other) const { return m_seconds - other.m_seconds; }
    constexpr Date& operator+=(double seconds) { m_seconds += seconds; return *this; }
    constexpr Date& operator-=(double seconds) { m_seconds -= seconds; return *this; }

    constexpr auto operator<=>(const Date&) const = default;
    constexpr bool operator==(const Date&) const = default;

    // Earliest and latest representable moments, for open ranges.
    static constexpr Date distantPast() { return Date(-62135769600.0); }
    static constexpr Date distantFuture() { return Date(64092211200.0); }

private:
    double m_seconds = 0.0;
};

size_t qHash(Date date, size_t hashSeed = 0) noexcept;

// ISO 8601 text in UTC with milliseconds, for logs and test failure messages.
QString toIsoString(Date date);

}  // namespace core

template <>
struct std::hash<core::Date> {
    size_t operator()(core::Date d) const noexcept { return core::qHash(d); }
};
