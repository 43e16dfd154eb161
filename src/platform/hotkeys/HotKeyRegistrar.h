#pragma once

#include <cstdint>
#include <functional>
#include <optional>

namespace platform {

// One granted registration; only meaningful to the registrar that gave it.
struct HotKeyRef {
    std::uint64_t value = 0;
    bool operator==(const HotKeyRef&) const = default;
};

// System-wide keyboard shortcuts that fire while another application is active.
// Key codes and modifiers are given in their stored form (see platform/keys).
class HotKeyRegistrar {
public:
    using PressHandler = std::function<void(std::uint32_t id)>;

    virtual ~HotKeyRegistrar() = default;

    // The one receiver of presses, called with the id of the shortcut pressed.
    virtual void setPressHandler(PressHandler handler) = 0;
    // nullopt when the shortcut is refused: held by another client or by another
    // of our ids, a key this system cannot grab, or no global shortcuts here at all.
    virtual std::optional<HotKeyRef> registerHotKey(std::uint32_t keyCode, std::uint32_t modifiers,
                                                    std::uint32_t id) = 0;
    virtual void unregisterHotKey(HotKeyRef ref) = 0;
    // The stored key code of the key behind a key event of our own windows
    // (the event's native scan code), read from the key's unshifted symbol:
    // with Shift held the event names the shifted one. nullopt where the
    // system does not say which key it was, or the key has no stored code.
    virtual std::optional<std::uint32_t> keyCodeOfKey(std::uint32_t nativeScanCode) const = 0;
};

}  // namespace platform
