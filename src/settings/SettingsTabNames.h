#pragma once

#include "state/PopoverRoute.h"

#include <QString>

namespace settings {

// The tab's name, on its button and as the window's title.
QString tabTitle(app::SettingsTab tab);
// The symbol on the tab's button.
QString tabSymbol(app::SettingsTab tab);

}  // namespace settings
