#include "core/Regex.h"

#include <QThread>
#include <QtConcurrent/QtConcurrentRun>

#include <gtest/gtest.h>

#include <atomic>
#include <thread>

using core::Regex;
using core::TextRange;
using namespace Qt::Literals::StringLiterals;

namespace {

TEST(Regex, RangesAreUtf16UnitsThatCutTheQStringInTheRightPlace) {
    const Regex link(u"https://\\S+"_s);
    // "👋" is one code point but two UTF-16 units.
    const QString text = u"👋 café → https://example.com/x"_s;
    const auto match = link.firstMatch(text);
    ASSERT_TRUE(match);
    EXPECT_EQ(match->range().location, 10);
    EXPECT_EQ(text.mid(match->range().location, match->range().length), u"https://example.com/x"_s);
    EXPECT_EQ(match->captured(), u"https://example.com/x"_s);
}

TEST(Regex, GroupsOptionsAndFindAll) {
    const Regex time(u"(\\d{1,2}):(\\d{2})\\s*(am|pm)?"_s, Regex::Option::CaseInsensitive);
    const auto all = time.allMatches(u"from 9:30 AM to 11:15"_s);
    ASSERT_EQ(all.size(), 2u);
    EXPECT_EQ(all[0].captured(1), u"9"_s);
    EXPECT_EQ(all[0].captured(3), u"AM"_s);
    EXPECT_EQ(all[1].captured(2), u"15"_s);
    EXPECT_FALSE(all[1].range(3).isValid());  // the optional group did not take part
    EXPECT_EQ(all[1].captured(3), QString());
    EXPECT_FALSE(all[1].range(7).isValid());  // no such group
    EXPECT_EQ(all[0].groupCount(), 3);

    EXPECT_TRUE(Regex(u"ZOOM"_s, Regex::Option::CaseInsensitive).matches(u"zoom.us"_s));
    EXPECT_FALSE(Regex(u"ZOOM"_s).matches(u"zoom.us"_s));
    EXPECT_TRUE(Regex(u"\\d+"_s).matchesEntirely(u"2025"_s));
    EXPECT_FALSE(Regex(u"\\d+"_s).matchesEntirely(u"2025a"_s));
    EXPECT_EQ(Regex(u"^b"_s, Regex::Option::Multiline).allMatches(u"a\nb\nb"_s).size(), 2u);
    EXPECT_EQ(Regex(u"(\\w+)@(\\w+)"_s).replaceAll(u"ann@home bob@work"_s, u"$2:$1"_s), u"home:ann work:bob"_s);

    // Searching from an offset counts in UTF-16 units too.
    const auto second = Regex(u"\\d"_s).firstMatch(u"1😀2"_s, 1);
    ASSERT_TRUE(second);
    EXPECT_EQ(second->range(), (TextRange{3, 1}));
    EXPECT_FALSE(Regex(u"\\d"_s).firstMatch(u"12"_s, 5));
}

TEST(Regex, InvalidPatternsAndRunawayMatchesFailQuietly) {
    const Regex broken(u"(unclosed"_s);
    EXPECT_FALSE(broken.isValid());
    EXPECT_FALSE(broken.errorString().isEmpty());
    EXPECT_FALSE(broken.matches(u"unclosed"_s));
    EXPECT_EQ(broken.replaceAll(u"text"_s, u"x"_s), u"text"_s);

    // Catastrophic backtracking gives up instead of hanging the caller.
    const Regex runaway(u"(a+)+b"_s);
    EXPECT_FALSE(runaway.matches(QString(40, u'a')));
}

TEST(Regex, OneCompiledPatternServesManyThreads) {
    const Regex word(u"\\b(\\w+)\\b"_s);
    const QString text = u"one two three four five six seven eight"_s;
    std::atomic<int> failures = 0;
    std::vector<std::thread> threads;
    for (int t = 0; t < 8; ++t)
        threads.emplace_back([&] {
            for (int i = 0; i < 500; ++i)
                if (word.allMatches(text).size() != 8)
                    ++failures;
        });
    for (auto& th : threads)
        th.join();
    EXPECT_EQ(failures, 0);
}

}  // namespace
