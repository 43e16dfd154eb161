#include "quickadd/NLParser.h"

#include <benchmark/benchmark.h>

#include <QStringList>

namespace {

// What people type into quick add, and what text recognition hands over from a
// screenshot line by line: dates, times, ranges, durations, places, calendars, noise.
const QStringList& mixedLines() {
    static const QStringList lines{
        QStringLiteral("Standup tomorrow 9:30 for 15m"),
        QStringLiteral("Dentist fri 2-3pm at Smile Clinic"),
        QStringLiteral("Trip 12 nov all day /personal"),
        QStringLiteral("Lunch with Sam"),
        QStringLiteral("Coffee @Blue Bottle with Sam next tuesday 10am"),
        QStringLiteral("Team sync every week? no, just thu 16:00-17:00 #work"),
        QStringLiteral("Flight to Lisbon 2026-05-14 07:45"),
        QStringLiteral("Call mom in 3 days at 6"),
        QStringLiteral("Review PR by friday"),
        QStringLiteral("Yoga 6:30pm for 1h 30m at Studio Nord"),
        QStringLiteral("Parents evening 3/14 from 5 to 7"),
        QStringLiteral("Pay rent on the 1st"),
        QStringLiteral("Board meeting day after tomorrow 9am-12pm at HQ, Room 4"),
        QStringLiteral("Gym tonight"),
        QStringLiteral("Doctor's appointment nov 3rd 11:15 for half an hour"),
        QStringLiteral("\U0001F382 Birthday party saturday 8pm-1am @Luigi's /family"),
        QStringLiteral("Order #4521 shipped, arrives Tue"),
        QStringLiteral("Total: 23.50 EUR incl. VAT"),
        QStringLiteral("Concert 21 June 2026 doors 19:30"),
        QStringLiteral("Sprint planning next week 10-11:30 #eng"),
        QStringLiteral("Haircut 4.30pm"),
        QStringLiteral("Write report 2h"),
        QStringLiteral("Pick up kids at 3"),
        QStringLiteral("Offsite all-day 9am-5pm at The Old Mill and dinner"),
        QStringLiteral("İstanbul trip planning at 9 for 45 mins"),
        QStringLiteral("Meeting ID: 845 2231 9987 Passcode: 551203"),
        QStringLiteral("https://example.com/j/84522319987?pwd=abc"),
        QStringLiteral("Renew passport in two weeks"),
        QStringLiteral("Call with Acme re contract 14:00"),
        QStringLiteral("Webinar 9 am to 10 am tmrw"),
    };
    return lines;
}

core::Calendar berlin() {
    return core::Calendar(*core::TimeZone::withIdentifier(QStringLiteral("Europe/Berlin")),
                          core::Locale(QStringLiteral("en_US")));
}

quickadd::NLParser parser(const core::Calendar& calendar) {
    return quickadd::NLParser{
        .now = core::Date(1773220500),  // a Wednesday morning in March 2026
        .calendar = calendar,
        .defaultDuration = 3600,
        .calendars = {{QStringLiteral("w"), QStringLiteral("Work")},
                      {QStringLiteral("p"), QStringLiteral("Personal")},
                      {QStringLiteral("f"), QStringLiteral("Family")},
                      {QStringLiteral("e"), QStringLiteral("Engineering")}},
        .monthFirst = quickadd::NLParser::localePrefersMonthFirst(core::Locale(QStringLiteral("en_US"))),
    };
}

// "per_line" is the time one line takes to parse.
void BM_ParseMixedLines(benchmark::State& state) {
    const quickadd::NLParser p = parser(berlin());
    const QStringList& lines = mixedLines();
    for (auto _ : state) {
        for (const QString& line : lines)
            benchmark::DoNotOptimize(p.parse(line));
    }
    state.counters["per_line"] = benchmark::Counter(static_cast<double>(lines.size()),
                                                    benchmark::Counter::kIsIterationInvariantRate |
                                                        benchmark::Counter::kInvert);
}
BENCHMARK(BM_ParseMixedLines);

// The quick-create screen builds a parser on every edit, and the image extractor
// one per line, each from a copy of the current calendar.
void BM_BuildParser(benchmark::State& state) {
    const core::Calendar calendar = berlin();
    for (auto _ : state)
        benchmark::DoNotOptimize(parser(calendar));
}
BENCHMARK(BM_BuildParser);

void BM_BuildAndParseOneLine(benchmark::State& state) {
    const core::Calendar calendar = berlin();
    const QString line = QStringLiteral("Dentist fri 2-3pm at Smile Clinic");
    for (auto _ : state)
        benchmark::DoNotOptimize(parser(calendar).parse(line));
}
BENCHMARK(BM_BuildAndParseOneLine);

// A line typed key by key: each keystroke builds a parser from the current
// calendar and parses what is there so far. "per_key" is one keystroke.
void BM_TypeOneLine(benchmark::State& state) {
    const QString line = QStringLiteral("Standup tomorrow 9:30 for 15m /work");
    for (auto _ : state) {
        for (qsizetype typed = 1; typed <= line.size(); ++typed)
            benchmark::DoNotOptimize(parser(core::Calendar::current()).parse(line.left(typed)));
    }
    state.counters["per_key"] = benchmark::Counter(static_cast<double>(line.size()),
                                                   benchmark::Counter::kIsIterationInvariantRate |
                                                       benchmark::Counter::kInvert);
}
BENCHMARK(BM_TypeOneLine);

// A slash word is looked up among every calendar's title: many unmatched
// slash words against many calendars.
void BM_ManySlashWordsManyCalendars(benchmark::State& state) {
    quickadd::NLParser p = parser(berlin());
    p.calendars.clear();
    for (int i = 0; i < 200; ++i)
        p.calendars.push_back({QString::number(i), QStringLiteral("Calendar number %1 (shared)").arg(i)});
    QStringList words;
    for (int i = 0; i < 10000; ++i)
        words << QStringLiteral("/zz");
    const QString line = words.join(u' ');
    for (auto _ : state)
        benchmark::DoNotOptimize(p.parse(line));
}
BENCHMARK(BM_ManySlashWordsManyCalendars)->Unit(benchmark::kMillisecond);

}  // namespace

BENCHMARK_MAIN();
