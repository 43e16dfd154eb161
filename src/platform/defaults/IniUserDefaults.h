#pragma once

#include "platform/defaults/UserDefaults.h"

#include <QSettings>

namespace platform {

// Preferences in an INI file. Every change is written to disk at once.
class IniUserDefaults final : public UserDefaults {
public:
    explicit IniUserDefaults(const QString& filePath);

    // The application's file in the XDG config folder.
    static QString standardFilePath();

    QVariant object(const QString& key) const override;
    void setObject(const QString& key, const QVariant& value) override;
    void removeObject(const QString& key) override;

    QString filePath() const { return m_settings.fileName(); }

private:
    void sync();

    QSettings m_settings;
    bool m_reportedFailure = false;
};

}  // namespace platform
