#include "imageimport/extraction/CandidateBuilder.h"
#include "imageimport/extraction/DateScanner.h"
#include "imageimport/extraction/FactFinders.h"
#include "imageimport/extraction/FlightFinder.h"
#include "imageimport/extraction/LinePreparation.h"
#include "imageimport/extraction/TimeScanner.h"
#include "imageimport/extraction/TitleCleanup.h"

#include <benchmark/benchmark.h>

using namespace imageimport;

namespace {

std::vector<RecognizedLine> ticket() {
    return {{QStringLiteral("BOARDING PASS"), 0.05},
            {QStringLiteral("FLIGHT GATE SEAT"), 0.02},
            {QStringLiteral("BA117 B22 14A"), 0.03},
            {QStringLiteral("LHR → JFK  Sat 14 June"), 0.03},
            {QStringLiteral("Departs 08:25 · Arrives 11:10"), 0.02},
            {QStringLiteral("Boarding 07:45  Gate closes 08:05"), 0.02},
            {QStringLiteral("Booking ref: X7K2QP  Total due: £1,250.00"), 0.02},
            {QStringLiteral("Duration: 7 hours  www.example.com/manage"), 0.02}};
}

// Every finder of the folder over the lines, as the pipeline will run them.
size_t readLines(const std::vector<RecognizedLine>& recognized, const ExtractionContext& context) {
    QStringList lines;
    for (const RecognizedLine& line : LinePreparation::prepare(recognized))
        lines.append(line.text);
    const DateScanner dates(context);
    std::vector<DateHit> dateHits;
    std::vector<TimeHit> timeHits;
    for (qsizetype i = 0; i < lines.size(); ++i) {
        const auto found = dates.scanDates(lines[i], static_cast<int>(i));
        std::vector<core::TextRange> taken;
        for (const DateHit& hit : found)
            taken.push_back(hit.range);
        const auto times = TimeScanner::scanTimes(lines[i], static_cast<int>(i), taken);
        dateHits.insert(dateHits.end(), found.begin(), found.end());
        timeHits.insert(timeHits.end(), times.begin(), times.end());
    }
    const QString joined = lines.join(QLatin1Char('\n'));
    const auto candidates = CandidateBuilder(context).buildCandidates(dateHits, timeHits, lines);
    const auto flight = FlightFinder::findFlight(lines, timeHits);
    benchmark::DoNotOptimize(FactFinders::findDuration(joined));
    benchmark::DoNotOptimize(FactFinders::findAmount(lines));
    benchmark::DoNotOptimize(TitleCleanup::findTrigger(lines, std::nullopt));
    benchmark::DoNotOptimize(TitleCleanup::labelledTitle(lines));
    return candidates.size() + (flight ? 1 : 0);
}

ExtractionContext context() { return {core::Date(1749547800), core::Calendar(), false}; }

void BM_FindersOverATicket(benchmark::State& state) {
    const auto lines = ticket();
    const ExtractionContext ctx = context();
    for (auto _ : state)
        benchmark::DoNotOptimize(readLines(lines, ctx));
}
BENCHMARK(BM_FindersOverATicket)->Unit(benchmark::kMicrosecond);

// A long receipt: the ticket repeated, state.range(0) lines in all.
void BM_FindersOverManyLines(benchmark::State& state) {
    std::vector<RecognizedLine> lines;
    while (lines.size() < static_cast<size_t>(state.range(0))) {
        for (const RecognizedLine& line : ticket())
            lines.push_back(line);
    }
    lines.resize(static_cast<size_t>(state.range(0)));
    const ExtractionContext ctx = context();
    for (auto _ : state)
        benchmark::DoNotOptimize(readLines(lines, ctx));
}
BENCHMARK(BM_FindersOverManyLines)->Arg(100)->Arg(1000)->Unit(benchmark::kMillisecond);

// One line of text recognition gone wrong: times, dates and amounts without end.
void BM_FindersOverOneHostileLine(benchmark::State& state) {
    QString line;
    while (line.size() < state.range(0))
        line += QStringLiteral("Doors 7-9pm 19:30 14/6 £1,250.00 ");
    const std::vector<RecognizedLine> lines{{line, 0.02}};
    const ExtractionContext ctx = context();
    for (auto _ : state)
        benchmark::DoNotOptimize(readLines(lines, ctx));
}
BENCHMARK(BM_FindersOverOneHostileLine)->Arg(1000)->Arg(10000)->Unit(benchmark::kMillisecond);

}  // namespace

BENCHMARK_MAIN();
