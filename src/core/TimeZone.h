#pragma once

#include <unicode/uversion.h>

#include "core/Date.h"

#include <QHashFunctions>
#include <QString>

#include <memory>
#include <optional>

U_NAMESPACE_BEGIN
class TimeZone;
U_NAMESPACE_END

namespace core {

// A time zone whose rules come from the system tz database (/usr/share/zoneinfo),
// not from ICU's built-in copy. Cheap to copy; zones are built once per id and shared.
class TimeZone {
public:
    // TZ, else the system zone file; UTC when neither names a zone.
    static TimeZone current();
    // Re-reads TZ and the system zone file (on a change of the system zone, and in tests).
    static void resetCurrent();
    // Where the system's zone is kept: /etc/localtime, a link into the zone folder
    // or a copy of one of its files. Tests point it at a file of their own.
    static QString systemZoneFile();
    static void setSystemZoneFile(const QString& path);
    static TimeZone utc();
    // The system zone of that id, else ICU's own; nullopt for an unknown id.
    static std::optional<TimeZone> withIdentifier(const QString& id);
    // A fixed offset from UTC ("GMT+0100" style id).
    static TimeZone fixedOffset(int secondsFromGMT);
    // Adopts an ICU zone built elsewhere (e.g. from a VTIMEZONE), under its own id.
    static TimeZone fromIcu(std::shared_ptr<const icu::TimeZone> zone);

    QString identifier() const;
    int secondsFromGMT(Date date) const;
    bool isDaylightSavingTime(Date date) const;
    // The zone's short name at that moment in the given locale ("CET", "GMT+1").
    QString abbreviation(Date date) const;

    const icu::TimeZone& icu() const { return *m_zone; }

    bool operator==(const TimeZone& other) const;

private:
    explicit TimeZone(std::shared_ptr<const icu::TimeZone> zone);
    std::shared_ptr<const icu::TimeZone> m_zone;
};

size_t qHash(const TimeZone& zone, size_t hashSeed = 0) noexcept;

}  // namespace core
