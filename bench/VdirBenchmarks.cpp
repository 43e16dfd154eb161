#include "VdirGenerator.h"

#include "core/Calendar.h"
#include "platform/eventstore/vdir/VdirEventStore.h"
#include "platform/privacy/FakePrivacy.h"

#include <QCoreApplication>
#include <QProcess>
#include <QTemporaryDir>

#include <benchmark/benchmark.h>

#include <map>
#include <memory>

namespace {

struct Fixture {
    Fixture() {
        root = dir.path() + QStringLiteral("/calendars");
        bench::generateVdir(root, core::Date::now());
        const core::Calendar calendar;
        const core::Date today = calendar.startOfDay(core::Date::now());
        windowStart = *calendar.dateByAdding(core::CalendarUnit::Day, -42, today);
        windowEnd = *calendar.dateByAdding(core::CalendarUnit::Day, 49, today);
    }

    QTemporaryDir dir;
    QString root;
    core::Date windowStart;
    core::Date windowEnd;
    platform::FakePrivacy privacy;
};

Fixture& fixture() {
    static Fixture f;
    return f;
}

// A store opened on 5,000 files it has never read, then the events of the 91-day window.
void BM_VdirColdOpenAndWindow(benchmark::State& state) {
    Fixture& f = fixture();
    size_t events = 0;
    for (auto _ : state) {
        platform::vdir::VdirEventStore store(f.privacy, f.root);
        events = store.events(f.windowStart, f.windowEnd, std::nullopt).size();
        benchmark::DoNotOptimize(events);
    }
    state.counters["events"] = static_cast<double>(events);
}
BENCHMARK(BM_VdirColdOpenAndWindow)->Unit(benchmark::kMillisecond)->MinTime(2.0);

// What a reload of the app asks of the store when nothing changed: the calendars, the lists and the window's
// events. The folder watches tell the store that nothing changed, so no file is looked at.
void BM_VdirReloadUnchanged(benchmark::State& state) {
    Fixture& f = fixture();
    platform::vdir::VdirEventStore store(f.privacy, f.root);
    for (auto _ : state) {
        benchmark::DoNotOptimize(store.calendars(platform::EntityType::Event).size());
        benchmark::DoNotOptimize(store.calendars(platform::EntityType::Reminder).size());
        benchmark::DoNotOptimize(store.events(f.windowStart, f.windowEnd, std::nullopt).size());
    }
}
BENCHMARK(BM_VdirReloadUnchanged)->Unit(benchmark::kMillisecond);

// The same after a change was reported that turned out to be none (or a refresh): every file is looked at again
// (stat only: nothing is re-read), then the window's events.
void BM_VdirRescanAndReloadUnchanged(benchmark::State& state) {
    Fixture& f = fixture();
    platform::vdir::VdirEventStore store(f.privacy, f.root);
    for (auto _ : state) {
        store.reloadNow();
        benchmark::DoNotOptimize(store.events(f.windowStart, f.windowEnd, std::nullopt).size());
    }
}
BENCHMARK(BM_VdirRescanAndReloadUnchanged)->Unit(benchmark::kMillisecond);

void BM_VdirRescanOnly(benchmark::State& state) {
    Fixture& f = fixture();
    platform::vdir::VdirEventStore store(f.privacy, f.root);
    for (auto _ : state)
        store.reloadNow();
}
BENCHMARK(BM_VdirRescanOnly)->Unit(benchmark::kMillisecond);

// The resident memory of a process that opened a folder of N one-event files and read its window (vdir_memory,
// run once per size): the whole process, and what each loaded event adds to a process that holds none.
void BM_VdirResidentMemory(benchmark::State& state) {
    const int files = static_cast<int>(state.range(0));
    QTemporaryDir dir;
    const QString root = dir.path() + QStringLiteral("/calendars");
    bench::generateVdir(root, core::Date::now(), {.files = files});
    std::map<QString, double> figures;
    for (auto _ : state) {
        QProcess tool;
        tool.start(QStringLiteral(ORBITDAY_VDIR_MEMORY), {root});
        if (!tool.waitForFinished(600000) || tool.exitCode() != 0) {
            state.SkipWithError("vdir_memory failed");
            return;
        }
        for (const QByteArray& pair : tool.readAllStandardOutput().trimmed().split(' '))
            figures[QString::fromUtf8(pair.split('=').value(0))] = pair.split('=').value(1).toDouble();
    }
    const double events = figures[QStringLiteral("items")];
    state.counters["events"] = events;
    state.counters["rss_MiB"] = figures[QStringLiteral("rss_kib")] / 1024.0;
    state.counters["KiB_per_event"] =
        events > 0 ? (figures[QStringLiteral("rss_kib")] - figures[QStringLiteral("rss_before_kib")]) / events : 0;
}
BENCHMARK(BM_VdirResidentMemory)->Arg(5000)->Arg(20000)->Arg(50000)->Iterations(1)->Unit(benchmark::kMillisecond);

}  // namespace

int main(int argc, char** argv) {
    QCoreApplication app(argc, argv);
    benchmark::Initialize(&argc, argv);
    benchmark::RunSpecifiedBenchmarks();
    benchmark::Shutdown();
    return 0;
}
