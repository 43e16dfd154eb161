#pragma once

#include "platform/eventstore/EventStoreError.h"
#include "platform/eventstore/vdir/VdirFileSystem.h"
#include "platform/eventstore/vdir/VdirFileWrites.h"

#include <QByteArray>
#include <QHash>
#include <QList>
#include <QString>
#include <QStringList>

#include <optional>

namespace platform::vdir {

// What a file was when we read it (see VdirFileStamp).
using Etag = VdirFileStamp;

// A failed write: Code::Conflict when the file changed (or went) on disk
// since it was read, Code::WriteFailed when the file system refused it.
// Nothing was changed on disk when it is thrown (a failed commit restores the
// files it had already written).
class WriteError : public EventStoreError {
public:
    WriteError(Code code, QString path, QString detail);
    // With a text for the user more precise than the code's own.
    WriteError(Code code, QString path, QString detail, QString message);

    const QString& path() const { return m_path; }
    // What the system said, for the log.
    const QString& detail() const { return m_detail; }

private:
    QString m_path;
    QString m_detail;
};

struct FileSnapshot {
    QByteArray content;
    Etag etag;
};

// The content of a file with the etag it had while it was read; nullopt when
// the file does not exist. Throws WriteError when it cannot be read.
std::optional<FileSnapshot> readSnapshot(const QString& path);

// The file name of a new item: the UID itself when it is a safe file name,
// else a random UUID; ".ics" appended.
QString fileNameForUid(const QString& uid);

// Changes to the files of a vdir, staged until commit(). Every change names the
// etag the file had when its item was read; commit() refuses to touch a file
// whose etag differs (a conflict), and either writes every staged change or,
// on a failure, restores what it had already written and throws.
class VdirWriter {
public:
    // With a root, a commit that touches several files journals its intent first (see VdirJournal).
    explicit VdirWriter(QString journalRoot = {}) : m_journalRoot(std::move(journalRoot)) {}

    // Content for an existing file, read with etag `expected`.
    void stageReplace(const QString& path, const QByteArray& content, const Etag& expected);
    // A new file in `directory` named after `uid`; returns the path it will
    // most likely get (another name is taken when that one exists by then).
    QString stageCreate(const QString& directory, const QString& uid, const QByteArray& content);
    // A new file under exactly this name (an item put back where it was); the commit refuses it as a conflict when
    // a file has the name by then.
    void stageCreateAt(const QString& path, const QByteArray& content);
    void stageRemove(const QString& path, const Etag& expected);

    bool hasChanges() const { return !m_changes.isEmpty(); }
    bool isStaged(const QString& path) const;
    // The content a staged file will have; nullopt when it is staged for removal.
    std::optional<QByteArray> stagedContent(const QString& path) const;

    // Writes every staged change, new files first, the rest in the order staged; returns the paths written
    // (created files under their final names). On failure the staged changes
    // stay, so the caller can retry or reset().
    QStringList commit();
    void reset() { m_changes.clear(); }

    // Whether an etag remembered from a read still describes the file on disk,
    // allowing for the writes this writer made since.
    bool isCurrent(const QString& path, const Etag& remembered) const;

private:
    enum class Type { Create, Replace, Remove };
    struct Change {
        Type type;
        QString path;
        QByteArray content;
        Etag expected;
        QString directory;
        QString uid;
        bool exactName = false;
    };
    struct Applied {
        const Change* change;
        QString path;
        std::optional<QByteArray> previous;
    };

    QList<Change> m_changes;
    // Etags our own commits replaced, so an item read before them is still current.
    QHash<QString, QList<std::pair<Etag, Etag>>> m_ownWrites;

    Change* find(const QString& path);
    const Change* find(const QString& path) const;
    std::optional<Etag> resolve(const QString& path, const Etag& remembered) const;
    void rememberWrite(const QString& path, const std::optional<Etag>& before);
    // Whether every file is back as it was.
    static bool rollBack(const QList<Applied>& applied);
    // Whether a new file may not take this name: a file is there, or a change of this commit keeps one there.
    bool pathIsTaken(const QString& path) const;

    QString m_journalRoot;
};

}  // namespace platform::vdir
