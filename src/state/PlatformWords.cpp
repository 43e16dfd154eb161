#include "state/PlatformWords.h"

#include "platform/keys/KeyTable.h"
#include "platform/privacy/Privacy.h"

namespace app::words {

namespace carbon = platform::keys::carbon;

QString ctrl() {
    return QStringLiteral("Ctrl");
}
QString alt() {
    return QStringLiteral("Alt");
}
QString shift() {
    return QStringLiteral("Shift");
}
QString super() {
    return QStringLiteral("Super");
}

QStringList shortcutParts(std::uint32_t carbonModifiers, const QString& keyText) {
    QStringList parts;
    if (carbonModifiers & carbon::kCommand)
        parts << ctrl();
    if (carbonModifiers & carbon::kOption)
        parts << alt();
    if (carbonModifiers & carbon::kShift)
        parts << shift();
    if (carbonModifiers & carbon::kControl)
        parts << super();
    parts << keyText;
    return parts;
}

QString shortcutText(std::uint32_t carbonModifiers, const QString& keyText) {
    return shortcutParts(carbonModifiers, keyText).join(u'+');
}

QString spokenCommandShortcut(const QString& keyText) {
    return QStringLiteral("Control ") + keyText;
}

QString thisComputer() {
    return QStringLiteral("this computer");
}
QString onThisComputer() {
    return QStringLiteral("On This Computer");
}
// Named after our privacy settings window, so the words and the window agree.
QString privacySettings() {
    return platform::privacySettingsName();
}
QString privacyCalendarsPath() {
    return privacySettings() + QStringLiteral(" \u203A ") + platform::privacyPaneName(platform::EntityType::Event);
}
QString privacyRemindersPath() {
    return privacySettings() + QStringLiteral(" \u203A ") + platform::privacyPaneName(platform::EntityType::Reminder);
}
QString privacySwitch() {
    return platform::privacySwitchName();
}
QString menuBar() {
    return QStringLiteral("tray");
}
QString yourCalendarApp() {
    return QStringLiteral("your calendar app");
}
QString openInMap() {
    return QStringLiteral("Open in map");
}
QString updatesUnavailableLogLine() {
    return QStringLiteral("updates unavailable: no update framework on this platform");
}

}  // namespace app::words
