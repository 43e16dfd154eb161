#pragma once

#include "platform/eventstore/PlatformTypes.h"
#include "platform/eventstore/vdir/IcsRecurrence.h"
#include "platform/eventstore/vdir/IcsZoneResolver.h"
#include "platform/eventstore/vdir/VdirFileCache.h"
#include "platform/eventstore/vdir/VdirLayout.h"

#include <QHash>
#include <QSet>
#include <QString>

#include <memory>
#include <optional>
#include <vector>

namespace platform::vdir {

struct VdirCollection {
    VdirCollectionFolder folder;  // without its files, which only the scan keeps
    PlatformCalendar calendar;
    bool holdsEvents = false;
    bool holdsTodos = false;

    // A collection without items (and without a `components` file) counts as an event calendar. The catalog writes
    // the file into a folder it finds holding to-dos, so that a list stays one once it is emptied.
    bool isEventCalendar() const {
        return holdsEvents || folder.declaresEvents || (!holdsTodos && !folder.declaresTodos);
    }
    bool isReminderList() const { return holdsTodos || folder.declaresTodos; }
};

// One calendar item: the components of one UID in one file.
struct VdirItem {
    QString fileName;  // in its collection's folder
    // Of the file the item was read from; nullopt for a staged file not yet written.
    std::optional<VdirFileStamp> stamp;
    int collectionIndex = 0;
    IcsComponent::Kind kind = IcsComponent::Kind::Event;
    // The file lost data when it was read, or its folder is not writable: never write it back.
    bool readOnly = false;
    // An earlier file of the collection holds the UID too: the identifier names this item's file as well.
    bool uidTakenBefore = false;
    std::shared_ptr<const IcsFile> file;  // keeps `series` alive
    IcsSeries series;

    const IcsComponent& main() const { return series.master ? *series.master : *series.overrides.front(); }
    QString uid() const { return main().uid(); }
    // The stamp as a revision; made when asked, since most items are never written.
    QString etag() const { return stamp ? stamp->toString() : QString(); }
};

// eventIdentifier and calendarItemIdentifier alike: the collection's id and the UID, or the file's name where the
// UID does not tell the item. Made when asked: most items are never looked up by it, and a copy held by each item
// costs about a hundred bytes.
QString itemIdentifier(const VdirItem& item, const VdirCollection& collection);
QString itemPath(const VdirItem& item, const VdirCollection& collection);

// The collections and items below a vdir root, kept in step with the disk by reload().
class VdirCatalog {
public:
    explicit VdirCatalog(QString root);
    // A catalog that starts where this one is, to be brought up to date on another thread while this one is still
    // read here: it shares what was parsed and the zones, and only the files that changed are read again. Neither
    // changes what the other holds.
    std::unique_ptr<VdirCatalog> copy() const { return std::unique_ptr<VdirCatalog>(new VdirCatalog(*this)); }

    const QString& root() const { return m_root; }

    // Rescans the folders, re-reads the files that changed and rebuilds the index. Returns whether anything that a
    // reader could see changed (items, collections or their metadata).
    bool reload();
    // Makes the next reload read every file again, and ask again whether each may be written (it reports a change
    // only where a file did change).
    void clear();
    // Looks at these files again without rescanning the folders (after writing them): each is read anew, and its
    // items take the place of the ones it had; what was staged for them is forgotten. Returns whether anything a
    // reader could see changed, or nullopt, having changed nothing, when only a rescan can tell (a file outside the
    // known collections, the last file of a collection gone).
    std::optional<bool> refresh(const QStringList& paths);
    // See VdirFileCache::expectWrite.
    void expectWrite(const QString& path, VdirItemWrite write) { m_cache.expectWrite(path, std::move(write)); }
    // The identifiers of the items added, changed or gone since version() was `version`, when only refresh() changed
    // the index since then; nullopt when anything may have changed.
    std::optional<QStringList> changedSince(quint64 version) const;

    bool rootExists() const { return m_scan.rootExists; }
    bool rootReadable() const { return m_scan.rootReadable; }
    const QStringList& folders() const { return m_scan.folders; }

    const std::vector<VdirCollection>& collections() const { return *m_collections; }
    const VdirCollection* collectionById(const QString& identifier) const;
    const std::vector<VdirItem>& items() const { return *m_items; }
    // The collections and items as they are now, to be read on another thread: a rebuild makes new lists and
    // leaves these as they are, and the parsed files they point into are never changed.
    struct Snapshot {
        std::shared_ptr<const std::vector<VdirCollection>> collections;
        std::shared_ptr<const std::vector<VdirItem>> items;
    };
    Snapshot snapshot() const { return {m_collections, m_items}; }
    const VdirItem* item(const QString& identifier) const;
    QString identifier(const VdirItem& item) const { return itemIdentifier(item, collectionOf(item)); }
    QString path(const VdirItem& item) const { return itemPath(item, collectionOf(item)); }
    // Grows whenever the index was rebuilt: what a reader sees may have changed.
    quint64 version() const { return m_version; }

    // Staged content stands in for the file at `path` in every read until unstaged (nullopt: the file is gone).
    // A path inside a collection folder that has no file yet adds its items.
    void stage(const QString& path, std::optional<QByteArray> icsText);
    void unstage(const QString& path);
    void clearStaged();
    bool hasStaged() const { return !m_staged.isEmpty(); }

private:
    VdirCatalog(const VdirCatalog&) = default;

    // An item's position in the list under the hash of its identifier. The index holds these in the order of the
    // hashes: a lookup makes the identifiers of the items of one hash only, usually one.
    struct IndexEntry {
        size_t hash = 0;
        qsizetype position = 0;
        bool operator<(const IndexEntry& other) const {
            return hash != other.hash ? hash < other.hash : position < other.position;
        }
    };

    const VdirCollection& collectionOf(const VdirItem& item) const {
        return (*m_collections)[static_cast<size_t>(item.collectionIndex)];
    }
    void rebuildIndex();
    // Writes a `components` file into each writable folder without one that holds to-dos: sync tools write none,
    // and an emptied list would read as a calendar, taking events that the server's list refuses.
    void rememberListKinds();
    void addFileItems(int collectionIndex, const QString& fileName, const std::shared_ptr<const IcsFile>& file,
                      const std::optional<VdirFileStamp>& stamp, bool fileWritable, QHash<QString, int>& uidCount,
                      QSet<size_t>& hashes);
    // The position of the item of that identifier in the list, or -1.
    qsizetype positionOf(const QString& identifier) const;
    void indexItem(const QString& identifier, qsizetype position);
    // The items of one file, one for each UID.
    std::vector<VdirItem> fileItems(int collectionIndex, const QString& fileName,
                                    const std::shared_ptr<const IcsFile>& file,
                                    const std::optional<VdirFileStamp>& stamp, bool fileWritable) const;
    // Puts the items the cache now holds for the file where its items were; false when only a rebuild of the
    // index gives what it would (a UID that another file of the collection has too, a collection that starts or
    // stops holding events or to-dos). Adds the identifiers of the items taken out and put in to `changed`.
    bool replaceItemsOf(int collectionIndex, const VdirScannedFile& scanned, QStringList& changed);

    QString m_root;
    // Shared with the copies, whose caches resolve through it too.
    std::shared_ptr<IcsZoneResolver> m_zones = std::make_shared<IcsZoneResolver>();
    VdirFileCache m_cache;
    VdirScan m_scan;
    QHash<QString, std::optional<std::shared_ptr<const IcsFile>>> m_staged;
    std::shared_ptr<std::vector<VdirCollection>> m_collections = std::make_shared<std::vector<VdirCollection>>();
    std::shared_ptr<std::vector<VdirItem>> m_items = std::make_shared<std::vector<VdirItem>>();
    std::vector<IndexEntry> m_itemIndex;
    // Identifiers that more than one file of a collection claims (their UID is in several files); usually none.
    QSet<QString> m_sharedIdentifiers;
    quint64 m_version = 0;
    // The items each refresh() changed, for the versions since the last rebuild of the index, oldest first.
    struct Change {
        quint64 version;
        QStringList identifiers;
    };
    std::vector<Change> m_changes;
};

}  // namespace platform::vdir
