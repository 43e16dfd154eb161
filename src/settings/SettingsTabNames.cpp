#include "settings/SettingsTabNames.h"

using namespace Qt::Literals::StringLiterals;

namespace settings {

QString tabTitle(app::SettingsTab tab) {
    switch (tab) {
        case app::SettingsTab::general:
            return u"General"_s;
        case app::SettingsTab::calendars:
            return u"Calendars"_s;
        case app::SettingsTab::notifications:
            return u"Notifications"_s;
        case app::SettingsTab::shortcuts:
            return u"Shortcuts"_s;
    }
    return {};
}

QString tabSymbol(app::SettingsTab tab) {
    switch (tab) {
        case app::SettingsTab::general:
            return u"gearshape"_s;
        case app::SettingsTab::calendars:
            return u"calendar"_s;
        case app::SettingsTab::notifications:
            return u"bell"_s;
        case app::SettingsTab::shortcuts:
            return u"command"_s;
    }
    return {};
}

}  // namespace settings
