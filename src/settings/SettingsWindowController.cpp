#include "settings/SettingsWindowController.h"

namespace settings {

SettingsWindowController::SettingsWindowController(store::CalendarStore& store, app::AppSettings& settings,
                                                   app::AppState& appState, QObject* parent)
    : QObject(parent), m_store(store), m_settings(settings), m_appState(appState) {}

void SettingsWindowController::show(std::optional<app::SettingsTab> tab) {
    if (tab)
        m_selection = *tab;
}

}  // namespace settings
