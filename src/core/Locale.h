#pragma once

#include <unicode/uversion.h>

#include <QString>

U_NAMESPACE_BEGIN
class Locale;
U_NAMESPACE_END

namespace core {

// The locale used for dates: LC_ALL, else LC_TIME, else LANG (empty values
// skipped), resolved once. "C" and "POSIX" mean en_US_POSIX.
class Locale {
public:
    // The resolved current locale, e.g. "en_GB".
    static Locale current();
    // Re-reads the environment (tests, or a locale change at run time).
    static void resetCurrent();
    // Overrides the current locale until reset (tests).
    static void setCurrentForTesting(const QString& name);

    explicit Locale(const QString& name);

    QString name() const { return m_name; }
    const icu::Locale& icu() const;

    bool operator==(const Locale& other) const { return m_name == other.m_name; }

    // Turns a POSIX locale value ("de_DE.UTF-8@euro", "C") into an ICU name.
    static QString fromPosix(const QString& value);

private:
    QString m_name;
};

}  // namespace core
