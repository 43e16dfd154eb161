// Each test runs in a process of its own under ctest, so the threads below are the
// first to ask for the shared patterns and word lists. The ThreadSanitizer build
// ("tsan" preset) checks that their one-time creation does not race.

#include "imageimport/extraction/CandidateBuilder.h"
#include "imageimport/extraction/DateScanner.h"
#include "imageimport/extraction/FactFinders.h"
#include "imageimport/extraction/FlightFinder.h"
#include "imageimport/extraction/LinePreparation.h"
#include "imageimport/extraction/TimeScanner.h"
#include "imageimport/extraction/TitleCleanup.h"

#include "ExtractionTestSupport.h"

#include <gtest/gtest.h>

#include <latch>
#include <thread>

using namespace Qt::Literals::StringLiterals;
using namespace imageimport;

namespace {

// Everything the finders of this folder make of a ticket, as text.
QString readTicket(const ExtractionContext& context) {
    const std::vector<RecognizedLine> recognized{
        {u"BOARDING PASS"_s, 0.05},        {u"FLIGHT GATE SEAT"_s, 0.02}, {u"BA117 B22 14A"_s, 0.03},
        {u"LHR → JFK  Sat 14 June"_s, 0.03}, {u"Departs 08:25 · Arrives 11:10"_s, 0.02},
        {u"Booking ref: X7K2QP  Total due: £1,250.00"_s, 0.02}, {u"Duration: 7 hours"_s, 0.02}};
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
    const auto candidates = CandidateBuilder(context).buildCandidates(dateHits, timeHits, lines);
    const auto flight = FlightFinder::findFlight(lines, timeHits);
    QStringList facts = lines;
    facts << QString::number(candidates.size()) << QString::number(*FactFinders::findDuration(lines.join(u'\n')))
          << FactFinders::findAmount(lines).value_or(QString()) << flight->noteLines()
          << TitleCleanup::findTrigger(lines, std::nullopt)->text
          << TitleCleanup::cleanResidual(u"Venue: The Crown -"_s) << LinePreparation::segments(lines.front());
    return facts.join(u'|');
}

TEST(ExtractionConcurrency, FirstUseFromSeveralThreadsAtOnceReadsAlike) {
    constexpr int kThreads = 4;
    std::latch start(kThreads);
    std::vector<QString> results(kThreads);
    // An extractor's calendar is its own; only the shared patterns meet.
    std::vector<ExtractionContext> contexts(kThreads, extractiontest::context());
    std::vector<std::thread> threads;
    for (int i = 0; i < kThreads; ++i) {
        threads.emplace_back([&start, &results, &contexts, i] {
            start.arrive_and_wait();
            results[static_cast<size_t>(i)] = readTicket(contexts[static_cast<size_t>(i)]);
        });
    }
    for (std::thread& thread : threads)
        thread.join();

    const QString expected = readTicket(extractiontest::context());
    EXPECT_TRUE(expected.contains(u"Booking ref: X7K2QP"_s)) << expected.toStdString();
    EXPECT_TRUE(expected.contains(u"£1,250.00"_s)) << expected.toStdString();
    for (const QString& result : results)
        EXPECT_EQ(result, expected);
}

}  // namespace
