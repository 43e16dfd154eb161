#pragma once

#include "platform/workspace/ClipboardReader.h"

namespace platform {

// Reads the X11 clipboard over a connection of its own, made for each read, so that
// the toolkit's connection (the main thread's) never waits for the clipboard's owner.
class XcbClipboardReader final : public ClipboardReader {
public:
    // How long an owner may take to answer, or to hand over the next piece.
    static constexpr int kAnswerMilliseconds = 5000;

    std::optional<QByteArray> read(const QString& format, qsizetype most) const override;
};

}  // namespace platform
