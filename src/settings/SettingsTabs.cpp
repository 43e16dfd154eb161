#include "settings/SettingsTabs.h"

#include "settings/CalendarsSettingsView.h"
#include "settings/CalendarsTabModel.h"
#include "settings/GeneralSettingsView.h"
#include "settings/NotificationsSettingsView.h"
#include "settings/ShortcutsSettingsView.h"
#include "state/AppEnvironment.h"

namespace settings {

QWidget* makeTabView(app::SettingsTab tab, const SettingsTabContext& context) {
    switch (tab) {
        case app::SettingsTab::general:
            return new GeneralSettingsView(context);
        case app::SettingsTab::calendars:
            return new CalendarsSettingsView(
                new CalendarsTabModel(context.environment.store, context.environment.settings));
        case app::SettingsTab::notifications:
            return new NotificationsSettingsView(context);
        case app::SettingsTab::shortcuts:
            return new ShortcutsSettingsView(context.environment.settings, context.environment.hotKeys, context.tabs);
    }
    return nullptr;
}

}  // namespace settings
