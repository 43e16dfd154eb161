#include "platform/datadetector/RuleDataDetector.h"

#include <gtest/gtest.h>

using namespace Qt::Literals::StringLiterals;
using platform::DataDetector;
using platform::RuleDataDetector;

namespace {

// "text=url" per link found.
QStringList links(const QString& text) {
    QStringList result;
    for (const DataDetector::Match& m : RuleDataDetector().matches(text, DataDetector::Kind::link)) {
        EXPECT_EQ(m.kind, DataDetector::Kind::link);
        result.append(text.mid(m.range.location, m.range.length) + u'=' + m.url.toString());
    }
    return result;
}

TEST(RuleDataDetector, AddressesWithASchemeEndBeforeSentencePunctuation) {
    EXPECT_EQ(links(u"Tickets: https://example.com/t?id=4&x=1."_s),
              QStringList{u"https://example.com/t?id=4&x=1=https://example.com/t?id=4&x=1"_s});
    EXPECT_EQ(links(u"(see HTTPS://Example.com/a_(b))"_s),
              QStringList{u"HTTPS://Example.com/a_(b)=https://example.com/a_(b)"_s});
    EXPECT_EQ(links(u"\"http://example.org/x\", then"_s), QStringList{u"http://example.org/x=http://example.org/x"_s});
    EXPECT_EQ(links(u"https:// nothing"_s), QStringList{});
}

TEST(RuleDataDetector, HostsWithoutASchemeAndMailAddresses) {
    EXPECT_EQ(links(u"Join at zoom.us/j/123456, or www.example.co.uk/info!"_s),
              (QStringList{u"zoom.us/j/123456=http://zoom.us/j/123456"_s,
                           u"www.example.co.uk/info=http://www.example.co.uk/info"_s}));
    EXPECT_EQ(links(u"Mail box.office@theatre.org"_s),
              QStringList{u"box.office@theatre.org=mailto:box.office@theatre.org"_s});
    EXPECT_EQ(links(u"mailto:a@b.com"_s), QStringList{u"mailto:a@b.com=mailto:a@b.com"_s});
}

TEST(RuleDataDetector, WordsWithFullStopsAreNoHosts) {
    EXPECT_EQ(links(u"e.g. St.Paul, photo.jpg, 12.30, Mr.Smith, version 1.2.3"_s), QStringList{});
}

TEST(RuleDataDetector, RangesAreUtf16UnitsAndNoneOverlap) {
    const QString text = u"👋 https://example.com/👋 example.com"_s;
    const auto found = RuleDataDetector().matches(text, DataDetector::Kind::link);
    ASSERT_EQ(found.size(), 2u);
    EXPECT_EQ(found[0].range, (core::TextRange{3, 22}));
    EXPECT_EQ(found[1].range, (core::TextRange{26, 11}));
}

TEST(RuleDataDetector, OnlyTheAskedKinds) {
    EXPECT_TRUE(RuleDataDetector().matches(u"https://example.com on 14 June"_s, DataDetector::Kind::date).empty());
    EXPECT_TRUE(RuleDataDetector().matches(QString(), DataDetector::Kind::link).empty());
}

}  // namespace
