#include "settings/GeneralSettings.h"

#include "core/Calendar.h"
#include "platform/loginitem/LoginItem.h"
#include "state/AppSettings.h"

using namespace Qt::Literals::StringLiterals;

namespace settings {

SettingsChoices<app::DateFormatPreset> dateFormatChoices(const app::AppSettings& settings, core::Date now) {
    using app::DateFormatPreset;
    // Not the presets' own order: the one with the time comes last.
    static const std::pair<DateFormatPreset, const char16_t*> kPresets[] = {
        {DateFormatPreset::weekdayDayMonth, u"Short"},   {DateFormatPreset::dayMonth, u"Minimal"},
        {DateFormatPreset::weekdayDay, u"Compact"},      {DateFormatPreset::numeric, u"Numeric"},
        {DateFormatPreset::long_, u"Long"},              {DateFormatPreset::iso, u"ISO"},
        {DateFormatPreset::weekdayDayMonthTime, u"With time"},
    };
    SettingsChoices<DateFormatPreset> choices;
    for (const auto& [preset, name] : kPresets)
        choices.push_back({app::formatDate(preset, now, settings.customDateFormat()), QString::fromUtf16(name), preset});
    const bool customInUse = settings.dateFormat() == DateFormatPreset::custom;
    choices.push_back({customInUse ? settings.formattedDate(now) : u"Custom\u2026"_s, u"Pattern"_s,
                       DateFormatPreset::custom, true});
    return choices;
}

const SettingsChoices<double>& countdownLeadChoices() {
    static const SettingsChoices<double> choices = [] {
        SettingsChoices<double> made;
        for (const double seconds : {300.0, 600.0, 900.0, 1800.0, 3600.0})
            made.push_back({QString::number(static_cast<int>(seconds / 60)) + u" min before"_s, std::nullopt, seconds});
        return made;
    }();
    return choices;
}

SettingsChoices<app::FirstWeekday> firstWeekdayChoices(const core::Calendar& systemCalendar) {
    using app::FirstWeekday;
    const QStringList names = systemCalendar.standaloneWeekdaySymbols();
    std::optional<QString> systemDay;
    if (!names.isEmpty())
        systemDay = names.at((systemCalendar.firstWeekday() - 1 + names.size()) % names.size());
    return {{u"System"_s, systemDay, FirstWeekday::system},
            {u"Sunday"_s, std::nullopt, FirstWeekday::sunday},
            {u"Monday"_s, std::nullopt, FirstWeekday::monday},
            {u"Saturday"_s, std::nullopt, FirstWeekday::saturday}};
}

void LaunchAtLogin::set(bool on) {
    m_error.reset();
    if (const std::optional<QString> failure = m_loginItem.setEnabled(on))
        m_error = u"Couldn't change: "_s + *failure;
    m_settings.setLaunchAtLogin(m_loginItem.isEnabled());
}

void LaunchAtLogin::sync() {
    const bool enabled = m_loginItem.isEnabled();
    if (enabled != m_settings.launchAtLogin())
        m_settings.setLaunchAtLogin(enabled);
}

}  // namespace settings
