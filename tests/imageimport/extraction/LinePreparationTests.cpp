#include "imageimport/extraction/LinePreparation.h"

#include <gtest/gtest.h>

using namespace Qt::Literals::StringLiterals;
using imageimport::LinePreparation;
using imageimport::RecognizedLine;

namespace {

std::vector<RecognizedLine> lines(std::initializer_list<const char16_t*> texts) {
    std::vector<RecognizedLine> result;
    double height = 0.01;
    for (const char16_t* text : texts) {
        result.push_back({QString::fromUtf16(text), height});
        height += 0.01;
    }
    return result;
}

QStringList texts(const std::vector<RecognizedLine>& prepared) {
    QStringList result;
    for (const RecognizedLine& line : prepared)
        result.append(line.text);
    return result;
}

TEST(LinePreparation, TrimsBlanksAndDropsEmptyRows) {
    EXPECT_TRUE(LinePreparation::prepare({}).empty());
    EXPECT_TRUE(LinePreparation::prepare(lines({u"   ", u"\t", u"\u00a0"})).empty());
    const auto one = LinePreparation::prepare({{u"  Jazz Night \t"_s, 0.2}});
    ASSERT_EQ(one.size(), 1u);
    EXPECT_EQ(one[0], (RecognizedLine{u"Jazz Night"_s, 0.2}));
}

TEST(LinePreparation, JoinsALabelRowWithTheValueUnderIt) {
    const auto gate = LinePreparation::prepare({{u"Gate:"_s, 0.02}, {u"B22"_s, 0.05}});
    ASSERT_EQ(gate.size(), 1u);
    EXPECT_EQ(gate[0], (RecognizedLine{u"Gate: B22"_s, 0.05}));

    EXPECT_EQ(texts(LinePreparation::prepare(lines({u"Booking ref", u"X7K2QP"}))), QStringList{u"Booking ref X7K2QP"_s});
    EXPECT_EQ(texts(LinePreparation::prepare(lines({u"FLIGHT", u"BA 117 to JFK"}))),
              QStringList{u"FLIGHT BA 117 to JFK"_s});
    // Five words are a sentence, not a value.
    EXPECT_EQ(texts(LinePreparation::prepare(lines({u"FLIGHT", u"BA 117 to New York"}))),
              (QStringList{u"FLIGHT"_s, u"BA 117 to New York"_s}));
    // A label on the last row has nothing to join.
    EXPECT_EQ(texts(LinePreparation::prepare(lines({u"Jazz Night", u"GATE"}))),
              (QStringList{u"Jazz Night"_s, u"GATE"_s}));
}

TEST(LinePreparation, PairsARowOfLabelsWithARowOfAsManyValues) {
    const auto table = LinePreparation::prepare({{u"FLIGHT GATE SEAT"_s, 0.02}, {u"BA117 22 14A"_s, 0.03}});
    ASSERT_EQ(table.size(), 1u);
    EXPECT_EQ(table[0], (RecognizedLine{u"Flight BA117  Gate 22  Seat 14A"_s, 0.03}));

    // Two single labels form a table before they can form a phrase.
    EXPECT_EQ(texts(LinePreparation::prepare(lines({u"BOARDING TIME", u"10:30 B22"}))),
              QStringList{u"Boarding 10:30  Time B22"_s});
    EXPECT_EQ(texts(LinePreparation::prepare(lines({u"BOARDING TIME", u"10:30"}))),
              QStringList{u"BOARDING TIME 10:30"_s});
    EXPECT_EQ(texts(LinePreparation::prepare(lines({u"GATE SEAT", u"22 14A 3"}))),
              (QStringList{u"GATE SEAT"_s, u"22 14A 3"_s}));
}

TEST(LinePreparation, AJoinedValueRowIsNotReadAgainAsALabel) {
    EXPECT_EQ(texts(LinePreparation::prepare(lines({u"GATE", u"SEAT", u"14A"}))),
              (QStringList{u"GATE SEAT"_s, u"14A"_s}));
}

TEST(LinePreparation, SegmentsAreCutAtVisualSeparators) {
    EXPECT_EQ(LinePreparation::segments(u"Jazz Night · The Blue Room | 8pm"_s),
              (QStringList{u"Jazz Night"_s, u"The Blue Room"_s, u"8pm"_s}));
    EXPECT_EQ(LinePreparation::segments(u"Ticket - Row F"_s), (QStringList{u"Ticket"_s, u"Row F"_s}));
    EXPECT_EQ(LinePreparation::segments(u"Gate B22  Seat 14A\tcheck-in • Zone 3"_s),
              (QStringList{u"Gate B22"_s, u"Seat 14A"_s, u"check-in"_s, u"Zone 3"_s}));
    EXPECT_EQ(LinePreparation::segments(u" · | "_s), QStringList{});
    EXPECT_EQ(LinePreparation::split(u"a·b·"_s, core::Regex(u"·"_s)), (QStringList{u"a"_s, u"b"_s, QString()}));
}

std::optional<QString> labelBefore(const QString& line, const QString& time) {
    return LinePreparation::label({line.indexOf(time), time.size()}, line);
}

TEST(LinePreparation, NamesTheLabelRightInFrontOfATime) {
    EXPECT_EQ(labelBefore(u"Departure time: 14:05"_s, u"14:05"_s), u"Departs"_s);
    EXPECT_EQ(labelBefore(u"Doors open at 19:00"_s, u"19:00"_s), u"Doors"_s);
    EXPECT_EQ(labelBefore(u"Boarding from 13:20"_s, u"13:20"_s), u"Boarding"_s);
    EXPECT_EQ(labelBefore(u"Gate closes 13:35"_s, u"13:35"_s), u"Gate closes"_s);
    EXPECT_EQ(labelBefore(u"until 11pm"_s, u"11pm"_s), u"Ends"_s);
    EXPECT_EQ(labelBefore(u"ETA 16:40"_s, u"16:40"_s), u"Arrives"_s);
    EXPECT_EQ(labelBefore(u"Kick-off 15:00"_s, u"15:00"_s), u"Kick-off"_s);
    EXPECT_EQ(labelBefore(u"Doors 7pm · Show 8pm"_s, u"8pm"_s), u"Show"_s);
    EXPECT_EQ(labelBefore(u"7pm doors"_s, u"7pm"_s), std::nullopt);
    EXPECT_EQ(labelBefore(u"Doors open, then at 19:00"_s, u"19:00"_s), std::nullopt);
}

TEST(LinePreparation, ALabelWordMustStartAWord) {
    EXPECT_EQ(labelBefore(u"Weekend 10:00"_s, u"10:00"_s), std::nullopt);
    EXPECT_EQ(labelBefore(u"Attend 18:30"_s, u"18:30"_s), std::nullopt);
    EXPECT_EQ(labelBefore(u"Pasta 12:00"_s, u"12:00"_s), std::nullopt);
    EXPECT_EQ(labelBefore(u"STA 12:00"_s, u"12:00"_s), u"Arrives"_s);
    EXPECT_EQ(labelBefore(u"Event ends 23:00"_s, u"23:00"_s), u"Ends"_s);
}

TEST(LinePreparation, TwelveHourClockAndBlanking) {
    EXPECT_EQ(LinePreparation::hour12(7, std::nullopt), 7);
    EXPECT_EQ(LinePreparation::hour12(7, QString()), 7);
    EXPECT_EQ(LinePreparation::hour12(12, u"AM"_s), 0);
    EXPECT_EQ(LinePreparation::hour12(12, u"pm"_s), 12);
    EXPECT_EQ(LinePreparation::hour12(3, u"p.m."_s), 15);
    EXPECT_EQ(LinePreparation::hour12(3, u"a.m."_s), 3);

    const QString text = u"Sat 14 June 7pm 👋"_s;
    EXPECT_EQ(LinePreparation::blank(text, {{4, 7}, {12, 3}}), u"Sat             👋"_s);
    // A range past the end is skipped; the others still apply.
    EXPECT_EQ(LinePreparation::blank(text, {{14, 10}, {0, 3}, {-1, 2}}), u"    14 June 7pm 👋"_s);
    EXPECT_EQ(LinePreparation::blank(text, {{4, 7}}).size(), text.size());
}

}  // namespace
