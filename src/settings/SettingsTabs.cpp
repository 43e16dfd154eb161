#include "settings/SettingsTabs.h"

namespace settings {

QWidget* makeTabView(app::SettingsTab tab, [[maybe_unused]] const SettingsTabContext& context) {
    switch (tab) {
        case app::SettingsTab::general:
            return nullptr;
        case app::SettingsTab::calendars:
            return nullptr;
        case app::SettingsTab::notifications:
            return nullptr;
        case app::SettingsTab::shortcuts:
            return nullptr;
    }
    return nullptr;
}

}  // namespace settings
