#include "platform/defaults/IniUserDefaults.h"

#include "core/Log.h"
#include "core/RegularFile.h"

#include <QCoreApplication>
#include <QFile>
#include <QStandardPaths>

#include <sys/stat.h>

#include <optional>

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

// Why QSettings must not open the file, or nullopt when it may: QSettings reads
// the whole file, blocking, as soon as it is made and whenever the file changed.
std::optional<QString> unfit(const QString& path) {
    const core::RegularFileRead read = core::readRegularFile(QFile::encodeName(path), IniUserDefaults::kMaxFileBytes);
    if (read.ok() || read.status == core::RegularFileRead::Status::Missing)
        return std::nullopt;
    return read.problem(IniUserDefaults::kMaxFileBytes);
}

void reportUnfit(const QString& path, const QString& problem) {
    core::log(QStringLiteral("left the settings file %1 as it is (%2); the preferences are kept in memory")
                  .arg(path, problem));
}

}  // namespace

IniUserDefaults::IniUserDefaults(const QString& filePath) : m_path(filePath) {
    if (const auto problem = unfit(m_path))
        reportUnfit(m_path, *problem);
    else
        m_settings = std::make_unique<QSettings>(m_path, QSettings::IniFormat);
}

IniUserDefaults::~IniUserDefaults() = default;

QString IniUserDefaults::standardFilePath() {
    return QStandardPaths::writableLocation(QStandardPaths::GenericConfigLocation) +
           QStringLiteral("/orbitday/settings.ini");
}

void IniUserDefaults::checkFile() {
    if (!m_settings)
        return;
    const auto problem = unfit(m_path);
    if (!problem)
        return;
    reportUnfit(m_path, *problem);
    // Every earlier change was written at once, so dropping the QSettings writes
    // nothing; what it read before stays in use.
    for (const QString& key : m_settings->allKeys())
        m_memory.insert(key, m_settings->value(key));
    m_settings.reset();
}

QVariant IniUserDefaults::object(const QString& key) const {
    return m_settings ? m_settings->value(key) : m_memory.value(key);
}

void IniUserDefaults::setObject(const QString& key, const QVariant& value) {
    // QSettings reads the file again before it writes, when it changed meanwhile.
    checkFile();
    if (!m_settings) {
        m_memory.insert(key, value);
        return;
    }
    m_settings->setValue(key, value);
    sync();
}

void IniUserDefaults::removeObject(const QString& key) {
    checkFile();
    if (!m_settings) {
        m_memory.remove(key);
        return;
    }
    m_settings->remove(key);
    sync();
}

void IniUserDefaults::sync() {
    const FileStamp before = FileStamp::of(m_path);
    m_settings->sync();
    // QSettings posted itself a request to sync again from the event loop, where it would read
    // the file once more if it changed, unchecked: it was written just now, so the request goes.
    QCoreApplication::removePostedEvents(m_settings.get(), QEvent::UpdateRequest);
    // A file that could not be parsed leaves FormatError standing for good, though
    // the file is then written whole; it hides a later AccessError too. A write
    // replaces the file, so an unchanged file tells that this one failed.
    const QSettings::Status status = m_settings->status();
    const bool failed = status == QSettings::AccessError ||
                        (status == QSettings::FormatError && FileStamp::of(m_path) == before);
    // One line per store: a read-only folder would otherwise repeat it on every change.
    if (failed && !m_reportedFailure) {
        m_reportedFailure = true;
        core::log(QStringLiteral("could not write the settings to ") + m_path);
    }
}

}  // namespace platform
