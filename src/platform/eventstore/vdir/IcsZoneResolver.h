#pragma once

#include "core/TimeZone.h"
#include "platform/eventstore/vdir/IcsItem.h"

#include <QByteArray>
#include <QHash>
#include <QString>

#include <memory>
#include <mutex>
#include <optional>
#include <vector>

struct icalcomponent_impl;

namespace platform::vdir {

// Maps the TZID of a file to a zone whose offsets are cheap to ask: the system zone of that id (also behind a
// vendor prefix such as "/mozilla.org/…/Europe/Berlin"), else a Windows zone name through ICU's mapping, else a
// zone built from the file's VTIMEZONE observances (one per distinct VTIMEZONE text). Safe to call from the
// parsing threads; results are kept for the life of the resolver.
class IcsZoneResolver {
public:
    // `vtimezone` is the file's VTIMEZONE of that TZID, or null.
    std::optional<core::TimeZone> resolve(const QString& tzid, icalcomponent_impl* vtimezone);
    // The TZID with what it resolves to, shared by every file that gives it for the same zone.
    std::shared_ptr<const IcsZoneName> name(const QString& tzid, icalcomponent_impl* vtimezone);

private:
    std::optional<core::TimeZone> resolveLocked(const QString& tzid, icalcomponent_impl* vtimezone);
    std::optional<core::TimeZone> resolveById(const QString& tzid);
    std::optional<core::TimeZone> resolveDefinition(const QString& tzid, icalcomponent_impl* vtimezone);

    std::mutex m_mutex;
    QHash<QString, std::optional<core::TimeZone>> m_byId;
    QHash<QByteArray, std::optional<core::TimeZone>> m_byDefinition;
    // By TZID, then one for each zone it was found to name (files may define one TZID differently).
    QHash<QString, std::vector<std::shared_ptr<const IcsZoneName>>> m_names;
};

// A zone from a VTIMEZONE's STANDARD and DAYLIGHT observances; nullopt when it has none usable.
std::optional<core::TimeZone> zoneFromVtimezone(const QString& tzid, icalcomponent_impl* vtimezone);

}  // namespace platform::vdir
