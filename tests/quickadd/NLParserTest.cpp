#include "ParserTestSupport.h"

using quickadd::NLParser;
using Kind = quickadd::NLParser::TokenKind;
using namespace quickadd::testing;
using namespace Qt::Literals::StringLiterals;

namespace {

std::vector<NLParser::CalendarRef> someCalendars() {
    return {{u"work-id"_s, u"Work / Team-2"_s}, {u"personal-id"_s, u"Personal"_s},
            {u"pers-id"_s, u"Persian Lessons"_s}, {u"family-id"_s, u"\U0001F3E0 Family"_s}};
}

std::vector<std::pair<Kind, QString>> kindsAndTexts(const NLParser::Result& result) {
    std::vector<std::pair<Kind, QString>> list;
    for (const auto& token : result.tokens)
        list.emplace_back(token.kind, token.text);
    return list;
}

TEST(NLParser, LinesWithoutWordsGiveNoResult) {
    for (const QString& line : {QString(), u"   "_s, u",;, ;;"_s, u" !? \n\t"_s})
        EXPECT_EQ(parserAt().parse(line), std::nullopt) << line.toStdString();
}

TEST(NLParser, UnrecognisedWordsBecomeTheTitleOfAnHourFromTheNextWholeHour) {
    const auto result = parsed(parserAt(), u"Lunch with Sam"_s);
    EXPECT_EQ(result.title, u"Lunch with Sam"_s);
    EXPECT_TRUE(result.tokens.empty());
    EXPECT_FALSE(result.hasDate || result.hasTime || result.hasDuration || result.isAllDay);
    EXPECT_EQ(result.start, local(2026, 3, 11, 11));
    EXPECT_EQ(result.end, local(2026, 3, 11, 12));
    EXPECT_EQ(result.calendarID, std::nullopt);
    EXPECT_EQ(result.location, std::nullopt);
}

TEST(NLParser, ExactlyOnTheHourTheDefaultStartIsTheFollowingHour) {
    const auto result = parsed(parserAt(local(2026, 3, 11, 10, 0)), u"Lunch"_s);
    EXPECT_EQ(result.start, local(2026, 3, 11, 11));
    const auto lateEvening = parsed(parserAt(local(2026, 3, 11, 23, 59)), u"Lunch"_s);
    EXPECT_EQ(lateEvening.start, local(2026, 3, 12, 0));
}

TEST(NLParser, StandupTomorrowWithTimeAndDuration) {
    const QString line = u"Standup tomorrow 9:30 for 15m"_s;
    const auto result = parsed(parserAt(), line);
    EXPECT_EQ(result.title, u"Standup"_s);
    EXPECT_EQ(kindsAndTexts(result), (std::vector<std::pair<Kind, QString>>{
                                         {Kind::date, u"tomorrow"_s}, {Kind::time, u"9:30"_s},
                                         {Kind::duration, u"15m"_s}}));
    // The connector "for" is consumed but lies outside the token.
    EXPECT_EQ(result.tokens[2].range, (core::TextRange{26, 3}));
    EXPECT_EQ(result.start, local(2026, 3, 12, 9, 30));
    EXPECT_EQ(result.end, local(2026, 3, 12, 9, 45));
    EXPECT_TRUE(result.hasDate && result.hasTime && result.hasDuration);
    EXPECT_FALSE(result.isAllDay);
}

TEST(NLParser, ConnectorsGoWithWhatTheyIntroduceAndStayWhenNothingFollows) {
    const auto review = parsed(parserAt(), u"Review by friday"_s);
    EXPECT_EQ(review.title, u"Review"_s);
    EXPECT_EQ(tokenText(review, Kind::date), u"friday"_s);
    EXPECT_EQ(parsed(parserAt(), u"Ready for Sam"_s).title, u"Ready for Sam"_s);
    EXPECT_EQ(parsed(parserAt(), u"Meet at"_s).title, u"Meet at"_s);
    EXPECT_EQ(parsed(parserAt(), u"Pay rent on 3/14"_s).title, u"Pay rent"_s);
}

TEST(NLParser, PlacesAfterAtNeedACapital) {
    const auto luigi = parsed(parserAt(), u"Dinner at Luigi's"_s);
    EXPECT_EQ(luigi.location, u"Luigi's"_s);
    EXPECT_EQ(luigi.title, u"Dinner"_s);
    EXPECT_EQ(tokenText(luigi, Kind::location), u"Luigi's"_s);

    const auto lower = parsed(parserAt(), u"Dinner at luigi's"_s);
    EXPECT_EQ(lower.location, std::nullopt);
    EXPECT_EQ(lower.title, u"Dinner at luigi's"_s);

    const auto umlaut = parsed(parserAt(), u"Essen at Österberg"_s);
    EXPECT_EQ(umlaut.location, u"Österberg"_s);
}

TEST(NLParser, PlacesStopAtJoiningWordsAndAtRecognisedParts) {
    const auto coffee = parsed(parserAt(), u"Coffee @Blue Bottle with Sam"_s);
    EXPECT_EQ(coffee.location, u"Blue Bottle"_s);
    EXPECT_EQ(coffee.title, u"Coffee with Sam"_s);
    EXPECT_EQ(tokenText(coffee, Kind::location), u"@Blue Bottle"_s);

    const auto dentist = parsed(parserAt(), u"Dentist fri 2-3pm at Smile Clinic"_s);
    EXPECT_EQ(dentist.location, u"Smile Clinic"_s);
    EXPECT_EQ(dentist.title, u"Dentist"_s);
    EXPECT_EQ(dentist.start, local(2026, 3, 13, 14));
    EXPECT_EQ(dentist.end, local(2026, 3, 13, 15));

    const auto beforeTime = parsed(parserAt(), u"Meet at Cafe Roma tomorrow 9am"_s);
    EXPECT_EQ(beforeTime.location, u"Cafe Roma"_s);
    EXPECT_EQ(beforeTime.title, u"Meet"_s);
}

TEST(NLParser, ALoneAtSignWorksLikeAtAndStaysInTheTitleAtTheEnd) {
    const auto sign = parsed(parserAt(), u"Drinks @ Harbour Bar"_s);
    EXPECT_EQ(sign.location, u"Harbour Bar"_s);
    EXPECT_EQ(sign.title, u"Drinks"_s);
    EXPECT_EQ(tokenText(sign, Kind::location), u"Harbour Bar"_s);
    const auto trailing = parsed(parserAt(), u"Drinks @"_s);
    EXPECT_EQ(trailing.location, std::nullopt);
    EXPECT_EQ(trailing.title, u"Drinks @"_s);
}

TEST(NLParser, PlaceTextKeepsTheTypedPunctuationBetweenItsWords) {
    EXPECT_EQ(parsed(parserAt(), u"Lunch at Cafe, Roma"_s).location, u"Cafe, Roma"_s);
    EXPECT_EQ(parsed(parserAt(), u"Lunch at Cafe Roma,"_s).location, u"Cafe Roma"_s);
    EXPECT_EQ(parsed(parserAt(), u"Lunch at Cafe   Roma"_s).location, u"Cafe   Roma"_s);
}

TEST(NLParser, CalendarWordsPickExactThenPrefixThenContainedTitles) {
    const NLParser parser = parserAt(local(2026, 3, 11, 10, 15), true, someCalendars());
    const auto exact = parsed(parser, u"Gym /personal"_s);
    EXPECT_EQ(exact.calendarID, u"personal-id"_s);
    EXPECT_EQ(exact.title, u"Gym"_s);
    EXPECT_EQ(tokenText(exact, Kind::calendar), u"/personal"_s);
    // "pers" begins both Personal and Persian Lessons: the earlier one wins.
    EXPECT_EQ(parsed(parser, u"Gym #pers"_s).calendarID, u"personal-id"_s);
    EXPECT_EQ(parsed(parser, u"Gym #persian"_s).calendarID, u"pers-id"_s);
    EXPECT_EQ(parsed(parser, u"Sync /team2"_s).calendarID, u"work-id"_s);
    EXPECT_EQ(parsed(parser, u"Sync /Work-Team"_s).calendarID, u"work-id"_s);
    EXPECT_EQ(parsed(parser, u"Dinner #family"_s).calendarID, u"family-id"_s);
    EXPECT_EQ(parsed(parser, u"Dinner at 7 for /family"_s).calendarID, u"family-id"_s);

    const auto unknown = parsed(parser, u"Gym /school or #-- later"_s);
    EXPECT_EQ(unknown.calendarID, std::nullopt);
    EXPECT_EQ(unknown.title, u"Gym /school or #-- later"_s);
    EXPECT_EQ(parsed(parserAt(), u"Gym /personal"_s).calendarID, std::nullopt);
}

TEST(NLParser, AnExactTitleBeatsEarlierTitlesThatBeginWithOrHoldTheKey) {
    const NLParser::CalendarRef bistro{u"bistro-id"_s, u"Bistro Cafe"_s};
    const NLParser::CalendarRef cafeteria{u"cafeteria-id"_s, u"Cafeteria"_s};
    // With a combining accent, "Cafe" squashes to exactly the key.
    const NLParser::CalendarRef cafe{u"cafe-id"_s, u"Cafe\u0301"_s};
    const auto lunchIn = [](std::vector<NLParser::CalendarRef> calendars) {
        return parsed(parserAt(local(2026, 3, 11, 10, 15), true, std::move(calendars)), u"Lunch /cafe"_s).calendarID;
    };
    EXPECT_EQ(lunchIn({bistro, cafeteria, cafe}), u"cafe-id"_s);
    EXPECT_EQ(lunchIn({bistro, cafeteria}), u"cafeteria-id"_s);
    EXPECT_EQ(lunchIn({bistro}), u"bistro-id"_s);
}

TEST(NLParser, ManySlashWordsAreEachLookedUpAndOnlyTheFirstMatchChoosesTheCalendar) {
    std::vector<NLParser::CalendarRef> calendars;
    for (int i = 0; i < 50; ++i)
        calendars.push_back({QString::number(i), u"Calendar %1"_s.arg(i)});
    QStringList words;
    for (int i = 0; i < 500; ++i)
        words << u"/zz"_s;
    words << u"/calendar42"_s << u"/calendar7"_s;
    const auto result = parsed(parserAt(local(2026, 3, 11, 10, 15), true, calendars), words.join(u' '));
    EXPECT_EQ(result.calendarID, u"42"_s);
    EXPECT_TRUE(result.title.startsWith(u"/zz /zz"_s));
    EXPECT_TRUE(result.title.endsWith(u"/zz /calendar7"_s));
}

TEST(NLParser, AllDayTripWithCalendar) {
    const NLParser parser = parserAt(local(2026, 3, 11, 10, 15), true, someCalendars());
    const auto result = parsed(parser, u"Trip 12 nov all day /personal"_s);
    EXPECT_TRUE(result.isAllDay);
    EXPECT_EQ(result.start, local(2026, 11, 12));
    EXPECT_EQ(result.end, local(2026, 11, 13) - 1);
    EXPECT_EQ(result.calendarID, u"personal-id"_s);
    EXPECT_EQ(result.title, u"Trip"_s);
    EXPECT_EQ(kindsAndTexts(result), (std::vector<std::pair<Kind, QString>>{
                                         {Kind::date, u"12 nov"_s}, {Kind::allDay, u"all day"_s},
                                         {Kind::calendar, u"/personal"_s}}));
}

TEST(NLParser, AllDayOverridesATimeAndAloneMeansToday) {
    const auto withTime = parsed(parserAt(), u"Offsite all-day 9am-5pm"_s);
    EXPECT_TRUE(withTime.isAllDay);
    EXPECT_TRUE(withTime.hasTime);
    EXPECT_EQ(withTime.start, local(2026, 3, 11));
    EXPECT_EQ(withTime.end, local(2026, 3, 12) - 1);
    EXPECT_TRUE(parsed(parserAt(), u"Holiday allday"_s).isAllDay);
}

TEST(NLParser, ADateAloneIsAllDayAndWithADurationStartsAtNine) {
    const auto alone = parsed(parserAt(), u"Taxes fri"_s);
    EXPECT_TRUE(alone.isAllDay);
    EXPECT_EQ(alone.start, local(2026, 3, 13));
    const auto withDuration = parsed(parserAt(), u"Taxes fri for 2h"_s);
    EXPECT_FALSE(withDuration.isAllDay);
    EXPECT_EQ(withDuration.start, local(2026, 3, 13, 9));
    EXPECT_EQ(withDuration.end, local(2026, 3, 13, 11));
}

TEST(NLParser, ATimeThatHasPassedTodayMeansTomorrow) {
    const auto passed = parsed(parserAt(), u"Call 9am"_s);
    EXPECT_EQ(passed.start, local(2026, 3, 12, 9));
    const auto later = parsed(parserAt(), u"Call 4pm"_s);
    EXPECT_EQ(later.start, local(2026, 3, 11, 16));
    // With a date the time stays on that day, past or not.
    EXPECT_EQ(parsed(parserAt(), u"Call today 9am"_s).start, local(2026, 3, 11, 9));
    // Only a time before now has passed: now itself is still today.
    EXPECT_EQ(parsed(parserAt(), u"Call 10:15"_s).start, local(2026, 3, 11, 10, 15));
    EXPECT_EQ(parsed(parserAt(local(2026, 3, 11, 10, 15) + 1), u"Call 10:15"_s).start, local(2026, 3, 12, 10, 15));
}

TEST(NLParser, ARangeEndingBeforeItStartsEndsTheNextDay) {
    const auto result = parsed(parserAt(), u"Party 10pm-1am"_s);
    EXPECT_EQ(result.start, local(2026, 3, 11, 22));
    EXPECT_EQ(result.end, local(2026, 3, 12, 1));
    EXPECT_TRUE(result.hasDuration);
    // An end time wins over a duration.
    const auto both = parsed(parserAt(), u"Party 8-9pm for 3h"_s);
    EXPECT_EQ(both.end, local(2026, 3, 11, 21));
    EXPECT_EQ(both.title, u"Party"_s);
}

TEST(NLParser, TitleIsTrimmedOfSeparatorsAtItsEndsOnly) {
    EXPECT_EQ(parsed(parserAt(), u" -- Lunch,  Sam; and co \u2013 tomorrow"_s).title, u"Lunch Sam and co"_s);
    EXPECT_EQ(parsed(parserAt(), u"Q&A - planning (draft)"_s).title, u"Q&A - planning (draft)"_s);
    const auto empty = parsed(parserAt(), u"tomorrow 9am"_s);
    EXPECT_TRUE(empty.title.isEmpty());
    EXPECT_EQ(empty.draft().title, u"New event"_s);
}

TEST(NLParser, DraftCarriesTheResult) {
    const NLParser parser = parserAt(local(2026, 3, 11, 10, 15), true, someCalendars());
    const auto draft = parsed(parser, u"Dentist fri 2-3pm at Smile Clinic /personal"_s).draft();
    EXPECT_EQ(draft.title, u"Dentist"_s);
    EXPECT_EQ(draft.start, local(2026, 3, 13, 14));
    EXPECT_EQ(draft.end, local(2026, 3, 13, 15));
    EXPECT_FALSE(draft.isAllDay);
    EXPECT_EQ(draft.location, u"Smile Clinic"_s);
    EXPECT_EQ(draft.calendarID, u"personal-id"_s);
    EXPECT_EQ(draft.notes, std::nullopt);
    EXPECT_EQ(draft.url, std::nullopt);
    EXPECT_TRUE(draft.alarmOffsets.empty());
    EXPECT_EQ(draft.recurrence, std::nullopt);
}

TEST(NLParser, TokenRangesCountUtf16UnitsOfTheTypedText) {
    // The lower-case form of "İ" is two units long; ranges still index the typed line.
    const QString istanbul = u"\u0130stanbul at 9"_s;
    const auto first = parsed(parserAt(), istanbul);
    ASSERT_EQ(first.tokens.size(), 1u);
    EXPECT_EQ(first.tokens[0].range, (core::TextRange{12, 1}));
    EXPECT_EQ(first.title, u"\u0130stanbul"_s);

    const QString party = u"\U0001F389 Party 9pm-11pm at Dock \u00DC"_s;
    const auto second = parsed(parserAt(), party);
    ASSERT_EQ(second.tokens.size(), 2u);
    EXPECT_EQ(second.tokens[0].range, (core::TextRange{9, 8}));
    EXPECT_EQ(second.tokens[1].range, (core::TextRange{21, 6}));
    for (const auto& token : second.tokens)
        EXPECT_EQ(party.mid(token.range.location, token.range.length), token.text);
    EXPECT_EQ(second.title, u"\U0001F389 Party"_s);
}

TEST(NLParser, SpringForwardDayInBerlin) {
    // 30 March 2025: clocks go from 02:00 to 03:00.
    const NLParser parser = parserAt(local(2025, 3, 30, 1, 30));
    EXPECT_EQ(parsed(parser, u"Check"_s).start, core::Date(1743296400));  // 03:00 CEST
    const auto skipped = parsed(parser, u"Check 02:30"_s);
    EXPECT_EQ(skipped.start, core::Date(1743296400));
    EXPECT_EQ(wallTime(skipped.start), (NLParser::HM{3, 0}));
    const auto range = parsed(parser, u"Shift 1am-4am today"_s);
    EXPECT_EQ(range.end - range.start, 2 * 3600);
    // Both ends in the skipped hour: the range keeps its own hour instead of lasting a day.
    const auto inTheGap = parsed(parser, u"Sync 2-3am"_s);
    EXPECT_EQ(inTheGap.start, core::Date(1743296400));
    EXPECT_EQ(inTheGap.end - inTheGap.start, 3600);
    const auto halfInTheGap = parsed(parser, u"Sync 2:15-2:45am today"_s);
    EXPECT_EQ(halfInTheGap.start, core::Date(1743296400));
    EXPECT_EQ(halfInTheGap.end - halfInTheGap.start, 1800);
    // A range that runs backwards on the clock still ends the next day.
    const auto overnight = parsed(parser, u"Shift 10pm-2:30am"_s);
    EXPECT_EQ(wallTime(overnight.end), (NLParser::HM{2, 30}));
    EXPECT_EQ(overnight.end - overnight.start, 4.5 * 3600);
    const auto allDay = parsed(parser, u"Holiday today"_s);
    EXPECT_EQ(allDay.end - allDay.start, 23 * 3600 - 1);
    // The next day the skipped hour exists again.
    EXPECT_EQ(wallTime(parsed(parser, u"Check tomorrow 02:30"_s).start), (NLParser::HM{2, 30}));
}

TEST(NLParser, FallBackDayInBerlin) {
    // 26 October 2025: 03:00 summer time becomes 02:00 winter time, so 02:00 to 03:00 happens twice.
    const NLParser parser = parserAt(local(2025, 10, 26, 1, 10));
    // The first 02:30, still in summer time.
    EXPECT_EQ(parsed(parser, u"Check 02:30"_s).start, core::Date(1761438600));
    const auto allDay = parsed(parser, u"Holiday today"_s);
    EXPECT_EQ(allDay.end - allDay.start, 25 * 3600 - 1);
    // Half past two summer time: the next whole hour is two o'clock again, in winter time.
    const NLParser inRepeat = parserAt(core::Date(1761438600));
    EXPECT_EQ(parsed(inRepeat, u"Check"_s).start, core::Date(1761440400));
}

}  // namespace
