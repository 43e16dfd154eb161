#include "imageimport/extraction/EventCandidateExtractor.h"
#include "platform/datadetector/RuleDataDetector.h"

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

// The whole pipeline over the lines, with the detector the application uses.
size_t readLines(const std::vector<RecognizedLine>& recognized, const ExtractionContext& context) {
    static const auto detector = std::make_shared<platform::RuleDataDetector>();
    const EventCandidateExtractor extractor(context.now, context.calendar, context.monthFirst, detector);
    const ImageExtraction extraction = extractor.extract(recognized);
    return extraction.dates.size() + static_cast<size_t>(extraction.title.size());
}

ExtractionContext context() { return {core::Date(1749547800), core::Calendar(), false}; }

void BM_ExtractionOverATicket(benchmark::State& state) {
    const auto lines = ticket();
    const ExtractionContext ctx = context();
    for (auto _ : state)
        benchmark::DoNotOptimize(readLines(lines, ctx));
}
BENCHMARK(BM_ExtractionOverATicket)->Unit(benchmark::kMicrosecond);

// A long receipt: the ticket repeated, state.range(0) lines in all.
void BM_ExtractionOverManyLines(benchmark::State& state) {
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
BENCHMARK(BM_ExtractionOverManyLines)->Arg(100)->Arg(1000)->Unit(benchmark::kMillisecond);

// One line of text recognition gone wrong: times, dates and amounts without end.
void BM_ExtractionOverOneHostileLine(benchmark::State& state) {
    QString line;
    while (line.size() < state.range(0))
        line += QStringLiteral("Doors 7-9pm 19:30 14/6 £1,250.00 ");
    const std::vector<RecognizedLine> lines{{line, 0.02}};
    const ExtractionContext ctx = context();
    for (auto _ : state)
        benchmark::DoNotOptimize(readLines(lines, ctx));
}
BENCHMARK(BM_ExtractionOverOneHostileLine)->Arg(1000)->Arg(10000)->Unit(benchmark::kMillisecond);

}  // namespace

BENCHMARK_MAIN();
