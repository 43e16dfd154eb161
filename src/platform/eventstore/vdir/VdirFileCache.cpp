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

}  // namespace

VdirFileCache::VdirFileCache(IcsZoneResolver& zones) : m_zones(zones) {
    prepareLibical();
}

VdirCachedFile VdirFileCache::load(const QString& path, IcsZoneResolver& zones, const VdirCachedFile* previous) {
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
    result.digest = qHash(read.data, 0);
    if (previous && previous->content && previous->stamp == result.stamp && previous->digest == result.digest)
        return *previous;
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
    if (!m_allStale && matches(scan))
        return false;
    QHash<QString, VdirCachedFile> next;
    next.reserve(m_files.size() + 16);
    struct Job {
        QString path;
        const VdirCachedFile* previous = nullptr;  // in m_files, which stays as it is until all are read
        VdirCachedFile loaded;
    };
    std::vector<Job> toRead;
    for (VdirCollectionFolder& collection : scan.collections) {
        for (VdirScannedFile& scanned : collection.files) {
            const auto known = m_files.constFind(scanned.path);
            const bool isKnown = known != m_files.constEnd();
            if (isKnown)
                scanned.path = known.key();
            if (isKnown && known->stamp == scanned.stamp && !m_allStale)
                next.insert(scanned.path, *known);
            else
                toRead.push_back({scanned.path, isKnown ? &*known : nullptr, {}});
        }
    }
    auto read = [this](Job& job) { job.loaded = load(job.path, m_zones, job.previous); };
    if (static_cast<qsizetype>(toRead.size()) >= kParallelThreshold)
        QtConcurrent::blockingMap(toRead, read);
    else
        std::for_each(toRead.begin(), toRead.end(), read);

    bool changed = false;
    for (Job& job : toRead) {
        const bool same = job.previous && job.previous->content == job.loaded.content;
        changed = changed || !same;
        sayIfSkipped(job.path, job.loaded, same);
        next.insert(job.path, std::move(job.loaded));
    }
    changed = changed || next.size() != m_files.size();
    m_allStale = false;
    m_files = std::move(next);
    return changed;
}

bool VdirFileCache::matches(VdirScan& scan) const {
    qsizetype count = 0;
    bool same = true;
    for (VdirCollectionFolder& collection : scan.collections) {
        for (VdirScannedFile& scanned : collection.files) {
            const auto known = m_files.constFind(scanned.path);
            if (known == m_files.constEnd()) {
                same = false;
                continue;
            }
            // Every rescan spells each path anew; the text the cache and the items already hold stands in for it,
            // so that a path is held once however often the folder is scanned.
            scanned.path = known.key();
            same = same && known->stamp == scanned.stamp;
            ++count;
        }
    }
    return same && count == m_files.size();
}

bool VdirFileCache::refresh(const QString& path, bool exists) {
    const auto known = m_files.find(path);
    if (!exists) {
        if (known == m_files.end())
            return false;
        m_files.erase(known);
        return true;
    }
    if (known == m_files.end()) {
        VdirCachedFile loaded = load(path, m_zones);
        sayIfSkipped(path, loaded, false);
        m_files.insert(path, std::move(loaded));
        return true;
    }
    VdirCachedFile loaded = load(path, m_zones, &*known);
    const bool same = known->content == loaded.content;
    sayIfSkipped(path, loaded, same);
    *known = std::move(loaded);
    return !same;
}

const VdirCachedFile* VdirFileCache::file(const QString& path) const {
    const auto it = m_files.constFind(path);
    return it == m_files.constEnd() ? nullptr : &*it;
}

void VdirFileCache::invalidate(const QString& path) {
    m_files.remove(path);
}

void VdirFileCache::clear() {
    m_files.clear();
}

}  // namespace platform::vdir
