#include "platform/eventstore/vdir/VdirCatalog.h"

#include "core/Log.h"
#include "platform/eventstore/vdir/IcsFileParser.h"
#include "platform/eventstore/vdir/VdirFileWrites.h"
#include "platform/eventstore/vdir/VdirWriter.h"

#include <QSet>

#include <algorithm>

namespace platform::vdir {

namespace {

QString escapeUid(const QString& uid) {
    QString result = escapeIdentifierPart(uid);
    result.replace(QLatin1Char('/'), QLatin1String("%2F"));
    return result;
}

bool sameFolder(const VdirCollectionFolder& a, const VdirCollectionFolder& b) {
    return a.id == b.id && a.path == b.path && a.title == b.title && a.color == b.color &&
           a.sourceTitle == b.sourceTitle && a.isLocal == b.isLocal && a.writable == b.writable &&
           a.ownerAddresses == b.ownerAddresses && a.declaresEvents == b.declaresEvents &&
           a.declaresTodos == b.declaresTodos;
}

bool sameLayout(const VdirScan& a, const VdirScan& b) {
    if (a.rootExists != b.rootExists || a.rootReadable != b.rootReadable ||
        a.collections.size() != b.collections.size())
        return false;
    // The files themselves are compared by the cache, file by file.
    for (size_t i = 0; i < a.collections.size(); ++i) {
        const auto& filesA = a.collections[i].files;
        const auto& filesB = b.collections[i].files;
        if (!sameFolder(a.collections[i], b.collections[i]) || filesA.size() != filesB.size())
            return false;
        for (size_t f = 0; f < filesA.size(); ++f)
            if (filesA[f].writable != filesB[f].writable)
                return false;
    }
    return true;
}

// The identifier an item has when its UID is its own in the collection.
QString plainIdentifier(const QString& collectionId, const QString& uid, const QString& fileName) {
    return collectionId + QLatin1Char('/') +
           (uid.isEmpty() ? QLatin1String("%%") + escapeUid(fileName) : escapeUid(uid));
}

// The item's identifier, given the one it would have if its UID were its own.
QString identifierFrom(QString plain, const VdirItem& item, bool hasUid) {
    if (item.uidTakenBefore && hasUid)
        plain += QLatin1String("%%") + escapeUid(item.fileName);
    return plain;
}

}  // namespace

QString itemIdentifier(const VdirItem& item, const VdirCollection& collection) {
    const QString uid = item.uid();
    return identifierFrom(plainIdentifier(collection.folder.id, uid, item.fileName), item, !uid.isEmpty());
}

QString itemPath(const VdirItem& item, const VdirCollection& collection) {
    return collection.folder.path + QLatin1Char('/') + item.fileName;
}

VdirCatalog::VdirCatalog(QString root) : m_root(std::move(root)), m_cache(*m_zones) {}

bool VdirCatalog::reload() {
    // A reload that reads every file again asks again of each whether it may be written.
    VdirScan scan = scanVdir(m_root, m_cache.allStale() ? nullptr : &m_scan);
    const bool filesChanged = m_cache.update(scan);
    const bool changed = filesChanged || !sameLayout(scan, m_scan);
    m_scan = std::move(scan);
    if (changed || m_items->empty()) {
        rebuildIndex();
        rememberListKinds();
    }
    return changed;
}

void VdirCatalog::rememberListKinds() {
    for (size_t i = 0; i < m_collections->size(); ++i) {
        VdirCollection& collection = (*m_collections)[i];
        VdirCollectionFolder& folder = collection.folder;
        if (!collection.holdsTodos || folder.declaresEvents || folder.declaresTodos || !folder.writable)
            continue;
        const QByteArray kinds = collection.holdsEvents ? "VEVENT\nVTODO\n" : "VTODO\n";
        try {
            // Never over a file of that name that says something else of the folder.
            if (!createFile(folder.path, QStringLiteral("components"), kinds))
                continue;
        } catch (const WriteError& error) {
            core::log(QStringLiteral("could not mark %1 as a list: %2").arg(folder.path, error.detail()));
            continue;
        }
        folder.declaresTodos = true;
        folder.declaresEvents = collection.holdsEvents;
        // As the next scan will find it: the file written is no change to report.
        m_scan.collections[i].declaresTodos = true;
        m_scan.collections[i].declaresEvents = collection.holdsEvents;
    }
}

void VdirCatalog::clear() {
    m_cache.markAllStale();
}

const VdirCollection* VdirCatalog::collectionById(const QString& identifier) const {
    for (const VdirCollection& c : *m_collections)
        if (c.calendar.calendarIdentifier == identifier)
            return &c;
    return nullptr;
}

const VdirItem* VdirCatalog::item(const QString& identifier) const {
    const qsizetype position = positionOf(identifier);
    return position < 0 ? nullptr : &(*m_items)[static_cast<size_t>(position)];
}

qsizetype VdirCatalog::positionOf(const QString& identifier) const {
    const size_t hash = qHash(identifier);
    for (auto it = std::lower_bound(m_itemIndex.begin(), m_itemIndex.end(), IndexEntry{hash, 0});
         it != m_itemIndex.end() && it->hash == hash; ++it)
        if (this->identifier((*m_items)[static_cast<size_t>(it->position)]) == identifier)
            return it->position;
    return -1;
}

void VdirCatalog::indexItem(const QString& identifier, qsizetype position) {
    const IndexEntry entry{qHash(identifier), position};
    m_itemIndex.insert(std::lower_bound(m_itemIndex.begin(), m_itemIndex.end(), entry), entry);
}

void VdirCatalog::stage(const QString& path, std::optional<QByteArray> icsText) {
    if (!icsText) {
        m_staged.insert(path, std::nullopt);
    } else {
        const IcsFileParser parser(*m_zones);
        m_staged.insert(path, std::make_shared<IcsFile>(parser.parse(*icsText)));
    }
    rebuildIndex();
}

void VdirCatalog::unstage(const QString& path) {
    if (m_staged.remove(path))
        rebuildIndex();
}

void VdirCatalog::clearStaged() {
    if (m_staged.isEmpty())
        return;
    m_staged.clear();
    rebuildIndex();
}

void VdirCatalog::rebuildIndex() {
    ++m_version;
    m_changes.clear();
    m_sharedIdentifiers.clear();
    // A snapshot handed to another thread keeps the old lists.
    m_collections = std::make_shared<std::vector<VdirCollection>>();
    m_items = std::make_shared<std::vector<VdirItem>>();
    m_itemIndex.clear();
    for (VdirCollectionFolder& folder : m_scan.collections) {
        VdirCollection collection;
        // The list of files stays with the scan: a copy in each collection would be a second record per file.
        std::vector<VdirScannedFile> files = std::move(folder.files);
        collection.folder = folder;
        folder.files = std::move(files);
        collection.calendar.calendarIdentifier = folder.id;
        collection.calendar.title = folder.title;
        collection.calendar.color = folder.color;
        collection.calendar.sourceTitle = folder.sourceTitle;
        collection.calendar.allowsContentModifications = folder.writable;
        collection.calendar.isSubscribed = !folder.writable;
        m_collections->push_back(std::move(collection));
    }

    // Most files hold one item: the list is sized once, and no room is left over for as long as it is kept.
    m_items->reserve(static_cast<size_t>(m_cache.size() + m_staged.size()));
    m_itemIndex.reserve(static_cast<size_t>(m_cache.size() + m_staged.size()));
    // The hashes of the identifiers so far: an identifier is looked for among the items only when its hash is
    // taken.
    QSet<size_t> hashes;
    hashes.reserve(m_cache.size() + m_staged.size());
    QHash<QString, bool> seenPaths;
    for (size_t ci = 0; ci < m_collections->size(); ++ci) {
        QHash<QString, int> uidCount;
        const VdirCollectionFolder& folder = m_scan.collections[ci];
        for (const VdirScannedFile& scanned : folder.files) {
            if (!m_staged.isEmpty()) {
                const QString path = folder.path + QLatin1Char('/') + scanned.name;
                seenPaths.insert(path, true);
                const auto staged = m_staged.constFind(path);
                if (staged != m_staged.constEnd()) {
                    if (*staged)
                        addFileItems(static_cast<int>(ci), scanned.name, **staged, scanned.stamp, scanned.writable,
                                     uidCount, hashes);
                    continue;
                }
            }
            if (const VdirCachedFile* cached = m_cache.file(folder.path, scanned.name))
                addFileItems(static_cast<int>(ci), scanned.name, cached->content, cached->stamp,
                             scanned.writable, uidCount, hashes);
        }
        // Staged files that are not on disk yet.
        for (auto it = m_staged.constBegin(); it != m_staged.constEnd(); ++it) {
            if (!*it || seenPaths.contains(it.key()) || splitPath(it.key()).first != folder.path)
                continue;
            addFileItems(static_cast<int>(ci), splitPath(it.key()).second, **it, std::nullopt, true, uidCount, hashes);
        }
        for (auto it = uidCount.constBegin(); it != uidCount.constEnd(); ++it)
            if (it.value() > 1)
                m_sharedIdentifiers.insert(it.key());
    }
    std::sort(m_itemIndex.begin(), m_itemIndex.end());
}

void VdirCatalog::addFileItems(int collectionIndex, const QString& fileName, const std::shared_ptr<const IcsFile>& file,
                               const std::optional<VdirFileStamp>& stamp, bool fileWritable,
                               QHash<QString, int>& uidCount, QSet<size_t>& hashes) {
    VdirCollection& collection = (*m_collections)[static_cast<size_t>(collectionIndex)];
    for (VdirItem& item : fileItems(collectionIndex, fileName, file, stamp, fileWritable)) {
        // A file of a hundred thousand items spells each identifier once.
        const QString uid = item.uid();
        QString plain = plainIdentifier(collection.folder.id, uid, fileName);
        item.uidTakenBefore = uidCount[plain]++ > 0;
        if (item.kind == IcsComponent::Kind::Todo)
            collection.holdsTodos = true;
        else
            collection.holdsEvents = true;
        const QString identifier = identifierFrom(std::move(plain), item, !uid.isEmpty());
        const size_t hash = qHash(identifier);
        const auto position = static_cast<qsizetype>(m_items->size());
        if (hashes.contains(hash)) {
            const bool taken = std::any_of(m_itemIndex.begin(), m_itemIndex.end(), [&](const IndexEntry& entry) {
                return entry.hash == hash && this->identifier((*m_items)[static_cast<size_t>(entry.position)]) ==
                                                 identifier;
            });
            if (taken)
                continue;
        }
        hashes.insert(hash);
        m_itemIndex.push_back({hash, position});
        m_items->push_back(std::move(item));
    }
}

std::vector<VdirItem> VdirCatalog::fileItems(int collectionIndex, const QString& fileName,
                                             const std::shared_ptr<const IcsFile>& file,
                                             const std::optional<VdirFileStamp>& stamp, bool fileWritable) const {
    std::vector<VdirItem> items;
    if (!file || !file->problem.isEmpty())
        return items;
    const VdirCollection& collection = (*m_collections)[static_cast<size_t>(collectionIndex)];

    // Group by UID, keeping the order of first appearance.
    std::vector<std::pair<QString, IcsSeries>> groups;
    // A file may hold a hundred thousand components: each finds its group at once.
    QHash<QString, size_t> groupOf;
    groupOf.reserve(static_cast<qsizetype>(file->components.size()));
    // UIDs with a second component without RECURRENCE-ID: it is not shown, yet every edit finds its components
    // by UID, so a deletion would take it along unseen.
    QSet<QString> ambiguous;
    for (const IcsComponent& component : file->components) {
        const QString uid = component.uid();
        auto found = groupOf.constFind(uid);
        if (found == groupOf.constEnd()) {
            found = groupOf.insert(uid, groups.size());
            groups.emplace_back(uid, IcsSeries{});
        }
        IcsSeries& group = groups[*found].second;
        if (component.recurrenceId)
            group.overrides.push_back(&component);
        else if (!group.master)
            group.master = &component;
        else
            ambiguous.insert(uid);
    }

    items.reserve(groups.size());
    for (auto& [uid, series] : groups) {
        if (!series.master && series.overrides.empty())
            continue;
        VdirItem item;
        item.fileName = fileName;
        item.stamp = stamp;
        item.collectionIndex = collectionIndex;
        item.file = file;
        item.series = std::move(series);
        item.kind = item.main().kind;
        item.readOnly = file->hasErrors || !fileWritable || !collection.folder.writable || ambiguous.contains(uid);
        items.push_back(std::move(item));
    }
    return items;
}

std::optional<bool> VdirCatalog::refresh(const QStringList& paths) {
    // Each file added or gone moves the items after it in the index: beyond a few, a rescan costs less.
    constexpr qsizetype kMostFiles = 32;
    if (paths.size() > kMostFiles)
        return std::nullopt;
    // Where each file sits in the scan, and what it is now. Nothing is changed before every file is known to be
    // within reach of a refresh.
    struct Look {
        QString path;
        QString name;
        int collection = 0;
        std::optional<VdirScannedFile> now;
    };
    std::vector<Look> looks;
    // Per collection, how many of its files go.
    QHash<int, size_t> goneFrom;
    for (const QString& path : paths) {
        // Named, not structured bindings: clang-14 (the fuzz build's) lets no lambda capture those.
        auto split = splitPath(path);
        const QString folder = std::move(split.first);
        QString name = std::move(split.second);
        const auto collection = std::find_if(m_scan.collections.begin(), m_scan.collections.end(),
                                             [&](const VdirCollectionFolder& c) { return c.path == folder; });
        std::optional<VdirScannedFile> now = scanFile(path);
        if (collection == m_scan.collections.end()) {
            if (now)
                return std::nullopt;
            continue;  // neither listed nor there
        }
        const int index = static_cast<int>(collection - m_scan.collections.begin());
        // Without files (and without metadata of its own, which only a rescan reads) a folder is no collection.
        const auto listed = [&] {
            return std::any_of(collection->files.begin(), collection->files.end(),
                               [&](const VdirScannedFile& f) { return f.name == name; });
        };
        if (!now && listed() && ++goneFrom[index] == collection->files.size())
            return std::nullopt;
        looks.push_back({path, std::move(name), index, std::move(now)});
    }

    // Staged texts are shown outside the order of the files: only a rebuild takes them out again.
    bool rebuild = !m_staged.isEmpty();
    for (const QString& path : paths)
        m_staged.remove(path);
    bool changed = rebuild;
    QStringList changedItems;
    for (Look& look : looks) {
        std::vector<VdirScannedFile>& files = m_scan.collections[static_cast<size_t>(look.collection)].files;
        // In the order of the listing: by the bytes of the names.
        const QByteArray key = nativePath(look.name);
        auto at = std::lower_bound(files.begin(), files.end(), key, [](const VdirScannedFile& f, const QByteArray& k) {
            return nativePath(f.name) < k;
        });
        const bool listed = at != files.end() && at->name == look.name;
        // The folder watch reports our own writes too, once they are read back: a rescan would not read the file
        // again either.
        const VdirCachedFile* cached = m_cache.file(look.path);
        if (look.now && listed && at->stamp == look.now->stamp && at->writable == look.now->writable && cached &&
            cached->stamp == look.now->stamp)
            continue;
        bool fileChanged = false;
        if (look.now && listed) {
            fileChanged = at->writable != look.now->writable;
            at->stamp = look.now->stamp;
            at->writable = look.now->writable;
            at->mode = look.now->mode;
            at->statusChangeNs = look.now->statusChangeNs;
        } else if (look.now) {
            at = files.insert(at, *look.now);
            fileChanged = true;
        } else if (listed) {
            files.erase(at);
            fileChanged = true;
        }
        fileChanged = m_cache.refresh(look.path, look.now.has_value()) || fileChanged;
        if (!fileChanged)
            continue;
        changed = true;
        if (!rebuild) {
            const VdirScannedFile gone{look.name, {}, false};
            rebuild = !replaceItemsOf(look.collection, look.now ? *at : gone, changedItems);
        }
    }
    if (rebuild) {
        rebuildIndex();
    } else if (changed) {
        ++m_version;
        changedItems.removeDuplicates();
        m_changes.push_back({m_version, std::move(changedItems)});
        // Readers that fell further behind read everything again.
        constexpr size_t kChangesKept = 64;
        if (m_changes.size() > kChangesKept)
            m_changes.erase(m_changes.begin());
    }
    return changed;
}

bool VdirCatalog::replaceItemsOf(int collectionIndex, const VdirScannedFile& scanned, QStringList& changed) {
    const VdirCollection& collection = (*m_collections)[static_cast<size_t>(collectionIndex)];
    const VdirCachedFile* cached = m_cache.file(collection.folder.path, scanned.name);
    std::vector<VdirItem> fresh =
        cached ? fileItems(collectionIndex, scanned.name, cached->content, cached->stamp, scanned.writable)
               : std::vector<VdirItem>{};

    // The file's items lie together, in the order of the listing, within their collection's.
    std::vector<VdirItem>& items = *m_items;
    const auto collectionBegin = std::partition_point(
        items.begin(), items.end(), [&](const VdirItem& item) { return item.collectionIndex < collectionIndex; });
    const auto collectionEnd = std::partition_point(
        collectionBegin, items.end(), [&](const VdirItem& item) { return item.collectionIndex == collectionIndex; });
    const QByteArray key = nativePath(scanned.name);
    const auto first =
        std::lower_bound(collectionBegin, collectionEnd, key,
                         [](const VdirItem& item, const QByteArray& k) { return nativePath(item.fileName) < k; });
    auto last = first;
    while (last != collectionEnd && last->fileName == scanned.name)
        ++last;
    const auto begin = static_cast<qsizetype>(first - items.begin());
    const auto end = static_cast<qsizetype>(last - items.begin());

    // An identifier that another file claims too depends on the order of all the files that claim it.
    for (auto it = first; it != last; ++it)
        if (m_sharedIdentifiers.contains(plainIdentifier(collection.folder.id, it->uid(), it->fileName)))
            return false;
    QStringList freshIdentifiers;
    for (const VdirItem& item : fresh) {
        QString identifier = itemIdentifier(item, collection);
        if (m_sharedIdentifiers.contains(identifier))
            return false;
        const qsizetype held = positionOf(identifier);
        if (held >= 0 && (held < begin || held >= end))
            return false;
        freshIdentifiers << std::move(identifier);
    }

    // Whether the collection holds events and to-dos once the file's items are replaced.
    bool holdsEvents = false;
    bool holdsTodos = false;
    const auto note = [&](const VdirItem& item) {
        (item.kind == IcsComponent::Kind::Todo ? holdsTodos : holdsEvents) = true;
    };
    std::for_each(collectionBegin, first, note);
    std::for_each(last, collectionEnd, note);
    std::for_each(fresh.begin(), fresh.end(), note);
    if (holdsEvents != collection.holdsEvents || holdsTodos != collection.holdsTodos)
        return false;

    // A snapshot handed to another thread keeps the list it has.
    if (m_items.use_count() > 1)
        m_items = std::make_shared<std::vector<VdirItem>>(*m_items);
    std::vector<VdirItem>& list = *m_items;
    // Where the cache took the rest of the file over from what it held, the other items read as they did.
    const std::optional<QString> onlyUid =
        m_cache.onlyChangedUid(collection.folder.path + QLatin1Char('/') + scanned.name);
    for (qsizetype i = begin; i < end; ++i)
        if (!onlyUid || list[static_cast<size_t>(i)].uid() == *onlyUid)
            changed << identifier(list[static_cast<size_t>(i)]);
    for (size_t i = 0; i < fresh.size(); ++i)
        if (!onlyUid || fresh[i].uid() == *onlyUid)
            changed << freshIdentifiers[static_cast<qsizetype>(i)];
    // The file's entries go, and the items after them move by as many as the file gains or loses; the order of the
    // entries stays as it is.
    const auto freshCount = static_cast<qsizetype>(fresh.size());
    const qsizetype moved = freshCount - (end - begin);
    std::erase_if(m_itemIndex,
                  [&](const IndexEntry& entry) { return entry.position >= begin && entry.position < end; });
    if (moved == 0) {
        std::move(fresh.begin(), fresh.end(), list.begin() + begin);
    } else {
        list.erase(list.begin() + begin, list.begin() + end);
        list.insert(list.begin() + begin, std::make_move_iterator(fresh.begin()), std::make_move_iterator(fresh.end()));
        for (IndexEntry& entry : m_itemIndex)
            if (entry.position >= end)
                entry.position += moved;
    }
    for (qsizetype i = 0; i < freshCount; ++i)
        indexItem(freshIdentifiers[i], begin + i);
    return true;
}

std::optional<QStringList> VdirCatalog::changedSince(quint64 version) const {
    if (version == m_version)
        return QStringList();
    if (version > m_version || m_changes.empty() || m_changes.front().version > version + 1)
        return std::nullopt;
    QStringList identifiers;
    for (const Change& change : m_changes)
        if (change.version > version)
            identifiers += change.identifiers;
    identifiers.removeDuplicates();
    return identifiers;
}

}  // namespace platform::vdir
