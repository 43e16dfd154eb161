#pragma once

#include "platform/eventstore/vdir/IcsFileParser.h"
#include "platform/eventstore/vdir/IcsRecurrence.h"
#include "platform/eventstore/vdir/IcsZoneResolver.h"

#include <QByteArray>
#include <QStringList>

#include <algorithm>

namespace vdirtest {

using platform::vdir::IcsFile;
using platform::vdir::IcsOccurrence;
using platform::vdir::IcsSeries;

// Lines joined with CRLF and wrapped in a VCALENDAR.
inline QByteArray ics(const QStringList& lines) {
    QStringList all{QStringLiteral("BEGIN:VCALENDAR"), QStringLiteral("VERSION:2.0"),
                    QStringLiteral("PRODID:-//test//EN")};
    all += lines;
    all << QStringLiteral("END:VCALENDAR");
    return all.join(QStringLiteral("\r\n")).toUtf8() + "\r\n";
}

inline core::Date utc(int y, int mo, int d, int h = 0, int mi = 0, int s = 0) {
    return core::Date(static_cast<double>(platform::vdir::daysFromCivil(y, mo, d)) * 86400.0 + h * 3600.0 + mi * 60.0 +
                      s);
}

inline core::TimeZone zone(const char* id) { return *core::TimeZone::withIdentifier(QString::fromUtf8(id)); }

inline core::Date local(const char* zoneId, int y, int mo, int d, int h = 0, int mi = 0, int s = 0) {
    return platform::vdir::wallToDate(platform::vdir::WallTime{y, mo, d, h, mi, s}, zone(zoneId));
}

// One file parsed, its components grouped as the store groups one UID.
struct ParsedSeries {
    IcsFile file;
    IcsSeries series;

    explicit ParsedSeries(const QByteArray& text) {
        platform::vdir::IcsZoneResolver zones;
        file = platform::vdir::IcsFileParser(zones).parse(text);
        for (const auto& c : file.components) {
            if (c.recurrenceId)
                series.overrides.push_back(&c);
            else if (!series.master)
                series.master = &c;
        }
    }

    std::vector<IcsOccurrence> expand(core::Date from, core::Date to,
                                      const core::TimeZone& floating = core::TimeZone::current()) const {
        std::vector<IcsOccurrence> out;
        platform::vdir::expandSeries(series, from, to, floating, out);
        std::sort(out.begin(), out.end(), [](const auto& a, const auto& b) { return a.start < b.start; });
        return out;
    }

    std::vector<core::Date> starts(core::Date from, core::Date to) const {
        std::vector<core::Date> result;
        for (const auto& o : expand(from, to))
            result.push_back(o.start);
        return result;
    }
};

}  // namespace vdirtest
