#pragma once

#include "platform/loginitem/LoginItem.h"

#include <QByteArray>
#include <QString>

namespace platform {

// Starting at login through the desktop's autostart folder: an entry of ours
// there starts the app, and its absence does not. An entry the user turned off
// in the desktop's own settings (Hidden, or the autostart-enabled key set to
// false) counts as off.
class AutostartLoginItem : public LoginItem {
public:
    static constexpr qint64 kMaxEntryBytes = 64 * 1024;

    // `folder`: where the desktop looks for entries; `executable`: what the entry starts.
    AutostartLoginItem(QString folder, QString executable);

    // $XDG_CONFIG_HOME/autostart.
    static QString standardFolder();

    QString entryPath() const;
    bool isEnabled() const override;
    std::optional<QString> setEnabled(bool enabled) override;

    // The entry that starts `executable`, whatever characters its path holds.
    static QByteArray entryFor(const QString& executable);
    // Whether an entry's text leaves it switched on.
    static bool entryIsOn(const QByteArray& entry);

private:
    std::optional<QString> writeEntry() const;
    std::optional<QString> removeEntry() const;

    QString m_folder;
    QString m_executable;
};

}  // namespace platform
