#include "shell/LinuxPlatform.h"

#include "platform/appearance/PortalSystemAppearance.h"
#include "platform/datadetector/RuleDataDetector.h"
#include "platform/defaults/IniUserDefaults.h"
#include "platform/eventstore/vdir/VdirEventStore.h"
#include "platform/haptics/Haptics.h"
#include "platform/hotkeys/X11HotKeyRegistrar.h"
#include "platform/images/QtImageLoader.h"
#include "platform/imaging/ImagingModule.h"
#include "platform/loginitem/AutostartLoginItem.h"
#include "platform/privacy/ConfigPrivacy.h"
#include "platform/privacy/ConsentWindow.h"
#include "platform/sound/CanberraSoundPlayer.h"
#include "platform/statusitem/TrayStatusItem.h"
#include "platform/systemevents/LinuxSystemEvents.h"
#include "platform/workspace/LinuxWorkspace.h"
#include "platform/workspace/XcbClipboardReader.h"
#include "shell/PrivacySettingsWindow.h"

#include <QCoreApplication>
#include <QGuiApplication>

namespace app {

LinuxPlatform::LinuxPlatform()
    : m_defaults(std::make_unique<platform::IniUserDefaults>(platform::IniUserDefaults::standardFilePath())),
      m_consentPrompt(std::make_unique<platform::ConsentWindowPrompt>()),
      m_privacy(std::make_unique<platform::ConfigPrivacy>(platform::ConfigPrivacy::defaultConfigFile(),
                                                          platform::vdir::VdirEventStore::defaultRoot(),
                                                          *m_consentPrompt)),
      // The tray item comes before the calendars are read: a large folder takes seconds.
      m_eventStore(std::make_unique<platform::vdir::VdirEventStore>(
          *m_privacy, platform::vdir::VdirEventStore::defaultRoot(),
          platform::vdir::VdirEventStore::FirstRead::InBackground)),
      m_systemEvents(std::make_unique<platform::LinuxSystemEvents>()),
      m_hotKeys(std::make_unique<platform::X11HotKeyRegistrar>()),
      m_appearance(std::make_unique<platform::PortalSystemAppearance>()),
      m_statusItem(std::make_unique<platform::TrayStatusItem>()),
      m_workspace(std::make_unique<platform::LinuxWorkspace>()),
      m_haptics(std::make_unique<platform::NoHaptics>()),
      m_sound(std::make_unique<platform::CanberraSoundPlayer>()),
      m_loginItem(std::make_unique<platform::AutostartLoginItem>(platform::AutostartLoginItem::standardFolder(),
                                                                 QCoreApplication::applicationFilePath())),
      m_imageLoader(std::make_unique<platform::QtImageLoader>()),
      m_textRecognizer(platform::imaging::makeTextRecognizer()),
      m_dataDetector(std::make_unique<platform::RuleDataDetector>()) {
    // Elsewhere (Wayland) the toolkit's clipboard is read as it is.
    if (QGuiApplication::platformName() == QLatin1String("xcb"))
        m_clipboardReader = std::make_unique<platform::XcbClipboardReader>();
    // Access switched in our privacy settings reaches the store as the system's would.
    QObject::connect(m_privacy.get(), &platform::ConfigPrivacy::accessChanged, m_eventStore.get(),
                     &platform::EventStore::accessChanged);
    QObject::connect(m_workspace.get(), &platform::LinuxWorkspace::privacySettingsRequested, m_workspace.get(),
                     [this](platform::EntityType pane) {
                         if (!m_privacyWindow)
                             m_privacyWindow = std::make_unique<PrivacySettingsWindow>(*m_privacy);
                         m_privacyWindow->showPane(pane);
                     });
}

LinuxPlatform::~LinuxPlatform() = default;

PlatformServices LinuxPlatform::services() const {
    return {*m_defaults, *m_eventStore, *m_systemEvents, *m_hotKeys, *m_appearance, *m_statusItem, *m_workspace,
            *m_haptics,  *m_sound, *m_loginItem, *m_imageLoader, *m_textRecognizer, *m_dataDetector,
            m_clipboardReader.get()};
}

}  // namespace app
