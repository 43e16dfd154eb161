#pragma once

#include "state/Preferences.h"

#include <QObject>

#include <array>
#include <cstdint>
#include <functional>
#include <map>
#include <optional>
#include <vector>

namespace platform {
class HotKeyRegistrar;
struct HotKeyRef;
}  // namespace platform

namespace app {

class AppSettings;

// The values are also the ids the shortcuts are registered under.
enum class HotKeyAction : std::uint32_t { openPopover = 1, quickCreate = 2, joinMeeting = 3 };
inline constexpr std::array kAllHotKeyActions{HotKeyAction::openPopover, HotKeyAction::quickCreate,
                                              HotKeyAction::joinMeeting};
std::optional<HotKeyAction> hotKeyActionFromRaw(std::uint32_t raw);

// Keeps the three global shortcuts registered as the settings say and turns each
// press into an action for the handler, always on the main thread and never from
// inside the press itself.
class HotKeyManager final : public QObject {
    Q_OBJECT

public:
    // The registrar must outlive the manager.
    explicit HotKeyManager(platform::HotKeyRegistrar& registrar, QObject* parent = nullptr);
    ~HotKeyManager() override;

    // Registers the three shortcuts of `settings` now and again whenever one of
    // them changes. A later bind replaces the handler and the settings followed.
    void bind(AppSettings& settings, std::function<void(HotKeyAction)> handler);

    // Replaces the action's shortcut; nullopt only removes it. A shortcut the
    // system refuses leaves the action without one, silently.
    void registerHotKey(HotKeyAction action, const std::optional<HotKeyCombo>& combo);

    // Whether the action's shortcut is registered now (false when refused).
    bool isRegistered(HotKeyAction action) const;

    // The stored key code of the key behind a key event (see HotKeyRegistrar).
    std::optional<std::uint32_t> keyCodeOfKey(std::uint32_t nativeScanCode) const;

    // While held, no shortcut is registered: each registration only removes
    // the action's old one, whoever asks for it. A shortcut field that records
    // holds them, since a grab takes its keys before any window of ours.
    // Releasing the hold registers nothing by itself.
    void setHeld(bool held);
    bool isHeld() const { return m_held; }

signals:
    void registrationChanged(app::HotKeyAction action);

private:
    void installHandlerIfNeeded();
    void deliver(std::uint32_t id);

    platform::HotKeyRegistrar& m_registrar;
    std::map<HotKeyAction, std::uint64_t> m_refs;
    bool m_handlerInstalled = false;
    bool m_held = false;
    std::function<void(HotKeyAction)> m_handler;
    std::vector<QMetaObject::Connection> m_subscriptions;
};

}  // namespace app
