#include "platform/defaults/IniUserDefaults.h"

#include "core/Log.h"

#include <QFile>
#include <QStandardPaths>

#include <sys/stat.h>

namespace platform {
namespace {

struct FileStamp {
    ino_t inode = 0;
    timespec modified{};

    static FileStamp of(const QString& path) {
        struct stat st {};
        if (::stat(QFile::encodeName(path).constData(), &st) != 0)
            return {};
        return {st.st_ino, st.st_mtim};
    }
    bool operator==(const FileStamp& other) const {
        return inode == other.inode && modified.tv_sec == other.modified.tv_sec &&
               modified.tv_nsec == other.modified.tv_nsec;
    }
};

}  // namespace

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
    const FileStamp before = FileStamp::of(m_settings.fileName());
    m_settings.sync();
    // A file that could not be parsed leaves FormatError standing for good, though
    // the file is then written whole; it hides a later AccessError too. A write
    // replaces the file, so an unchanged file tells that this one failed.
    const QSettings::Status status = m_settings.status();
    const bool failed = status == QSettings::AccessError ||
                        (status == QSettings::FormatError && FileStamp::of(m_settings.fileName()) == before);
    // One line per store: a read-only folder would otherwise repeat it on every change.
    if (failed && !m_reportedFailure) {
        m_reportedFailure = true;
        core::log(QStringLiteral("could not write the settings to ") + m_settings.fileName());
    }
}

}  // namespace platform
