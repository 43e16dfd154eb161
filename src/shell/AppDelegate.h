#pragma once

#include "popover/ReminderCompletions.h"
#include "state/AppEnvironment.h"
#include "state/AppSettings.h"
#include "state/AppState.h"
#include "state/HotKeyManager.h"
#include "store/CalendarStore.h"

#include <QObject>
#include <QStringList>

#include <memory>

namespace alerts {
class MeetingAlertController;
class MeetingCardPanel;
}
namespace design {
class AppearanceBinding;
}
namespace platform {
class ClipboardReader;
class DataDetector;
class EventStore;
class Haptics;
class HotKeyRegistrar;
class ImageLoader;
class LoginItem;
class SoundPlayer;
class StatusItem;
class SystemAppearance;
class SystemEvents;
class TextRecognizer;
class UserDefaults;
class Workspace;
struct InstanceMessage;
}  // namespace platform
namespace settings {
class SettingsWindowController;
}

namespace app {

class StatusItemController;

// The platform services the application stands on: the desktop's in the
// application, fakes in tests. All must outlive the delegate.
struct PlatformServices {
    platform::UserDefaults& defaults;
    platform::EventStore& eventStore;
    platform::SystemEvents& systemEvents;
    platform::HotKeyRegistrar& hotKeys;
    platform::SystemAppearance& appearance;
    platform::StatusItem& statusItem;
    platform::Workspace& workspace;
    platform::Haptics& haptics;
    platform::SoundPlayer& sound;
    // Whether the app starts at login.
    platform::LoginItem& loginItem;
    // What reads an image: decoding, text recognition, links and dates in the text.
    const platform::ImageLoader& imageLoader;
    const platform::TextRecognizer& textRecognizer;
    const platform::DataDetector& dataDetector;
    // Reads the clipboard off the main thread; none where the display has no reader of ours.
    const platform::ClipboardReader* clipboardReader = nullptr;
};

// Owns the long-lived objects of the application (the settings, the calendar
// store, the application state, the hot keys and the controllers built on them)
// and wires them together once, when the application has started. Screens get
// them through environment(), never own them.
class AppDelegate : public QObject {
    Q_OBJECT

public:
    explicit AppDelegate(const PlatformServices& services, QObject* parent = nullptr);
    ~AppDelegate() override;

    // Builds the controllers and wires the callbacks, hot keys and subscriptions.
    void applicationDidFinishLaunching();
    // The application was started again: shows the popover.
    void handleReopen();
    // Files handed to the application: the first starts an image import.
    void openFiles(const QStringList& paths);
    void handleMessage(const platform::InstanceMessage& message);
    // The launcher's action: our privacy settings window, at calendar access.
    void openPrivacySettings();

    AppEnvironment& environment() { return m_environment; }
    AppSettings& settings() { return m_settings; }
    store::CalendarStore& store() { return m_store; }
    AppState& appState() { return m_appState; }
    HotKeyManager& hotKeys() { return m_hotKeys; }
    // Null until launching has finished.
    StatusItemController* statusItem() const { return m_statusItem.get(); }
    settings::SettingsWindowController* settingsWindow() const { return m_settingsWindow.get(); }
    alerts::MeetingAlertController* meetingAlerts() const { return m_meetingAlerts.get(); }
    alerts::MeetingCardPanel* meetingCard() const { return m_meetingCard.get(); }

private:
    void handleHotKey(HotKeyAction action);

    PlatformServices m_services;
    AppSettings m_settings;
    store::CalendarStore m_store;
    AppState m_appState;
    HotKeyManager m_hotKeys;
    popover::ReminderCompletions m_reminderCompletions;
    AppEnvironment m_environment;
    std::unique_ptr<design::AppearanceBinding> m_appearance;
    std::unique_ptr<StatusItemController> m_statusItem;
    std::unique_ptr<settings::SettingsWindowController> m_settingsWindow;
    std::unique_ptr<alerts::MeetingCardPanel> m_meetingCard;
    std::unique_ptr<alerts::MeetingAlertController> m_meetingAlerts;
};

}  // namespace app
