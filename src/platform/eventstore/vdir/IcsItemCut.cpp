#include "platform/eventstore/vdir/IcsItemCut.h"

#include "platform/eventstore/vdir/IcsPreflight.h"
#include "platform/eventstore/vdir/IcsText.h"

#include <atomic>

namespace platform::vdir {

namespace {

std::atomic<bool> cutsOn{true};

bool isNamed(QByteArrayView name, QByteArrayView wanted) {
    return name.compare(wanted, Qt::CaseInsensitive) == 0;
}

// The editor takes journal entries of a UID along with its events and to-dos; the reader leaves them out.
bool isItem(QByteArrayView name) {
    return isNamed(name, "VEVENT") || isNamed(name, "VTODO") || isNamed(name, "VJOURNAL");
}

qsizetype nextLine(const QByteArray& text, qsizetype pos, qsizetype end) {
    const qsizetype newline = text.indexOf('\n', pos);
    return newline < 0 || newline >= end ? end : newline + 1;
}

// The physical lines text[begin, end) as one logical line, without the line break.
QByteArray unfolded(const QByteArray& text, qsizetype begin, qsizetype end) {
    QByteArray line;
    for (qsizetype pos = begin; pos < end;) {
        const qsizetype next = nextLine(text, pos, end);
        qsizetype stop = next;
        if (stop > pos && text[stop - 1] == '\n')
            --stop;
        if (stop > pos && text[stop - 1] == '\r')
            --stop;
        const qsizetype from = pos == begin ? pos : pos + 1;
        if (stop > from)
            line.append(text.constData() + from, stop - from);
        pos = next;
    }
    return line;
}

// What the cut needs of a component's own lines (not of the alarms or zone observances within it).
struct OwnLines {
    std::optional<QByteArray> uid;
    std::optional<QByteArray> tzid;
    bool recurrenceId = false;
};

OwnLines readOwnLines(const QByteArray& text, qsizetype begin, qsizetype end) {
    OwnLines own;
    int depth = 0;
    for (qsizetype pos = begin; pos < end;) {
        const qsizetype physicalEnd = nextLine(text, pos, end);
        qsizetype next = physicalEnd;
        while (next < end && (text[next] == ' ' || text[next] == '\t'))
            next = nextLine(text, next, end);
        // The name nearly always ends on the first physical line; only a name folded in two needs the whole line.
        QByteArray whole;
        QByteArrayView line(text.constData() + pos, physicalEnd - pos);
        qsizetype nameEnd = propertyNameEnd(line);
        if (nameEnd == line.size()) {
            whole = unfolded(text, pos, next);
            line = whole;
            nameEnd = propertyNameEnd(line);
        }
        const QByteArrayView name = line.first(nameEnd);
        const auto value = [&] {
            const QByteArray logical = whole.isEmpty() ? unfolded(text, pos, next) : whole;
            const qsizetype colon = valueStart(logical);
            return colon < 0 ? QByteArray() : logical.mid(colon + 1);
        };
        if (isNamed(name, "BEGIN")) {
            ++depth;
        } else if (isNamed(name, "END")) {
            --depth;
        } else if (depth == 1) {
            if (!own.uid && isNamed(name, "UID"))
                own.uid = value();
            else if (!own.tzid && isNamed(name, "TZID"))
                own.tzid = value();
            else if (isNamed(name, "RECURRENCE-ID"))
                own.recurrenceId = true;
        }
        pos = next;
    }
    return own;
}

}  // namespace

void setItemCutsForTesting(bool on) {
    cutsOn = on;
}

std::optional<IcsItemCut> IcsItemCut::of(const QByteArray& file, const QByteArray& uid) {
    if (!cutsOn || uid.isEmpty())
        return std::nullopt;
    const std::optional<IcsOutline> outline = outlineCalendar(file);
    if (!outline || !outline->namesMatch)
        return std::nullopt;
    IcsItemCut cut;
    cut.m_file = file;
    cut.m_uid = uid;
    QByteArray zones;
    bool othersRemain = false;
    bool zonesAtKnown = false;
    int masters = 0;
    for (const IcsOutline::Part& part : outline->components) {
        const QByteArrayView text(file.constData() + part.begin, part.end - part.begin);
        const bool zone = isNamed(part.name, "VTIMEZONE");
        // A calendar within the calendar may be read as a calendar of its own.
        if (isNamed(part.name, "VCALENDAR"))
            return std::nullopt;
        if (!zone && !zonesAtKnown) {
            cut.m_zonesAt = part.begin;
            zonesAtKnown = true;
        }
        if (!zone && !isItem(part.name)) {
            othersRemain = true;
            continue;
        }
        const OwnLines own = readOwnLines(file, part.begin, part.end);
        // libical reads escapes in these values: the same UID or TZID may be written in more than one way.
        if ((own.uid && own.uid->contains('\\')) || (own.tzid && own.tzid->contains('\\')))
            return std::nullopt;
        if (zone) {
            if (own.tzid)
                cut.m_zoneIds.insert(*own.tzid);
            zones.append(text);
            continue;
        }
        if (own.uid != uid) {
            othersRemain = true;
            continue;
        }
        // Two of them: the editor would change the first and leave the other as it is.
        if ((!own.recurrenceId && ++masters > 1) || isNamed(part.name, "VJOURNAL"))
            return std::nullopt;
        cut.m_item.push_back({part.begin, part.end});
    }
    if (cut.m_item.empty() || !othersRemain)
        return std::nullopt;
    cut.m_calendar = outline->frame + zones;
    for (const Range& range : cut.m_item)
        cut.m_calendar.append(file.constData() + range.begin, range.end - range.begin);
    cut.m_calendar.append("END:VCALENDAR\r\n");
    return cut;
}

std::optional<IcsItemCut::Put> IcsItemCut::putBack(const QByteArray& edited) const {
    const std::optional<IcsOutline> outline = outlineCalendar(edited);
    if (!outline || !outline->namesMatch)
        return std::nullopt;
    QByteArray zones;
    QByteArray item;
    for (const IcsOutline::Part& part : outline->components) {
        const QByteArrayView text(edited.constData() + part.begin, part.end - part.begin);
        if (!isNamed(part.name, "VTIMEZONE")) {
            item.append(text);
            continue;
        }
        const std::optional<QByteArray> tzid = readOwnLines(edited, part.begin, part.end).tzid;
        if (!tzid || !m_zoneIds.contains(*tzid))
            zones.append(text);
    }
    // Definitions serve items only.
    if (item.isEmpty())
        zones.clear();

    Put put;
    put.addsZones = !zones.isEmpty();
    put.keepsItem = !item.isEmpty();
    QByteArray& out = put.file;
    out.reserve(m_file.size() + zones.size() + item.size());
    // Readers that resolve zones in one pass want a definition before its users.
    out.append(m_file.constData(), m_zonesAt);
    out.append(zones);
    qsizetype at = m_zonesAt;
    for (const Range& range : m_item) {
        out.append(m_file.constData() + at, range.begin - at);
        if (&range == &m_item.front())
            out.append(item);
        at = range.end;
    }
    out.append(m_file.constData() + at, m_file.size() - at);
    return put;
}

}  // namespace platform::vdir
