#pragma once

#include "state/PopoverRoute.h"

class QWidget;

namespace app {
struct AppEnvironment;
}
namespace platform {
class LoginItem;
class SoundPlayer;
}  // namespace platform

namespace settings {

class SettingsTabModel;

// Everything a tab's view may need. The window owns none of it but the tab model.
struct SettingsTabContext {
    app::AppEnvironment& environment;
    SettingsTabModel& tabs;
    platform::SoundPlayer& sound;
    platform::LoginItem& loginItem;
};

// A new view of the tab, made each time the tab is selected, so that what a
// view keeps for itself (an error line, a recording) starts afresh. nullptr
// leaves the tab's page empty.
QWidget* makeTabView(app::SettingsTab tab, const SettingsTabContext& context);

}  // namespace settings
