#pragma once

#include <QString>
#include <QStringList>

#include <cstdint>

// The few words of the user-visible texts that would be false on this platform,
// kept in one place so every screen says the same thing.
namespace app::words {

// Modifier words of a stored modifier mask, in the order Ctrl, Alt, Shift, Super,
// followed by the key's text: the keycaps of a shortcut.
QStringList shortcutParts(std::uint32_t carbonModifiers, const QString& keyText);
// The keycaps joined with "+": "Ctrl+Alt+C".
QString shortcutText(std::uint32_t carbonModifiers, const QString& keyText);
// How a shortcut of the command key is said aloud: "Control Z".
QString spokenCommandShortcut(const QString& keyText);

QString ctrl();
QString alt();
QString shift();
QString super();

// "this computer", in place of the other platform's name for the machine.
QString thisComputer();
// The name of the local calendar source.
QString onThisComputer();
// The privacy window of ours that stands in for the system's settings.
QString privacySettings();
QString privacyCalendarsPath();
QString privacyRemindersPath();
// The switch in each of its panes: "Turn on Orbitday".
QString privacySwitch();
// The panel's area where the app's item sits: "tray", in place of "menu bar".
QString menuBar();
QString yourCalendarApp();
QString openInMap();
// The log line of a check for updates that cannot happen here.
QString updatesUnavailableLogLine();

}  // namespace app::words
