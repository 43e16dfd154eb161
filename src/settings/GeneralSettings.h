#pragma once

#include "core/Date.h"
#include "settings/SettingsChoice.h"
#include "state/Preferences.h"

#include <QString>

#include <optional>

namespace app {
class AppSettings;
}
namespace core {
class Calendar;
}
namespace platform {
class LoginItem;
}

namespace settings {

// The date-format menu at `now`: each preset shown in its own format, with its
// short name beside it, and last the custom pattern ("Custom…" until it is the
// one in use).
SettingsChoices<app::DateFormatPreset> dateFormatChoices(const app::AppSettings& settings, core::Date now);
// How long before a meeting the tray starts counting down to it.
const SettingsChoices<double>& countdownLeadChoices();
// The first day of the week; the system's choice names the day the calendar's locale starts on.
SettingsChoices<app::FirstWeekday> firstWeekdayChoices(const core::Calendar& systemCalendar);

// The "Launch at login" switch over the desktop's login item: the switch shows
// what the desktop will really do, and a change that fails says why.
class LaunchAtLogin {
public:
    LaunchAtLogin(app::AppSettings& settings, platform::LoginItem& loginItem)
        : m_settings(settings), m_loginItem(loginItem) {}

    // The user flipped the switch. Afterwards the setting holds the real state.
    void set(bool on);
    // The tab came into view: the setting follows a change made elsewhere
    // (the desktop's own list of startup programs), writing only a difference.
    void sync();
    // Why the last change failed, until the next one.
    const std::optional<QString>& error() const { return m_error; }

private:
    app::AppSettings& m_settings;
    platform::LoginItem& m_loginItem;
    std::optional<QString> m_error;
};

}  // namespace settings
