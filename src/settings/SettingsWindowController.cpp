#include "settings/SettingsWindowController.h"

#include "settings/SettingsTabModel.h"
#include "settings/SettingsWindow.h"

#include <QGuiApplication>
#include <QScreen>

namespace settings {

SettingsWindowController::SettingsWindowController(app::AppEnvironment& environment, platform::SoundPlayer& sound,
                                                   platform::LoginItem& loginItem, QObject* parent)
    : QObject(parent), m_tabModel(std::make_unique<SettingsTabModel>()) {
    m_window = std::make_unique<SettingsWindow>(SettingsTabContext{environment, *m_tabModel, sound, loginItem});
    // A recorder must not go on capturing keys in a window nobody sees.
    connect(m_window.get(), &SettingsWindow::closed, this, [this] { m_tabModel->setRecordingAction(std::nullopt); });
}

SettingsWindowController::~SettingsWindowController() {
    // The tab views hold the model; they go first.
    m_window.reset();
}

void SettingsWindowController::show(std::optional<app::SettingsTab> tab) {
    if (tab)
        m_tabModel->setSelection(*tab);
    if (!m_window->isVisible()) {
        if (const QScreen* screen = QGuiApplication::primaryScreen()) {
            QRect frame = m_window->frameGeometry();
            frame.moveCenter(screen->availableGeometry().center());
            m_window->move(frame.topLeft());
        }
    }
    m_window->show();
    m_window->raise();
    m_window->activateWindow();
}

app::SettingsTab SettingsWindowController::selectedTab() const {
    return m_tabModel->selection();
}

}  // namespace settings
