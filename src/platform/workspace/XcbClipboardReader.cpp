#include "platform/workspace/XcbClipboardReader.h"

#include <QDeadlineTimer>

#include <xcb/xcb.h>

#include <poll.h>

#include <cstdlib>
#include <memory>

namespace platform {
namespace {

struct FreeDeleter {
    void operator()(void* reply) const { std::free(reply); }
};
template <typename T>
using Reply = std::unique_ptr<T, FreeDeleter>;

struct Connection {
    xcb_connection_t* c = xcb_connect(nullptr, nullptr);
    ~Connection() { xcb_disconnect(c); }
};

xcb_atom_t atom(xcb_connection_t* c, const QByteArray& name) {
    const Reply<xcb_intern_atom_reply_t> reply(xcb_intern_atom_reply(
        c, xcb_intern_atom(c, 0, static_cast<uint16_t>(name.size()), name.constData()), nullptr));
    return reply ? reply->atom : static_cast<xcb_atom_t>(XCB_ATOM_NONE);
}

// The next event, waiting until the deadline at most; null when none came or the connection broke.
Reply<xcb_generic_event_t> nextEvent(xcb_connection_t* c, const QDeadlineTimer& deadline) {
    for (;;) {
        if (xcb_generic_event_t* event = xcb_poll_for_event(c))
            return Reply<xcb_generic_event_t>(event);
        if (xcb_connection_has_error(c))
            return nullptr;
        pollfd ready{xcb_get_file_descriptor(c), POLLIN, 0};
        const qint64 left = deadline.remainingTime();
        if (left <= 0 || ::poll(&ready, 1, static_cast<int>(left)) <= 0)
            return nullptr;
    }
}

// Appends the property's whole value to `out` and deletes it, which asks the owner for the next piece of a
// transfer in pieces. False when it cannot be read or `out` would grow beyond `most`.
bool takeProperty(xcb_connection_t* c, xcb_window_t window, xcb_atom_t property, qsizetype most, QByteArray& out,
                  xcb_atom_t& type) {
    // In 32-bit units: 4 MiB a request.
    constexpr uint32_t kUnitsPerRequest = 1u << 20;
    uint32_t offset = 0;
    for (;;) {
        const Reply<xcb_get_property_reply_t> reply(xcb_get_property_reply(
            c, xcb_get_property(c, 0, window, property, XCB_GET_PROPERTY_TYPE_ANY, offset, kUnitsPerRequest), nullptr));
        if (!reply)
            return false;
        type = reply->type;
        const int length = xcb_get_property_value_length(reply.get());
        if (length < 0 || out.size() + length > most)
            return false;
        out.append(static_cast<const char*>(xcb_get_property_value(reply.get())), length);
        if (reply->bytes_after == 0)
            break;
        offset += static_cast<uint32_t>(length) / 4;
    }
    xcb_delete_property(c, window, property);
    xcb_flush(c);
    return true;
}

template <typename Event>
const Event* as(const Reply<xcb_generic_event_t>& event, uint8_t kind) {
    return (event->response_type & 0x7f) == kind ? reinterpret_cast<const Event*>(event.get()) : nullptr;
}

}  // namespace

std::optional<QByteArray> XcbClipboardReader::read(const QString& format, qsizetype most) const {
    const Connection x;
    xcb_connection_t* c = x.c;
    if (xcb_connection_has_error(c))
        return std::nullopt;
    const xcb_screen_t* screen = xcb_setup_roots_iterator(xcb_get_setup(c)).data;
    if (!screen)
        return std::nullopt;
    // A window of our own, never shown, that the owner writes into.
    const xcb_window_t window = xcb_generate_id(c);
    const uint32_t events = XCB_EVENT_MASK_PROPERTY_CHANGE;
    xcb_create_window(c, XCB_COPY_FROM_PARENT, window, screen->root, 0, 0, 1, 1, 0, XCB_WINDOW_CLASS_INPUT_ONLY,
                      XCB_COPY_FROM_PARENT, XCB_CW_EVENT_MASK, &events);
    const xcb_atom_t property = atom(c, "ORBITDAY_CLIPBOARD");
    const xcb_atom_t incremental = atom(c, "INCR");
    xcb_convert_selection(c, window, atom(c, "CLIPBOARD"), atom(c, format.toLatin1()), property, XCB_CURRENT_TIME);
    xcb_flush(c);

    const QDeadlineTimer answered(kAnswerMilliseconds);
    for (;;) {
        const Reply<xcb_generic_event_t> event = nextEvent(c, answered);
        if (!event)
            return std::nullopt;
        if (const auto* notify = as<xcb_selection_notify_event_t>(event, XCB_SELECTION_NOTIFY)) {
            // No owner, or one that will not give that format.
            if (notify->property == XCB_ATOM_NONE)
                return std::nullopt;
            break;
        }
    }
    QByteArray data;
    xcb_atom_t type = XCB_ATOM_NONE;
    if (!takeProperty(c, window, property, most, data, type))
        return std::nullopt;
    // An owner with nothing in that format may answer with nothing rather than refuse.
    const auto nonEmpty = [](QByteArray& bytes) { return bytes.isEmpty() ? std::nullopt : std::optional(std::move(bytes)); };
    if (type != incremental)
        return nonEmpty(data);

    // Handed over in pieces: each new value of the property is the next piece, an empty one the end.
    data.clear();
    for (;;) {
        const Reply<xcb_generic_event_t> event = nextEvent(c, QDeadlineTimer(kAnswerMilliseconds));
        if (!event)
            return std::nullopt;
        const auto* change = as<xcb_property_notify_event_t>(event, XCB_PROPERTY_NOTIFY);
        if (!change || change->atom != property || change->state != XCB_PROPERTY_NEW_VALUE)
            continue;
        const qsizetype before = data.size();
        if (!takeProperty(c, window, property, most, data, type))
            return std::nullopt;
        if (data.size() == before)
            return nonEmpty(data);
    }
}

}  // namespace platform
