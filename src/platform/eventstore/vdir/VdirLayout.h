#pragma once

#include "core/Color.h"
#include "platform/eventstore/vdir/VdirFileSystem.h"

#include <QString>
#include <QStringList>

#include <optional>
#include <vector>

namespace platform::vdir {

struct VdirScannedFile {
    // In its collection's folder. Only the name is held: the scan, the file cache and the items share it, and a
    // whole path per file would cost more than what is kept of most events.
    QString name;
    VdirFileStamp stamp;
    // False for a symbolic link (it may lead out of the collection, and an edit would write wherever it leads) and
    // for a file its owner made read-only.
    bool writable = true;
    // What else of the file decides whether it may be written: its mode, and when its status last changed (chmod,
    // chown, ACLs and file attributes all move that time). While neither moves, the last answer stands.
    quint32 mode = 0;
    qint64 statusChangeNs = 0;
};

// A folder of .ics files, as found on disk; the kinds of items it holds are known only after parsing.
struct VdirCollectionFolder {
    QString id;    // stable, unique, free of "|": the folder's path below the root, escaped
    QString path;  // absolute
    QString title;
    std::optional<core::Color> color;
    QString sourceTitle;
    bool isLocal = true;  // directly in the root rather than in an account folder
    bool writable = true;
    QStringList ownerAddresses;  // lower-case addresses without "mailto:"
    // From an optional `components` file ("VEVENT", "VTODO"): what an empty collection is for.
    bool declaresEvents = false;
    bool declaresTodos = false;
    std::vector<VdirScannedFile> files;  // sorted by name
};

struct VdirScan {
    bool rootExists = false;
    bool rootReadable = false;
    std::vector<VdirCollectionFolder> collections;  // sorted by id
    QStringList folders;  // the root, account and collection folders: what to watch for changes
};

// The title of collections that sit directly in the root.
QString localSourceTitle();

// Reads the layout below `root`: collections directly in it, or one level down in account folders. Hidden
// entries, .tmp and extension-less files are ignored; symbolic links to folders are followed. Given the scan
// before, a file whose stamp, mode and status time are as they were keeps whether it may be written, without
// asking the system again: on a rescan of thousands of unchanged files that question was a third of the time.
VdirScan scanVdir(const QString& root, const VdirScan* before = nullptr);

// Whether scanVdir() reads a file of that name as an item file (a visible .ics file); the others of a collection's
// folder are its metadata or nothing of ours.
bool isItemFileName(const QString& fileName);

// One file as scanVdir() would find it in its folder; nullopt when the scan would not list it (gone, hidden, not a
// plain .ics file).
std::optional<VdirScannedFile> scanFile(const QString& path);

// Escapes "%" and "|" so that any folder name or UID can sit in an identifier that is split at "|".
QString escapeIdentifierPart(const QString& part);

// Whether the current user may write into / list the folder. Judged by the owner's permission bits when we own
// it, so that a folder made read-only by chmod stays read-only even for root.
bool folderIsWritable(const QString& path);
bool folderIsReadable(const QString& path);

}  // namespace platform::vdir
