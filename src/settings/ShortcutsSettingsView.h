#pragma once

#include <QWidget>

#include <vector>

namespace app {
class AppSettings;
class HotKeyManager;
}  // namespace app

namespace settings {

class HotKeyRecorder;
class SettingsTabModel;

// The Shortcuts tab: a field for each of the three global shortcuts, and the
// keys that work inside the popover, which are only listed.
class ShortcutsSettingsView : public QWidget {
    Q_OBJECT

public:
    ShortcutsSettingsView(app::AppSettings& settings, app::HotKeyManager& hotKeys, SettingsTabModel& tabs,
                          QWidget* parent = nullptr);

    // Open Orbitday, Join next meeting, Quick add, in the order shown.
    const std::vector<HotKeyRecorder*>& recorders() const { return m_recorders; }

private:
    std::vector<HotKeyRecorder*> m_recorders;
};

}  // namespace settings
