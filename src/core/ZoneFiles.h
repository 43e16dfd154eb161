#pragma once

#include <QByteArray>
#include <QString>

#include <optional>

namespace core::zonefiles {

// The system's folder of zone files, one per zone id.
QString folder();
// Whether an id can name a file inside that folder. Ids come from calendar files,
// and the lookup follows "..": with empty, "." or ".." parts an id could open any
// file (a FIFO would hang it), even when the path ends at a real zone.
bool isZoneId(const QString& id);
// The contents of a zone's file; nullopt when there is none or it cannot be read.
std::optional<QByteArray> contentsOf(const QString& zoneId);
// Which zone a file such as /etc/localtime describes: the target of a link into
// the zone folder, else the zone whose file has the same contents (the one named
// in a `timezone` file beside it, when that still matches). A copy rewritten in
// place is read afresh every time.
std::optional<QString> identify(const QString& path);

}  // namespace core::zonefiles
