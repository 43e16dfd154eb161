// One calendar file at a time, each built to be as slow as possible for the store to read, at most 16 MiB: the
// time to open a store on it and ask for the events of the usual window, whether the file is read or skipped.
#include "platform/eventstore/vdir/VdirEventStore.h"
#include "platform/privacy/FakePrivacy.h"

#include <QCoreApplication>
#include <QDir>
#include <QFile>
#include <QTemporaryDir>

#include <benchmark/benchmark.h>

#include <chrono>
#include <functional>

namespace {

constexpr qsizetype kMaxBytes = 16 * 1024 * 1024;

QByteArray calendar(const QByteArray& body) {
    return "BEGIN:VCALENDAR\r\nVERSION:2.0\r\nPRODID:-//Orbitday//bench//EN\r\n" + body + "END:VCALENDAR\r\n";
}

QByteArray event(const QByteArray& uid, const QByteArray& extra) {
    return "BEGIN:VEVENT\r\nUID:" + uid + "\r\nDTSTAMP:20240101T000000Z\r\nDTSTART:20240110T100000Z\r\n" +
           "DTEND:20240110T110000Z\r\nSUMMARY:Hostile\r\n" + extra + "END:VEVENT\r\n";
}

// Events with the same extra lines, as many as fit in the size limit.
QByteArray eventsUpTo(const QByteArray& extra, qsizetype limit = kMaxBytes - 1024) {
    QByteArray body;
    for (int i = 0; body.size() + extra.size() + 200 < limit; ++i)
        body += event("e" + QByteArray::number(i), extra);
    return calendar(body);
}

// Parameters of a name libical does not know cost it the most.
QByteArray parameters(int count) {
    QByteArray line = "ATTENDEE";
    for (int i = 0; i < count; ++i)
        line += ";P=" + QByteArray::number(i % 10);
    return line + ":mailto:a@example.com\r\n";
}

QByteArray parametersInOneProperty() {
    return calendar(event("a", parameters(200000)));
}

// As many as a file may have in each property, in as many properties as fit.
QByteArray parametersInEveryProperty() {
    return eventsUpTo(parameters(64));
}

QByteArray oneLongLine() {
    return calendar(event("a", "DESCRIPTION:" + QByteArray(15 * 1024 * 1024, 'x') + "\r\n"));
}

QByteArray manyLongLines() {
    QByteArray lines;
    for (int i = 0; i < 15; ++i)
        lines += "X-LONG:" + QByteArray(1024 * 1024, 'x') + "\r\n";
    return calendar(event("a", lines));
}

QByteArray manyEvents() {
    QByteArray body;
    for (int i = 0; i < 100000; ++i)
        body += event("e" + QByteArray::number(i), {});
    return calendar(body);
}

QByteArray manyOverridesOfOneSeries() {
    QByteArray body = event("s", "RRULE:FREQ=DAILY\r\n");
    for (int day = 0; body.size() < kMaxBytes - 4096; ++day) {
        const QByteArray date = QDate(2024, 1, 10).addDays(day).toString(QStringLiteral("yyyyMMdd")).toLatin1();
        body += "BEGIN:VEVENT\r\nUID:s\r\nRECURRENCE-ID:" + date + "T100000Z\r\nDTSTART:" + date +
                "T120000Z\r\nDTEND:" + date + "T130000Z\r\nSUMMARY:Moved\r\nEND:VEVENT\r\n";
    }
    return calendar(body);
}

QByteArray neverMatchingDailyRules() {
    return eventsUpTo("RRULE:FREQ=DAILY;BYMONTH=2;BYMONTHDAY=31\r\n");
}

QByteArray neverMatchingMonthlyRules() {
    return eventsUpTo("RRULE:FREQ=MONTHLY;BYMONTH=2;BYMONTHDAY=30\r\n");
}

// A cadence that never lands on a day its filter allows: every 12 months from January, in February only.
QByteArray rulesOffTheirCadence() {
    return eventsUpTo("RRULE:FREQ=MONTHLY;INTERVAL=12;BYMONTH=2\r\n");
}

// Counted rules are walked from their start: one from two centuries ago is walked across all of them.
QByteArray countedRulesFromLongAgo() {
    QByteArray body;
    for (int i = 0; body.size() < kMaxBytes - 1024; ++i)
        body += "BEGIN:VEVENT\r\nUID:e" + QByteArray::number(i) +
                "\r\nDTSTART:18000110T100000Z\r\nRRULE:FREQ=MONTHLY;BYMONTHDAY=10,-1;COUNT=100000\r\nEND:VEVENT\r\n";
    return calendar(body);
}

// Each occurrence lasts for more than a century, so every one of them overlaps any window.
QByteArray seriesOverlappingEveryWindow(qsizetype limit) {
    QByteArray body;
    for (int i = 0; body.size() < limit - 1024; ++i)
        body += "BEGIN:VEVENT\r\nUID:e" + QByteArray::number(i) +
                "\r\nDTSTART:19000101T000000Z\r\nDTEND:20300101T000000Z\r\nRRULE:FREQ=HOURLY\r\nEND:VEVENT\r\n";
    return calendar(body);
}

QByteArray oneSeriesOverlappingEveryWindow() {
    return seriesOverlappingEveryWindow(1025);
}

QByteArray manySeriesOverlappingEveryWindow() {
    return seriesOverlappingEveryWindow(kMaxBytes);
}

QByteArray manyRecurrenceDates() {
    QByteArray line = "RDATE:20240111T100000Z";
    for (int day = 1; line.size() < kMaxBytes - 4096; ++day)
        line += "," + QDate(2024, 1, 11).addDays(day).toString(QStringLiteral("yyyyMMdd")).toLatin1() + "T100000Z";
    return calendar(event("a", "RRULE:FREQ=DAILY\r\n" + line + "\r\n"));
}

void readOrSkip(benchmark::State& state, const std::function<QByteArray()>& build) {
    QTemporaryDir dir;
    const QString root = dir.path() + QStringLiteral("/calendars");
    QDir().mkpath(root + QStringLiteral("/cal"));
    const QByteArray content = build();
    QFile file(root + QStringLiteral("/cal/hostile.ics"));
    if (content.size() > kMaxBytes || !file.open(QIODevice::WriteOnly) || file.write(content) != content.size()) {
        state.SkipWithError("cannot write the file");
        return;
    }
    file.close();
    platform::FakePrivacy privacy;
    const core::Date windowStart(1700000000.0);  // November 2023
    const core::Date windowEnd = windowStart + 91 * 86400.0;
    size_t events = 0;
    // Reading (or skipping) the file is the opening; the window's events are what a screen then asks for.
    double openMs = 0;
    double windowMs = 0;
    for (auto _ : state) {
        const auto started = std::chrono::steady_clock::now();
        platform::vdir::VdirEventStore store(privacy, root);
        const auto opened = std::chrono::steady_clock::now();
        events = store.events(windowStart, windowEnd, std::nullopt).size();
        benchmark::DoNotOptimize(events);
        openMs += std::chrono::duration<double, std::milli>(opened - started).count();
        windowMs += std::chrono::duration<double, std::milli>(std::chrono::steady_clock::now() - opened).count();
    }
    state.counters["MiB"] = static_cast<double>(content.size()) / (1024.0 * 1024.0);
    state.counters["events"] = static_cast<double>(events);
    state.counters["open_ms"] = benchmark::Counter(openMs, benchmark::Counter::kAvgIterations);
    state.counters["window_ms"] = benchmark::Counter(windowMs, benchmark::Counter::kAvgIterations);
}

#define HOSTILE_FILE(name)                                                                           \
    void BM_Hostile_##name(benchmark::State& state) { readOrSkip(state, name); } \
    BENCHMARK(BM_Hostile_##name)->Unit(benchmark::kMillisecond)->Iterations(1)

HOSTILE_FILE(parametersInOneProperty);
HOSTILE_FILE(parametersInEveryProperty);
HOSTILE_FILE(oneLongLine);
HOSTILE_FILE(manyLongLines);
HOSTILE_FILE(manyEvents);
HOSTILE_FILE(manyOverridesOfOneSeries);
HOSTILE_FILE(neverMatchingDailyRules);
HOSTILE_FILE(neverMatchingMonthlyRules);
HOSTILE_FILE(rulesOffTheirCadence);
HOSTILE_FILE(countedRulesFromLongAgo);
HOSTILE_FILE(oneSeriesOverlappingEveryWindow);
HOSTILE_FILE(manySeriesOverlappingEveryWindow);
HOSTILE_FILE(manyRecurrenceDates);

}  // namespace

int main(int argc, char** argv) {
    QCoreApplication app(argc, argv);
    benchmark::Initialize(&argc, argv);
    benchmark::RunSpecifiedBenchmarks();
    benchmark::Shutdown();
    return 0;
}
