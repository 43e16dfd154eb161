#pragma once

#include <QByteArray>
#include <QString>

#include <optional>

namespace core {

// The contents of a regular file of at most `limit` bytes. A FIFO, a device or a
// folder gives nullopt at once instead of blocking or reading without end, as does
// a file that is missing, unreadable or larger than the limit.
std::optional<QByteArray> readRegularFile(const QString& path, qint64 limit);

}  // namespace core
