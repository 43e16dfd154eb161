#pragma once

#include "settings/SettingsTabs.h"
#include "state/PopoverRoute.h"

#include <QObject>

#include <memory>
#include <optional>

namespace settings {

class SettingsWindow;

// The settings window, built when first asked for (not at launch, where it stood between the start and the tray
// item), then only hidden again when closed: it keeps its tab from one showing to the next.
class SettingsWindowController : public QObject {
    Q_OBJECT

public:
    SettingsWindowController(app::AppEnvironment& environment, platform::SoundPlayer& sound,
                             platform::LoginItem& loginItem, QObject* parent = nullptr);
    ~SettingsWindowController() override;

    // A tab, when given, becomes the selected one. A hidden window comes up
    // centred on the screen; a shown one keeps its place. Either way it comes
    // to the front with the keyboard.
    void show(std::optional<app::SettingsTab> tab);
    app::SettingsTab selectedTab() const;

    SettingsTabModel& tabModel() const { return *m_tabModel; }
    SettingsWindow& window();

private:
    std::unique_ptr<SettingsTabModel> m_tabModel;
    SettingsTabContext m_context;  // what the window is made with, when first asked for
    std::unique_ptr<SettingsWindow> m_window;
};

}  // namespace settings
