#pragma once

#include "platform/eventstore/vdir/IcsItem.h"
#include "platform/eventstore/vdir/VdirLayout.h"

#include <QHash>
#include <QString>

#include <memory>
#include <optional>

namespace platform::vdir {

class IcsZoneResolver;

struct VdirCachedFile {
    VdirFileStamp stamp;  // of the bytes that were parsed, taken from the open file
    // Of the bytes: a file rewritten in place under the stamp it had (same size, its mtime put back) still differs.
    size_t digest = 0;
    std::shared_ptr<const IcsFile> content;
};

// A file of many items we wrote by putting one item's text back into it (see IcsItemCut).
struct VdirItemWrite {
    size_t baseDigest = 0;  // of the file the item was cut out of
    QByteArray written;     // the whole file as written
    QString uid;
    // A calendar of the item's components as written; nullopt when the item left the file.
    std::optional<QByteArray> itemText;
};

// Parsed files by folder and name. Only files whose mtime, size or inode changed since they were read are read again,
// so a reload over an unchanged folder costs one directory listing.
class VdirFileCache {
public:
    explicit VdirFileCache(IcsZoneResolver& zones);

    // Brings the cache in line with the scanned files: new and changed files are read and parsed (on several
    // threads when there are many), vanished ones dropped. Logs one line for each file it has to skip. Returns
    // whether anything changed. The scan's names of files already held are replaced by the cache's own, which the
    // items share.
    bool update(VdirScan& scan);

    // Reads one file again, or forgets it when it is gone, as update() would. Returns whether what it holds changed.
    bool refresh(const QString& path, bool exists);
    // The next refresh of `path` finds `write` there. When the file reads as written and what the cache holds was
    // read from the file the item was cut out of, the item's text alone is parsed: the rest is taken over.
    void expectWrite(const QString& path, VdirItemWrite write);
    // The UID whose components alone changed in the last refresh of `path`, when it took over the rest.
    std::optional<QString> onlyChangedUid(const QString& path) const { return m_onlyChanged.value(path); }

    const VdirCachedFile* file(const QString& folder, const QString& name) const;
    const VdirCachedFile* file(const QString& path) const;
    // Forgets one file, so that the next update reads it again (after a write of our own, for instance).
    void invalidate(const QString& path);
    // Makes the next update read every file again; only files that turn out different count as a change.
    void markAllStale() { m_allStale = true; }
    bool allStale() const { return m_allStale; }
    void clear();
    qsizetype size() const;

    // Reads and parses one file now; the stamp is that of the bytes read. A file that reads as `previous` did keeps
    // what was parsed of it: a refresh that re-reads every file parses (and holds) only what changed.
    // With `write`, `tookOver` tells whether the rest of the file was taken over from `previous`.
    static VdirCachedFile load(const QString& path, IcsZoneResolver& zones, const VdirCachedFile* previous = nullptr,
                               const VdirItemWrite* write = nullptr, bool* tookOver = nullptr);
    static size_t digestOf(const QByteArray& data) { return qHash(data, 0); }

private:
    using Folder = QHash<QString, VdirCachedFile>;  // by file name

    // Whether the scan shows exactly the files held, unchanged; shares the held names with the scan.
    bool matches(VdirScan& scan) const;

    IcsZoneResolver& m_zones;
    QHash<QString, Folder> m_folders;  // by the folder's path
    // By path: few, and only until the write is read back.
    QHash<QString, VdirItemWrite> m_expected;
    QHash<QString, std::optional<QString>> m_onlyChanged;
    bool m_allStale = false;
};

}  // namespace platform::vdir
