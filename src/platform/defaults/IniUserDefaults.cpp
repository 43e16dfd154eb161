#include "platform/defaults/IniUserDefaults.h"

#include "core/Log.h"

#include <QStandardPaths>

namespace platform {

IniUserDefaults::IniUserDefaults(const QString& filePath) : m_settings(filePath, QSettings::IniFormat) {}

QString IniUserDefaults::standardFilePath() {
    return QStandardPaths::writableLocation(QStandardPaths::GenericConfigLocation) +
           QStringLiteral("/orbitday/settings.ini");
}

QVariant IniUserDefaults::object(const QString& key) const {
    return m_settings.value(key);
}

void IniUserDefaults::setObject(const QString& key, const QVariant& value) {
    m_settings.setValue(key, value);
    sync();
}

void IniUserDefaults::removeObject(const QString& key) {
    m_settings.remove(key);
    sync();
}

void IniUserDefaults::sync() {
    m_settings.sync();
    // One line per store: a read-only folder would otherwise repeat it on every change.
    if (m_settings.status() != QSettings::NoError && !m_reportedFailure) {
        m_reportedFailure = true;
        core::log(QStringLiteral("could not write the settings to ") + m_settings.fileName());
    }
}

}  // namespace platform
