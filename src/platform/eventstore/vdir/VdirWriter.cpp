#include "platform/eventstore/vdir/VdirWriter.h"

#include "platform/eventstore/vdir/VdirFileSystem.h"
#include "platform/eventstore/vdir/VdirJournal.h"

#include <QDir>
#include <QFile>
#include <QFileInfo>
#include <QUuid>

#include <algorithm>
#include <cerrno>
#include <cstring>

#include <fcntl.h>
#include <sys/stat.h>
#include <unistd.h>

namespace platform::vdir {
namespace {

constexpr int kMaxOwnWritesPerFile = 32;

QString errnoText() {
    return QString::fromLocal8Bit(std::strerror(errno));
}

// The file a change replaces or removes must be a plain file in its folder (through a symbolic link the write
// would land wherever the link leads) that its owner lets us change. Checked before anything is written and again
// just before each write.
void refuseAnythingButAPlainFile(const QString& path) {
    const QByteArray native = nativePath(path);
    struct stat info {};
    if (::lstat(native.constData(), &info) != 0) {
        throw WriteError(EventStoreError::Code::Conflict, path, errnoText());
    }
    if (!S_ISREG(info.st_mode)) {
        throw WriteError(EventStoreError::Code::ReadOnly, path, QStringLiteral("not a plain file"));
    }
    if (!permitsWriting(info, ::access(native.constData(), W_OK) == 0)) {
        throw WriteError(EventStoreError::Code::ReadOnly, path, QStringLiteral("made read-only"));
    }
}

}  // namespace

WriteError::WriteError(Code code, QString path, QString detail)
    : WriteError(code, std::move(path), std::move(detail), defaultMessage(code)) {}

WriteError::WriteError(Code code, QString path, QString detail, QString message)
    : EventStoreError(code, std::move(message)), m_path(std::move(path)), m_detail(std::move(detail)) {}

std::optional<FileSnapshot> readSnapshot(const QString& path) {
    // A sync tool may replace the file while we read it; read again until the
    // etag before and after agree, so content and etag belong together.
    for (int attempt = 0; attempt < 5; ++attempt) {
        RegularFileRead read = readRegularFile(path, kMaxItemFileSize);
        switch (read.status) {
            case RegularFileRead::Status::Ok:
                break;
            case RegularFileRead::Status::Missing:
                return std::nullopt;
            case RegularFileRead::Status::NotRegular:
                throw WriteError(EventStoreError::Code::ReadOnly, path, read.problem(kMaxItemFileSize));
            case RegularFileRead::Status::TooLarge:
                // The reader skips such files: this is not the one an item was read from.
                throw WriteError(EventStoreError::Code::Conflict, path, read.problem(kMaxItemFileSize));
            case RegularFileRead::Status::Failed:
                throw WriteError(EventStoreError::Code::WriteFailed, path, read.problem(kMaxItemFileSize));
        }
        if (Etag::ofFile(path) == read.stamp) {
            return FileSnapshot{std::move(read.data), read.stamp};
        }
    }
    throw WriteError(EventStoreError::Code::Conflict, path, QStringLiteral("the file keeps changing"));
}

QString fileNameForUid(const QString& uid) {
    bool safe = !uid.isEmpty() && uid.size() <= 200 && !uid.startsWith(u'.');
    for (const QChar c : uid) {
        if (!safe) {
            break;
        }
        const char16_t u = c.unicode();
        safe = (u >= u'a' && u <= u'z') || (u >= u'A' && u <= u'Z') || (u >= u'0' && u <= u'9') || u == u'_' ||
               u == u'.' || u == u'-' || u == u'+';
    }
    const QString base = safe ? uid : QUuid::createUuid().toString(QUuid::WithoutBraces);
    return base + QStringLiteral(".ics");
}

VdirWriter::Change* VdirWriter::find(const QString& path) {
    for (Change& change : m_changes) {
        if (change.path == path) {
            return &change;
        }
    }
    return nullptr;
}

const VdirWriter::Change* VdirWriter::find(const QString& path) const {
    for (const Change& change : m_changes) {
        if (change.path == path) {
            return &change;
        }
    }
    return nullptr;
}

void VdirWriter::stageReplace(const QString& path, const QByteArray& content, const Etag& expected) {
    if (Change* staged = find(path)) {
        // A file staged for creation stays a creation; a removed one is written again.
        staged->content = content;
        if (staged->type == Type::Remove) {
            staged->type = Type::Replace;
        }
        return;
    }
    m_changes.append(Change{Type::Replace, path, content, expected, {}, {}, false});
}

QString VdirWriter::stageCreate(const QString& directory, const QString& uid, const QByteArray& content) {
    QString path = directory + u'/' + fileNameForUid(uid);
    // A file already there (the same UID in another copy of an invitation) keeps its name: staged text under
    // that path would stand in for it, and the new item would be taken for it.
    if (find(path) != nullptr || pathIsTaken(path)) {
        path = directory + u'/' + fileNameForUid(QString());
    }
    m_changes.append(Change{Type::Create, path, content, {}, directory, uid, false});
    return path;
}

void VdirWriter::stageCreateAt(const QString& path, const QByteArray& content) {
    if (find(path) != nullptr || pathIsTaken(path)) {
        throw WriteError(EventStoreError::Code::Conflict, path, QStringLiteral("another file has the name"));
    }
    m_changes.append(Change{Type::Create, path, content, {}, splitPath(path).first, {}, true});
}

void VdirWriter::stageRemove(const QString& path, const Etag& expected) {
    if (Change* staged = find(path)) {
        if (staged->type == Type::Create) {
            m_changes.removeIf([&](const Change& change) { return change.path == path; });
            return;
        }
        staged->type = Type::Remove;
        staged->content.clear();
        return;
    }
    m_changes.append(Change{Type::Remove, path, {}, expected, {}, {}, false});
}

bool VdirWriter::isStaged(const QString& path) const {
    return find(path) != nullptr;
}

std::optional<QByteArray> VdirWriter::stagedContent(const QString& path) const {
    const Change* staged = find(path);
    if (staged == nullptr || staged->type == Type::Remove) {
        return std::nullopt;
    }
    return staged->content;
}

std::optional<Etag> VdirWriter::resolve(const QString& path, const Etag& remembered) const {
    const std::optional<Etag> onDisk = Etag::ofFile(path);
    if (!onDisk) {
        return std::nullopt;
    }
    Etag current = remembered;
    const QList<std::pair<Etag, Etag>> writes = m_ownWrites.value(path);
    for (qsizetype step = 0; step <= writes.size(); ++step) {
        if (current == *onDisk) {
            return current;
        }
        // The newest write wins: a roll-back records a second step from the same etag.
        const auto next = std::find_if(writes.crbegin(), writes.crend(),
                                       [&](const std::pair<Etag, Etag>& w) { return w.first == current; });
        if (next == writes.crend()) {
            break;
        }
        current = next->second;
    }
    return std::nullopt;
}

bool VdirWriter::isCurrent(const QString& path, const Etag& remembered) const {
    return resolve(path, remembered).has_value();
}

void VdirWriter::rememberWrite(const QString& path, const std::optional<Etag>& before) {
    const std::optional<Etag> after = Etag::ofFile(path);
    if (!before || !after) {
        return;
    }
    QList<std::pair<Etag, Etag>>& writes = m_ownWrites[path];
    writes.append({*before, *after});
    if (writes.size() > kMaxOwnWritesPerFile) {
        writes.removeFirst();
    }
}

QStringList VdirWriter::commit() {
    // Every file must still be what its item was read from before the first
    // write, so a conflict leaves all files as they are.
    QHash<QString, FileSnapshot> originals;
    for (const Change& change : std::as_const(m_changes)) {
        if (change.type == Type::Create) {
            continue;
        }
        refuseAnythingButAPlainFile(change.path);
        // The stamp first: a file that changed is not read at all, however large it now is.
        if (!isCurrent(change.path, change.expected)) {
            throw WriteError(EventStoreError::Code::Conflict, change.path,
                             QStringLiteral("the file was changed by another program"));
        }
        std::optional<FileSnapshot> snapshot = readSnapshot(change.path);
        if (!snapshot || !isCurrent(change.path, change.expected)) {
            throw WriteError(EventStoreError::Code::Conflict, change.path,
                             QStringLiteral("the file was changed by another program"));
        }
        originals.insert(change.path, std::move(*snapshot));
    }

    // The names of new files are settled before anything is written: a journal names every file it touches.
    // The staged name first, as readers were told that path; where it is taken (by another copy of the item), a
    // random one, which never clobbers it.
    QHash<const Change*, QString> createdPaths;
    for (const Change& change : std::as_const(m_changes)) {
        if (change.type != Type::Create) {
            continue;
        }
        QString path = change.path;
        if (change.exactName && pathIsTaken(path)) {
            throw WriteError(EventStoreError::Code::Conflict, path, QStringLiteral("another file has the name"));
        }
        for (int attempt = 0; attempt < 8 && pathIsTaken(path); ++attempt) {
            path = change.directory + u'/' + fileNameForUid(QString());
        }
        createdPaths.insert(&change, path);
    }

    // New files first: even without a journal, dying between the files of a move or a split leaves the item
    // twice rather than nowhere.
    QList<const Change*> order;
    for (const Change& change : std::as_const(m_changes)) {
        if (change.type == Type::Create) {
            order.append(&change);
        }
    }
    for (const Change& change : std::as_const(m_changes)) {
        if (change.type != Type::Create) {
            order.append(&change);
        }
    }

    std::optional<VdirJournal> journal;
    if (!m_journalRoot.isEmpty() && order.size() > 1) {
        std::vector<VdirJournal::Entry> entries;
        for (const Change* change : std::as_const(order)) {
            switch (change->type) {
                case Type::Create:
                    entries.push_back({createdPaths.value(change), std::nullopt, change->content});
                    break;
                case Type::Replace:
                    entries.push_back({change->path, originals[change->path].content, change->content});
                    break;
                case Type::Remove:
                    entries.push_back({change->path, originals[change->path].content, std::nullopt});
                    break;
            }
        }
        journal.emplace(m_journalRoot, entries);
    }

    QList<Applied> applied;
    QStringList written;
    try {
        for (const Change* staged : std::as_const(order)) {
            const Change& change = *staged;
            if (change.type == Type::Create) {
                const QString path = createdPaths.value(&change);
                if (!createFile(change.directory, QFileInfo(path).fileName(), change.content)) {
                    throw WriteError(EventStoreError::Code::WriteFailed, path, QStringLiteral("no free file name"));
                }
                applied.append({&change, path, std::nullopt});
                written.append(path);
                continue;
            }
            const FileSnapshot& original = originals[change.path];
            // The file may have changed since the check above.
            refuseAnythingButAPlainFile(change.path);
            if (Etag::ofFile(change.path) != original.etag) {
                throw WriteError(EventStoreError::Code::Conflict, change.path,
                                 QStringLiteral("the file was changed by another program"));
            }
            if (change.type == Type::Replace) {
                replaceFile(change.path, change.content);
                applied.append({&change, change.path, original.content});
                rememberWrite(change.path, original.etag);
            } else {
                if (::unlink(nativePath(change.path).constData()) != 0) {
                    throw WriteError(EventStoreError::Code::WriteFailed, change.path, errnoText());
                }
                writeStep();
                applied.append({&change, change.path, original.content});
                m_ownWrites.remove(change.path);
            }
            written.append(change.path);
        }
    } catch (const WriteError&) {
        const bool undone = rollBack(applied);
        for (const Applied& done : std::as_const(applied)) {
            if (done.change->type != Type::Create) {
                const FileSnapshot& original = originals[done.path];
                rememberWrite(done.path, original.etag);
            }
        }
        // What could not be undone is left to the journal, for the next start.
        if (journal && undone) {
            journal->discard();
        }
        throw;
    }
    if (journal) {
        journal->discard();
    }
    m_changes.clear();
    return written;
}

bool VdirWriter::rollBack(const QList<Applied>& applied) {
    bool undone = true;
    for (auto it = applied.crbegin(); it != applied.crend(); ++it) {
        try {
            switch (it->change->type) {
                case Type::Create:
                    undone = ::unlink(nativePath(it->path).constData()) == 0 && undone;
                    break;
                case Type::Replace:
                    replaceFile(it->path, *it->previous);
                    break;
                case Type::Remove: {
                    const QFileInfo info(it->path);
                    undone = createFile(info.absolutePath(), info.fileName(), *it->previous) && undone;
                    break;
                }
            }
        } catch (const WriteError&) {
            // Nothing more can be done for this file now; the caller gets the error that started the roll-back.
            undone = false;
        }
    }
    return undone;
}

bool VdirWriter::pathIsTaken(const QString& path) const {
    if (find(path) != nullptr && find(path)->type != Type::Create) {
        return true;
    }
    struct stat info {};
    return ::lstat(nativePath(path).constData(), &info) == 0;
}

}  // namespace platform::vdir
