#include "imageimport/extraction/TimeScanner.h"

#include <gtest/gtest.h>

using namespace Qt::Literals::StringLiterals;
using imageimport::TimeHit;
using imageimport::TimeScanner;

namespace {

std::vector<TimeHit> scan(const QString& text, const std::vector<core::TextRange>& excluding = {}) {
    return TimeScanner::scanTimes(text, 2, excluding);
}

// "HH:MM" or "HH:MM-HH:MM" per hit, with "@Label" when labelled.
QStringList clocks(const QString& text) {
    QStringList result;
    for (const TimeHit& hit : scan(text)) {
        QString entry = u"%1:%2"_s.arg(hit.hour, 2, 10, QChar(u'0')).arg(hit.minute, 2, 10, QChar(u'0'));
        if (hit.endHour)
            entry += u"-%1:%2"_s.arg(*hit.endHour, 2, 10, QChar(u'0')).arg(hit.endMinute.value_or(0), 2, 10, QChar(u'0'));
        if (hit.label)
            entry += u'@' + *hit.label;
        result.append(entry);
    }
    return result;
}

TEST(TimePatterns, TwentyFourHourRangesAreOneHit) {
    const auto hits = scan(u"Open 19:30-23:00"_s);
    ASSERT_EQ(hits.size(), 1u);
    EXPECT_EQ(hits[0], (TimeHit{{5, 11}, 19, 30, 23, 0, std::nullopt, 2}));
    EXPECT_EQ(clocks(u"19h30 to 23h00"_s), QStringList{u"19:30-23:00"_s});
    EXPECT_EQ(clocks(u"09:00 – 17:30"_s), QStringList{u"09:00-17:30"_s});
}

TEST(TimePatterns, TwelveHourRangesBorrowOrFlipTheEndsMeridiem) {
    EXPECT_EQ(clocks(u"7-9pm"_s), QStringList{u"19:00-21:00"_s});
    EXPECT_EQ(clocks(u"11-1pm"_s), QStringList{u"11:00-13:00"_s});
    EXPECT_EQ(clocks(u"12-2pm"_s), QStringList{u"12:00-14:00"_s});
    EXPECT_EQ(clocks(u"9.30-11am"_s), QStringList{u"09:30-11:00"_s});
    EXPECT_EQ(clocks(u"11am-2pm"_s), QStringList{u"11:00-14:00"_s});
    EXPECT_EQ(clocks(u"11-12am"_s), QStringList{u"23:00-00:00"_s});
    // A start meridiem is kept even when the end comes earlier in the day.
    EXPECT_EQ(clocks(u"10pm-2am"_s), QStringList{u"22:00-02:00"_s});
}

TEST(TimePatterns, SingleTimesOnBothClocksAndNoon) {
    EXPECT_EQ(clocks(u"7pm, 7 p.m. and 7 P.M."_s), (QStringList{u"19:00"_s, u"19:00"_s, u"19:00"_s}));
    EXPECT_EQ(clocks(u"12am"_s), QStringList{u"00:00"_s});
    EXPECT_EQ(clocks(u"12:15pm"_s), QStringList{u"12:15"_s});
    EXPECT_EQ(clocks(u"Lunch at noon"_s), QStringList{u"12:00"_s});
    EXPECT_EQ(clocks(u"MIDDAY"_s), QStringList{u"12:00"_s});
    EXPECT_EQ(clocks(u"Check 8h15"_s), QStringList{u"08:15"_s});
}

TEST(TimePatterns, WhatIsNoTime) {
    for (const QString& text : {u"19:30pm"_s, u"£7.30pm"_s, u"$5pm"_s, u"14:30:00"_s, u"19.30"_s, u"13pm"_s,
                                u"7pmx"_s, u"24:00"_s, u"10:75"_s, u"٧pm"_s}) {
        EXPECT_TRUE(scan(text).empty()) << text.toStdString();
    }
}

TEST(TimePatterns, ALetterWordAfterATimeIsNoMeridiem) {
    // Airport codes that begin like a meridiem.
    EXPECT_EQ(clocks(u"Departs 14:30 AMS"_s), QStringList{u"14:30@Departs"_s});
    EXPECT_EQ(clocks(u"09:10 PMI"_s), QStringList{u"09:10"_s});
    EXPECT_EQ(clocks(u"19:30 p.m."_s), QStringList{});
}

TEST(TimePatterns, ARejectedRangeLeavesItsPartsToTheSingleTimes) {
    // 13 is no 12-hour start, so "2pm" and "13:00" are read apart.
    EXPECT_EQ(clocks(u"13:00-2pm"_s), (QStringList{u"13:00"_s, u"14:00"_s}));
}

TEST(TimePatterns, LabelsAndLineOrder) {
    EXPECT_EQ(clocks(u"Doors 7pm · Show 8pm"_s), (QStringList{u"19:00@Doors"_s, u"20:00@Show"_s}));
    EXPECT_EQ(clocks(u"Departure time: 14:05"_s), QStringList{u"14:05@Departs"_s});
    EXPECT_EQ(clocks(u"Gate closes 13:35"_s), QStringList{u"13:35@Gate closes"_s});
    EXPECT_EQ(clocks(u"until 11pm"_s), QStringList{u"23:00@Ends"_s});
    EXPECT_EQ(clocks(u"7pm doors"_s), QStringList{u"19:00"_s});
    // Returned in the order of the line, not of the patterns.
    EXPECT_EQ(clocks(u"Show 20:00, doors 7pm"_s), (QStringList{u"20:00@Show"_s, u"19:00@Doors"_s}));
}

TEST(TimePatterns, ExcludedRangesAreNeverReadAsTimes) {
    const QString text = u"14.6.25 at 19:30"_s;
    EXPECT_EQ(scan(text, {{11, 2}}).size(), 0u);
    EXPECT_EQ(scan(text, {{0, 7}}).size(), 1u);
    EXPECT_TRUE(scan(text, {{0, text.size()}}).empty());
}

TEST(TimePatterns, LabelSets) {
    EXPECT_TRUE(TimeScanner::secondaryLabels().contains(u"Doors"_s));
    EXPECT_TRUE(TimeScanner::secondaryLabels().contains(u"Gate closes"_s));
    EXPECT_FALSE(TimeScanner::secondaryLabels().contains(u"Show"_s));
    EXPECT_EQ(TimeScanner::endLabels(), (QSet<QString>{u"Ends"_s, u"Arrives"_s}));
}

}  // namespace
