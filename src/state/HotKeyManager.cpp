#include "state/HotKeyManager.h"

#include "core/Log.h"
#include "platform/hotkeys/HotKeyRegistrar.h"
#include "platform/keys/KeyTable.h"
#include "state/AppSettings.h"

#include <QPointer>

#include <tuple>

namespace app {

std::optional<HotKeyAction> hotKeyActionFromRaw(std::uint32_t raw) {
    for (HotKeyAction action : kAllHotKeyActions) {
        if (static_cast<std::uint32_t>(action) == raw)
            return action;
    }
    return std::nullopt;
}

namespace {

// A grab with Shift alone, or with bits no modifier has, would take a plain key
// from every other program.
bool holdsAShortcutModifier(const HotKeyCombo& combo) {
    namespace carbon = platform::keys::carbon;
    return (combo.modifiers & (carbon::kCommand | carbon::kOption | carbon::kControl)) != 0;
}

}  // namespace

HotKeyManager::HotKeyManager(platform::HotKeyRegistrar& registrar, QObject* parent)
    : QObject(parent), m_registrar(registrar) {}

HotKeyManager::~HotKeyManager() {
    // The registrar may outlive us; it must not call into a destroyed manager.
    if (m_handlerInstalled)
        m_registrar.setPressHandler({});
}

void HotKeyManager::bind(AppSettings& settings, std::function<void(HotKeyAction)> handler) {
    m_handler = std::move(handler);
    installHandlerIfNeeded();
    for (const auto& connection : m_subscriptions)
        disconnect(connection);
    m_subscriptions.clear();

    using Getter = const std::optional<HotKeyCombo>& (AppSettings::*)() const;
    using Signal = void (AppSettings::*)();
    const std::array<std::tuple<HotKeyAction, Getter, Signal>, 3> bindings{{
        {HotKeyAction::openPopover, &AppSettings::hotKeyOpenPopover, &AppSettings::hotKeyOpenPopoverChanged},
        {HotKeyAction::quickCreate, &AppSettings::hotKeyQuickCreate, &AppSettings::hotKeyQuickCreateChanged},
        {HotKeyAction::joinMeeting, &AppSettings::hotKeyJoinMeeting, &AppSettings::hotKeyJoinMeetingChanged},
    }};
    for (const auto& [action, getter, signal] : bindings) {
        registerHotKey(action, (settings.*getter)());
        m_subscriptions.push_back(connect(&settings, signal, this, [this, &settings, action = action, getter = getter] {
            registerHotKey(action, (settings.*getter)());
        }));
    }
}

void HotKeyManager::registerHotKey(HotKeyAction action, const std::optional<HotKeyCombo>& combo) {
    const bool wasRegistered = isRegistered(action);
    if (const auto it = m_refs.find(action); it != m_refs.end()) {
        const platform::HotKeyRef ref{it->second};
        m_refs.erase(it);
        m_registrar.unregisterHotKey(ref);
    }
    // Whoever ends the hold takes the settings' shortcuts again.
    const std::optional<HotKeyCombo> wanted = m_held ? std::nullopt : combo;
    if (wanted && !holdsAShortcutModifier(*wanted)) {
        core::log(QStringLiteral("refusing a global shortcut without Ctrl, Alt or Super (key code %1, modifiers 0x%2)")
                      .arg(wanted->keyCode)
                      .arg(wanted->modifiers, 0, 16));
    } else if (wanted) {
        if (const auto ref =
                m_registrar.registerHotKey(wanted->keyCode, wanted->modifiers, static_cast<std::uint32_t>(action)))
            m_refs[action] = ref->value;
    }
    if (wasRegistered || isRegistered(action))
        emit registrationChanged(action);
}

bool HotKeyManager::isRegistered(HotKeyAction action) const {
    return m_refs.contains(action);
}

std::optional<std::uint32_t> HotKeyManager::keyCodeOfKey(std::uint32_t nativeScanCode) const {
    return m_registrar.keyCodeOfKey(nativeScanCode);
}

void HotKeyManager::setHeld(bool held) {
    m_held = held;
    if (!held)
        return;
    for (HotKeyAction action : kAllHotKeyActions)
        registerHotKey(action, std::nullopt);
}

void HotKeyManager::installHandlerIfNeeded() {
    if (m_handlerInstalled)
        return;
    m_handlerInstalled = true;
    m_registrar.setPressHandler([self = QPointer<HotKeyManager>(this)](std::uint32_t id) {
        if (!self)
            return;
        // A press is always answered later, on the main thread, so the handler may
        // open windows or change shortcuts without re-entering the registrar.
        QMetaObject::invokeMethod(
            self.data(),
            [self, id] {
                if (self)
                    self->deliver(id);
            },
            Qt::QueuedConnection);
    });
}

void HotKeyManager::deliver(std::uint32_t id) {
    const auto action = hotKeyActionFromRaw(id);
    if (action && m_handler)
        m_handler(*action);
}

}  // namespace app
