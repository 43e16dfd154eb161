// The month grid, the day agenda and the whole main screen with a busy
// calendar: switching the month, the agenda's minute redraw and coming back to
// the main screen from another must each fit within one frame.
#include "core/Calendar.h"
#include "core/Clock.h"
#include "platform/defaults/InMemoryUserDefaults.h"
#include "platform/eventstore/FakeEventStore.h"
#include "platform/haptics/FakeHaptics.h"
#include "platform/hotkeys/FakeHotKeyRegistrar.h"
#include "platform/systemevents/FakeSystemEvents.h"
#include "platform/workspace/FakeWorkspace.h"
#include "popover/EventRowView.h"
#include "popover/MonthGridModel.h"
#include "popover/MonthGridView.h"
#include "popover/MonthNavigation.h"
#include "popover/PopoverRootView.h"
#include "popover/ReminderCompletions.h"
#include "popover/UpNextView.h"
#include "state/AppEnvironment.h"
#include "state/AppSettings.h"
#include "state/AppState.h"
#include "state/HotKeyManager.h"
#include "store/CalendarStore.h"

#include <QApplication>
#include <QImage>

#include <benchmark/benchmark.h>

#include <cstdio>
#include <memory>

namespace {

constexpr int kEvents = 5000;

core::Date local(int y, int mo, int d, int h = 0) {
    return *core::Calendar().date({.year = y, .month = mo, .day = d, .hour = h});
}

// 5,000 events of five calendars spread over the store's loaded window (about
// 55 a day), some of them running over several days.
struct BusyCalendar {
    core::ScopedTestClock clock{local(2026, 3, 10, 12)};
    platform::FakeEventStore ek;
    platform::InMemoryUserDefaults defaults;
    app::AppSettings settings{defaults};
    app::AppState appState;
    platform::FakeHaptics haptics;
    std::unique_ptr<store::CalendarStore> store;

    BusyCalendar() {
        std::vector<platform::PlatformCalendar> calendars;
        for (int i = 0; i < 5; ++i)
            calendars.push_back(ek.addCalendar(platform::EntityType::Event, QStringLiteral("Calendar %1").arg(i),
                                               core::Color::rgb(static_cast<std::uint8_t>(40 * i), 120, 200)));
        const core::Date first = local(2026, 1, 28);
        const double span = local(2026, 4, 27) - first;
        for (int i = 0; i < kEvents; ++i) {
            platform::PlatformEvent event;
            event.calendar = calendars[static_cast<size_t>(i % 5)];
            event.title = QStringLiteral("Event %1").arg(i);
            const core::Date start = first + span * i / kEvents;
            event.startDate = start;
            event.endDate = start + (i % 50 == 0 ? 3 * 86400.0 : 45 * 60.0);
            ek.addEvent(event);
        }
        store = std::make_unique<store::CalendarStore>(ek);
        settings.setShowWeekNumbers(true);
    }
};

BusyCalendar& busy() {
    static BusyCalendar calendar;
    return calendar;
}

// A month change from the header or the keyboard: the displayed month moves, the
// grid recomputes its days and marks and every cell is painted anew. The months
// lie inside the loaded window, so the store has nothing to fetch.
void BM_MonthSwitchRepaint(benchmark::State& state) {
    BusyCalendar& c = busy();
    popover::MonthGridView grid(*c.store, c.appState, c.settings, c.haptics);
    grid.resize(364, grid.sizeHint().height());
    grid.show();
    QCoreApplication::processEvents();
    const qreal ratio = static_cast<qreal>(state.range(0));
    QImage image((QSizeF(grid.size()) * ratio).toSize(), QImage::Format_ARGB32_Premultiplied);
    image.setDevicePixelRatio(ratio);
    int direction = 1;
    for (auto _ : state) {
        popover::MonthNavigation::shiftMonth(direction, c.appState, c.settings);
        direction = -direction;
        grid.render(&image);
    }
    state.counters["events"] = static_cast<double>(c.store->events().size());
}
BENCHMARK(BM_MonthSwitchRepaint)->Arg(1)->Arg(2)->Unit(benchmark::kMillisecond);

// The grid's computation alone: 42 days, week numbers and one pass over the events for the marks.
void BM_MonthGridModel(benchmark::State& state) {
    BusyCalendar& c = busy();
    const core::Calendar calendar = popover::MonthGridModel::gridCalendar(c.settings);
    for (auto _ : state)
        benchmark::DoNotOptimize(popover::MonthGridModel::build(local(2026, 3, 15), local(2026, 3, 10),
                                                                c.store->events(), calendar, local(2026, 3, 10, 12)));
}
BENCHMARK(BM_MonthGridModel)->Unit(benchmark::kMicrosecond);

// The agenda's redraw at the start of a minute on a day of about 55 events: the
// sections of today and tomorrow built again and every row given the new
// minute (argument 0), then the whole agenda, all rows of both days, painted (1).
void BM_AgendaMinuteRedraw(benchmark::State& state) {
    BusyCalendar& c = busy();
    platform::FakeWorkspace workspace;
    c.appState.setSelectedDate(c.clock.clock().now());
    popover::UpNextView agenda(*c.store, c.appState, c.settings, workspace);
    agenda.resize(364, agenda.heightForWidth(364));
    agenda.show();
    QCoreApplication::processEvents();
    QImage image(agenda.size(), QImage::Format_ARGB32_Premultiplied);
    const bool paint = state.range(0) != 0;
    for (auto _ : state) {
        c.clock.advance(60);
        if (paint)
            agenda.render(&image);
    }
    state.counters["rows"] = static_cast<double>(agenda.findChildren<popover::EventRowView*>().size());
}
BENCHMARK(BM_AgendaMinuteRedraw)->Arg(0)->Arg(1)->Iterations(200)->Unit(benchmark::kMillisecond);

// Back on the main screen from another (the editor, quick add): the root makes
// the main screen anew (header, grid, the day's agenda of about 55 events, the
// footer), lays it out and reports its height (argument 0), then also paints
// it once (1).
void BM_RouteBackToMain(benchmark::State& state) {
    BusyCalendar& c = busy();
    c.appState.setSelectedDate(c.clock.clock().now());
    platform::FakeHotKeyRegistrar registrar;
    app::HotKeyManager hotKeys(registrar);
    platform::FakeSystemEvents systemEvents;
    platform::FakeWorkspace workspace;
    popover::ReminderCompletions completions(*c.store);
    app::AppEnvironment environment{*c.store,     c.settings, c.appState, hotKeys,
                                    systemEvents, workspace,  c.haptics,  completions};
    popover::PopoverRootView root(environment);
    root.resize(popover::PopoverRootView::kWidth, 680);
    root.show();
    QCoreApplication::processEvents();
    QImage image(root.size(), QImage::Format_ARGB32_Premultiplied);
    for (auto _ : state) {
        c.appState.setRoute(app::PopoverRoute::quickCreate());
        c.appState.setRoute(app::PopoverRoute::main());
        if (state.range(0) != 0)
            root.render(&image);
        QCoreApplication::sendPostedEvents(nullptr, QEvent::DeferredDelete);
    }
    state.counters["height"] = c.appState.popoverContentHeight();
}
BENCHMARK(BM_RouteBackToMain)->Arg(0)->Arg(1)->Iterations(100)->Unit(benchmark::kMillisecond);

}  // namespace

int main(int argc, char** argv) {
    if (qEnvironmentVariableIsEmpty("QT_QPA_PLATFORM"))
        qputenv("QT_QPA_PLATFORM", "offscreen");
    QApplication app(argc, argv);
    std::printf("Events loaded: %zu\n", busy().store->events().size());
    benchmark::Initialize(&argc, argv);
    benchmark::RunSpecifiedBenchmarks();
    benchmark::Shutdown();
    return EXIT_SUCCESS;
}
