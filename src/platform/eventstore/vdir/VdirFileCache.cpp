#include "platform/eventstore/vdir/VdirFileCache.h"

#include "core/Log.h"
#include "platform/eventstore/vdir/IcsFileParser.h"

#include <QtConcurrent/QtConcurrentMap>

#include <vector>

namespace platform::vdir {

namespace {

// Below this many files the thread hand-off costs more than it saves.
constexpr qsizetype kParallelThreshold = 16;

std::shared_ptr<const IcsFile> failure(const QString& problem) {
    auto file = std::make_shared<IcsFile>();
    file->problem = problem;
    return file;
}

// Says once, when a file turns up unusable, why it is left out.
void sayIfSkipped(const QString& path, const VdirCachedFile& loaded, bool sameAsBefore) {
    if (!loaded.content->problem.isEmpty() && !sameAsBefore)
        core::log(QStringLiteral("skipped %1: %2").arg(path, loaded.content->problem));
}

// The parse of `write.written` from `base`, the parse of the file the item was cut out of: the other items' components
// are copied, the item's parsed from its own text, in the place of its first. Null when the item's text cannot be
// read alone.
std::shared_ptr<const IcsFile> withItemReplaced(const IcsFile& base, const VdirItemWrite& write,
                                                IcsZoneResolver& zones) {
    IcsFile item;
    if (write.itemText) {
        item = IcsFileParser(zones).parse(*write.itemText);
        if (!item.problem.isEmpty())
            return nullptr;
    }
    auto file = std::make_shared<IcsFile>();
    file->hasErrors = base.hasErrors || item.hasErrors;
    file->components.reserve(base.components.size() + item.components.size());
    bool found = false;
    for (const IcsComponent& component : base.components) {
        if (component.uid() != write.uid) {
            file->components.push_back(component.copy());
            continue;
        }
        if (!found)
            std::move(item.components.begin(), item.components.end(), std::back_inserter(file->components));
        found = true;
    }
    if (!found)
        return nullptr;
    return file;
}

}  // namespace

VdirFileCache::VdirFileCache(IcsZoneResolver& zones) : m_zones(zones) {
    prepareLibical();
}

VdirCachedFile VdirFileCache::load(const QString& path, IcsZoneResolver& zones, const VdirCachedFile* previous,
                                   const VdirItemWrite* write, bool* tookOver) {
    VdirCachedFile result;
    const RegularFileRead read = readRegularFile(path, kMaxItemFileSize);
    result.stamp = read.stamp;
    if (!read.ok()) {
        const QString problem = read.problem(kMaxItemFileSize);
        if (previous && previous->content && previous->stamp == result.stamp && previous->content->problem == problem)
            return *previous;
        result.content = failure(problem);
        return result;
    }
    result.digest = digestOf(read.data);
    if (previous && previous->content && previous->stamp == result.stamp && previous->digest == result.digest)
        return *previous;
    if (write && previous && previous->content && previous->content->problem.isEmpty() &&
        previous->digest == write->baseDigest && read.data == write->written) {
        result.content = withItemReplaced(*previous->content, *write, zones);
        if (tookOver)
            *tookOver = result.content != nullptr;
        if (result.content)
            return result;
    }
    if (read.data.contains('\0')) {
        // libical would stop at the first NUL and read whatever came before as if it were the whole file.
        result.content = failure(QStringLiteral("contains binary data"));
        return result;
    }
    const IcsFileParser parser(zones);
    result.content = std::make_shared<IcsFile>(parser.parse(read.data));
    return result;
}

bool VdirFileCache::update(VdirScan& scan) {
    // A full read finds out for itself.
    m_expected.clear();
    m_onlyChanged.clear();
    if (!m_allStale && matches(scan))
        return false;
    QHash<QString, Folder> next;
    next.reserve(static_cast<qsizetype>(scan.collections.size()));
    struct Job {
        QString folder;
        QString name;
        const VdirCachedFile* previous = nullptr;  // in m_folders, which stays as it is until all are read
        VdirCachedFile loaded;
    };
    std::vector<Job> toRead;
    for (VdirCollectionFolder& collection : scan.collections) {
        const auto held = m_folders.constFind(collection.path);
        Folder files;
        files.reserve(static_cast<qsizetype>(collection.files.size()));
        for (VdirScannedFile& scanned : collection.files) {
            const VdirCachedFile* known = nullptr;
            if (held != m_folders.constEnd()) {
                if (const auto it = held->constFind(scanned.name); it != held->constEnd()) {
                    scanned.name = it.key();
                    known = &*it;
                }
            }
            if (known && known->stamp == scanned.stamp && !m_allStale)
                files.insert(scanned.name, *known);
            else
                toRead.push_back({collection.path, scanned.name, known, {}});
        }
        next.insert(collection.path, std::move(files));
    }
    auto read = [this](Job& job) {
        job.loaded = load(job.folder + QLatin1Char('/') + job.name, m_zones, job.previous);
    };
    if (static_cast<qsizetype>(toRead.size()) >= kParallelThreshold)
        QtConcurrent::blockingMap(toRead, read);
    else
        std::for_each(toRead.begin(), toRead.end(), read);

    bool changed = false;
    for (Job& job : toRead) {
        const bool same = job.previous && job.previous->content == job.loaded.content;
        changed = changed || !same;
        sayIfSkipped(job.folder + QLatin1Char('/') + job.name, job.loaded, same);
        next[job.folder].insert(job.name, std::move(job.loaded));
    }
    const qsizetype heldBefore = size();
    m_allStale = false;
    m_folders = std::move(next);
    return changed || size() != heldBefore;
}

bool VdirFileCache::matches(VdirScan& scan) const {
    qsizetype count = 0;
    bool same = true;
    for (VdirCollectionFolder& collection : scan.collections) {
        const auto held = m_folders.constFind(collection.path);
        for (VdirScannedFile& scanned : collection.files) {
            const auto known = held == m_folders.constEnd() ? Folder::const_iterator() : held->constFind(scanned.name);
            if (held == m_folders.constEnd() || known == held->constEnd()) {
                same = false;
                continue;
            }
            // Every rescan spells each name anew; the text the cache and the items already hold stands in for it,
            // so that a name is held once however often the folder is scanned.
            scanned.name = known.key();
            same = same && known->stamp == scanned.stamp;
            ++count;
        }
    }
    return same && count == size();
}

void VdirFileCache::expectWrite(const QString& path, VdirItemWrite write) {
    m_expected.insert(path, std::move(write));
}

bool VdirFileCache::refresh(const QString& path, bool exists) {
    const std::optional<VdirItemWrite> write =
        m_expected.contains(path) ? std::optional(m_expected.take(path)) : std::nullopt;
    m_onlyChanged.remove(path);
    const auto [folder, name] = splitPath(path);
    auto held = m_folders.find(folder);
    if (!exists) {
        return held != m_folders.end() && held->remove(name);
    }
    if (held == m_folders.end())
        held = m_folders.insert(folder, {});
    const auto known = held->find(name);
    if (known == held->end()) {
        VdirCachedFile loaded = load(path, m_zones);
        sayIfSkipped(path, loaded, false);
        held->insert(name, std::move(loaded));
        return true;
    }
    bool tookOver = false;
    VdirCachedFile loaded = load(path, m_zones, &*known, write ? &*write : nullptr, &tookOver);
    const bool same = known->content == loaded.content;
    // Whether the file lost data when it was read makes every item of it read-only or not.
    if (tookOver && loaded.content->hasErrors == known->content->hasErrors)
        m_onlyChanged.insert(path, write->uid);
    sayIfSkipped(path, loaded, same);
    *known = std::move(loaded);
    return !same;
}

const VdirCachedFile* VdirFileCache::file(const QString& folder, const QString& name) const {
    const auto held = m_folders.constFind(folder);
    if (held == m_folders.constEnd())
        return nullptr;
    const auto it = held->constFind(name);
    return it == held->constEnd() ? nullptr : &*it;
}

const VdirCachedFile* VdirFileCache::file(const QString& path) const {
    const auto [folder, name] = splitPath(path);
    return file(folder, name);
}

void VdirFileCache::invalidate(const QString& path) {
    const auto [folder, name] = splitPath(path);
    if (const auto held = m_folders.find(folder); held != m_folders.end())
        held->remove(name);
}

void VdirFileCache::clear() {
    m_folders.clear();
}

qsizetype VdirFileCache::size() const {
    qsizetype count = 0;
    for (const Folder& files : m_folders)
        count += files.size();
    return count;
}

}  // namespace platform::vdir
