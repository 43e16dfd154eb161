#include "Rendering.h"
#include "ScreenEnvironment.h"
#include "StoreTestSupport.h"
#include "alerts/CardPlacement.h"
#include "alerts/MeetingCardPanel.h"
#include "alerts/MeetingCardView.h"
#include "design/widgets/ODButton.h"

#include <QAbstractButton>
#include <QTest>

#include <gtest/gtest.h>

using namespace Qt::Literals::StringLiterals;
using alerts::MeetingCardView;

namespace {

model::ODAttendee person(const QString& name, bool organizer = false) {
    model::ODAttendee attendee;
    attendee.name = name;
    attendee.email = name.toLower() + u"@example.com"_s;
    attendee.isOrganizer = organizer;
    return attendee;
}

// Tuesday 10 March 2026; the meeting starts at 9:30 in Berlin.
class MeetingCard : public ::testing::Test, protected testsupport::ScreenEnvironment {
protected:
    MeetingCard() : ScreenEnvironment(storetest::local(2026, 3, 10, 9, 30) - 247.4) {}

    static model::ODEvent meeting(bool withLink = true) {
        model::ODEvent event;
        event.id = u"design-review|1773131400"_s;
        event.title = u"Design review: onboarding flow and the new settings window"_s;
        event.start = storetest::local(2026, 3, 10, 9, 30);
        event.end = storetest::local(2026, 3, 10, 10, 15);
        event.calendarTitle = u"Work"_s;
        event.organizer = person(u"Ada Lovelace"_s, true);
        event.attendees = {person(u"Ada Lovelace"_s, true), person(u"Grace Hopper"_s), person(u"Alan Turing"_s),
                           person(u"Edsger Dijkstra"_s)};
        if (withLink)
            event.meeting = model::MeetingLink{model::MeetingProvider::zoom, QUrl(u"https://zoom.us/j/5551234?pwd=a%20b"_s)};
        return event;
    }

    // Each press of a card button, by name.
    alerts::MeetingCardActions recording() {
        return {[this] { pressed << u"join"_s; }, [this] { pressed << u"remind"_s; }, [this] { pressed << u"snooze"_s; },
                [this] { pressed << u"close"_s; }};
    }

    static bool shown(QWidget* widget, QWidget& root) { return widget->isVisibleTo(&root); }

    QStringList pressed;
};

TEST_F(MeetingCard, BeforeTheStartCountsDownAndOffersEveryAction) {
    MeetingCardView card(settings, workspace);
    card.setEvent(meeting(), recording());
    EXPECT_EQ(card.face().clockText, u"4:08"_s);
    EXPECT_TRUE(shown(card.joinButton(), card));
    EXPECT_TRUE(shown(card.remindAtStartButton(), card));
    EXPECT_TRUE(shown(card.copyLinkButton(), card));
    EXPECT_EQ(card.joinButton()->accessibleName(), u"Join Zoom"_s);
    EXPECT_EQ(card.joinButton()->accessibleDescription(), u"Shortcut: Ctrl+Alt+J"_s);
    EXPECT_EQ(card.joinButton()->toolTip(), u"Join Zoom"_s);
    EXPECT_EQ(card.copyLinkButton()->toolTip(), u"Copy meeting link"_s);
    EXPECT_EQ(card.dismissButton()->accessibleName(), u"Dismiss"_s);

    for (QAbstractButton* button : {card.joinButton(), card.remindAtStartButton(), card.snoozeButton(),
                                    card.dismissButton()})
        button->click();
    EXPECT_EQ(pressed, (QStringList{u"join"_s, u"remind"_s, u"snooze"_s, u"close"_s}));
}

TEST_F(MeetingCard, CountsEachSecondAndAtTheStartTurnsToCountingUpWithoutRemindAtStart) {
    MeetingCardView card(settings, workspace);
    card.setEvent(meeting(), recording());
    card.show();
    clock.advance(0.4);
    EXPECT_EQ(card.face().clockText, u"4:07"_s);
    clock.advance(1);
    EXPECT_EQ(card.face().clockText, u"4:06"_s);
    clock.advance(246);
    EXPECT_TRUE(card.face().started);
    EXPECT_EQ(card.face().header, u"STARTED"_s);
    EXPECT_EQ(card.face().clockText, u"0:00"_s);
    EXPECT_FALSE(shown(card.remindAtStartButton(), card));
    EXPECT_TRUE(shown(card.snoozeButton(), card));
    clock.advance(61);
    EXPECT_EQ(card.face().clockText, u"+1:01"_s);
    EXPECT_EQ(card.face().clockAccessibleName, u"Started +1:01 ago"_s);
}

TEST_F(MeetingCard, CopyingTheLinkPutsExactlyItsAddressOnTheClipboardAndLeavesTheCard) {
    MeetingCardView card(settings, workspace);
    card.setEvent(meeting(), recording());
    card.copyLinkButton()->click();
    EXPECT_EQ(workspace.copied, QStringList{u"https://zoom.us/j/5551234?pwd=a%20b"_s});
    EXPECT_TRUE(pressed.isEmpty());
}

TEST_F(MeetingCard, WithoutALinkThereIsNothingToJoinOrCopy) {
    MeetingCardView card(settings, workspace);
    card.setEvent(meeting(false), recording());
    EXPECT_FALSE(shown(card.joinButton(), card));
    EXPECT_FALSE(shown(card.copyLinkButton(), card));
    EXPECT_TRUE(shown(card.snoozeButton(), card));
}

TEST_F(MeetingCard, AChangedJoinShortcutShowsAtOnceAndAClearedOneLeavesNoHint) {
    MeetingCardView card(settings, workspace);
    card.setEvent(meeting(), recording());
    settings.setHotKeyJoinMeeting(app::HotKeyCombo{45, 0x100});
    EXPECT_EQ(card.face().joinShortcut, u"Ctrl+N"_s);
    EXPECT_EQ(card.joinButton()->accessibleDescription(), u"Shortcut: Ctrl+N"_s);
    settings.setHotKeyJoinMeeting(std::nullopt);
    EXPECT_FALSE(card.face().joinShortcut);
    EXPECT_EQ(card.joinButton()->accessibleDescription(), QString());
}

TEST_F(MeetingCard, LooksAsDesignedBeforeAndAfterTheStartWithAndWithoutALink) {
    ASSERT_TRUE(testsupport::missingFontFamilies().isEmpty());
    struct Case {
        QString name;
        bool withLink;
        double afterStart;
    };
    for (const Case& c : {Case{u"meeting-card-before"_s, true, -247.4}, Case{u"meeting-card-started"_s, true, 125},
                          Case{u"meeting-card-no-link"_s, false, -30}}) {
        clock.set(meeting().start + c.afterStart);
        MeetingCardView card(settings, workspace);
        model::ODEvent event = meeting(c.withLink);
        if (!c.withLink) {
            // Nobody invited either: the details stand centred beside the tile.
            event.title = u"Lunch with Sam"_s;
            event.organizer.reset();
            event.attendees.clear();
        }
        card.setEvent(event, recording());
        for (const bool dark : {false, true}) {
            const QImage image = testsupport::renderOnSurface(card, MeetingCardView::kWidth, dark, c.name);
            EXPECT_EQ(image.width(), MeetingCardView::kWidth);
            EXPECT_TRUE(testsupport::matchesReference(image, c.name + (dark ? u"-dark"_s : u"-light"_s)));
        }
    }
}

TEST_F(MeetingCard, ALongTitleTakesTwoLinesAtMostAndKeepsItsWholeTextInTheTooltip) {
    MeetingCardView card(settings, workspace);
    model::ODEvent event = meeting();
    const int oneLine = [&] {
        event.title = u"Sync"_s;
        card.setEvent(event, recording());
        return card.sizeHint().height();
    }();
    event.title = QString(u"A very long meeting title that goes on and on "_s).repeated(6);
    card.setEvent(event, recording());
    const int longest = card.sizeHint().height();
    EXPECT_GT(longest, oneLine);
    EXPECT_LT(longest, oneLine + 40);
    const QImage image = testsupport::renderOnSurface(card, MeetingCardView::kWidth, false, u"meeting-card-long"_s);
    EXPECT_TRUE(testsupport::matchesReference(image, u"meeting-card-long-title-light"_s));
}

class CardPanel : public MeetingCard {
protected:
    std::optional<QRectF> anchor = QRectF(1200, 0, 24, 24);
    alerts::MeetingCardPanel panel{settings, workspace, [this] { return anchor; }};
};

TEST_F(CardPanel, IsAFramelessWindowAboveOthersThatTakesTheKeyboardOnlyWhenClicked) {
    const Qt::WindowFlags flags = panel.windowFlags();
    EXPECT_TRUE(flags.testFlag(Qt::FramelessWindowHint));
    EXPECT_TRUE(flags.testFlag(Qt::WindowStaysOnTopHint));
    EXPECT_FALSE(flags.testFlag(Qt::WindowDoesNotAcceptFocus));
    EXPECT_EQ(panel.windowType(), Qt::Tool);
    EXPECT_TRUE(panel.testAttribute(Qt::WA_ShowWithoutActivating));
}

TEST_F(CardPanel, ShowsTheCardUnderTheTrayItemOrInTheCornerAndReplacesItInPlace) {
    const QRect screen = QGuiApplication::primaryScreen()->availableGeometry();
    panel.present(meeting(), recording());
    ASSERT_TRUE(panel.isShowingCard());
    ASSERT_NE(panel.card(), nullptr);
    EXPECT_EQ(panel.width(), MeetingCardView::kWidth);
    EXPECT_EQ(panel.pos(), alerts::cardTopLeft(anchor, screen, panel.size()).toPoint());
    EXPECT_EQ(panel.pos().y(), screen.top() + 8);

    MeetingCardView* first = panel.card();
    anchor.reset();
    model::ODEvent other = meeting(false);
    other.title = u"Lunch"_s;
    panel.present(other, recording());
    EXPECT_EQ(panel.card(), first);
    EXPECT_EQ(panel.card()->event().title, u"Lunch"_s);
    EXPECT_EQ(panel.geometry().right() + 1, screen.right() + 1 - 12);

    panel.withdraw();
    EXPECT_FALSE(panel.isShowingCard());
    EXPECT_FALSE(panel.isVisible());
    panel.present(meeting(), recording());
    EXPECT_TRUE(panel.isVisible());
}

// A card's clock ticks only while someone can see it: a withdrawn card must
// not wake the process every second for the rest of its life.
TEST_F(CardPanel, AWithdrawnCardArmsNoTimerAndShowsTheCurrentTimeWhenItComesBack) {
    panel.setAnimationPolicy([] { return false; });
    panel.present(meeting(), recording());
    clock.advance(1);
    EXPECT_EQ(panel.card()->face().clockText, u"4:07"_s);
    EXPECT_EQ(clock.clock().pendingTimers(), 1);

    panel.withdraw();
    EXPECT_EQ(clock.clock().pendingTimers(), 0);
    clock.advance(60);
    EXPECT_EQ(clock.clock().pendingTimers(), 0);
    // A change of the join shortcut redraws a hidden card but arms nothing.
    settings.setHotKeyJoinMeeting(app::HotKeyCombo{45, 0x100});
    EXPECT_EQ(clock.clock().pendingTimers(), 0);

    panel.present(meeting(), recording());
    EXPECT_EQ(panel.card()->face().clockText, u"3:07"_s);
    EXPECT_EQ(clock.clock().pendingTimers(), 1);
}

// Cut to the card's corners without a compositor, the window may keep only the
// pixels the card draws wholly, up to where each curve ends.
TEST_F(CardPanel, WithoutACompositorKeepsOnlyThePixelsTheCardsCornersCoverWholly) {
    panel.present(meeting(), recording());
    const QRegion mask = panel.mask();
    ASSERT_FALSE(mask.isEmpty()) << "the offscreen platform has no compositor";
    EXPECT_EQ(testsupport::seeThroughPixels(mask, *panel.card()), QStringList());
    const int right = panel.width() - 1;
    const int bottom = panel.height() - 1;
    for (const QPoint edge : {QPoint(16, 0), QPoint(right - 16, 0), QPoint(0, 16), QPoint(right, bottom - 16),
                              QPoint(16, bottom), QPoint(right - 16, bottom)})
        EXPECT_TRUE(mask.contains(edge)) << edge.x() << ", " << edge.y();
}

}  // namespace
