#include "VdirGenerator.h"

#include "core/Calendar.h"
#include "model/Drafts.h"
#include "platform/eventstore/vdir/VdirEventStore.h"
#include "platform/privacy/FakePrivacy.h"
#include "store/CalendarStore.h"

#include <QCoreApplication>
#include <QDir>
#include <QDirIterator>
#include <QElapsedTimer>
#include <QFile>
#include <QProcess>
#include <QSet>
#include <QTemporaryDir>
#include <QTimer>

#include <benchmark/benchmark.h>

#include <algorithm>
#include <atomic>
#include <cstdio>
#include <functional>
#include <map>
#include <memory>
#include <thread>

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

// What opening the popover asks of the app's store over unchanged files: a reload of access, calendars, the window's
// events and the reminders.
void BM_StoreReloadUnchanged(benchmark::State& state) {
    Fixture& f = fixture();
    platform::vdir::VdirEventStore ek(f.privacy, f.root);
    store::CalendarStore store(ek);
    for (auto _ : state) {
        store.reload();
        benchmark::DoNotOptimize(store.events().size());
    }
    state.counters["events"] = static_cast<double>(store.events().size());
}
BENCHMARK(BM_StoreReloadUnchanged)->Unit(benchmark::kMillisecond);

// Moving to a month past the loaded window, as the popover's grid asks the store: the time the main thread is held
// by the ask, and (until_published_ms) the time until the month's events are published. Each round asks for the
// month after the last.
void BM_StoreMonthOutsideTheWindow(benchmark::State& state) {
    Fixture& f = fixture();
    platform::vdir::VdirEventStore ek(f.privacy, f.root);
    store::CalendarStore store(ek);
    core::Date next = store.loadedRange().end();
    double publishedMs = 0;
    for (auto _ : state) {
        const core::DateInterval month{next, 31 * 86400.0};
        next = month.end();
        QElapsedTimer clock;
        clock.start();
        store.ensureLoaded(month);
        state.PauseTiming();
        while (store.loadedRange().end() < month.end())
            QCoreApplication::processEvents(QEventLoop::WaitForMoreEvents, 10);
        publishedMs += static_cast<double>(clock.nsecsElapsed()) / 1e6;
        state.ResumeTiming();
    }
    state.counters["until_published_ms"] = publishedMs / static_cast<double>(state.iterations());
    state.counters["events"] = static_cast<double>(store.events().size());
}
BENCHMARK(BM_StoreMonthOutsideTheWindow)->Unit(benchmark::kMillisecond)->Iterations(12);

// The resident memory of a process that opened a folder of N one-event files and read its window (vdir_memory,
// run once per size): the whole process, and what each loaded event adds to a process that holds none, right after
// the open and after the folder watcher's rescans of the unchanged folder.
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
    const auto perEvent = [&](const QString& figure) {
        return events > 0 ? (figures[figure] - figures[QStringLiteral("rss_before_kib")]) / events : 0;
    };
    state.counters["KiB_per_event"] = perEvent(QStringLiteral("rss_kib"));
    state.counters["KiB_per_event_rescanned"] = perEvent(QStringLiteral("rss_after_rescans_kib"));
}
BENCHMARK(BM_VdirResidentMemory)->Arg(5000)->Arg(20000)->Arg(50000)->Iterations(1)->Unit(benchmark::kMillisecond);

// Editing one event as the editor does (CalendarStore::update, the write and the reload that follows): the time
// the main thread is held, in a folder of 20,000 one-event files and in one calendar file of 5,000 events.

// The text of every `kind` component in `text`, from its BEGIN line to its END line.
QList<QByteArray> blocks(const QByteArray& text, const QByteArray& kind) {
    QList<QByteArray> found;
    const QByteArray begin = "BEGIN:" + kind + "\r\n";
    const QByteArray end = "END:" + kind + "\r\n";
    for (qsizetype at = text.indexOf(begin); at >= 0; at = text.indexOf(begin, at + 1)) {
        const qsizetype stop = text.indexOf(end, at);
        if (stop < 0)
            break;
        found << text.mid(at, stop + end.size() - at);
    }
    return found;
}

// The generated events of a folder, all in one calendar file of the collection `personal`.
void mergeIntoOneFile(const QString& root) {
    QByteArray events;
    QSet<QByteArray> zones;
    QByteArray zoneText;
    QDirIterator files(root, {QStringLiteral("*.ics")}, QDir::Files, QDirIterator::Subdirectories);
    while (files.hasNext()) {
        QFile file(files.next());
        if (!file.open(QIODevice::ReadOnly))
            continue;
        const QByteArray text = file.readAll();
        file.close();
        file.remove();
        for (const QByteArray& zone : blocks(text, "VTIMEZONE"))
            if (!zones.contains(zone)) {
                zones.insert(zone);
                zoneText += zone;
            }
        for (const QByteArray& event : blocks(text, "VEVENT"))
            events += event;
    }
    QFile merged(root + QStringLiteral("/personal/all.ics"));
    if (merged.open(QIODevice::WriteOnly))
        merged.write("BEGIN:VCALENDAR\r\nVERSION:2.0\r\nPRODID:-//Orbitday//bench//EN\r\n" + zoneText + events +
                     "END:VCALENDAR\r\n");
}

struct Calendar {
    QTemporaryDir dir;
    platform::FakePrivacy privacy;
    std::unique_ptr<platform::vdir::VdirEventStore> ek;
    std::unique_ptr<store::CalendarStore> store;

    Calendar(int files, bool oneFile) {
        const QString root = dir.path() + QStringLiteral("/calendars");
        bench::generateVdir(root, core::Date::now(), {.files = files});
        if (oneFile)
            mergeIntoOneFile(root);
        ek = std::make_unique<platform::vdir::VdirEventStore>(privacy, root);
        store = std::make_unique<store::CalendarStore>(*ek);
    }
};

void editOneEvent(benchmark::State& state, Calendar& calendar) {
    int round = 0;
    for (auto _ : state) {
        // A single timed event of the window, as the agenda shows it.
        const model::ODEvent* target = nullptr;
        for (const model::ODEvent& e : calendar.store->events())
            if (!e.isAllDay && !e.isRecurring) {
                target = &e;
                break;
            }
        if (!target) {
            state.SkipWithError("no event to edit");
            return;
        }
        model::EventDraft draft = model::EventDraft::fromEvent(*target);
        draft.title = QStringLiteral("Edited %1").arg(++round);
        calendar.store->update(target->id, draft, model::EditSpan::thisEvent);
    }
}

void BM_EditOneEventInAFolderOf20000Files(benchmark::State& state) {
    static Calendar calendar(20000, false);
    editOneEvent(state, calendar);
}
BENCHMARK(BM_EditOneEventInAFolderOf20000Files)->Unit(benchmark::kMillisecond)->Iterations(20);

void BM_EditOneEventInAFileOf5000Events(benchmark::State& state) {
    static Calendar calendar(5000, true);
    editOneEvent(state, calendar);
}
BENCHMARK(BM_EditOneEventInAFileOf5000Events)->Unit(benchmark::kMillisecond)->Iterations(10);

// 10,000 one-event files arriving at once in the watched folders of 2,000 (a first sync): another thread moves them
// in, as a sync tool renames what it wrote, while the main thread runs its event loop until the store holds them
// all (and, with CalendarStore over it, until its events show them). longest_stall_ms is the longest the main
// thread went without running its loop (the gaps of a 2 ms timer); the time is that until they are shown.
struct Arrival {
    QTemporaryDir dir;
    QString root = dir.path() + QStringLiteral("/calendars");
    QString incoming = dir.path() + QStringLiteral("/incoming");
    QStringList names;  // below either folder
    platform::FakePrivacy privacy;
    std::unique_ptr<platform::vdir::VdirEventStore> ek;
    std::unique_ptr<store::CalendarStore> store;

    explicit Arrival(bool withCalendarStore) {
        bench::generateVdir(root, core::Date::now(), {.files = 2000});
        bench::generateVdir(incoming, core::Date::now(), {.files = 10000, .randomSeed = 7});
        QDirIterator files(incoming, {QStringLiteral("*.ics")}, QDir::Files, QDirIterator::Subdirectories);
        while (files.hasNext())
            names << files.next().mid(incoming.size());
        ek = std::make_unique<platform::vdir::VdirEventStore>(privacy, root);
        if (withCalendarStore)
            store = std::make_unique<store::CalendarStore>(*ek);
    }

    // Moves every file from one folder to the other on another thread; the main thread runs its loop meanwhile
    // until `done` holds. Returns the longest gap between two turns of the loop, in milliseconds.
    double move(const QString& from, const QString& to, const std::function<bool()>& done) {
        std::atomic<bool> allMoved = false;
        std::thread mover([&] {
            for (const QString& name : names)
                std::rename(QFile::encodeName(from + name).constData(), QFile::encodeName(to + name).constData());
            allMoved = true;
        });
        QElapsedTimer sinceTick;
        sinceTick.start();
        qint64 longest = 0;
        QTimer tick;
        tick.setTimerType(Qt::PreciseTimer);
        QObject::connect(&tick, &QTimer::timeout, [&] { longest = std::max(longest, sinceTick.restart()); });
        tick.start(2);
        bool moved = false;
        while (!moved || !done()) {
            QCoreApplication::processEvents(QEventLoop::WaitForMoreEvents, 10);
            if (!moved && allMoved) {
                mover.join();
                moved = true;
            }
        }
        // What held the loop last is over once `done` holds.
        return static_cast<double>(std::max(longest, sinceTick.elapsed()));
    }
};

void BM_VdirTenThousandFilesArrive(benchmark::State& state) {
    Arrival arrival(state.range(0) != 0);
    const size_t held = arrival.ek->catalog().items().size();
    const size_t shownBefore = arrival.store ? arrival.store->events().size() : 0;
    const auto shown = [&](bool arrived) {
        const size_t items = arrival.ek->catalog().items().size();
        if (items != (arrived ? held + static_cast<size_t>(arrival.names.size()) : held))
            return false;
        return !arrival.store || (arrival.store->events().size() > shownBefore) == arrived;
    };
    double longest = 0;
    for (auto _ : state) {
        longest = std::max(longest, arrival.move(arrival.incoming, arrival.root, [&] { return shown(true); }));
        state.PauseTiming();
        arrival.move(arrival.root, arrival.incoming, [&] { return shown(false); });
        state.ResumeTiming();
    }
    state.counters["longest_stall_ms"] = longest;
}
BENCHMARK(BM_VdirTenThousandFilesArrive)->Arg(0)->Arg(1)->Unit(benchmark::kMillisecond)->Iterations(5);

}  // namespace

int main(int argc, char** argv) {
    QCoreApplication app(argc, argv);
    benchmark::Initialize(&argc, argv);
    benchmark::RunSpecifiedBenchmarks();
    benchmark::Shutdown();
    return 0;
}
