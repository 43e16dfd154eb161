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
    const QString pattern = trimmedPattern(typed);
    if (!pattern.isEmpty() && !core::DateFormat::isValidPattern(pattern))
        return std::nullopt;
    return app::formatDate(app::DateFormatPreset::custom, now, pattern);
}

bool useCustomPattern(app::AppSettings& settings, const QString& typed) {
    if (!canUsePattern(typed))
        return false;
    settings.setCustomDateFormat(trimmedPattern(typed));
    settings.setDateFormat(app::DateFormatPreset::custom);
    return true;
}

}  // namespace settings
