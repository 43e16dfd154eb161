#include "state/Preferences.h"

#include "core/DateFormat.h"
#include "platform/keys/KeyTable.h"
#include "state/PlatformWords.h"

#include <QJsonDocument>
#include <QJsonObject>
#include <QJsonValue>

#include <cmath>

namespace app {
namespace {

template <typename Enum, std::size_t N>
std::optional<Enum> fromRaw(const std::array<Enum, N>& all, const QString& raw) {
    for (Enum value : all) {
        if (rawValue(value) == raw)
            return value;
    }
    return std::nullopt;
}

QString presetPattern(DateFormatPreset preset, const QString& customPattern) {
    switch (preset) {
        case DateFormatPreset::weekdayDayMonth:
        case DateFormatPreset::weekdayDayMonthTime:
            return QStringLiteral("EEE d MMM");
        case DateFormatPreset::dayMonth:
            return QStringLiteral("d MMM");
        case DateFormatPreset::weekdayDay:
            return QStringLiteral("EEE d");
        case DateFormatPreset::numeric:
            return QStringLiteral("dd/MM");
        case DateFormatPreset::long_:
            return QStringLiteral("EEEE, d MMMM");
        case DateFormatPreset::iso:
            return QStringLiteral("yyyy-MM-dd");
        case DateFormatPreset::custom:
            return effectiveCustomPattern(customPattern);
    }
    return defaultCustomDatePattern();
}

std::optional<std::uint32_t> uint32Value(const QJsonValue& value) {
    if (!value.isDouble())
        return std::nullopt;
    const double number = value.toDouble();
    if (number < 0 || number > 4294967295.0 || std::floor(number) != number)
        return std::nullopt;
    return static_cast<std::uint32_t>(number);
}

}  // namespace

QString rawValue(MenuBarDisplayMode mode) {
    switch (mode) {
        case MenuBarDisplayMode::icon:
            return QStringLiteral("icon");
        case MenuBarDisplayMode::date:
            return QStringLiteral("date");
        case MenuBarDisplayMode::dateAndNext:
            return QStringLiteral("dateAndNext");
    }
    return {};
}

std::optional<MenuBarDisplayMode> menuBarDisplayModeFromRaw(const QString& raw) {
    return fromRaw(kAllMenuBarDisplayModes, raw);
}

QString rawValue(DateFormatPreset preset) {
    switch (preset) {
        case DateFormatPreset::weekdayDayMonth:
            return QStringLiteral("weekdayDayMonth");
        case DateFormatPreset::dayMonth:
            return QStringLiteral("dayMonth");
        case DateFormatPreset::weekdayDay:
            return QStringLiteral("weekdayDay");
        case DateFormatPreset::numeric:
            return QStringLiteral("numeric");
        case DateFormatPreset::weekdayDayMonthTime:
            return QStringLiteral("weekdayDayMonthTime");
        case DateFormatPreset::long_:
            return QStringLiteral("long");
        case DateFormatPreset::iso:
            return QStringLiteral("iso");
        case DateFormatPreset::custom:
            return QStringLiteral("custom");
    }
    return {};
}

std::optional<DateFormatPreset> dateFormatPresetFromRaw(const QString& raw) {
    return fromRaw(kAllDateFormatPresets, raw);
}

QString defaultCustomDatePattern() {
    return QStringLiteral("EEE d MMM");
}

QString effectiveCustomPattern(const QString& storedPattern) {
    return storedPattern.trimmed().isEmpty() ? defaultCustomDatePattern() : storedPattern;
}

QString formatDate(DateFormatPreset preset, core::Date date, const QString& customPattern) {
    // A custom pattern ICU rejects, or one that yields nothing, would leave the
    // tray without a title: the default pattern stands in for it.
    const QString pattern = presetPattern(preset, customPattern);
    QString text;
    if (const auto format = core::DateFormat::fromPattern(pattern))
        text = format->format(date);
    if (text.isEmpty() && pattern != defaultCustomDatePattern()) {
        if (const auto fallback = core::DateFormat::fromPattern(defaultCustomDatePattern()))
            text = fallback->format(date);
    }
    if (preset == DateFormatPreset::weekdayDayMonthTime) {
        const auto time = core::DateFormat::fromStyles(core::DateFormat::Style::None, core::DateFormat::Style::Short);
        text += u' ' + time.format(date);
    }
    return text;
}

std::optional<FirstWeekday> firstWeekdayFromRaw(long long raw) {
    for (FirstWeekday weekday : kAllFirstWeekdays) {
        if (rawValue(weekday) == raw)
            return weekday;
    }
    return std::nullopt;
}

QString rawValue(AppearanceMode mode) {
    switch (mode) {
        case AppearanceMode::system:
            return QStringLiteral("system");
        case AppearanceMode::light:
            return QStringLiteral("light");
        case AppearanceMode::dark:
            return QStringLiteral("dark");
    }
    return {};
}

std::optional<AppearanceMode> appearanceModeFromRaw(const QString& raw) {
    return fromRaw(kAllAppearanceModes, raw);
}

std::optional<bool> chosenDark(AppearanceMode mode) {
    switch (mode) {
        case AppearanceMode::light:
            return false;
        case AppearanceMode::dark:
            return true;
        case AppearanceMode::system:
            break;
    }
    return std::nullopt;
}

QString HotKeyCombo::displayString() const {
    return words::shortcutText(modifiers, keyName().value_or(QStringLiteral("?")));
}

std::optional<QString> HotKeyCombo::keyName() const {
    if (const auto* key = platform::keys::keyForKeyCode(keyCode))
        return QString::fromUtf16(key->name);
    return std::nullopt;
}

QByteArray HotKeyCombo::toJson() const {
    // Written by hand so the two members keep their order in the stored data.
    return QByteArrayLiteral("{\"keyCode\":") + QByteArray::number(keyCode) + QByteArrayLiteral(",\"modifiers\":") +
           QByteArray::number(modifiers) + '}';
}

std::optional<HotKeyCombo> HotKeyCombo::fromJson(const QByteArray& data) {
    QJsonParseError error{};
    const QJsonDocument document = QJsonDocument::fromJson(data, &error);
    if (error.error != QJsonParseError::NoError || !document.isObject())
        return std::nullopt;
    const QJsonObject object = document.object();
    const auto keyCode = uint32Value(object.value(QStringLiteral("keyCode")));
    const auto modifiers = uint32Value(object.value(QStringLiteral("modifiers")));
    if (!keyCode || !modifiers)
        return std::nullopt;
    return HotKeyCombo{*keyCode, *modifiers};
}

}  // namespace app
