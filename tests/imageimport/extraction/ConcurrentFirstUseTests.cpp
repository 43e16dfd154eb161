// Each test runs in a process of its own under ctest, so the threads below are the
// first to ask for the shared patterns and word lists. The ThreadSanitizer build
// ("tsan" preset) checks that their one-time creation does not race.

#include "imageimport/extraction/EventCandidateExtractor.h"
#include "platform/datadetector/RuleDataDetector.h"

#include "ExtractionTestSupport.h"

#include <gtest/gtest.h>

#include <latch>
#include <thread>

using namespace Qt::Literals::StringLiterals;
using namespace imageimport;

namespace {

// The whole pipeline over a ticket that every finder has something to say about.
ImageExtraction readTicket(const EventCandidateExtractor& extractor) {
    return extractor.extract({{u"BOARDING PASS"_s, 0.05},
                              {u"FLIGHT GATE SEAT"_s, 0.02},
                              {u"BA117 B22 14A"_s, 0.03},
                              {u"LHR → JFK  Sat 14 June"_s, 0.03},
                              {u"Departs 08:25 · Arrives 11:10"_s, 0.02},
                              {u"Booking ref: X7K2QP  Total due: £1,250.00"_s, 0.02},
                              {u"Duration: 7 hours  at The Lounge  221B Baker Street"_s, 0.02},
                              {u"Manage at www.example.com/manage, tomorrow"_s, 0.02}});
}

EventCandidateExtractor extractor(const std::shared_ptr<const platform::DataDetector>& detector) {
    return EventCandidateExtractor(extractiontest::tuesday10June2025(), extractiontest::calendar(), false, detector);
}

TEST(ExtractionConcurrency, FirstUseFromSeveralThreadsAtOnceReadsAlike) {
    constexpr int kThreads = 4;
    std::latch start(kThreads);
    std::vector<ImageExtraction> results(kThreads);
    // An extractor's calendar is its own; the patterns and the detector are shared.
    const auto detector = std::make_shared<platform::RuleDataDetector>();
    std::vector<EventCandidateExtractor> extractors(kThreads, extractor(detector));
    std::vector<std::thread> threads;
    for (int i = 0; i < kThreads; ++i) {
        threads.emplace_back([&start, &results, &extractors, i] {
            start.arrive_and_wait();
            results[static_cast<size_t>(i)] = readTicket(extractors[static_cast<size_t>(i)]);
        });
    }
    for (std::thread& thread : threads)
        thread.join();

    const ImageExtraction expected = readTicket(extractor(detector));
    ASSERT_TRUE(expected.flight.has_value());
    EXPECT_EQ(expected.flight->bookingRef, u"X7K2QP"_s);
    EXPECT_EQ(expected.amount, u"£1,250.00"_s);
    EXPECT_EQ(expected.duration, 7 * 3600.0);
    EXPECT_TRUE(expected.url.has_value());
    for (const ImageExtraction& result : results)
        EXPECT_EQ(result, expected);
}

}  // namespace
