// The settings file, settings.ini, as the user or anything else may have left it: read
// through the INI store and then every preference the app keeps, the way a start
// reads them. Beyond not crashing, every value must be one the app can use: lead
// times are finite, an auto-dismiss time is not negative, the hot keys registered
// each hold Ctrl, Alt or Super, and the date in the tray's title is never empty.
//
// Input: the bytes of the file.

#include "core/Date.h"
#include "platform/defaults/IniUserDefaults.h"
#include "platform/hotkeys/FakeHotKeyRegistrar.h"
#include "platform/keys/KeyTable.h"
#include "state/AppSettings.h"
#include "state/HotKeyManager.h"

#include <QCoreApplication>
#include <QFile>
#include <QTemporaryDir>

#include <cmath>
#include <cstdint>
#include <cstdlib>

namespace {

QTemporaryDir* folder = nullptr;
int runs = 0;

void check(bool condition) {
    if (!condition)
        std::abort();
}

bool isFiniteNumber(double value) { return std::isfinite(value); }

}  // namespace

extern "C" int LLVMFuzzerInitialize(int* argc, char*** argv) {
    ::setenv("TZ", "Europe/Berlin", 1);
    static QCoreApplication app(*argc, *argv);
    // In memory where there is a place for it: every run writes the file, and QSettings syncs it to disk.
    folder = QFile::exists(QStringLiteral("/dev/shm")) ? new QTemporaryDir(QStringLiteral("/dev/shm/orbitday-fuzz-XXXXXX"))
                                                       : new QTemporaryDir;
    for (const char* variable : {"HOME", "XDG_CONFIG_HOME", "XDG_DATA_HOME", "XDG_CACHE_HOME", "XDG_STATE_HOME"})
        ::setenv(variable, QFile::encodeName(folder->path()).constData(), 1);
    return 0;
}

extern "C" int LLVMFuzzerTestOneInput(const uint8_t* data, size_t size) {
    // A file of its own each run: QSettings keeps what it read of a file by its name,
    // and would take a rewrite of equal size within one clock tick for the old file.
    const QString path = folder->path() + QStringLiteral("/settings-%1.ini").arg(++runs);
    {
        QFile file(path);
        if (!file.open(QIODevice::WriteOnly))
            std::abort();
        file.write(reinterpret_cast<const char*>(data), static_cast<qint64>(size));
    }
    {
        platform::IniUserDefaults defaults(path);
        app::AppSettings settings(defaults);

        check(isFiniteNumber(settings.alertLeadTime()));
        check(isFiniteNumber(settings.meetingCountdownLeadTime()));
        if (const auto dismiss = settings.alertAutoDismissAfter())
            check(isFiniteNumber(*dismiss) && *dismiss >= 0);
        if (const auto sound = settings.alertSound())
            check(!sound->isEmpty());
        check(settings.calendar().firstWeekday() >= 1 && settings.calendar().firstWeekday() <= 7);
        check(!settings.formattedDate(core::Date(1773220500)).isEmpty());
        for (const auto& combo : {settings.hotKeyOpenPopover(), settings.hotKeyQuickCreate(), settings.hotKeyJoinMeeting()})
            if (combo)
                combo->displayString();

        // Only a shortcut with Ctrl, Alt or Super may take a key from every application.
        platform::FakeHotKeyRegistrar registrar;
        app::HotKeyManager hotKeys(registrar);
        hotKeys.bind(settings, [](app::HotKeyAction) {});
        using namespace platform::keys::carbon;
        for (const auto& registration : registrar.registrations())
            check((registration.modifiers & (kCommand | kOption | kControl)) != 0);

        // The two values written back at once read back as they were.
        const app::AppSettings again(defaults);
        check(again.alertSound() == settings.alertSound());
        check(again.alertAutoDismissAfter() == settings.alertAutoDismissAfter());
    }
    QFile::remove(path);
    return 0;
}
