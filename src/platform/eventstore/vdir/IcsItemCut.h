#pragma once

#include <QByteArray>
#include <QSet>

#include <optional>
#include <vector>

namespace platform::vdir {

// The components of one UID (an item and its overrides) cut out of a calendar file that holds other items, to be
// edited on their own and put back in their place. Every other byte of the file stays as it was (the other items,
// the calendar's own lines, the zone definitions, folds and line ends), and libical reads and writes a few
// components instead of the thousands a large calendar holds.
class IcsItemCut {
public:
    // Nullopt where cutting could differ from editing the whole file: the text is not one plain calendar, a
    // component ends under another name than it began with, a UID or TZID is written with escapes, the UID has a
    // second component without RECURRENCE-ID or a journal entry, or the file holds nothing but the item and zone
    // definitions.
    static std::optional<IcsItemCut> of(const QByteArray& file, const QByteArray& uid);

    // A calendar of the file's own lines, all its zone definitions and the item's components: what is edited.
    const QByteArray& calendar() const { return m_calendar; }

    const QByteArray& file() const { return m_file; }
    const QByteArray& uid() const { return m_uid; }

    struct Put {
        QByteArray file;
        bool addsZones = false;
        bool keepsItem = false;  // the item has components left
    };
    // The file with the item's components replaced by the items of `edited` (calendar() edited and written again)
    // where its first one was, and with the zone definitions `edited` added before the file's first component that
    // is not one. Nullopt when `edited` is not one plain calendar.
    std::optional<Put> putBack(const QByteArray& edited) const;

private:
    struct Range {
        qsizetype begin = 0;
        qsizetype end = 0;
    };

    QByteArray m_file;
    QByteArray m_uid;
    QByteArray m_calendar;
    std::vector<Range> m_item;  // in the order of the file
    qsizetype m_zonesAt = 0;
    QSet<QByteArray> m_zoneIds;  // the TZIDs the file defines
};

// Off, every change reads and writes its whole file: what cutting is tested against.
void setItemCutsForTesting(bool on);

}  // namespace platform::vdir
