#pragma once

#include "shell/AppDelegate.h"

#include <memory>

namespace platform {
class ConfigPrivacy;
class ConsentWindowPrompt;
class IniUserDefaults;
class LinuxSystemEvents;
class LinuxWorkspace;
class NoHaptics;
class PortalSystemAppearance;
class AutostartLoginItem;
class CanberraSoundPlayer;
class ClipboardReader;
class QtImageLoader;
class RuleDataDetector;
class TextRecognizer;
class TrayStatusItem;
class X11HotKeyRegistrar;
namespace vdir {
class VdirEventStore;
}
}  // namespace platform

namespace app {

class PrivacySettingsWindow;

// The desktop's services: preferences in the config folder, the calendar
// folder with consent kept in the config (changed in our privacy settings
// window), X11 hot keys, the desktop portal's appearance, the tray item, the
// desktop's handlers for addresses, the sound theme, the autostart folder.
class LinuxPlatform {
public:
    LinuxPlatform();
    ~LinuxPlatform();
    LinuxPlatform(const LinuxPlatform&) = delete;
    LinuxPlatform& operator=(const LinuxPlatform&) = delete;

    PlatformServices services() const;

private:
    std::unique_ptr<platform::IniUserDefaults> m_defaults;
    std::unique_ptr<platform::ConsentWindowPrompt> m_consentPrompt;
    std::unique_ptr<platform::ConfigPrivacy> m_privacy;
    std::unique_ptr<platform::vdir::VdirEventStore> m_eventStore;
    std::unique_ptr<platform::LinuxSystemEvents> m_systemEvents;
    std::unique_ptr<platform::X11HotKeyRegistrar> m_hotKeys;
    std::unique_ptr<platform::PortalSystemAppearance> m_appearance;
    std::unique_ptr<platform::TrayStatusItem> m_statusItem;
    std::unique_ptr<platform::LinuxWorkspace> m_workspace;
    std::unique_ptr<platform::NoHaptics> m_haptics;
    std::unique_ptr<platform::CanberraSoundPlayer> m_sound;
    std::unique_ptr<platform::AutostartLoginItem> m_loginItem;
    std::unique_ptr<platform::QtImageLoader> m_imageLoader;
    std::unique_ptr<platform::TextRecognizer> m_textRecognizer;
    std::unique_ptr<platform::ClipboardReader> m_clipboardReader;
    std::unique_ptr<platform::RuleDataDetector> m_dataDetector;
    // Made when first asked for, kept once made.
    std::unique_ptr<PrivacySettingsWindow> m_privacyWindow;
};

}  // namespace app
