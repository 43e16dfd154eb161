#pragma once

#include "platform/hotkeys/HotKeyRegistrar.h"

#include <utility>
#include <vector>

namespace platform {

// Registrations kept in a list; presses are made by calling press().
class FakeHotKeyRegistrar final : public HotKeyRegistrar {
public:
    struct Registration {
        HotKeyRef ref;
        std::uint32_t keyCode;
        std::uint32_t modifiers;
        std::uint32_t id;
    };

    void setPressHandler(PressHandler handler) override {
        m_handler = std::move(handler);
        ++m_handlerInstalls;
    }

    std::optional<HotKeyRef> registerHotKey(std::uint32_t keyCode, std::uint32_t modifiers, std::uint32_t id) override {
        for (const auto& [code, mods] : m_refused) {
            if (code == keyCode && mods == modifiers)
                return std::nullopt;
        }
        for (const Registration& existing : m_registrations) {
            if (existing.keyCode == keyCode && existing.modifiers == modifiers)
                return std::nullopt;
        }
        const HotKeyRef ref{++m_lastRef};
        m_registrations.push_back({ref, keyCode, modifiers, id});
        return ref;
    }

    void unregisterHotKey(HotKeyRef ref) override {
        std::erase_if(m_registrations, [ref](const Registration& r) { return r.ref == ref; });
        m_unregistered.push_back(ref);
    }

    std::optional<std::uint32_t> keyCodeOfKey(std::uint32_t nativeScanCode) const override {
        for (const auto& [scanCode, keyCode] : m_keys) {
            if (scanCode == nativeScanCode)
                return keyCode;
        }
        return std::nullopt;
    }
    // Says which key a native scan code is.
    void mapKey(std::uint32_t nativeScanCode, std::uint32_t keyCode) { m_keys.emplace_back(nativeScanCode, keyCode); }

    // Makes registerHotKey refuse this combination, as if another client held it.
    void refuse(std::uint32_t keyCode, std::uint32_t modifiers) { m_refused.emplace_back(keyCode, modifiers); }
    void press(std::uint32_t id) const {
        if (m_handler)
            m_handler(id);
    }

    const std::vector<Registration>& registrations() const { return m_registrations; }
    const std::vector<HotKeyRef>& unregistered() const { return m_unregistered; }
    int handlerInstalls() const { return m_handlerInstalls; }

private:
    PressHandler m_handler;
    int m_handlerInstalls = 0;
    std::uint64_t m_lastRef = 0;
    std::vector<Registration> m_registrations;
    std::vector<HotKeyRef> m_unregistered;
    std::vector<std::pair<std::uint32_t, std::uint32_t>> m_refused;
    std::vector<std::pair<std::uint32_t, std::uint32_t>> m_keys;
};

}  // namespace platform
