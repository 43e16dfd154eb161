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
};

}  // namespace platform
