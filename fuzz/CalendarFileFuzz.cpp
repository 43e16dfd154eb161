// One .ics file in a calendar folder, read the way the app reads it: parsed,
// grouped into items, each series expanded over a window of weeks and mapped to
// events, each item mapped to an event or a reminder of its own.
//
// Input: the bytes of the file.

#include "platform/eventstore/vdir/VdirEventStore.h"
#include "platform/privacy/FakePrivacy.h"

#include "core/TimeZone.h"

#include <QCoreApplication>
#include <QDateTime>
#include <QDir>
#include <QFile>
#include <QTemporaryDir>
#include <QTimeZone>

#include <cstdint>
#include <cstdlib>
#include <memory>

namespace {

struct Folder {
    QTemporaryDir home;
    platform::FakePrivacy privacy;
    std::unique_ptr<platform::vdir::VdirEventStore> store;
    QString item;
};

Folder* folder = nullptr;

core::Date utc(int y, int mo, int d) {
    return core::Date::fromQDateTime(QDateTime(QDate(y, mo, d), QTime(0, 0), QTimeZone::utc()));
}

}  // namespace

extern "C" int LLVMFuzzerInitialize(int* argc, char*** argv) {
    // Floating times are read in the current zone: pin one that changes its clocks.
    ::setenv("TZ", "Europe/Berlin", 1);
    core::TimeZone::resetCurrent();
    static QCoreApplication app(*argc, *argv);
    folder = new Folder;
    // Nothing the app or a library might read or write lies outside this folder.
    const QString home = folder->home.path();
    for (const char* variable : {"HOME", "XDG_CONFIG_HOME", "XDG_DATA_HOME", "XDG_CACHE_HOME", "XDG_STATE_HOME"})
        ::setenv(variable, QFile::encodeName(home).constData(), 1);
    const QString root = home + QStringLiteral("/calendars");
    QDir().mkpath(root + QStringLiteral("/personal"));
    folder->item = root + QStringLiteral("/personal/item.ics");
    folder->store = std::make_unique<platform::vdir::VdirEventStore>(folder->privacy, root);
    return 0;
}

extern "C" int LLVMFuzzerTestOneInput(const uint8_t* data, size_t size) {
    QFile file(folder->item);
    if (!file.open(QIODevice::WriteOnly | QIODevice::Truncate))
        std::abort();
    file.write(reinterpret_cast<const char*>(data), static_cast<qint64>(size));
    file.close();

    auto& store = *folder->store;
    store.catalog().clear();
    store.reloadNow();

    // Three weeks of June 2024 (a shorter window than the popover's, so that long
    // series cost fewer runs), and a few of its events looked up one by one, as the
    // editor does: each lookup expands the series again.
    const auto events = store.events(utc(2024, 6, 3), utc(2024, 6, 24), std::nullopt);
    for (size_t i = 0; i < events.size() && i < 4; ++i) {
        if (events[i].occurrenceDate)
            store.event(events[i].eventIdentifier, *events[i].occurrenceDate);
    }
    for (const auto& item : store.catalog().items())
        store.calendarItem(store.catalog().identifier(item));
    return 0;
}
