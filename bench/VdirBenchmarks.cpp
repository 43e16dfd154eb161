#include "VdirGenerator.h"

#include "core/Calendar.h"
#include "platform/eventstore/vdir/VdirEventStore.h"
#include "platform/privacy/FakePrivacy.h"

#include <QCoreApplication>
#include <QTemporaryDir>

#include <benchmark/benchmark.h>

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

}  // namespace

int main(int argc, char** argv) {
    QCoreApplication app(argc, argv);
    benchmark::Initialize(&argc, argv);
    benchmark::RunSpecifiedBenchmarks();
    benchmark::Shutdown();
    return 0;
}
