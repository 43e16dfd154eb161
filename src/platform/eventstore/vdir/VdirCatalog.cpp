#include "platform/eventstore/vdir/VdirCatalog.h"

#include "platform/eventstore/vdir/IcsFileParser.h"

#include <QFileInfo>
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
    // The files themselves are compared by the cache, path by path.
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

}  // namespace

VdirCatalog::VdirCatalog(QString root) : m_root(std::move(root)), m_cache(m_zones) {}

bool VdirCatalog::reload() {
    VdirScan scan = scanVdir(m_root);
    const bool filesChanged = m_cache.update(scan);
    const bool changed = filesChanged || !sameLayout(scan, m_scan);
    m_scan = std::move(scan);
    const bool stale = m_indexStale;
    if (changed || stale || m_items->empty())
        rebuildIndex();
    return changed || stale;
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
    const auto it = m_itemIndex.constFind(identifier);
    return it == m_itemIndex.constEnd() ? nullptr : &(*m_items)[static_cast<size_t>(*it)];
}

void VdirCatalog::stage(const QString& path, std::optional<QByteArray> icsText) {
    if (!icsText) {
        m_staged.insert(path, std::nullopt);
    } else {
        const IcsFileParser parser(m_zones);
        m_staged.insert(path, std::make_shared<IcsFile>(parser.parse(*icsText)));
    }
    rebuildIndex();
}

void VdirCatalog::unstage(const QString& path) {
    if (m_staged.remove(path))
        rebuildIndex();
}

void VdirCatalog::forgetWritten(const QString& path) {
    m_indexStale = m_staged.remove(path) || m_indexStale;
    m_cache.invalidate(path);
}

void VdirCatalog::clearStaged() {
    if (m_staged.isEmpty())
        return;
    m_staged.clear();
    rebuildIndex();
}

void VdirCatalog::rebuildIndex() {
    ++m_version;
    m_indexStale = false;
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
    m_itemIndex.reserve(m_cache.size() + m_staged.size());
    QHash<QString, bool> seenPaths;
    for (size_t ci = 0; ci < m_collections->size(); ++ci) {
        QHash<QString, int> uidCount;
        const VdirCollectionFolder& folder = m_scan.collections[ci];
        for (const VdirScannedFile& scanned : folder.files) {
            seenPaths.insert(scanned.path, true);
            const auto staged = m_staged.constFind(scanned.path);
            if (staged != m_staged.constEnd()) {
                if (*staged)
                    addFileItems(static_cast<int>(ci), scanned.path, **staged, scanned.stamp, scanned.writable,
                                 uidCount);
                continue;
            }
            if (const VdirCachedFile* cached = m_cache.file(scanned.path))
                addFileItems(static_cast<int>(ci), scanned.path, cached->content, cached->stamp,
                             scanned.writable, uidCount);
        }
        // Staged files that are not on disk yet.
        for (auto it = m_staged.constBegin(); it != m_staged.constEnd(); ++it) {
            if (!*it || seenPaths.contains(it.key()) || QFileInfo(it.key()).path() != folder.path)
                continue;
            addFileItems(static_cast<int>(ci), it.key(), **it, std::nullopt, true, uidCount);
        }
    }
}

void VdirCatalog::addFileItems(int collectionIndex, const QString& path, const std::shared_ptr<const IcsFile>& file,
                               const std::optional<VdirFileStamp>& stamp, bool fileWritable, QHash<QString, int>& uidCount) {
    if (!file || !file->problem.isEmpty())
        return;
    VdirCollection& collection = (*m_collections)[static_cast<size_t>(collectionIndex)];
    const QString fileName = QFileInfo(path).fileName();

    // Group by UID, keeping the order of first appearance.
    std::vector<std::pair<QString, IcsSeries>> groups;
    // A file may hold a hundred thousand components: each finds its group at once.
    QHash<QString, size_t> groupOf;
    groupOf.reserve(static_cast<qsizetype>(file->components.size()));
    // UIDs with a second component without RECURRENCE-ID: it is not shown, yet every edit finds its components
    // by UID, so a deletion would take it along unseen.
    QSet<QString> ambiguous;
    for (const IcsComponent& component : file->components) {
        auto found = groupOf.constFind(component.uid);
        if (found == groupOf.constEnd()) {
            found = groupOf.insert(component.uid, groups.size());
            groups.emplace_back(component.uid, IcsSeries{});
        }
        IcsSeries& group = groups[*found].second;
        if (component.recurrenceId)
            group.overrides.push_back(&component);
        else if (!group.master)
            group.master = &component;
        else
            ambiguous.insert(component.uid);
    }

    for (auto& [uid, series] : groups) {
        if (!series.master && series.overrides.empty())
            continue;
        VdirItem item;
        item.uid = uid;
        item.path = path;
        item.stamp = stamp;
        item.collectionIndex = collectionIndex;
        item.file = file;
        item.series = std::move(series);
        item.kind = item.main().kind;
        item.readOnly = file->hasErrors || !fileWritable || !collection.folder.writable || ambiguous.contains(uid);
        QString identifier = collection.folder.id + QLatin1Char('/');
        if (uid.isEmpty())
            identifier += QLatin1String("%%") + escapeUid(fileName);
        else
            identifier += escapeUid(uid);
        if (uidCount[identifier]++ > 0 && !uid.isEmpty())
            identifier += QLatin1String("%%") + escapeUid(fileName);
        item.identifier = identifier;
        if (item.kind == IcsComponent::Kind::Todo)
            collection.holdsTodos = true;
        else
            collection.holdsEvents = true;
        if (m_itemIndex.contains(identifier))
            continue;
        m_itemIndex.insert(identifier, static_cast<qsizetype>(m_items->size()));
        m_items->push_back(std::move(item));
    }
}

}  // namespace platform::vdir
