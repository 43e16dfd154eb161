#pragma once

#include "app/PopoverRoute.h"

#include <QObject>

#include <optional>

namespace app {
class AppSettings;
class AppState;
}  // namespace app
namespace store {
class CalendarStore;
}

namespace settings {

// The settings window, built once at launch and kept. As yet it only takes its
// place in the application: asked to show a tab, it remembers the tab and
// shows no window.
class SettingsWindowController : public QObject {
    Q_OBJECT

public:
    SettingsWindowController(store::CalendarStore& store, app::AppSettings& settings, app::AppState& appState,
                             QObject* parent = nullptr);

    // A tab, when given, becomes the selected one.
    void show(std::optional<app::SettingsTab> tab);
    app::SettingsTab selectedTab() const { return m_selection; }

private:
    store::CalendarStore& m_store;
    app::AppSettings& m_settings;
    app::AppState& m_appState;
    app::SettingsTab m_selection = app::SettingsTab::general;
};

}  // namespace settings
