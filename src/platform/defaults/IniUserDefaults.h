#pragma once

#include "platform/defaults/UserDefaults.h"

#include <QSettings>
#include <QVariantMap>

#include <memory>

namespace platform {

// Preferences in an INI file. Every change is written to disk at once.
//
// Anything may lie where the file should be: a FIFO (opening it would wait for a
// writer for good), a device, a file of hundreds of megabytes. Such a file is left
// as it is, unread and unwritten, with a line in the log; the preferences then live
// in memory for the rest of the run, from their defaults.
class IniUserDefaults final : public UserDefaults {
public:
    // Far more than any preferences a person keeps.
    static constexpr qint64 kMaxFileBytes = 1024 * 1024;

    explicit IniUserDefaults(const QString& filePath);
    ~IniUserDefaults() override;

    // The application's file in the XDG config folder.
    static QString standardFilePath();

    QVariant object(const QString& key) const override;
    void setObject(const QString& key, const QVariant& value) override;
    void removeObject(const QString& key) override;

    QString filePath() const { return m_path; }
    // False once the file was found unfit and the preferences moved to memory.
    bool usesFile() const { return m_settings != nullptr; }

private:
    // Checks the file before QSettings may open it; moves to memory when it is unfit.
    void checkFile();
    void sync();

    QString m_path;
    std::unique_ptr<QSettings> m_settings;
    QVariantMap m_memory;
    bool m_reportedFailure = false;
};

}  // namespace platform
