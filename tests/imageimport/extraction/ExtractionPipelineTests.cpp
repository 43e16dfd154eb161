#include "imageimport/extraction/EventCandidateExtractor.h"

#include "platform/datadetector/FakeDataDetector.h"
#include "platform/datadetector/RuleDataDetector.h"

#include "ExtractionTestSupport.h"

#include <gtest/gtest.h>

using namespace Qt::Literals::StringLiterals;
using namespace imageimport;
using extractiontest::at;
using extractiontest::day;

namespace {

ImageExtraction extract(const std::vector<RecognizedLine>& lines,
                        std::shared_ptr<const platform::DataDetector> detector =
                            std::make_shared<platform::RuleDataDetector>()) {
    const EventCandidateExtractor extractor(extractiontest::tuesday10June2025(), extractiontest::calendar(), false,
                                            std::move(detector));
    return extractor.extract(lines);
}

// Lines of body text, all of one small size.
std::vector<RecognizedLine> body(const QStringList& texts) {
    std::vector<RecognizedLine> lines;
    for (const QString& text : texts)
        lines.push_back({text, 0.02});
    return lines;
}

// A proposal as the extraction numbers it, found on `line`.
DateCandidate numbered(int id, int line, DateCandidate c) {
    c.id = id;
    c.line = line;
    return c;
}

TEST(ExtractionGolden, ConcertFlyer) {
    const ImageExtraction found = extract({{u"SUMMER JAZZ NIGHT"_s, 0.08},
                                           {u"Live at The Blue Room"_s, 0.03},
                                           {u"Saturday 14 June · Doors 19:00 · Music 20:00"_s, 0.025},
                                           {u"Tickets £15 · www.blueroom.example/jazz"_s, 0.02}});
    const QString text = u"SUMMER JAZZ NIGHT\nLive at The Blue Room\nSaturday 14 June · Doors 19:00 · Music 20:00\n"
                         u"Tickets £15 · www.blueroom.example/jazz"_s;

    ImageExtraction expected;
    expected.title = u"Summer Jazz Night at The Blue Room"_s;
    DateCandidate doors = numbered(1, 2, extractiontest::candidate(day(2025, 6, 14), 19, 0));
    doors.label = u"Doors"_s;
    expected.dates = {numbered(0, 2, extractiontest::candidate(day(2025, 6, 14), 20, 0)), doors};
    expected.location = u"The Blue Room"_s;
    expected.url = QUrl(u"http://www.blueroom.example/jazz"_s);
    expected.amount = u"£15"_s;
    expected.recognizedText = text;
    expected.notes = text;
    EXPECT_EQ(found, expected);
    EXPECT_EQ(found.summary(), u"Found 1 date, 2 times, 1 place, 1 link"_s);
}

TEST(ExtractionGolden, BillWithADeadlineBecomesAReminderToPay) {
    const ImageExtraction found = extract({{u"Water bill"_s, 0.05},
                                           {u"Thames Water"_s, 0.02},
                                           {u"Account number 1234 5678"_s, 0.02},
                                           {u"Amount due £42.10"_s, 0.02},
                                           {u"Pay by 14 June"_s, 0.02}});
    EXPECT_EQ(found.kind, ImageExtraction::Kind::reminder);
    EXPECT_EQ(found.title, u"Pay water bill (£42.10)"_s);
    EXPECT_EQ(found.reminderTrigger, u"Pay by"_s);
    EXPECT_EQ(found.amount, u"£42.10"_s);
    EXPECT_EQ(found.dates, std::vector{numbered(0, 4, extractiontest::candidate(day(2025, 6, 14)))});
    EXPECT_EQ(found.location, std::nullopt);
    EXPECT_EQ(found.summary(), u"Found a due date and an amount"_s);
}

TEST(ExtractionGolden, BoardingPassTitlesTheFlightAndPlacesItAtItsGate) {
    const ImageExtraction found = extract({{u"BOARDING PASS"_s, 0.04},
                                           {u"British Airways"_s, 0.02},
                                           {u"FLIGHT GATE SEAT"_s, 0.015},
                                           {u"BA117 B22 14A"_s, 0.03},
                                           {u"LHR London Heathrow → JFK New York"_s, 0.02},
                                           {u"Terminal 5"_s, 0.02},
                                           {u"Sat 14 June  Departs 08:25  Pay by card"_s, 0.02}});
    EXPECT_EQ(found.title, u"Flight to New York"_s);
    // Deadline words on a flight document make no reminder.
    EXPECT_EQ(found.kind, ImageExtraction::Kind::event);
    EXPECT_EQ(found.location, u"London Heathrow (LHR), Terminal 5, Gate B22"_s);
    ASSERT_FALSE(found.dates.empty());
    EXPECT_EQ(found.dates.front().start(extractiontest::calendar()), at(2025, 6, 14, 8, 25));
    ASSERT_TRUE(found.flight.has_value());
    EXPECT_TRUE(found.notes.startsWith(found.flight->noteLines().join(u'\n') + u"\n\nBOARDING PASS\n"_s))
        << found.notes.toStdString();
    EXPECT_TRUE(found.summary().startsWith(u"Found flight "_s));
}

TEST(ExtractionGolden, MeetingInvitationWithAVideoLink) {
    const ImageExtraction found =
        extract(body({u"Quarterly planning review"_s, u"When: Thursday 19 June 2025, 14:00 - 15:30"_s,
                      u"Join Zoom meeting: https://zoom.us/j/94812345678?pwd=abc"_s, u"Meeting ID: 948 1234 5678"_s,
                      u"Handbook: https://intranet.example.com/handbook"_s}));
    EXPECT_EQ(found.title, u"Quarterly planning review"_s);
    ASSERT_EQ(found.dates.size(), 1u);
    const core::Calendar calendar = extractiontest::calendar();
    EXPECT_EQ(found.dates[0].start(calendar), at(2025, 6, 19, 14));
    EXPECT_EQ(found.dates[0].end(calendar), at(2025, 6, 19, 15, 30));
    ASSERT_TRUE(found.meeting.has_value());
    EXPECT_EQ(found.meeting->provider, model::MeetingProvider::zoom);
    // The meeting link wins over the other links of the text.
    EXPECT_EQ(found.url, QUrl(u"https://zoom.us/j/94812345678?pwd=abc"_s));
    EXPECT_EQ(found.kind, ImageExtraction::Kind::event);
}

TEST(ExtractionPipeline, ABandNamedForAnHourGetsItsDayWithoutATimeAndKeepsItsName) {
    const ImageExtraction found = extract({{u"The Midnight Echoes"_s, 0.08}, {u"Friday 12 February 2027"_s, 0.03}});
    // The edges lose their label words, "The" among them, as every title does.
    EXPECT_EQ(found.title, u"Midnight Echoes"_s);
    ASSERT_FALSE(found.dates.empty());
    EXPECT_EQ(found.dates[0].day, day(2027, 2, 12));
    EXPECT_EQ(found.dates[0].hour, std::nullopt);
}

TEST(ExtractionPipeline, NothingReadableGivesAnEmptyEvent) {
    for (const auto& lines : {std::vector<RecognizedLine>{}, body({u"   "_s, u"\t"_s})}) {
        const ImageExtraction found = extract(lines);
        EXPECT_EQ(found, ImageExtraction());
        EXPECT_EQ(found.summary(), u"Found no date or time"_s);
    }
}

TEST(ExtractionPipeline, AtMostFiveProposalsTheBestFirst) {
    const ImageExtraction found = extract(body({u"Open days"_s, u"Mon 16 June 10:00"_s, u"Tue 17 June 10:00"_s,
                                                u"Wed 18 June 10:00"_s, u"Thu 19 June 10:00"_s,
                                                u"Fri 20 June 10:00"_s, u"Sat 21 June 10:00"_s,
                                                u"Final show Sun 22 June  Starts 18:00"_s}));
    ASSERT_EQ(found.dates.size(), 5u);
    EXPECT_EQ(found.dates[0].day, day(2025, 6, 22));
    for (int i = 0; i < 5; ++i)
        EXPECT_EQ(found.dates[static_cast<size_t>(i)].id, i);
}

TEST(ExtractionPipeline, ADeadlineWithATimeStaysAnEvent) {
    EXPECT_EQ(extract(body({u"Council tax"_s, u"Due 14 June"_s})).kind, ImageExtraction::Kind::reminder);
    const ImageExtraction timed = extract(body({u"Council tax"_s, u"Due 14 June 17:00"_s}));
    EXPECT_EQ(timed.kind, ImageExtraction::Kind::event);
    EXPECT_EQ(timed.reminderTrigger, std::nullopt);
    EXPECT_EQ(timed.title, u"Council tax"_s);
}

TEST(ExtractionPipeline, TitlesNameTheAppointmentAndTheVenue) {
    EXPECT_EQ(extract({{u"Smile Dental Clinic"_s, 0.1}, {u"Your appointment is on 18 June at 9:30"_s, 0.02}}).title,
              u"Appointment at Smile Dental Clinic"_s);
    EXPECT_EQ(extract({{u"Jazz Night"_s, 0.05}, {u"14 June 20:00"_s, 0.02}, {u"at The Blue Room"_s, 0.02}}).title,
              u"Jazz Night at The Blue Room"_s);
    // No heading at all: the venue is the title.
    EXPECT_EQ(extract(body({u"14/6 20:00"_s, u"at The Blue Room"_s})).title, u"The Blue Room"_s);
    EXPECT_EQ(extract(body({u"Subject: team offsite"_s, u"14 June"_s})).title, u"Team offsite"_s);
}

TEST(ExtractionPipeline, AnEventNeverShowsTheAmountInItsTitle) {
    const ImageExtraction found = extract({{u"Wine tasting"_s, 0.05}, {u"Fri 13 June 19:00  Tickets £25"_s, 0.02}});
    EXPECT_EQ(found.title, u"Wine tasting"_s);
    EXPECT_EQ(found.amount, u"£25"_s);
    // A reminder whose title already shows its amount gets it once.
    const ImageExtraction permit = extract(body({u"Subject: Parking permit £30"_s, u"Pay by 14 June"_s}));
    EXPECT_EQ(permit.kind, ImageExtraction::Kind::reminder);
    EXPECT_EQ(permit.title, u"Parking permit £30"_s);
}

TEST(ExtractionPipeline, TheDateDetectorOnlyWhenNoLineHasADate) {
    auto detector = std::make_shared<platform::FakeDataDetector>();
    const core::Date friday = at(2025, 6, 13, 12);
    detector->addDate(u"Midsummer eve"_s, friday);
    // A bare number is not taken for a day, whatever the detector says.
    detector->addDate(u"2024"_s, at(2025, 6, 20, 12));

    const ImageExtraction fallback = extract(body({u"Book club"_s, u"Midsummer eve, since 2024"_s}), detector);
    ASSERT_EQ(fallback.dates.size(), 1u);
    EXPECT_EQ(fallback.dates[0].day, day(2025, 6, 13));
    EXPECT_TRUE(fallback.dates[0].isRelative);

    // A written date anywhere, even on another line, keeps the detector out.
    const ImageExtraction written = extract(body({u"Book club Midsummer eve"_s, u"Printed 2 June 2025"_s}), detector);
    ASSERT_EQ(written.dates.size(), 1u);
    EXPECT_EQ(written.dates[0].day, day(2025, 6, 2));
}

TEST(ExtractionPipeline, WithoutADetectorNoLinksNoAddressesNoFallbackDates) {
    const ImageExtraction found =
        extract(body({u"Garden party"_s, u"Midsummer eve"_s, u"12 high street, Bristol"_s, u"www.example.com"_s}),
                nullptr);
    EXPECT_EQ(found.url, std::nullopt);
    EXPECT_EQ(found.location, std::nullopt);
    EXPECT_TRUE(found.dates.empty());
    EXPECT_EQ(found.title, u"Garden party"_s);
}

}  // namespace
