#include "settings/CustomDatePattern.h"

#include "core/DateFormat.h"
#include "state/AppSettings.h"
#include "state/Preferences.h"

namespace settings {

QString trimmedPattern(const QString& typed) {
    return typed.trimmed();
}

bool canUsePattern(const QString& typed) {
    const QString pattern = trimmedPattern(typed);
    return !pattern.isEmpty() && core::DateFormat::isValidPattern(pattern);
}

std::optional<QString> patternPreview(const QString& typed, core::Date now) {
    // As typed, spaces and all: a pattern of spaces alone previews as blank,
    // though the default stands in for it in the tray.
    const QString pattern = typed.isEmpty() ? app::defaultCustomDatePattern() : typed;
    const std::optional<core::DateFormat> format = core::DateFormat::fromPattern(pattern);
    if (!format)
        return std::nullopt;
    return format->format(now);
}

bool useCustomPattern(app::AppSettings& settings, const QString& typed) {
    if (!canUsePattern(typed))
        return false;
    settings.setCustomDateFormat(trimmedPattern(typed));
    settings.setDateFormat(app::DateFormatPreset::custom);
    return true;
}

}  // namespace settings
