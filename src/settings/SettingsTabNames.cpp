#include "settings/SettingsTabNames.h"

using namespace Qt::Literals::StringLiterals;

namespace settings {

namespace {

struct TabName {
    QString title;
    QString symbol;
};

// One switch, not a list: a tab added to the enum without its name stops the build.
TabName nameOf(app::SettingsTab tab) {
    switch (tab) {
        case app::SettingsTab::general:
            return {u"General"_s, u"gearshape"_s};
        case app::SettingsTab::calendars:
            return {u"Calendars"_s, u"calendar"_s};
        case app::SettingsTab::notifications:
            return {u"Notifications"_s, u"bell"_s};
        case app::SettingsTab::shortcuts:
            return {u"Shortcuts"_s, u"command"_s};
    }
    return {};
}

}  // namespace

QString tabTitle(app::SettingsTab tab) {
    return nameOf(tab).title;
}

QString tabSymbol(app::SettingsTab tab) {
    return nameOf(tab).symbol;
}

}  // namespace settings
