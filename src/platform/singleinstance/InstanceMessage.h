#pragma once

#include <QByteArray>
#include <QStringList>

#include <optional>

namespace platform {

// What a second launch asks of the running instance.
struct InstanceMessage {
    enum class Kind {
        // The application was started again: show the popover.
        reopen,
        // Files handed to the application ("Open With"): absolute paths.
        openFiles,
        // The launcher's "Privacy Settings" action: show our privacy settings window.
        privacySettings,
    };

    Kind kind = Kind::reopen;
    QStringList paths;

    static InstanceMessage reopen() { return {Kind::reopen, {}}; }
    static InstanceMessage openFiles(QStringList paths) { return {Kind::openFiles, std::move(paths)}; }
    static InstanceMessage privacySettings() { return {Kind::privacySettings, {}}; }
    bool operator==(const InstanceMessage&) const = default;
};

// On the socket a message is a frame: its length as four bytes (big-endian),
// then that many bytes of JSON. Longer messages are refused unread.
inline constexpr qsizetype kInstanceFrameHeaderBytes = 4;
inline constexpr qsizetype kMaxInstanceMessageBytes = 64 * 1024;

QByteArray encodeFrame(const InstanceMessage& message);

// Reads one frame from bytes as they arrive.
class InstanceFrameReader {
public:
    enum class State { incomplete, complete, invalid };

    State feed(const QByteArray& bytes);
    State state() const { return m_state; }
    // Once complete: the message, or nullopt when the frame held no valid one.
    std::optional<InstanceMessage> message() const;

private:
    QByteArray m_buffer;
    State m_state = State::incomplete;
};

// nullopt for anything but a well-formed message: an unknown request, paths
// that are not absolute, no paths to open.
std::optional<InstanceMessage> decodeMessage(const QByteArray& json);

}  // namespace platform
