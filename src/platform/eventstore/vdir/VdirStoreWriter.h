#pragma once

#include "platform/eventstore/PlatformTypes.h"
#include "platform/eventstore/vdir/IcsEditor.h"
#include "platform/eventstore/vdir/IcsItemCut.h"
#include "platform/eventstore/vdir/IcsText.h"
#include "platform/eventstore/vdir/IcsZoneResolver.h"
#include "platform/eventstore/vdir/VdirFileCache.h"
#include "platform/eventstore/vdir/VdirWriter.h"

#include <QHash>
#include <QSet>

#include <optional>
#include <utility>
#include <vector>

namespace platform::vdir {

class VdirCatalog;
class VdirEventStore;
struct VdirItem;
struct VdirCollection;

// The changing side of VdirEventStore. Every change edits a fresh parse of the
// item's file (or of its staged text), or of the item alone cut out of a file of
// many, so what we do not change stays as the file had it; the new text is
// staged, reads see it at once, and commit() writes the staged files. Throws
// EventStoreError.
class VdirStoreWriter {
public:
    // `root`: the vdir's root, whose multi-file changes are journaled.
    explicit VdirStoreWriter(const QString& root) : m_files(root) {}

    PlatformEvent saveEvent(VdirEventStore& store, const PlatformEvent& event, Span span, bool commit);
    void removeEvent(VdirEventStore& store, const PlatformEvent& event, Span span, bool commit);
    // The item's file as it is on disk; nullopt for an item whose file has staged changes or cannot be read.
    std::optional<StoredItem> storedItem(const VdirEventStore& store, const QString& eventIdentifier) const;
    // Writes the copied file back under its name, unless another program changed or made the file since.
    PlatformEvent restoreItem(VdirEventStore& store, const StoredItem& item, bool commit);
    PlatformReminder saveReminder(VdirEventStore& store, const PlatformReminder& reminder, bool commit);
    void removeReminder(VdirEventStore& store, const PlatformReminder& reminder, bool commit);
    void commit(VdirEventStore& store);
    // Drops the staged changes; the store re-reads every file.
    void reset(VdirEventStore& store);

private:
    struct OpenFile {
        QString path;
        QByteArray original;  // what `tree` was read from: the file, or the item cut out of it
        IcsKeptLines kept;    // of `original`: what an edit leaves of its lines
        Etag expected;
        IcsTree tree;
        std::optional<IcsItemCut> cut;  // set when only the item was read
    };

    OpenFile open(const VdirCatalog& catalog, const VdirItem& item, const QString& revision);
    IcsEditor editorFor(icalcomponent* calendar);
    // The collection an item of that kind may be written into.
    const VdirCollection& writableCollection(VdirEventStore& store, const QString& calendarIdentifier, EntityType kind);
    // The stored occurrence and the item a change of `eventIdentifier` names (the
    // series' first occurrence without a date); refuses what may not be changed.
    std::pair<PlatformEvent, const VdirItem*> changeTarget(VdirEventStore& store, const QString& eventIdentifier,
                                                           const std::optional<core::Date>& occurrenceDate);
    // Stage the change's files for writing; finish() shows them in the catalog or writes them.
    void stage(OpenFile& file, bool keepFile);
    // `kept`: the lines of the file the new one's components were copied from.
    QString stageNew(QString folder, const QByteArray& uid, icalcomponent* calendar, const IcsKeptLines& kept);
    // Stages the edited file, or, when the event moves to another calendar,
    // the item in a new file there and the old file without it. Returns the
    // item's identifier afterwards.
    QString stageEdited(VdirEventStore& store, OpenFile& file, IcsEditor& editor, const QByteArray& uid,
                        const QString& identifier, const std::optional<QString>& destination, bool commit);
    // The folder of the calendar the event is to move to, if it is to move.
    std::optional<QString> moveDestination(VdirEventStore& store, const PlatformEvent& event,
                                           const PlatformEvent& current);
    void finish(VdirEventStore& store, bool commit);
    QString identifierOf(VdirEventStore& store, const QString& path, const QByteArray& uid) const;

    VdirWriter m_files;
    IcsZoneResolver m_zones;
    // Paths whose staged text the catalog shows instead of the file; a staged
    // creation that was removed again is no longer in m_files but is here.
    QSet<QString> m_overlaid;
    // Files of many items written by putting one item back, by path, until the commit reads them back.
    QHash<QString, VdirItemWrite> m_itemWrites;
    // The texts of the change under way (nullopt: the file goes), shown by the catalog once the change is
    // staged; a change written at once reads its files back instead.
    std::vector<std::pair<QString, std::optional<QByteArray>>> m_toShow;
};

}  // namespace platform::vdir
