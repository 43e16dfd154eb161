#pragma once

#include <QString>

namespace testsupport {

// The time zone and locale every test starts with.
inline constexpr const char* kTimeZone = "Europe/Berlin";
inline constexpr const char* kLocale = "en_US.UTF-8";

// Points HOME and XDG_{CONFIG,DATA,CACHE,STATE}_HOME and XDG_RUNTIME_DIR at a
// fresh temporary folder, pins TZ and the locale, has fontconfig read the suite's
// own configuration (support/fonts.conf), and selects the offscreen platform
// unless a display was asked for. Call before any Qt object exists.
void isolateProcess();
// The temporary HOME of this process.
QString homeFolder();
void cleanUp();

// Sets TZ (and the core's current zone) for the lifetime of the guard.
class ScopedTimeZone {
public:
    explicit ScopedTimeZone(const char* id);
    ~ScopedTimeZone();
    ScopedTimeZone(const ScopedTimeZone&) = delete;
    ScopedTimeZone& operator=(const ScopedTimeZone&) = delete;

private:
    QByteArray m_previous;
};

// Unsets TZ and has the core read the system's zone from `path` instead of
// /etc/localtime, for the lifetime of the guard.
class ScopedSystemZoneFile {
public:
    explicit ScopedSystemZoneFile(const QString& path);
    ~ScopedSystemZoneFile();
    ScopedSystemZoneFile(const ScopedSystemZoneFile&) = delete;
    ScopedSystemZoneFile& operator=(const ScopedSystemZoneFile&) = delete;

private:
    QByteArray m_previousTz;
    QString m_previousFile;
};

// Writes the zone file of `zoneId` over the file at `path`, in place (it keeps its
// inode), as an administrator copying a zone over /etc/localtime does.
void copyZoneFileInPlace(const QString& path, const char* zoneId);

// Sets the core's current locale for the lifetime of the guard.
class ScopedLocale {
public:
    explicit ScopedLocale(const char* name);
    ~ScopedLocale();
    ScopedLocale(const ScopedLocale&) = delete;
    ScopedLocale& operator=(const ScopedLocale&) = delete;
};

}  // namespace testsupport
