// The resident memory of a process that holds a calendar folder open, as the app does, with the events of its
// window; after rescanning the unchanged folder, as each change the folder watcher reports does; and after
// re-reading every file again and again, as "Refresh now" does.
//   vdir_memory <folder> [re-reads]
// Prints one line of key=value pairs; bench_vdir runs it on generated folders of several sizes.
#include "core/Calendar.h"
#include "platform/eventstore/vdir/VdirEventStore.h"
#include "platform/privacy/FakePrivacy.h"

#include <QCoreApplication>
#include <QFile>
#include <QStringList>

#include <cstdio>

namespace {

long residentKiB() {
    QFile status(QStringLiteral("/proc/self/status"));
    if (!status.open(QIODevice::ReadOnly))
        return -1;
    for (const QByteArray& line : status.readAll().split('\n'))
        if (line.startsWith("VmRSS:"))
            return line.mid(6).trimmed().split(' ').value(0).toLong();
    return -1;
}

}  // namespace

int main(int argc, char** argv) {
    QCoreApplication app(argc, argv);
    const QStringList args = app.arguments();
    if (args.size() < 2) {
        std::fprintf(stderr, "usage: vdir_memory <folder> [re-reads]\n");
        return 2;
    }
    const int rereads = args.size() > 2 ? args.at(2).toInt() : 0;
    const core::Calendar calendar;
    const core::Date today = calendar.startOfDay(core::Date::now());
    const core::Date windowStart = *calendar.dateByAdding(core::CalendarUnit::Day, -42, today);
    const core::Date windowEnd = *calendar.dateByAdding(core::CalendarUnit::Day, 49, today);

    platform::FakePrivacy privacy;
    const long before = residentKiB();
    platform::vdir::VdirEventStore store(privacy, args.at(1));
    size_t occurrences = store.events(windowStart, windowEnd, std::nullopt).size();
    const long opened = residentKiB();
    for (int i = 0; i < 20; ++i)
        store.reloadNow();
    const long rescanned = residentKiB();
    long afterRereads = opened;
    for (int i = 0; i < rereads; ++i) {
        store.refreshSources();
        occurrences = store.events(windowStart, windowEnd, std::nullopt).size();
        afterRereads = residentKiB();
    }
    std::printf("items=%zu occurrences=%zu rss_before_kib=%ld rss_kib=%ld rss_after_rescans_kib=%ld "
                "rss_after_rereads_kib=%ld\n",
                store.catalog().items().size(), occurrences, before, opened, rescanned, afterRereads);
    return 0;
}
