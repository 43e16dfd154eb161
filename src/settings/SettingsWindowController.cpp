#include "settings/SettingsWindowController.h"

#include "settings/SettingsTabModel.h"
#include "settings/SettingsWindow.h"

#include <QGuiApplication>
#include <QScreen>

namespace settings {

SettingsWindowController::SettingsWindowController(app::AppEnvironment& environment, platform::SoundPlayer& sound,
                                                   platform::LoginItem& loginItem, QObject* parent)
    : QObject(parent),
      m_tabModel(std::make_unique<SettingsTabModel>()),
      m_context{environment, *m_tabModel, sound, loginItem} {}

SettingsWindow& SettingsWindowController::window() {
    if (!m_window) {
        m_window = std::make_unique<SettingsWindow>(m_context);
        // A recorder must not go on capturing keys in a window nobody sees.
        connect(m_window.get(), &SettingsWindow::closed, this,
                [this] { m_tabModel->setRecordingAction(std::nullopt); });
    }
    return *m_window;
}

SettingsWindowController::~SettingsWindowController() {
    // The tab views hold the model; they go first.
    m_window.reset();
}

void SettingsWindowController::show(std::optional<app::SettingsTab> tab) {
    if (tab)
        m_tabModel->setSelection(*tab);
    SettingsWindow& shown = window();
    if (!shown.isVisible()) {
        if (const QScreen* screen = QGuiApplication::primaryScreen()) {
            QRect frame = shown.frameGeometry();
            frame.moveCenter(screen->availableGeometry().center());
            shown.move(frame.topLeft());
        }
    }
    shown.show();
    shown.raise();
    shown.activateWindow();
}

app::SettingsTab SettingsWindowController::selectedTab() const {
    return m_tabModel->selection();
}

}  // namespace settings
