#include "state/PopoverRoute.h"

namespace app {

PopoverRoute PopoverRoute::eventEdit(const QString& eventID) {
    PopoverRoute route(Kind::eventEdit);
    route.m_eventID = eventID;
    return route;
}

PopoverRoute PopoverRoute::eventCreate(core::Date start) {
    PopoverRoute route(Kind::eventCreate);
    route.m_start = start;
    return route;
}

QString rawValue(SettingsTab tab) {
    switch (tab) {
        case SettingsTab::general:
            return QStringLiteral("general");
        case SettingsTab::calendars:
            return QStringLiteral("calendars");
        case SettingsTab::notifications:
            return QStringLiteral("notifications");
        case SettingsTab::shortcuts:
            return QStringLiteral("shortcuts");
    }
    return {};
}

std::optional<SettingsTab> settingsTabFromRaw(const QString& raw) {
    for (SettingsTab tab : kAllSettingsTabs) {
        if (rawValue(tab) == raw)
            return tab;
    }
    return std::nullopt;
}

}  // namespace app
