#pragma once

#include "core/Date.h"

#include <QByteArray>
#include <QString>

#include <array>
#include <cstdint>
#include <optional>

namespace app {

// What the menu-bar item shows.
enum class MenuBarDisplayMode { icon, date, dateAndNext };
inline constexpr std::array kAllMenuBarDisplayModes{MenuBarDisplayMode::icon, MenuBarDisplayMode::date,
                                                    MenuBarDisplayMode::dateAndNext};
QString rawValue(MenuBarDisplayMode mode);
std::optional<MenuBarDisplayMode> menuBarDisplayModeFromRaw(const QString& raw);

// How the menu-bar date is written.
enum class DateFormatPreset { weekdayDayMonth, dayMonth, weekdayDay, numeric, weekdayDayMonthTime, long_, iso, custom };
inline constexpr std::array kAllDateFormatPresets{DateFormatPreset::weekdayDayMonth,
                                                  DateFormatPreset::dayMonth,
                                                  DateFormatPreset::weekdayDay,
                                                  DateFormatPreset::numeric,
                                                  DateFormatPreset::weekdayDayMonthTime,
                                                  DateFormatPreset::long_,
                                                  DateFormatPreset::iso,
                                                  DateFormatPreset::custom};
QString rawValue(DateFormatPreset preset);
std::optional<DateFormatPreset> dateFormatPresetFromRaw(const QString& raw);

// The pattern used when the custom one is blank or unusable.
QString defaultCustomDatePattern();
// The custom pattern in effect for the stored text: the text itself, untrimmed,
// unless it is blank.
QString effectiveCustomPattern(const QString& storedPattern);
// The menu-bar text of a date in the current locale and zone. `customPattern` is
// the stored custom pattern (only `custom` reads it).
QString formatDate(DateFormatPreset preset, core::Date date, const QString& customPattern);

// The first day of the week; the values are the calendar's weekday numbers.
enum class FirstWeekday : int { system = 0, sunday = 1, monday = 2, saturday = 7 };
inline constexpr std::array kAllFirstWeekdays{FirstWeekday::system, FirstWeekday::sunday, FirstWeekday::monday,
                                              FirstWeekday::saturday};
inline int rawValue(FirstWeekday weekday) {
    return static_cast<int>(weekday);
}
std::optional<FirstWeekday> firstWeekdayFromRaw(long long raw);

enum class AppearanceMode { system, light, dark };
inline constexpr std::array kAllAppearanceModes{AppearanceMode::system, AppearanceMode::light, AppearanceMode::dark};
QString rawValue(AppearanceMode mode);
std::optional<AppearanceMode> appearanceModeFromRaw(const QString& raw);
// The scheme the mode chooses over the desktop's: true dark, false light, none for system.
std::optional<bool> chosenDark(AppearanceMode mode);

// A global keyboard shortcut as stored: a virtual key code of the ANSI layout
// and a modifier mask (command 0x100, shift 0x200, option 0x800, control 0x1000;
// other bits are kept but not shown).
struct HotKeyCombo {
    std::uint32_t keyCode = 0;
    std::uint32_t modifiers = 0;

    // "Ctrl+Alt+C"; "?" stands for a key without a name.
    QString displayString() const;
    // nullopt for a key code we have no name for.
    std::optional<QString> keyName() const;

    // Compact JSON with "keyCode" then "modifiers".
    QByteArray toJson() const;
    // nullopt unless the data is a JSON object holding both as unsigned 32-bit numbers.
    static std::optional<HotKeyCombo> fromJson(const QByteArray& data);

    bool operator==(const HotKeyCombo&) const = default;
};

}  // namespace app
