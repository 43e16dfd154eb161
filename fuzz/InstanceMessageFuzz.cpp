// What a later launch sends the running instance over its socket, which any local
// process of the user may write to: bytes in the single-instance framing, arriving
// in pieces, then decoded. Beyond not crashing, a frame is never taken beyond its
// cap, a message is only ever a well-formed one (absolute paths, at least one to
// open), and what is taken encodes back to a frame that decodes to the same.
//
// Input: one byte that sets the size of the pieces the bytes arrive in, then the bytes.

#include "platform/singleinstance/InstanceMessage.h"

#include <QDir>

#include <algorithm>
#include <cstdint>
#include <cstdlib>

using platform::InstanceFrameReader;
using platform::InstanceMessage;

namespace {

void check(bool condition) {
    if (!condition)
        std::abort();
}

void checkMessage(const InstanceMessage& message) {
    if (message.kind == InstanceMessage::Kind::openFiles) {
        check(!message.paths.isEmpty());
        for (const QString& path : message.paths)
            check(QDir::isAbsolutePath(path));
    } else {
        check(message.paths.isEmpty());
    }
    // What was taken encodes to a frame that gives it back (escapes may make a frame
    // of it longer than the cap, which a sender refuses to send).
    const QByteArray frame = platform::encodeFrame(message);
    if (frame.size() > platform::kInstanceFrameHeaderBytes + platform::kMaxInstanceMessageBytes)
        return;
    InstanceFrameReader again;
    check(again.feed(frame) == InstanceFrameReader::State::complete);
    check(again.message() == message);
}

}  // namespace

extern "C" int LLVMFuzzerTestOneInput(const uint8_t* data, size_t size) {
    if (size == 0)
        return 0;
    const size_t piece = std::max<size_t>(1, data[0]);
    const QByteArray bytes(reinterpret_cast<const char*>(data + 1), static_cast<qsizetype>(size - 1));

    InstanceFrameReader reader;
    InstanceFrameReader::State state = InstanceFrameReader::State::incomplete;
    qsizetype taken = 0;
    for (qsizetype at = 0; at < bytes.size() && state == InstanceFrameReader::State::incomplete;
         at += static_cast<qsizetype>(piece)) {
        const QByteArray chunk = bytes.mid(at, static_cast<qsizetype>(piece));
        state = reader.feed(chunk);
        taken += chunk.size();
    }
    // Once decided, more bytes change nothing.
    if (state != InstanceFrameReader::State::incomplete)
        check(reader.feed(QByteArray("x")) == state);
    if (state == InstanceFrameReader::State::complete) {
        check(taken <= platform::kInstanceFrameHeaderBytes + platform::kMaxInstanceMessageBytes);
        if (const auto message = reader.message())
            checkMessage(*message);
    } else {
        check(!reader.message());
    }

    // The same bytes as one message body, as a frame would hold them.
    if (const auto message = platform::decodeMessage(bytes))
        checkMessage(*message);
    return 0;
}
