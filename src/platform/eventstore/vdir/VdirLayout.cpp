#include "platform/eventstore/vdir/VdirLayout.h"
#include "platform/eventstore/vdir/VdirFileSystem.h"

#include <QFile>
#include <QtConcurrent/QtConcurrentMap>

#include <dirent.h>
#include <fcntl.h>
#include <sys/stat.h>
#include <unistd.h>

#include <algorithm>
#include <memory>

namespace platform::vdir {

QString localSourceTitle() {
    return QStringLiteral("On This Computer");
}

QString escapeIdentifierPart(const QString& part) {
    QString result;
    result.reserve(part.size());
    for (QChar c : part) {
        if (c == QLatin1Char('%'))
            result += QLatin1String("%25");
        else if (c == QLatin1Char('|'))
            result += QLatin1String("%7C");
        else if (c.unicode() >= 0xDC80 && c.unicode() <= 0xDCFF)  // a byte of a name that is not UTF-8
            result += QStringLiteral("%%1").arg(c.unicode() - 0xDC00, 2, 16, QLatin1Char('0')).toUpper();
        else
            result += c;
    }
    return result;
}

namespace {

struct DirCloser {
    void operator()(DIR* dir) const { closedir(dir); }
};

bool permits(const QString& path, int accessMode, mode_t ownerBits) {
    const QByteArray native = nativePath(path);
    struct stat st {};
    if (::stat(native.constData(), &st) != 0 || !S_ISDIR(st.st_mode))
        return false;
    if (::access(native.constData(), accessMode) != 0)
        return false;
    return st.st_uid != ::geteuid() || (st.st_mode & ownerBits) == ownerBits;
}

// Metadata files hold a name, a colour or a few addresses.
constexpr qint64 kMaxMetadataSize = 16 * 1024;

QString readSmallFile(const QString& path) {
    const RegularFileRead read = readRegularFile(path, kMaxMetadataSize);
    return read.ok() ? QString::fromUtf8(read.data).trimmed() : QString();
}

QStringList readAddresses(const QString& path) {
    QStringList addresses;
    for (QString line : readSmallFile(path).split(QLatin1Char('\n'), Qt::SkipEmptyParts)) {
        line = line.trimmed().toLower();
        if (line.startsWith(QLatin1String("mailto:")))
            line = line.mid(7);
        if (!line.isEmpty())
            addresses << line;
    }
    return addresses;
}

struct FolderListing {
    bool writable = false;  // whether we may write into the folder
    std::vector<VdirScannedFile> icsFiles;
    QStringList subfolders;  // names
    bool hasMetadata = false;
};

qint64 statusChangeNsOf(const struct stat& st) {
    return static_cast<qint64>(st.st_ctim.tv_sec) * 1000000000LL + st.st_ctim.tv_nsec;
}

struct Entry {
    QByteArray name;
    QString fileName;
    // The file of that name in the scan before, when its answer to whether it may be written may stand.
    const VdirScannedFile* before = nullptr;
    struct stat st {};
    bool ok = false;
    bool isLink = false;
    bool writable = false;
};

bool unchangedSince(const VdirScannedFile& before, const struct stat& st) {
    return before.stamp == VdirFileStamp::of(st) && before.mode == st.st_mode &&
           before.statusChangeNs == statusChangeNsOf(st);
}

// `fd`: the folder the name is relative to, or AT_FDCWD for a full path.
void statEntry(int fd, Entry& entry) {
    entry.ok = ::fstatat(fd, entry.name.constData(), &entry.st, AT_SYMLINK_NOFOLLOW) == 0;
    // A link is taken for what it leads to, remembering that it is one.
    entry.isLink = entry.ok && S_ISLNK(entry.st.st_mode);
    if (entry.isLink) {
        entry.ok = ::fstatat(fd, entry.name.constData(), &entry.st, 0) == 0;
    } else if (entry.ok && S_ISREG(entry.st.st_mode)) {
        entry.writable = entry.before && unchangedSince(*entry.before, entry.st)
                             ? entry.before->writable
                             : permitsWriting(entry.st,
                                              ::faccessat(fd, entry.name.constData(), W_OK, AT_EACCESS) == 0);
    }
}

VdirScannedFile scannedFile(const QString& name, const Entry& entry) {
    return {name, VdirFileStamp::of(entry.st), entry.writable, static_cast<quint32>(entry.st.st_mode),
            statusChangeNsOf(entry.st)};
}

// Pairs each entry with the file of its name in `before`. Both are in the order of the names' bytes, which the
// decoded names follow except around names that are not UTF-8 or lie beyond the 16-bit range: there a file may go
// unpaired and is asked about again, never paired with another's answer.
void pairWithBefore(std::vector<Entry>& entries, const std::vector<VdirScannedFile>& before) {
    auto next = before.begin();
    for (Entry& entry : entries) {
        while (next != before.end() && next->name < entry.fileName)
            ++next;
        if (next != before.end() && next->name == entry.fileName)
            entry.before = &*next++;
    }
}

// Above this many entries the stat and access calls are spread over threads: on a folder of thousands of items
// they are most of what a rescan costs.
constexpr size_t kParallelStatThreshold = 512;
constexpr size_t kStatChunk = 256;

// `before`: this folder in the scan before, if it was a collection. Its files keep their answers to whether they may
// be written only while it was and is writable: its items are read-only anyway while it is not, and a read-only
// mount, which moves no file's status time, makes it so.
FolderListing listFolder(const QString& path, const VdirCollectionFolder* before = nullptr) {
    FolderListing listing;
    listing.writable = folderIsWritable(path);
    const QByteArray native = nativePath(path);
    std::unique_ptr<DIR, DirCloser> dir(::opendir(native.constData()));
    if (!dir)
        return listing;
    const int fd = ::dirfd(dir.get());
    std::vector<Entry> entries;
    while (const dirent* entry = ::readdir(dir.get())) {
        if (entry->d_name[0] == '.')
            continue;
        entries.push_back(Entry{QByteArray(entry->d_name)});
    }
    // Sorted while the names are still bytes: comparing them as QStrings cost more than the listing.
    std::sort(entries.begin(), entries.end(), [](const Entry& a, const Entry& b) { return a.name < b.name; });
    for (Entry& entry : entries)
        entry.fileName = decodedPath(entry.name);
    if (before && before->writable && listing.writable)
        pairWithBefore(entries, before->files);
    const auto statRange = [fd, &entries](size_t begin, size_t end) {
        for (size_t i = begin; i < end && i < entries.size(); ++i)
            statEntry(fd, entries[i]);
    };
    if (entries.size() >= kParallelStatThreshold) {
        std::vector<size_t> chunks;
        for (size_t i = 0; i < entries.size(); i += kStatChunk)
            chunks.push_back(i);
        QtConcurrent::blockingMap(chunks, [&statRange](size_t begin) { statRange(begin, begin + kStatChunk); });
    } else {
        statRange(0, entries.size());
    }

    // Kept for as long as the scan: grown step by step, it would leave its earlier copies behind as holes in the heap.
    listing.icsFiles.reserve(entries.size());
    for (const Entry& entry : entries) {
        if (!entry.ok)
            continue;
        const QString& fileName = entry.fileName;
        if (S_ISDIR(entry.st.st_mode)) {
            listing.subfolders << fileName;
        } else if (S_ISREG(entry.st.st_mode)) {
            if (isItemFileName(fileName)) {
                listing.icsFiles.push_back(scannedFile(fileName, entry));
            } else if (fileName == QLatin1String("displayname") || fileName == QLatin1String("color") ||
                       fileName == QLatin1String("components")) {
                listing.hasMetadata = true;
            }
        }
    }
    return listing;
}

VdirCollectionFolder makeCollection(const QString& root, const QString& relative, FolderListing listing) {
    VdirCollectionFolder collection;
    collection.path = root + QLatin1Char('/') + relative;
    collection.id = escapeIdentifierPart(relative);
    const QString name = relative.section(QLatin1Char('/'), -1);
    const QString displayName = readSmallFile(collection.path + QLatin1String("/displayname"));
    collection.title = displayName.isEmpty() ? displayedName(name) : displayName;
    const QString color = readSmallFile(collection.path + QLatin1String("/color"));
    if (!color.isEmpty() && color != QLatin1String("None"))
        collection.color = core::Color::fromHex(color);
    collection.writable = listing.writable;
    collection.ownerAddresses = readAddresses(collection.path + QLatin1String("/owner"));
    const QString components = readSmallFile(collection.path + QLatin1String("/components")).toUpper();
    collection.declaresEvents = components.contains(QLatin1String("VEVENT"));
    collection.declaresTodos = components.contains(QLatin1String("VTODO"));
    collection.files = std::move(listing.icsFiles);
    return collection;
}

}  // namespace

bool folderIsWritable(const QString& path) {
    return permits(path, W_OK | X_OK, S_IWUSR | S_IXUSR);
}

bool folderIsReadable(const QString& path) {
    return permits(path, R_OK | X_OK, S_IRUSR | S_IXUSR);
}

bool isItemFileName(const QString& fileName) {
    return !fileName.startsWith(QLatin1Char('.')) && fileName.endsWith(QLatin1String(".ics"), Qt::CaseInsensitive);
}

std::optional<VdirScannedFile> scanFile(const QString& path) {
    const QString name = splitPath(path).second;
    Entry entry{nativePath(path), name};
    if (!isItemFileName(name))
        return std::nullopt;
    statEntry(AT_FDCWD, entry);
    if (!entry.ok || !S_ISREG(entry.st.st_mode))
        return std::nullopt;
    return scannedFile(name, entry);
}

VdirScan scanVdir(const QString& root, const VdirScan* before) {
    const auto collectionBefore = [before](const QString& path) -> const VdirCollectionFolder* {
        if (!before)
            return nullptr;
        const auto it = std::find_if(before->collections.begin(), before->collections.end(),
                                     [&](const VdirCollectionFolder& c) { return c.path == path; });
        return it != before->collections.end() ? &*it : nullptr;
    };
    VdirScan scan;
    struct stat st {};
    scan.rootExists = ::stat(nativePath(root).constData(), &st) == 0 && S_ISDIR(st.st_mode);
    scan.rootReadable = scan.rootExists && folderIsReadable(root);
    if (!scan.rootReadable)
        return scan;
    scan.folders << root;

    const FolderListing top = listFolder(root);
    for (const QString& name : top.subfolders) {
        const QString path = root + QLatin1Char('/') + name;
        FolderListing listing = listFolder(path, collectionBefore(path));
        // A folder with items is a collection; one with only metadata is an (empty) collection unless it holds
        // collections itself, which makes it an account.
        std::vector<std::pair<QString, FolderListing>> children;
        if (listing.icsFiles.empty()) {
            for (const QString& childName : listing.subfolders) {
                const QString childPath = path + QLatin1Char('/') + childName;
                FolderListing child = listFolder(childPath, collectionBefore(childPath));
                if (!child.icsFiles.empty() || child.hasMetadata)
                    children.emplace_back(childName, std::move(child));
            }
        }
        if (!listing.icsFiles.empty() || (listing.hasMetadata && children.empty())) {
            VdirCollectionFolder collection = makeCollection(root, name, std::move(listing));
            collection.sourceTitle = localSourceTitle();
            scan.folders << collection.path;
            scan.collections.push_back(std::move(collection));
            continue;
        }
        if (children.empty())
            continue;
        scan.folders << path;
        const QString accountTitle = readSmallFile(path + QLatin1String("/displayname"));
        const QStringList accountOwners = readAddresses(path + QLatin1String("/owner"));
        for (auto& [childName, child] : children) {
            VdirCollectionFolder collection =
                makeCollection(root, name + QLatin1Char('/') + childName, std::move(child));
            collection.sourceTitle = accountTitle.isEmpty() ? displayedName(name) : accountTitle;
            collection.isLocal = false;
            collection.ownerAddresses += accountOwners;
            scan.folders << collection.path;
            scan.collections.push_back(std::move(collection));
        }
    }
    return scan;
}

}  // namespace platform::vdir
