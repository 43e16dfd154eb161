#include "imageimport/extraction/EventCandidateExtractor.h"
#include "imageimport/extraction/LinkRepair.h"

#include "platform/datadetector/RuleDataDetector.h"

#include "ExtractionTestSupport.h"

#include <gtest/gtest.h>

using namespace Qt::Literals::StringLiterals;
using imageimport::LinkRepair;

namespace {

QString repaired(const QString& text) { return LinkRepair::repairMeetingLinks(text); }

TEST(LinkRepair, MisreadMeetingLinksAreMended) {
    EXPECT_EQ(repaired(u"Join: https://uso2web.zoom.us/j/81234567890?pwd=x"_s),
              u"Join: https://us02web.zoom.us/j/81234567890?pwd=x"_s)
        << "a zero read as an o among the digits of a host opens another host";
    EXPECT_EQ(repaired(u"https://teams.microsoft.com/|/meetup-join/19%3ameeting_x"_s),
              u"https://teams.microsoft.com/l/meetup-join/19%3ameeting_x"_s);
    EXPECT_EQ(repaired(u"https://teams.microsoft.com/I/meetup-join/19%3ameeting_x"_s),
              u"https://teams.microsoft.com/l/meetup-join/19%3ameeting_x"_s);
    EXPECT_EQ(repaired(u"link https://zoorn.us/j/5551234 today"_s), u"link https://zoom.us/j/5551234 today"_s);
    EXPECT_EQ(repaired(u"https://rneet.google.com/abc-defg-hij"_s), u"https://meet.google.com/abc-defg-hij"_s);
}

TEST(LinkRepair, WhatNoMendingMakesAMeetingsLinkStaysAsRead) {
    for (const QString& text : {u"https://zoom.us/j/123456789"_s, u"https://us02web.zoom.us/j/1"_s,
                                u"https://example.com/a|b"_s, u"https://modern.example/turn"_s,
                                u"Room o2 and Io2 · 10:00"_s, QString()})
        EXPECT_EQ(repaired(text), text) << text.toStdString();
    // The white space between words is kept as it was.
    EXPECT_EQ(repaired(u"a\n\n b\tc  "_s), u"a\n\n b\tc  "_s);
}

TEST(LinkRepair, AnImagesMeetingLinkIsReadMendedAndItsTextAsRecognised) {
    const imageimport::EventCandidateExtractor extractor(extractiontest::tuesday10June2025(),
                                                         extractiontest::calendar(), false,
                                                         std::make_shared<platform::RuleDataDetector>());
    const auto found = extractor.extract({{u"Design review"_s, 0.05},
                                          {u"Thursday 12 June 15:00"_s, 0.02},
                                          {u"https://uso2web.zoom.us/j/81234567890"_s, 0.02}});
    ASSERT_TRUE(found.meeting);
    EXPECT_EQ(found.meeting->url, QUrl(u"https://us02web.zoom.us/j/81234567890"_s));
    EXPECT_EQ(found.url, found.meeting->url);
    EXPECT_TRUE(found.recognizedText.contains(u"uso2web"_s));
}

}  // namespace
