#include "settings/SettingsTabs.h"

#include "settings/GeneralSettingsView.h"
#include "settings/NotificationsSettingsView.h"

namespace settings {

QWidget* makeTabView(app::SettingsTab tab, const SettingsTabContext& context) {
    switch (tab) {
        case app::SettingsTab::general:
            return new GeneralSettingsView(context);
        case app::SettingsTab::calendars:
            return nullptr;
        case app::SettingsTab::notifications:
            return new NotificationsSettingsView(context);
        case app::SettingsTab::shortcuts:
            return nullptr;
    }
    return nullptr;
}

}  // namespace settings
