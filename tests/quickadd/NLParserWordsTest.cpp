#include "ParserTestSupport.h"

#include "core/Locale.h"

#include <thread>

using quickadd::NLParser;
using namespace Qt::Literals::StringLiterals;

namespace {

QStringList raws(const std::vector<NLParser::Word>& words) {
    QStringList list;
    for (const auto& word : words)
        list << word.raw;
    return list;
}

TEST(NLParserWords, TokenizeDropsTrailingPunctuationAndKeepsTheWordsOwnRanges) {
    const QString line = u"Lunch, tomorrow!!  at 1pm;"_s;
    const auto words = NLParser::tokenize(line);
    ASSERT_EQ(raws(words), (QStringList{u"Lunch"_s, u"tomorrow"_s, u"at"_s, u"1pm"_s}));
    for (const auto& word : words)
        EXPECT_EQ(line.mid(word.range.location, word.range.length), word.raw);
    EXPECT_EQ(words[1].range, (core::TextRange{7, 8}));
}

TEST(NLParserWords, TokenizeSkipsWordsOfOnlyTrailingPunctuation) {
    EXPECT_EQ(raws(NLParser::tokenize(u"Lunch , ;"_s)), QStringList{u"Lunch"_s});
    EXPECT_TRUE(NLParser::tokenize(u"  ,, !! ?"_s).empty());
    EXPECT_TRUE(NLParser::tokenize(QString()).empty());
}

TEST(NLParserWords, TokenizeKeepsInnerAndLeadingPunctuation) {
    EXPECT_EQ(raws(NLParser::tokenize(u"12.11. a.m. (Room @Desk it's"_s)),
              (QStringList{u"12.11."_s, u"a.m."_s, u"(Room"_s, u"@Desk"_s, u"it's"_s}));
}

TEST(NLParserWords, TokenizeSplitsAtEveryUnicodeSpaceAndCountsUtf16Units) {
    // No-break space, ideographic space and a line break separate words; an emoji is two units.
    const QString line = u"\U0001F389 Party\u00A0tonight\u3000at\n9"_s;
    const auto words = NLParser::tokenize(line);
    ASSERT_EQ(raws(words), (QStringList{u"\U0001F389"_s, u"Party"_s, u"tonight"_s, u"at"_s, u"9"_s}));
    EXPECT_EQ(words[0].range, (core::TextRange{0, 2}));
    EXPECT_EQ(words[1].range, (core::TextRange{3, 5}));
}

TEST(NLParserWords, LowerFormMayDifferInLengthFromTheTypedWord) {
    const auto words = NLParser::tokenize(u"\u0130stanbul"_s);
    ASSERT_EQ(words.size(), 1u);
    EXPECT_EQ(words[0].range, (core::TextRange{0, 8}));
    EXPECT_EQ(words[0].lower.size(), 9);
}

TEST(NLParserWords, SquashKeepsOnlyLettersAndDigitsLowercased) {
    EXPECT_EQ(NLParser::squash(u"Work / Team-2"), u"workteam2"_s);
    EXPECT_EQ(NLParser::squash(u"\U0001F3E0 Home"), u"home"_s);
    EXPECT_EQ(NLParser::squash(u"Ünïcode Café"), u"ünïcodecafé"_s);
    // Combining marks are neither letters nor digits: a decomposed accent goes.
    EXPECT_EQ(NLParser::squash(u"Cafe\u0301 / Bar"), u"cafebar"_s);
    EXPECT_TRUE(NLParser::squash(u"").isEmpty());
    EXPECT_TRUE(NLParser::squash(u"--").isEmpty());
}

TEST(NLParserWords, NumbersAreAsciiIntegersOrCountWords) {
    EXPECT_EQ(NLParser::number(u"+3"), 3);
    EXPECT_EQ(NLParser::number(u"-2"), -2);
    EXPECT_EQ(NLParser::number(u"a"), 1);
    EXPECT_EQ(NLParser::number(u"ten"), 10);
    EXPECT_EQ(NLParser::number(u"9223372036854775807"), std::numeric_limits<qint64>::max());
    EXPECT_EQ(NLParser::number(u"-9223372036854775808"), std::numeric_limits<qint64>::min());
    for (const QStringView word : {u"3.5", u"eight", u"An", u"", u"+", u"9223372036854775808",
                                   u"-9223372036854775809", u"\u0663", u"\uFF13", u"3 "})
        EXPECT_EQ(NLParser::number(word), std::nullopt) << word.toString().toStdString();
}

TEST(NLParserWords, DayNumbersTakeOneOrdinalSuffixAndAFinalDot) {
    EXPECT_EQ(NLParser::dayNumber(u"21st."), 21);
    EXPECT_EQ(NLParser::dayNumber(u"31"), 31);
    EXPECT_EQ(NLParser::dayNumber(u"3th"), 3);
    EXPECT_EQ(NLParser::dayNumber(u"02nd"), 2);
    EXPECT_EQ(NLParser::dayNumber(u"1."), 1);
    for (const QStringView word : {u"32", u"0", u"1st2", u"123", u"th", u"", u"\u0661\u0662"})
        EXPECT_EQ(NLParser::dayNumber(word), std::nullopt) << word.toString().toStdString();
}

TEST(NLParserWords, YearsAreFourCharactersFrom1900To2200) {
    EXPECT_EQ(NLParser::year(u"2026"), 2026);
    EXPECT_EQ(NLParser::year(u"1900"), 1900);
    EXPECT_EQ(NLParser::year(u"2200"), 2200);
    for (const QStringView word : {u"1899", u"2201", u"26", u"+202", u"02026", u"20a6"})
        EXPECT_EQ(NLParser::year(word), std::nullopt) << word.toString().toStdString();
}

TEST(NLParserWords, UnitWordsAreMinutesOrHoursOnly) {
    EXPECT_EQ(NLParser::unitSeconds(u"mins"), 60);
    EXPECT_EQ(NLParser::unitSeconds(u"hrs"), 3600);
    EXPECT_EQ(NLParser::unitSeconds(u"Min"), std::nullopt);
    EXPECT_EQ(NLParser::unitSeconds(u"d"), std::nullopt);
    EXPECT_EQ(NLParser::unitSeconds(u"days"), std::nullopt);
}

TEST(NLParserWords, MonthFirstFollowsTheLocalesNumericDateOrder) {
    EXPECT_TRUE(NLParser::localePrefersMonthFirst(core::Locale(u"en_US"_s)));
    EXPECT_FALSE(NLParser::localePrefersMonthFirst(core::Locale(u"en_GB"_s)));
    EXPECT_FALSE(NLParser::localePrefersMonthFirst(core::Locale(u"de_DE"_s)));
    EXPECT_TRUE(NLParser::localePrefersMonthFirst(core::Locale(u"ja_JP"_s)));
}

TEST(NLParserWords, ParsersOnSeveralThreadsAgreeWithOneOnTheMainThread) {
    const QStringList lines{u"Standup tomorrow 9:30 for 15m"_s, u"Dentist fri 2-3pm at Smile Clinic"_s,
                            u"Trip 12 nov all day"_s, u"Call 3/14 at 5 for 1h 30m"_s};
    std::vector<NLParser::Result> expected;
    for (const QString& line : lines)
        expected.push_back(*quickadd::testing::parserAt().parse(line));

    std::vector<std::thread> threads;
    std::vector<int> mismatches(4, 0);
    for (size_t t = 0; t < mismatches.size(); ++t) {
        threads.emplace_back([&, t] {
            const NLParser parser = quickadd::testing::parserAt();
            for (int round = 0; round < 200; ++round) {
                if (!NLParser::localePrefersMonthFirst(core::Locale(u"en_US"_s)))
                    ++mismatches[t];
                for (qsizetype k = 0; k < lines.size(); ++k) {
                    if (parser.parse(lines[k]) != expected[static_cast<size_t>(k)])
                        ++mismatches[t];
                }
            }
        });
    }
    for (auto& thread : threads)
        thread.join();
    EXPECT_EQ(mismatches, std::vector<int>(4, 0));
}

}  // namespace
