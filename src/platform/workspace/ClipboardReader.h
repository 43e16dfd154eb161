#pragma once

#include <QByteArray>
#include <QString>

#include <optional>

namespace platform {

// Reads what the clipboard holds in one format, whole. Blocks for as long as the
// clipboard's owner takes to hand it over (a large image comes in many pieces), so it
// is called off the main thread; callable from any thread.
class ClipboardReader {
public:
    virtual ~ClipboardReader() = default;

    // nullopt when the clipboard offers nothing (or no byte) in that format, its owner does not
    // answer in time, or it holds more than `most` bytes (the rest is never fetched).
    virtual std::optional<QByteArray> read(const QString& format, qsizetype most) const = 0;
};

}  // namespace platform
