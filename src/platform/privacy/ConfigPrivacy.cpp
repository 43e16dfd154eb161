#include "platform/privacy/ConfigPrivacy.h"

#include "core/Log.h"
#include "core/RegularFile.h"

#include <QDir>
#include <QFile>
#include <QFileInfo>
#include <QPointer>
#include <QSaveFile>
#include <QStandardPaths>
#include <QTimer>

#include <sys/stat.h>
#include <unistd.h>

#include <cerrno>
#include <map>
#include <utility>

namespace platform {

namespace {

int slotOf(EntityType entity) {
    return entity == EntityType::Event ? 0 : 1;
}

QString keyFor(EntityType entity) {
    return entity == EntityType::Event ? QStringLiteral("calendars") : QStringLiteral("reminders");
}

bool rootUnreadable(const QString& root) {
    const QByteArray native = QFile::encodeName(root);
    struct stat st {};
    if (::stat(native.constData(), &st) != 0)
        return false;  // not there yet: granting creates it
    if (!S_ISDIR(st.st_mode) || ::access(native.constData(), R_OK | X_OK) != 0)
        return true;
    return st.st_uid == ::geteuid() && (st.st_mode & (S_IRUSR | S_IXUSR)) != (S_IRUSR | S_IXUSR);
}

bool writeSmallFile(const QString& path, const QByteArray& content) {
    QSaveFile file(path);
    return file.open(QIODevice::WriteOnly) && file.write(content) == content.size() && file.flush() && file.commit();
}

// Two short answers; anything larger is not ours.
constexpr qint64 kMaxConfigBytes = 64 * 1024;

QString grantedText(bool granted) { return granted ? QStringLiteral("granted") : QStringLiteral("denied"); }

// The answers as the file holds them: "key=value" lines of its [General] section (as
// QSettings writes them), or of no section.
std::map<QString, QString> parseAnswers(const QByteArray& data) {
    std::map<QString, QString> answers;
    bool general = true;
    for (const QByteArray& rawLine : data.split('\n')) {
        const QString line = QString::fromUtf8(rawLine).trimmed();
        if (line.startsWith(u'[')) {
            general = line == QLatin1String("[General]");
            continue;
        }
        const qsizetype equals = line.indexOf(u'=');
        if (general && equals > 0)
            answers[line.left(equals).trimmed()] = line.mid(equals + 1).trimmed();
    }
    return answers;
}

bool hasCollection(const QString& root) {
    const QFileInfoList entries = QDir(root).entryInfoList(QDir::Dirs | QDir::NoDotAndDotDot);
    return !entries.isEmpty();
}

}  // namespace

ConfigPrivacy::ConfigPrivacy(QString configFile, QString calendarRoot, ConsentPrompt& prompt, QObject* parent)
    : QObject(parent), m_configFile(std::move(configFile)), m_root(std::move(calendarRoot)), m_prompt(prompt) {}

QString ConfigPrivacy::defaultConfigFile() {
    return QStandardPaths::writableLocation(QStandardPaths::GenericConfigLocation) +
           QStringLiteral("/orbitday/privacy.conf");
}

std::optional<std::map<QString, QString>> ConfigPrivacy::readAnswers() const {
    // Read as the calendar files are: a FIFO or a device left here must not stop the app.
    core::RegularFileRead read = core::readRegularFile(QFile::encodeName(m_configFile), kMaxConfigBytes);
    // No file yet, or no config folder yet (a file where it should be is reported when writing).
    if (read.status == core::RegularFileRead::Status::Missing ||
        (read.status == core::RegularFileRead::Status::Failed && read.error == ENOTDIR))
        return std::map<QString, QString>{};
    if (!read.ok()) {
        if (!m_reportedUnfit)
            core::log(QStringLiteral("left the privacy answers file %1 as it is (%2)")
                          .arg(m_configFile, read.problem(kMaxConfigBytes)));
        m_reportedUnfit = true;
        return std::nullopt;
    }
    m_reportedUnfit = false;
    return parseAnswers(read.data);
}

std::optional<bool> ConfigPrivacy::storedAnswer(EntityType entity) const {
    if (const std::optional<bool> held = m_unstored[slotOf(entity)])
        return held;
    const auto answers = readAnswers();
    if (!answers)
        return std::nullopt;
    const auto found = answers->find(keyFor(entity));
    if (found == answers->end())
        return std::nullopt;
    if (found->second == grantedText(true))
        return true;
    if (found->second == grantedText(false))
        return false;
    return std::nullopt;
}

AuthorizationStatus ConfigPrivacy::authorizationStatus(EntityType entity) const {
    if (rootUnreadable(m_root))
        return AuthorizationStatus::Restricted;
    const auto answer = storedAnswer(entity);
    if (!answer)
        return AuthorizationStatus::NotDetermined;
    return *answer ? AuthorizationStatus::FullAccess : AuthorizationStatus::Denied;
}

std::optional<QString> ConfigPrivacy::setGranted(EntityType entity, bool granted) {
    if (storedAnswer(entity) == granted)
        return granted ? createDefaultCollections() : std::nullopt;
    const std::optional<QString> note = keepAnswer(entity, granted);
    const std::optional<QString> error = granted ? createDefaultCollections() : std::nullopt;
    emit accessChanged(entity);
    return error ? error : note;
}

std::optional<QString> ConfigPrivacy::keepAnswer(EntityType entity, bool granted) {
    // Stored, the answer from the file stands again (a file fixed meanwhile may be written).
    m_unstored[slotOf(entity)].reset();
    if (storeAnswer(entity, granted))
        return std::nullopt;
    core::log(QStringLiteral("could not write the privacy answer to %1; it holds until Orbitday quits")
                  .arg(m_configFile));
    // Forgotten, the question would come straight back, however often it is answered.
    m_unstored[slotOf(entity)] = granted;
    if (std::exchange(m_toldUnstored, true))
        return std::nullopt;
    return QStringLiteral("Your answer holds until Orbitday quits, but it cannot be kept after a restart: %1 "
                          "cannot be written.")
        .arg(m_configFile);
}

bool ConfigPrivacy::storeAnswer(EntityType entity, bool granted) {
    // A file that cannot be read is not replaced either: it stays as it is.
    auto answers = readAnswers();
    if (!answers)
        return false;
    (*answers)[keyFor(entity)] = grantedText(granted);
    QByteArray content = "[General]\n";
    for (const auto& [key, value] : *answers)
        content += key.toUtf8() + '=' + value.toUtf8() + '\n';
    return QDir().mkpath(QFileInfo(m_configFile).path()) && writeSmallFile(m_configFile, content);
}

void ConfigPrivacy::requestAccess(EntityType entity, Completion completion) {
    const AuthorizationStatus status = authorizationStatus(entity);
    const int slot = slotOf(entity);
    if (status != AuthorizationStatus::NotDetermined || m_asking[slot]) {
        // Decided already (or the window is up for this question): answer without asking again.
        const bool granted = status == AuthorizationStatus::FullAccess;
        QTimer::singleShot(0, this,
                           [completion = std::move(completion), granted] { completion(granted, std::nullopt); });
        return;
    }
    m_asking[slot] = true;
    QPointer<ConfigPrivacy> self(this);
    m_prompt.ask(entity, [self, entity, slot, completion = std::move(completion)](bool allowed) {
        if (!self)
            return;
        self->m_asking[slot] = false;
        std::optional<QString> error = self->keepAnswer(entity, allowed);
        if (allowed) {
            if (std::optional<QString> failed = self->createDefaultCollections())
                error = failed;
        }
        QTimer::singleShot(0, self.data(), [completion, allowed, error] { completion(allowed, error); });
    });
}

std::optional<QString> ConfigPrivacy::createDefaultCollections() const {
    if (hasCollection(m_root))
        return std::nullopt;
    struct Default {
        const char* folder;
        const char* title;
        const char* components;
    };
    for (const Default& d :
         {Default{"calendar", "Calendar", "VEVENT\n"}, Default{"reminders", "Reminders", "VTODO\n"}}) {
        const QString folder = m_root + QLatin1Char('/') + QLatin1String(d.folder);
        if (!QDir().mkpath(folder) || !writeSmallFile(folder + QStringLiteral("/displayname"), d.title) ||
            !writeSmallFile(folder + QStringLiteral("/components"), d.components)) {
            core::log(QStringLiteral("could not create %1").arg(folder));
            return QStringLiteral("The calendar folder %1 could not be created.").arg(m_root);
        }
    }
    return std::nullopt;
}

}  // namespace platform
