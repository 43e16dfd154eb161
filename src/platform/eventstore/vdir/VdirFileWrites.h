#pragma once

#include <QByteArray>
#include <QString>

#include <functional>

namespace platform::vdir {

// Replaces a file through a temporary file and a rename, so a reader sees the old or the new content and never a
// part; the new file keeps the old one's permissions. Throws WriteError.
void replaceFile(const QString& path, const QByteArray& content);
// Creates `directory/name` with `content` without ever replacing an existing file; returns false when that name is
// taken. Throws WriteError.
bool createFile(const QString& directory, const QString& name, const QByteArray& content);

// Removes the temporary files of ours in `folder` that no running process is writing: a process killed in the
// middle of a write leaves its temporary behind. Ours are ".orbitday-<pid>-<random>.tmp", hidden from every reader
// of the folder, and short whatever the name of the file they stand in for.
void removeStaleTemporaries(const QString& folder);

// Called between the steps of every write, so that a test can stop the process at any of them.
void setWriteStepHookForTesting(std::function<void()> hook);
void writeStep();

}  // namespace platform::vdir
