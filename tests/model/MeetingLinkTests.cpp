#include "model/MeetingLink.h"

#include <QSet>

#include <gtest/gtest.h>

#include <thread>
#include <vector>

namespace {

using model::MeetingLink;
using model::MeetingLinkDetector;
using model::MeetingProvider;

QString found(const QString& text) {
    const auto link = MeetingLinkDetector::detect(text);
    return link ? model::rawValue(link->provider) + u' ' + link->url.toString() : QStringLiteral("none");
}

TEST(MeetingDetection, RecognisesEveryServiceByItsHostAndPath) {
    const std::vector<std::pair<QString, MeetingProvider>> links{
        {QStringLiteral("https://us02web.zoom.us/j/8123456789?pwd=abc"), MeetingProvider::zoom},
        {QStringLiteral("https://agency.zoomgov.com/j/16012345"), MeetingProvider::zoom},
        {QStringLiteral("https://meet.google.com/abc-defg-hij"), MeetingProvider::googleMeet},
        {QStringLiteral("https://teams.microsoft.com/l/meetup-join/19%3ameeting_x%40thread.v2/0"),
         MeetingProvider::teams},
        {QStringLiteral("https://teams.live.com/meet/9387261"), MeetingProvider::teams},
        {QStringLiteral("https://acme.webex.com/meet/ana"), MeetingProvider::webex},
        {QStringLiteral("https://global.gotomeeting.com/join/123456789"), MeetingProvider::goToMeeting},
        {QStringLiteral("https://meet.goto.com/123456789"), MeetingProvider::goToMeeting},
        {QStringLiteral("https://app.goto.com/meeting/123456789"), MeetingProvider::goToMeeting},
        {QStringLiteral("https://whereby.com/team-room"), MeetingProvider::whereby},
        {QStringLiteral("https://meet.jit.si/OurRoom"), MeetingProvider::jitsi},
        {QStringLiteral("https://app.chime.aws/meetings/1234"), MeetingProvider::chime},
        {QStringLiteral("https://app.slack.com/huddle/T01/C02"), MeetingProvider::slack},
        {QStringLiteral("https://discord.gg/abcd"), MeetingProvider::discord},
        {QStringLiteral("https://discord.com/channels/1/2"), MeetingProvider::discord},
        {QStringLiteral("https://facetime.apple.com/join#v=1&p=abc"), MeetingProvider::faceTime},
        {QStringLiteral("https://join.skype.com/AbCdEf"), MeetingProvider::skype},
        {QStringLiteral("https://meet.around.co/r/room"), MeetingProvider::around},
    };
    for (const auto& [text, provider] : links) {
        const auto link = MeetingLinkDetector::detect(text);
        ASSERT_TRUE(link.has_value()) << text.toStdString();
        EXPECT_EQ(link->provider, provider) << text.toStdString();
    }
}

TEST(MeetingDetection, RejectsPathsAndHostsOutsideAServicesSet) {
    EXPECT_EQ(found(QStringLiteral("https://zoom.us/x/123")), QStringLiteral("none"));
    EXPECT_EQ(found(QStringLiteral("https://zoom.us/j/")), QStringLiteral("none"));  // the tail needs a character
    EXPECT_EQ(found(QStringLiteral("https://teams.microsoft.com/settings/x")), QStringLiteral("none"));
    EXPECT_EQ(found(QStringLiteral("https://discord.com/invite/abc")), QStringLiteral("none"));
    EXPECT_EQ(found(QStringLiteral("https://app.slack.com/client/T01")), QStringLiteral("none"));
    EXPECT_EQ(found(QStringLiteral("ftp://meet.google.com/abc")), QStringLiteral("none"));
    EXPECT_EQ(found(QStringLiteral("no link here")), QStringLiteral("none"));
    EXPECT_EQ(found(QString()), QStringLiteral("none"));
    // A meeting code that ends the link is enough for this one service.
    EXPECT_EQ(found(QStringLiteral("Meet: https://meet.google.com/abc-defg-hij")),
              QStringLiteral("googleMeet https://meet.google.com/abc-defg-hij"));
}

TEST(MeetingDetection, TheEarliestLinkWinsWhateverItsService) {
    EXPECT_EQ(found(QStringLiteral("Primary https://teams.microsoft.com/meet/1 backup https://zoom.us/j/2")),
              QStringLiteral("teams https://teams.microsoft.com/meet/1"));
    // Upper case is found, and the government domain is still the same service.
    EXPECT_EQ(found(QStringLiteral("DIAL IN: HTTPS://ZOOM.EXAMPLE/J/1 OR HTTPS://AGENCY.ZOOMGOV.COM/J/161")),
              QStringLiteral("zoom https://agency.zoomgov.com/J/161"));
}

TEST(MeetingDetection, TrimsPunctuationAroundTheMatch) {
    EXPECT_EQ(found(QStringLiteral("(see https://zoom.us/j/123).")), QStringLiteral("zoom https://zoom.us/j/123"));
    EXPECT_EQ(found(QStringLiteral("<https://meet.jit.si/Room>;")), QStringLiteral("jitsi https://meet.jit.si/Room"));
    EXPECT_EQ(found(QStringLiteral("[https://whereby.com/a.b],")), QStringLiteral("whereby https://whereby.com/a.b"));
    // Inner punctuation stays; a quote ends the link.
    EXPECT_EQ(found(QStringLiteral("href=\"https://join.skype.com/a.b;c\"")),
              QStringLiteral("skype https://join.skype.com/a.b;c"));
}

TEST(MeetingDetection, WorksInUtf16UnitsAfterAstralCharacters) {
    const QString text = QStringLiteral("\U0001F4C5\U0001F4C5 Sync \U0001F600: https://meet.google.com/xyz-abcd-efg!");
    EXPECT_EQ(found(text), QStringLiteral("googleMeet https://meet.google.com/xyz-abcd-efg!"));
}

TEST(MeetingDetection, ATextThatIsNoValidUrlGivesNoLink) {
    // Matches the pattern, but a percent sign without hex digits makes no URL.
    EXPECT_EQ(found(QStringLiteral("https://zoom.us/j/12%zz")), QStringLiteral("none"));
}

TEST(MeetingDetection, SearchesTheUrlThenTheLocationThenTheNotes) {
    const QUrl webex(QStringLiteral("https://acme.webex.com/meet/ana"));
    const QString zoomNotes = QStringLiteral("https://zoom.us/j/1");
    EXPECT_EQ(MeetingLinkDetector::detect(webex, std::nullopt, zoomNotes)->provider, MeetingProvider::webex);
    EXPECT_EQ(MeetingLinkDetector::detect(std::nullopt, QString(), zoomNotes)->provider, MeetingProvider::zoom);
    EXPECT_EQ(MeetingLinkDetector::detect(QUrl(QStringLiteral("https://example.org")),
                                          QStringLiteral("https://meet.jit.si/R"), zoomNotes)
                  ->provider,
              MeetingProvider::jitsi);
    EXPECT_FALSE(MeetingLinkDetector::detect(std::nullopt, std::nullopt, std::nullopt).has_value());
}

TEST(MeetingDetection, IsSafeFromManyThreadsAtOnce) {
    std::vector<std::thread> threads;
    std::atomic<int> hits{0};
    for (int t = 0; t < 8; ++t) {
        threads.emplace_back([&hits] {
            for (int i = 0; i < 50; ++i) {
                if (MeetingLinkDetector::detect(QStringLiteral("x https://zoom.us/j/%1").arg(i))) {
                    ++hits;
                }
            }
        });
    }
    for (auto& thread : threads) {
        thread.join();
    }
    EXPECT_EQ(hits.load(), 400);
}

TEST(MeetingProviders, RawValuesDisplayNamesAndHashing) {
    EXPECT_EQ(model::meetingProviderFromRawValue(QStringLiteral("zoom")), MeetingProvider::zoom);
    EXPECT_FALSE(model::meetingProviderFromRawValue(QStringLiteral("Zoom")).has_value());
    EXPECT_EQ(model::displayName(MeetingProvider::slack), QStringLiteral("Slack Huddle"));
    EXPECT_EQ(model::displayName(MeetingProvider::other), QStringLiteral("Meeting"));
    for (MeetingProvider provider : model::kAllMeetingProviders) {
        EXPECT_EQ(model::meetingProviderFromRawValue(model::rawValue(provider)), provider);
    }
    const MeetingLink a{MeetingProvider::zoom, QUrl(QStringLiteral("https://zoom.us/j/1"))};
    const MeetingLink b{MeetingProvider::webex, a.url};
    EXPECT_NE(a, b);
    EXPECT_EQ((QSet<MeetingLink>{a, b, a}.size()), 2);
}

}  // namespace
