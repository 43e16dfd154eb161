#pragma once

#include "platform/hotkeys/HotKeyRegistrar.h"

#include <QByteArray>
#include <QObject>

#include <memory>

namespace platform {

// Key grabs on the X11 root window over a connection of its own, so shortcuts
// work whichever Qt platform plugin runs. Presses are read by a socket notifier
// and handed to the press handler on the thread that created the registrar.
// Where there is no X11 (no display, or a Wayland session, which has no global
// grabs) every registration is refused.
class X11HotKeyRegistrar final : public QObject, public HotKeyRegistrar {
    Q_OBJECT

public:
    // `display` names the X server; empty means the DISPLAY of the environment.
    explicit X11HotKeyRegistrar(const QByteArray& display = QByteArray(), QObject* parent = nullptr);
    ~X11HotKeyRegistrar() override;

    bool isAvailable() const;

    void setPressHandler(PressHandler handler) override;
    std::optional<HotKeyRef> registerHotKey(std::uint32_t keyCode, std::uint32_t modifiers, std::uint32_t id) override;
    void unregisterHotKey(HotKeyRef ref) override;
    std::optional<std::uint32_t> keyCodeOfKey(std::uint32_t nativeScanCode) const override;

private:
    struct Connection;

    void readEvents();
    void scheduleRead();

    std::unique_ptr<Connection> m_x;
    PressHandler m_handler;
};

}  // namespace platform
