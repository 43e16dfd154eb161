#pragma once

#include "core/RegularFile.h"

#include <QByteArray>
#include <QString>

#include <optional>
#include <utility>

struct stat;

namespace platform::vdir {

// File names are bytes, and those written elsewhere need not be UTF-8. A name is decoded as UTF-8 with each byte
// that is not part of a valid sequence kept as the lone surrogate U+DC80 + byte (the usual surrogate escape), and encoded back
// to exactly its bytes: every file is opened by the name it has. (Qt's own decoding replaces such bytes, and the
// name then leads nowhere.)
QString decodedPath(const QByteArray& native);
QByteArray nativePath(const QString& path);
// The name as shown to the user: kept bytes read as U+FFFD.
QString displayedName(const QString& name);
// A file's folder and its name in it.
std::pair<QString, QString> splitPath(const QString& path);

// Files above this size are never read: one item per file is nowhere near it.
inline constexpr qint64 kMaxItemFileSize = 16 * 1024 * 1024;

// What identifies one version of a file on disk, the reader's and the writer's alike. Rewriting a file in place
// changes mtime or size (a program may put the old mtime back, never the old size); replacing it by a rename
// changes the inode.
struct VdirFileStamp {
    qint64 mtimeNs = 0;
    qint64 size = 0;
    quint64 inode = 0;

    bool operator==(const VdirFileStamp&) const = default;
    // "<mtime in ns>-<size>-<inode>": an item's revision, which a writer compares before replacing the file.
    QString toString() const;
    static std::optional<VdirFileStamp> fromString(const QString& text);

    static VdirFileStamp of(const struct stat& st);
    // Nullopt when the file does not exist (or cannot be looked at).
    static std::optional<VdirFileStamp> ofFile(const QString& path);
};

// Whether the file that `st` describes may be changed, given what access() said: by the owner's write bit when
// we own it, so that a file made read-only by chmod stays read-only also for root, who may write anything.
bool permitsWriting(const struct stat& st, bool accessGranted);

// What reading a file of the vdir gave, with the stamp of the file read (once it was opened).
struct RegularFileRead : core::RegularFileRead {
    VdirFileStamp stamp;
};

// Reads the regular file at `path`, at most `maxBytes` of it, without ever waiting on the opening (a FIFO has no
// writer) or the reading.
RegularFileRead readRegularFile(const QString& path, qint64 maxBytes);

}  // namespace platform::vdir
