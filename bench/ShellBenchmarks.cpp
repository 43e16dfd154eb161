// The application as a user meets it: from launch to the tray item taking its
// place and to the item naming the next event, its memory at rest and after the openings, from the hot key or a click
// to the popover on screen, and into a month outside the loaded events. Runs the built binary in a private X server with a session bus:
//   bench/shell-bench            (from the source folder, after a build)

#include "AppDriver.h"
#include "EventLoop.h"
#include "TestEnvironment.h"
#include "VdirGenerator.h"

#include <QApplication>
#include <QElapsedTimer>

#include <benchmark/benchmark.h>

#include <cstdlib>

namespace {

using testsupport::AppDriver;
using Keys = testsupport::AppDriver::Keys;

constexpr int kEvents = 5000;

// ORBITDAY_BENCH_BINARY runs another build of the application, to compare two.
QString binary() {
    return qEnvironmentVariable("ORBITDAY_BENCH_BINARY", QStringLiteral(ORBITDAY_APP_BINARY));
}

// A HOME with calendar access granted and, when asked, 5,000 events around today.
QString prepareHome(bool withEvents) {
    const QString name = withEvents ? QStringLiteral("home-5000") : QStringLiteral("home-empty");
    static bool prepared[2] = {false, false};
    if (!prepared[withEvents]) {
        AppDriver app(binary(), name);
        app.grantCalendarAccess();
        if (withEvents)
            bench::generateVdir(app.calendarRoot(), core::Date::now(), {.files = kEvents});
        prepared[withEvents] = true;
    }
    return name;
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
