#pragma once

#include <QByteArray>
#include <QString>

#include <sys/stat.h>

#include <optional>

namespace core {

// What reading a file gave. Anything may sit where a file is expected (a FIFO, a device, a folder, a file far too
// large), so nothing is read from what is not a regular file, and never more than a given size.
struct RegularFileRead {
    enum class Status { Ok, Missing, NotRegular, TooLarge, Failed };

    Status status = Status::Failed;
    QByteArray data;
    std::optional<struct stat> info;  // of the file opened, once it was opened
    int error = 0;                    // errno when Failed or Missing

    bool ok() const { return status == Status::Ok; }
    // Why the file could not be read, for the log.
    QString problem(qint64 maxBytes) const;
};

// Reads the regular file the system names `nativePath`, at most `maxBytes` of it, without ever waiting on the
// opening (a FIFO has no writer) or the reading.
RegularFileRead readRegularFile(const QByteArray& nativePath, qint64 maxBytes);

// The contents of a regular file of at most `limit` bytes; nullopt for anything else, as above, and for a file that
// is missing or unreadable.
std::optional<QByteArray> readRegularFile(const QString& path, qint64 limit);

}  // namespace core
