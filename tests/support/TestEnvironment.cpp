#include "TestEnvironment.h"

#include "core/Locale.h"
#include "core/TimeZone.h"
#include "core/ZoneFiles.h"

#include <QByteArray>
#include <QDir>
#include <QTemporaryDir>

#include <cstdlib>
#include <memory>

namespace testsupport {
namespace {
std::unique_ptr<QTemporaryDir> home;

void setEnv(const char* name, const QByteArray& value) { ::setenv(name, value.constData(), 1); }
}  // namespace

void isolateProcess() {
    home = std::make_unique<QTemporaryDir>(QDir::tempPath() + QStringLiteral("/orbitday-test-XXXXXX"));
    if (!home->isValid())
        std::abort();
    const QByteArray root = QFile::encodeName(home->path());
    for (const char* sub : {"/config", "/data", "/cache", "/state", "/runtime"})
        QDir().mkpath(home->path() + QString::fromLatin1(sub));
    QFile::setPermissions(home->path() + QStringLiteral("/runtime"),
                          QFileDevice::ReadOwner | QFileDevice::WriteOwner | QFileDevice::ExeOwner);
    setEnv("HOME", root);
    setEnv("XDG_CONFIG_HOME", root + "/config");
    setEnv("XDG_DATA_HOME", root + "/data");
    setEnv("XDG_CACHE_HOME", root + "/cache");
    setEnv("XDG_STATE_HOME", root + "/state");
    setEnv("XDG_RUNTIME_DIR", root + "/runtime");
    setEnv("TZ", kTimeZone);
    setEnv("LANG", kLocale);
    setEnv("LC_ALL", kLocale);
    ::unsetenv("LC_TIME");
    ::unsetenv("LANGUAGE");
    setEnv("FONTCONFIG_FILE", QByteArrayLiteral(ORBITDAY_TEST_FONTCONFIG));
    if (!std::getenv("ORBITDAY_TEST_DISPLAY"))
        setEnv("QT_QPA_PLATFORM", "offscreen");
    core::TimeZone::resetCurrent();
    core::Locale::resetCurrent();
}

QString homeFolder() { return home ? home->path() : QString(); }

void cleanUp() { home.reset(); }

ScopedTimeZone::ScopedTimeZone(const char* id) : m_previous(qgetenv("TZ")) {
    setEnv("TZ", id);
    core::TimeZone::resetCurrent();
}

ScopedTimeZone::~ScopedTimeZone() {
    setEnv("TZ", m_previous);
    core::TimeZone::resetCurrent();
}

ScopedSystemZoneFile::ScopedSystemZoneFile(const QString& path)
    : m_previousTz(qgetenv("TZ")), m_previousFile(core::TimeZone::systemZoneFile()) {
    ::unsetenv("TZ");
    core::TimeZone::setSystemZoneFile(path);
    core::TimeZone::resetCurrent();
}

ScopedSystemZoneFile::~ScopedSystemZoneFile() {
    setEnv("TZ", m_previousTz);
    core::TimeZone::setSystemZoneFile(m_previousFile);
    core::TimeZone::resetCurrent();
}

void copyZoneFileInPlace(const QString& path, const char* zoneId) {
    QFile file(path);
    const auto contents = core::zonefiles::contentsOf(QString::fromLatin1(zoneId));
    if (!contents || !file.open(QIODevice::WriteOnly | QIODevice::Truncate) ||
        file.write(*contents) != contents->size())
        std::abort();
}

ScopedLocale::ScopedLocale(const char* name) { core::Locale::setCurrentForTesting(QString::fromUtf8(name)); }

ScopedLocale::~ScopedLocale() { core::Locale::resetCurrent(); }

}  // namespace testsupport
