#include "shell/AppDelegate.h"

#include "alerts/MeetingAlertController.h"
#include "alerts/MeetingCardPanel.h"
#include "core/ClockTimer.h"
#include "design/values/AppearanceBinding.h"
#include "imageimport/flow/ImageFileDialog.h"
#include "imageimport/flow/ImageImportSession.h"
#include "platform/singleinstance/InstanceMessage.h"
#include "platform/workspace/Workspace.h"
#include "popover/PopoverRootView.h"
#include "settings/SettingsWindowController.h"
#include "shell/StatusItemController.h"
#include "state/Updater.h"

#include <QPointer>
#include <QUrl>

namespace app {
AppDelegate::AppDelegate(const PlatformServices& services, QObject* parent)
    : QObject(parent),
      m_services(services),
      m_settings(services.defaults),
      m_store(services.eventStore, &services.systemEvents),
      m_hotKeys(services.hotKeys),
      m_reminderCompletions(m_store),
      m_environment{m_store,
                    m_settings,
                    m_appState,
                    m_hotKeys,
                    services.systemEvents,
                    services.workspace,
                    services.haptics,
                    m_reminderCompletions} {
    // A child of the state, through which every screen reaches it.
    m_appState.setImageImport(*new imageimport::ImageImportSession(&m_appState));
}

AppDelegate::~AppDelegate() {
    // The controllers hold callbacks into the state and the store; they go first.
    m_meetingAlerts.reset();
    m_meetingCard.reset();
    m_settingsWindow.reset();
    m_statusItem.reset();
    m_appState.onOpenPopover = nullptr;
    m_appState.onClosePopover = nullptr;
    m_appState.onOpenSettings = nullptr;
    m_appState.onShowMeetingCard = nullptr;
}

void AppDelegate::applicationDidFinishLaunching() {
    // Text fields bring their own editing keys (undo, redo, cut, copy, paste,
    // select all): there is no application menu to install them in.

    m_store.setEnabledCalendarIDs(m_settings.enabledCalendarIDs());
    connect(&m_settings, &AppSettings::enabledCalendarIDsChanged, this,
            [this] { m_store.setEnabledCalendarIDs(m_settings.enabledCalendarIDs()); });

    m_appearance = std::make_unique<design::AppearanceBinding>(m_services.appearance, chosenDark(m_settings.appearance()));
    connect(&m_settings, &AppSettings::appearanceChanged, this,
            [this](AppearanceMode mode) { m_appearance->setChosenDark(chosenDark(mode)); });

    m_statusItem = std::make_unique<StatusItemController>(
        m_environment, m_services.statusItem, m_services.appearance,
        [this]() -> QWidget* { return new popover::PopoverRootView(m_environment); });
    m_settingsWindow = std::make_unique<settings::SettingsWindowController>(m_environment, m_services.sound,
                                                                            m_services.loginItem);

    const QPointer<AppDelegate> self(this);
    m_meetingCard = std::make_unique<alerts::MeetingCardPanel>(
        m_settings, m_services.workspace, [self]() -> std::optional<QRectF> {
            if (self && self->m_statusItem)
                return self->m_statusItem->anchor();
            return std::nullopt;
        });
    m_meetingAlerts = std::make_unique<alerts::MeetingAlertController>(m_store, m_settings, m_services.workspace,
                                                                       m_services.sound, *m_meetingCard);

    m_appState.onOpenPopover = [self] {
        if (self && self->m_statusItem)
            self->m_statusItem->showPopover();
    };
    m_appState.onClosePopover = [self] {
        if (self && self->m_statusItem)
            self->m_statusItem->closePopover();
    };
    m_appState.onOpenSettings = [self](std::optional<SettingsTab> tab) {
        if (self && self->m_settingsWindow)
            self->m_settingsWindow->show(tab);
    };
    m_appState.onShowMeetingCard = [self](const model::ODEvent& event) {
        if (self && self->m_meetingAlerts)
            self->m_meetingAlerts->showCard(event);
    };

    imageimport::ImageImportSession& import = m_appState.imageImport();
    import.setAppState(&m_appState);
    import.setFileChooser(&imageimport::ImageFileDialog::choose);
    // The detector belongs to the platform, which outlives the session.
    import.setReading({&m_services.imageLoader, &m_services.textRecognizer,
                       std::shared_ptr<const platform::DataDetector>(std::shared_ptr<void>(), &m_services.dataDetector),
                       m_services.clipboardReader});

    m_hotKeys.bind(m_settings, [self](HotKeyAction action) {
        if (self)
            self->handleHotKey(action);
    });

    m_meetingAlerts->start();
    Updater::shared();

    if (m_store.eventAccess() == model::AccessStatus::notDetermined)
        m_appState.setRoute(PopoverRoute::onboarding());
}

void AppDelegate::handleHotKey(HotKeyAction action) {
    switch (action) {
        case HotKeyAction::openPopover:
            if (m_statusItem)
                m_statusItem->togglePopover();
            break;
        case HotKeyAction::quickCreate:
            m_appState.openPopover(PopoverRoute::quickCreate());
            break;
        case HotKeyAction::joinMeeting:
            if (m_meetingAlerts)
                m_meetingAlerts->joinNextMeeting(core::Date::now());
            break;
    }
}

void AppDelegate::handleReopen() {
    if (m_statusItem)
        m_statusItem->showPopover();
}

void AppDelegate::openFiles(const QStringList& paths) {
    if (paths.isEmpty())
        return;
    m_appState.imageImport().begin(imageimport::ImageImportInput::file(QUrl::fromLocalFile(paths.first())));
}

void AppDelegate::handleMessage(const platform::InstanceMessage& message) {
    switch (message.kind) {
        case platform::InstanceMessage::Kind::reopen: handleReopen(); break;
        case platform::InstanceMessage::Kind::openFiles: openFiles(message.paths); break;
        case platform::InstanceMessage::Kind::privacySettings: openPrivacySettings(); break;
    }
}

void AppDelegate::openPrivacySettings() {
    m_services.workspace.open(platform::privacySettingsURL(platform::EntityType::Event));
}

}  // namespace app
