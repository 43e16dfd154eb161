// The application as a user meets it: from launch to the tray item taking its
// place and to the item naming the next event, its memory at rest and after the openings, from the hot key or a click
// to the popover on screen, and into a month outside the loaded events; how often it wakes at rest, and the longest
// its main thread stalls with 50,000 events. Runs the built binary in a private X server with a session bus:
//   bench/shell-bench            (from the source folder, after a build)

#include "AppDriver.h"
#include "EventLoop.h"
#include "TestEnvironment.h"
#include "VdirGenerator.h"

#include <QApplication>
#include <QDateTime>
#include <QDir>
#include <QElapsedTimer>
#include <QFile>
#include <QHash>
#include <QSet>
#include <QTemporaryDir>

#include <benchmark/benchmark.h>

#include <cstdlib>

namespace {

using testsupport::AppDriver;
using Keys = testsupport::AppDriver::Keys;

constexpr int kEvents = 5000;
constexpr int kManyEvents = 50000;

// ORBITDAY_BENCH_BINARY runs another build of the application, to compare two.
QString binary() {
    return qEnvironmentVariable("ORBITDAY_BENCH_BINARY", QStringLiteral(ORBITDAY_APP_BINARY));
}

// A HOME with calendar access granted and `events` events (files) around today.
QString prepareHomeWith(int events) {
    const QString name = QStringLiteral("home-%1").arg(events);
    static QSet<int> prepared;
    if (!prepared.contains(events)) {
        AppDriver app(binary(), name);
        app.grantCalendarAccess();
        if (events > 0)
            bench::generateVdir(app.calendarRoot(), core::Date::now(), {.files = events});
        prepared.insert(events);
    }
    return name;
}

// With 5,000 events around today, or none.
QString prepareHome(bool withEvents) {
    return prepareHomeWith(withEvents ? kEvents : 0);
}

// Waits until the tray item names the next event, where there are events: the
// item comes before the calendars are read.
bool eventsRead(AppDriver& app, bool withEvents) {
    return !withEvents || testsupport::waitUntil([&] { return !app.tray().toolTipTitle().isEmpty(); }, 15000);
}

bool startWithEventsRead(AppDriver& app, bool withEvents) {
    return app.start() && app.tray().waitForItem(15000) && eventsRead(app, withEvents);
}

// Launch to the tray item registered with the panel; the resident memory a
// second after the events are read is reported alongside.
void BM_LaunchToTrayItem(benchmark::State& state) {
    const bool withEvents = state.range(0) != 0;
    const QString home = prepareHome(withEvents);
    double rssKiB = 0;
    for (auto _ : state) {
        AppDriver app(binary(), home);
        QElapsedTimer clock;
        clock.start();
        if (!app.start() || !app.tray().waitForItem(15000)) {
            state.SkipWithError("the application did not register its tray item");
            return;
        }
        state.SetIterationTime(static_cast<double>(clock.nsecsElapsed()) / 1e9);
        if (!eventsRead(app, withEvents)) {
            state.SkipWithError("the tray item did not name the next event");
            return;
        }
        testsupport::spinEventLoop(1000);
        rssKiB = static_cast<double>(app.residentKiB());
        app.stop();
    }
    state.counters["idle_rss_MiB"] = rssKiB / 1024.0;
}
BENCHMARK(BM_LaunchToTrayItem)->Arg(0)->Arg(kEvents)->UseManualTime()->Iterations(10)->Unit(benchmark::kMillisecond);

// Launch to the tray item naming the next of 5,000 events: the calendars read.
void BM_LaunchToNextEventInTheTray(benchmark::State& state) {
    const QString home = prepareHome(true);
    for (auto _ : state) {
        AppDriver app(binary(), home);
        QElapsedTimer clock;
        clock.start();
        if (!startWithEventsRead(app, true)) {
            state.SkipWithError("the tray item did not name the next event");
            return;
        }
        state.SetIterationTime(static_cast<double>(clock.nsecsElapsed()) / 1e9);
        app.stop();
    }
}
BENCHMARK(BM_LaunchToNextEventInTheTray)->UseManualTime()->Iterations(10)->Unit(benchmark::kMillisecond);

// Whether the screen shows the popover's surface at `point`.
bool painted(const AppDriver& app, QPoint point, QRgb background) {
    const QImage pixel = app.screenshot(QRect(point, QSize(1, 1)));
    return !pixel.isNull() && pixel.pixel(0, 0) != background;
}

// Time until the panel's pixels are on the X server after `open`.
template <typename Open>
void measureOpening(benchmark::State& state, QPoint probe, Open open) {
    AppDriver app(binary(), prepareHome(state.range(0) != 0));
    if (!startWithEventsRead(app, state.range(0) != 0)) {
        state.SkipWithError("the application did not register its tray item or read its events");
        return;
    }
    testsupport::spinEventLoop(500);
    const QRgb background = app.screenshot(QRect(probe, QSize(1, 1))).pixel(0, 0);
    for (auto _ : state) {
        QElapsedTimer clock;
        clock.start();
        open(app);
        if (!testsupport::waitUntil([&] { return painted(app, probe, background); }, 5000)) {
            state.SkipWithError("the popover did not appear");
            return;
        }
        state.SetIterationTime(static_cast<double>(clock.nsecsElapsed()) / 1e9);
        app.chord({Keys::escape});
        testsupport::waitUntil([&] { return !painted(app, probe, background); }, 5000);
        testsupport::spinEventLoop(100);
    }
    state.counters["rss_after_MiB"] = static_cast<double>(app.residentKiB()) / 1024.0;
}

void BM_HotKeyToPopoverPainted(benchmark::State& state) {
    // Without a click the panel hangs in the top right corner of the 1280-pixel screen.
    measureOpening(state, QPoint(1280 - 364 - 8 + 300, 12 + 100),
                   [](AppDriver& app) { app.chord({Keys::controlL, Keys::altL, 'c'}); });
}
BENCHMARK(BM_HotKeyToPopoverPainted)->Arg(0)->Arg(kEvents)->UseManualTime()->Iterations(20)->Unit(benchmark::kMillisecond);

void BM_ClickToPopoverPainted(benchmark::State& state) {
    measureOpening(state, QPoint(640 - 182 + 300, 22 + 100), [](AppDriver& app) { app.tray().activate(640, 10); });
}
BENCHMARK(BM_ClickToPopoverPainted)->Arg(0)->Arg(kEvents)->UseManualTime()->Iterations(20)->Unit(benchmark::kMillisecond);

// Alt+Right from the popover into the next month, each one outside the events
// loaded so far (the window reaches seven weeks ahead): time until the panel's
// month shows anew.
void BM_MonthOutsideTheWindowPainted(benchmark::State& state) {
    constexpr std::uint32_t kRight = 0xff53;
    AppDriver app(binary(), prepareHome(state.range(0) != 0));
    if (!startWithEventsRead(app, state.range(0) != 0)) {
        state.SkipWithError("the application did not register its tray item or read its events");
        return;
    }
    testsupport::spinEventLoop(500);
    app.chord({Keys::controlL, Keys::altL, 'c'});
    if (!app.waitForPanel()) {
        state.SkipWithError("the popover did not appear");
        return;
    }
    testsupport::spinEventLoop(500);
    const QRect month(app.panelGeometry()->topLeft(), QSize(364, 320));
    for (auto _ : state) {
        const QImage before = app.screenshot(month);
        QElapsedTimer clock;
        clock.start();
        app.chord({Keys::altL, kRight});
        if (!testsupport::waitUntil([&] { return app.screenshot(month) != before; }, 5000)) {
            state.SkipWithError("the month did not change");
            return;
        }
        state.SetIterationTime(static_cast<double>(clock.nsecsElapsed()) / 1e9);
        testsupport::spinEventLoop(100);
    }
}
BENCHMARK(BM_MonthOutsideTheWindowPainted)->Arg(0)->Arg(kEvents)->UseManualTime()->Iterations(12)->Unit(benchmark::kMillisecond);

// Context switches of each of the application's threads so far, by thread: each is a wake-up.
QHash<QString, long> wakeUps(qint64 pid) {
    QHash<QString, long> counts;
    const QDir tasks(QStringLiteral("/proc/%1/task").arg(pid));
    for (const QString& task : tasks.entryList(QDir::Dirs | QDir::NoDotAndDotDot)) {
        QFile status(tasks.filePath(task) + QStringLiteral("/status"));
        if (!status.open(QIODevice::ReadOnly))
            continue;
        for (const QByteArray& line : status.readAll().split('\n'))
            if (line.contains("ctxt_switches:"))
                counts[task] += line.mid(line.indexOf(':') + 1).trimmed().toLong();
    }
    return counts;
}

// The wake-ups since `before` of the threads alive now (a thread that ended meanwhile took its count with it).
long wakeUpsSince(const QHash<QString, long>& before, qint64 pid) {
    long count = 0;
    const QHash<QString, long> now = wakeUps(pid);
    for (auto it = now.begin(); it != now.end(); ++it)
        count += it.value() - before.value(it.key(), 0);
    return count;
}

// The resident memory 5 s and 60 s after launch with nothing opened, then, after the popover has been opened and
// closed once, how often the application wakes in a minute of rest. One iteration takes two minutes: run it with
// --benchmark_repetitions=5 for medians.
void BM_AtRest(benchmark::State& state) {
    const bool withEvents = state.range(0) != 0;
    const QString home = prepareHome(withEvents);
    for (auto _ : state) {
        AppDriver app(binary(), home);
        QElapsedTimer sinceLaunch;
        sinceLaunch.start();
        if (!startWithEventsRead(app, withEvents)) {
            state.SkipWithError("the application did not register its tray item or read its events");
            return;
        }
        testsupport::spinEventLoop(static_cast<int>(std::max<qint64>(0, 5000 - sinceLaunch.elapsed())));
        state.counters["rss_5s_MiB"] = static_cast<double>(app.residentKiB()) / 1024.0;
        testsupport::spinEventLoop(static_cast<int>(std::max<qint64>(0, 60000 - sinceLaunch.elapsed())));
        state.counters["rss_60s_MiB"] = static_cast<double>(app.residentKiB()) / 1024.0;

        app.chord({Keys::controlL, Keys::altL, 'c'});
        if (!app.waitForPanel()) {
            state.SkipWithError("the popover did not appear");
            return;
        }
        testsupport::spinEventLoop(500);
        app.chord({Keys::escape});
        app.waitForNoPanel();
        testsupport::spinEventLoop(2000);
        const QHash<QString, long> before = wakeUps(app.pid());
        testsupport::spinEventLoop(60000);
        state.counters["wakeups_per_min"] = static_cast<double>(wakeUpsSince(before, app.pid()));
        state.counters["rss_after_opening_MiB"] = static_cast<double>(app.residentKiB()) / 1024.0;
        app.stop();
    }
}
BENCHMARK(BM_AtRest)->Arg(0)->Arg(kEvents)->Iterations(1)->Unit(benchmark::kSecond);

// Where ORBITDAY_STALL_LOG names a file, the stall probe logs every long gap there: the run marks its steps beside
// them, to tell which step a gap fell in.
void markStep(const QByteArray& step) {
    const QString log = qEnvironmentVariable("ORBITDAY_STALL_LOG");
    QFile file(log);
    if (!log.isEmpty() && file.open(QIODevice::Append))
        file.write(QByteArray::number(QDateTime::currentMSecsSinceEpoch()) + ' ' + step + '\n');
}

// The longest the main thread went without turning its event loop over a run with 50,000 events: launch until
// the tray names the next event, the popover opened, and five months switched into days not loaded yet. Timed by
// a 10 ms timer preloaded into the application (StallProbe.cpp).
void BM_LongestMainThreadStall(benchmark::State& state) {
    constexpr std::uint32_t kRight = 0xff53;
    const QString home = prepareHomeWith(kManyEvents);
    QTemporaryDir probeDir;
    const QString probe = probeDir.filePath(QStringLiteral("stall"));
    for (auto _ : state) {
        QFile::remove(probe);
        qputenv("LD_PRELOAD", ORBITDAY_STALL_PROBE_LIBRARY);
        qputenv("ORBITDAY_STALL_PROBE", probe.toLocal8Bit());
        AppDriver app(binary(), home);
        markStep("launch");
        const bool started = startWithEventsRead(app, true);
        qunsetenv("LD_PRELOAD");
        qunsetenv("ORBITDAY_STALL_PROBE");
        if (!started) {
            state.SkipWithError("the application did not register its tray item or read its events");
            return;
        }
        markStep("events read");
        testsupport::spinEventLoop(1000);
        markStep("popover opening");
        app.chord({Keys::controlL, Keys::altL, 'c'});
        if (!app.waitForPanel()) {
            state.SkipWithError("the popover did not appear");
            return;
        }
        testsupport::spinEventLoop(1000);
        const QRect month(app.panelGeometry()->topLeft(), QSize(364, 320));
        for (int i = 0; i < 5; ++i) {
            const QImage before = app.screenshot(month);
            markStep("month switch " + QByteArray::number(i + 1));
            app.chord({Keys::altL, kRight});
            testsupport::waitUntil([&] { return app.screenshot(month) != before; }, 5000);
            // The month's events arrive a moment after its days.
            testsupport::spinEventLoop(1000);
        }
        QFile file(probe);
        state.counters["longest_stall_ms"] = file.open(QIODevice::ReadOnly) ? file.readAll().toDouble() : -1;
        app.stop();
    }
}
BENCHMARK(BM_LongestMainThreadStall)->Iterations(1)->Unit(benchmark::kSecond);

}  // namespace

int main(int argc, char** argv) {
    if (!std::getenv("DISPLAY") || !std::getenv("DBUS_SESSION_BUS_ADDRESS")) {
        std::fprintf(stderr, "run through bench/shell-bench: it needs an X server and a session bus\n");
        return 2;
    }
    testsupport::isolateProcess();
    QApplication application(argc, argv);
    benchmark::Initialize(&argc, argv);
    benchmark::RunSpecifiedBenchmarks();
    benchmark::Shutdown();
    testsupport::cleanUp();
    return 0;
}
