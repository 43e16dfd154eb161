#pragma once

#include <QString>

namespace testsupport {

// The time zone and locale every test starts with.
inline constexpr const char* kTimeZone = "Europe/Berlin";
inline constexpr const char* kLocale = "en_US.UTF-8";

// Points HOME and XDG_{CONFIG,DATA,CACHE,STATE}_HOME and XDG_RUNTIME_DIR at a
// fresh temporary folder, pins TZ and the locale, and selects the offscreen
// platform unless a display was asked for. Call before any Qt object exists.
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

// Sets the core's current locale for the lifetime of the guard.
class ScopedLocale {
public:
    explicit ScopedLocale(const char* name);
    ~ScopedLocale();
    ScopedLocale(const ScopedLocale&) = delete;
    ScopedLocale& operator=(const ScopedLocale&) = delete;
};

}  // namespace testsupport
