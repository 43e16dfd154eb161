#include "StoreTestSupport.h"
#include "TestEnvironment.h"
#include "alerts/CardPlacement.h"
#include "alerts/MeetingCardFace.h"

#include <gtest/gtest.h>

#include <limits>

using namespace Qt::Literals::StringLiterals;
using alerts::MeetingCardFace;

namespace {

TEST(MeetingCardClock, CountsWholeSecondsRoundedUpAndUpwardsWithAPlusAfterTheStart) {
    EXPECT_EQ(MeetingCardFace::clock(0.2), u"0:01"_s);
    EXPECT_EQ(MeetingCardFace::clock(0), u"0:00"_s);
    EXPECT_EQ(MeetingCardFace::clock(-0.5), u"0:00"_s);
    EXPECT_EQ(MeetingCardFace::clock(-61), u"+1:01"_s);
    EXPECT_EQ(MeetingCardFace::clock(247), u"4:07"_s);
    EXPECT_EQ(MeetingCardFace::clock(3599), u"59:59"_s);
    EXPECT_EQ(MeetingCardFace::clock(3599.99), u"1:00:00"_s);
    EXPECT_EQ(MeetingCardFace::clock(-3725), u"+1:02:05"_s);
    EXPECT_EQ(MeetingCardFace::clock(-125), u"+2:05"_s);
}

TEST(MeetingCardClock, AStartNoClockCanCountToReadsAsItsLongestAndNoNumberAsNothing) {
    EXPECT_EQ(MeetingCardFace::clock(std::numeric_limits<double>::quiet_NaN()), u"0:00"_s);
    EXPECT_EQ(MeetingCardFace::clock(std::numeric_limits<double>::infinity()), u"0:00"_s);
    EXPECT_EQ(MeetingCardFace::clock(1e300), u"99999:00:00"_s);
    EXPECT_EQ(MeetingCardFace::clock(-1e300), u"+99999:00:00"_s);
}

TEST(MeetingCardClock, TicksWhenTheWholeSecondsChange) {
    const core::Date start(1000);
    EXPECT_DOUBLE_EQ(MeetingCardFace::nextChange(start, core::Date(940.7)).secondsSince1970(), 941);
    EXPECT_DOUBLE_EQ(MeetingCardFace::nextChange(start, core::Date(940)).secondsSince1970(), 941);
    EXPECT_DOUBLE_EQ(MeetingCardFace::nextChange(start, core::Date(1061.25)).secondsSince1970(), 1062);
}

class CardFace : public ::testing::Test {
protected:
    model::ODEvent meeting() const {
        model::ODEvent event;
        event.id = u"standup|1773129600"_s;
        event.title = u"Standup"_s;
        event.start = storetest::local(2026, 3, 10, 9);
        event.end = storetest::local(2026, 3, 10, 9, 30);
        event.calendarTitle = u"Work"_s;
        event.meeting = model::MeetingLink{model::MeetingProvider::zoom, QUrl(u"https://zoom.us/j/1"_s)};
        return event;
    }
};

TEST_F(CardFace, BeforeTheStartItCountsDownAndOffersRemindAtStart) {
    const model::ODEvent event = meeting();
    const MeetingCardFace face = MeetingCardFace::make(event, event.start - 0.2, std::nullopt);
    EXPECT_FALSE(face.started);
    EXPECT_EQ(face.header, u"STARTS IN"_s);
    EXPECT_EQ(face.clockText, u"0:01"_s);
    EXPECT_EQ(face.clockAccessibleName, u"Starts in 0:01"_s);
    EXPECT_TRUE(face.offersRemindAtStart);
}

TEST_F(CardFace, FromTheStartItCountsUpAndNoLongerOffersRemindAtStart) {
    const model::ODEvent event = meeting();
    MeetingCardFace face = MeetingCardFace::make(event, event.start, std::nullopt);
    EXPECT_TRUE(face.started);
    EXPECT_EQ(face.header, u"STARTED"_s);
    EXPECT_EQ(face.clockText, u"0:00"_s);
    EXPECT_EQ(face.clockAccessibleName, u"Started 0:00 ago"_s);
    EXPECT_FALSE(face.offersRemindAtStart);
    face = MeetingCardFace::make(event, event.start + 0.5, std::nullopt);
    EXPECT_TRUE(face.started);
    EXPECT_EQ(face.clockText, u"0:00"_s);
    face = MeetingCardFace::make(event, event.start + 125, std::nullopt);
    EXPECT_EQ(face.clockAccessibleName, u"Started +2:05 ago"_s);
}

TEST_F(CardFace, TheJoinButtonNamesTheServiceAndShowsTheJoinShortcut) {
    model::ODEvent event = meeting();
    MeetingCardFace face = MeetingCardFace::make(event, event.start - 60, app::HotKeyCombo{38, 0x900});
    EXPECT_TRUE(face.offersJoin);
    EXPECT_TRUE(face.offersCopyLink);
    EXPECT_EQ(face.joinName, u"Join Zoom"_s);
    EXPECT_EQ(face.joinGlyph, u"video.fill"_s);
    EXPECT_EQ(face.joinShortcut, u"Ctrl+Alt+J"_s);
    EXPECT_EQ(face.joinHint, u"Shortcut: Ctrl+Alt+J"_s);

    face = MeetingCardFace::make(event, event.start - 60, std::nullopt);
    EXPECT_FALSE(face.joinShortcut);
    EXPECT_EQ(face.joinHint, QString());

    event.meeting->provider = model::MeetingProvider::other;
    EXPECT_EQ(MeetingCardFace::make(event, event.start, std::nullopt).joinName, u"Join Meeting"_s);
    EXPECT_EQ(MeetingCardFace::joinSymbol(model::MeetingProvider::other), u"link"_s);
    EXPECT_EQ(MeetingCardFace::joinSymbol(model::MeetingProvider::slack), u"bubble.left.and.bubble.right"_s);
    EXPECT_EQ(MeetingCardFace::joinSymbol(model::MeetingProvider::discord), u"bubble.left.and.bubble.right"_s);
    EXPECT_EQ(MeetingCardFace::joinSymbol(model::MeetingProvider::teams), u"video.fill"_s);

    event.meeting.reset();
    face = MeetingCardFace::make(event, event.start - 60, std::nullopt);
    EXPECT_FALSE(face.offersJoin);
    EXPECT_FALSE(face.offersCopyLink);
}

TEST_F(CardFace, CountsEveryoneInvitedTheOrganizerIncluded) {
    model::ODEvent event = meeting();
    EXPECT_EQ(MeetingCardFace::make(event, event.start, std::nullopt).invited, QString());
    model::ODAttendee organizer;
    organizer.name = u"Ada"_s;
    organizer.isOrganizer = true;
    event.organizer = organizer;
    EXPECT_EQ(MeetingCardFace::make(event, event.start, std::nullopt).invited, u"1 invited"_s);
    for (const QString& name : {u"Bo"_s, u"Cy"_s, u"Di"_s, u"Ed"_s}) {
        model::ODAttendee attendee;
        attendee.name = name;
        event.attendees.push_back(attendee);
    }
    EXPECT_EQ(MeetingCardFace::make(event, event.start, std::nullopt).invited, u"5 invited"_s);
}

TEST_F(CardFace, TheTimeLineFollowsTheLocalesClockAndNamesTheCalendarWhenItHasATitle) {
    model::ODEvent event = meeting();
    EXPECT_EQ(MeetingCardFace::timeLine(event), u"9:00\u202FAM \u2013 9:30\u202FAM \u00B7 Work"_s);
    testsupport::ScopedLocale german("de_DE");
    event.calendarTitle.clear();
    event.start = storetest::local(2026, 3, 10, 14);
    event.end = storetest::local(2026, 3, 10, 15);
    EXPECT_EQ(MeetingCardFace::timeLine(event), u"14:00 \u2013 15:00"_s);
}

TEST(CardPlacement, StandsUnderTheTrayItemKeptInsideTheScreen) {
    const QRectF visible(0, 24, 1920, 1056);
    const QSizeF card(340, 240);
    EXPECT_EQ(alerts::cardTopLeft(QRectF(1000, 0, 24, 24), visible, card), QPointF(842, 32));
    // Near the right edge the card's right edge stays 8 px inside.
    EXPECT_EQ(alerts::cardTopLeft(QRectF(1900, 0, 20, 24), visible, card), QPointF(1572, 32));
    EXPECT_EQ(alerts::cardTopLeft(QRectF(0, 0, 20, 24), visible, card), QPointF(8, 32));
    // A screen narrower than the card: the right edge wins.
    EXPECT_EQ(alerts::cardTopLeft(QRectF(100, 0, 20, 24), QRectF(0, 0, 300, 600), card), QPointF(-48, 8));
}

TEST(CardPlacement, WithoutATrayItemStandsInTheTopRightCornerAndOverATrayAtTheBottom) {
    const QRectF visible(0, 0, 1920, 1056);
    const QSizeF card(340, 240);
    EXPECT_EQ(alerts::cardTopLeft(std::nullopt, visible, card), QPointF(1568, 8));
    EXPECT_EQ(alerts::cardTopLeft(QRectF(1000, 1060, 24, 20), visible, card), QPointF(842, 808));
}

}  // namespace
