#include "platform/privacy/ConfigPrivacy.h"

#include "core/Log.h"

#include <QDir>
#include <QFile>
#include <QFileInfo>
#include <QPointer>
#include <QSaveFile>
#include <QSettings>
#include <QStandardPaths>
#include <QTimer>

#include <sys/stat.h>
#include <unistd.h>

namespace platform {

namespace {

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

std::optional<bool> ConfigPrivacy::storedAnswer(EntityType entity) const {
    QSettings settings(m_configFile, QSettings::IniFormat);
    const QString value = settings.value(keyFor(entity)).toString();
    if (value == QLatin1String("granted"))
        return true;
    if (value == QLatin1String("denied"))
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
    if (!storeAnswer(entity, granted)) {
        core::log(QStringLiteral("could not write the privacy answer to ") + m_configFile);
        return QStringLiteral("Your choice could not be saved in %1.").arg(m_configFile);
    }
    const std::optional<QString> error = granted ? createDefaultCollections() : std::nullopt;
    emit accessChanged(entity);
    return error;
}

bool ConfigPrivacy::storeAnswer(EntityType entity, bool granted) {
    QSettings settings(m_configFile, QSettings::IniFormat);
    settings.setValue(keyFor(entity), granted ? QStringLiteral("granted") : QStringLiteral("denied"));
    settings.sync();
    return settings.status() == QSettings::NoError;
}

void ConfigPrivacy::requestAccess(EntityType entity, Completion completion) {
    const AuthorizationStatus status = authorizationStatus(entity);
    const int slot = entity == EntityType::Event ? 0 : 1;
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
        std::optional<QString> error;
        // Unstored, the answer is forgotten and the question comes back on every start.
        if (!self->storeAnswer(entity, allowed)) {
            core::log(QStringLiteral("could not write the privacy answer to ") + self->m_configFile);
            error = QStringLiteral("Your answer could not be saved in %1.").arg(self->m_configFile);
        } else if (allowed) {
            error = self->createDefaultCollections();
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
