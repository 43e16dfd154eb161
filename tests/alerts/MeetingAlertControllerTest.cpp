#include "AlertTestSupport.h"
#include "ScreenEnvironment.h"
#include "StoreTestSupport.h"
#include "alerts/MeetingAlertController.h"
#include "platform/sound/FakeSoundPlayer.h"

#include <gtest/gtest.h>

#include <cmath>
#include <limits>

using namespace Qt::Literals::StringLiterals;
using alerts::MeetingAlertController;
using platform::EntityType;

namespace {

const QUrl kZoom(u"https://zoom.us/j/5551234"_s);

struct Meeting {
    std::optional<QUrl> link = kZoom;
    double minutes = 30;
    bool declined = false;
    bool allDay = false;
};

// Tuesday 10 March 2026, 9:00:00 in Berlin.
class MeetingAlerts : public ::testing::Test, protected testsupport::ScreenEnvironment {
protected:
    MeetingAlerts() : ScreenEnvironment(storetest::local(2026, 3, 10, 9)) {
        work = ek.addCalendar(EntityType::Event, u"Work"_s);
    }

    core::Date now() const { return core::Date::now(); }

    // Adds an event starting `offset` seconds from now and loads it.
    platform::PlatformEvent add(const QString& title, double offset, Meeting meeting = {}) {
        platform::PlatformEvent event =
            meeting.allDay ? storetest::allDayEvent(work, title, now())
                           : storetest::timedEvent(work, title, now() + offset, meeting.minutes);
        event.url = meeting.link;
        if (meeting.declined) {
            platform::PlatformParticipant me;
            me.name = u"Me"_s;
            me.url = QUrl(u"mailto:me@example.com"_s);
            me.isCurrentUser = true;
            me.participantStatus = 3;
            event.attendees.push_back(me);
        }
        const platform::PlatformEvent stored = ek.addEvent(event);
        store.reload();
        return stored;
    }

    QString idOf(const QString& title) const {
        for (const model::ODEvent& event : store.events())
            if (event.title == title)
                return event.id;
        return {};
    }

    void start() {
        controller = std::make_unique<MeetingAlertController>(store, settings, workspace, sound, card);
        controller->start();
    }

    QStringList presentedTitles() const {
        QStringList titles;
        for (const model::ODEvent& event : card.presented)
            titles << event.title;
        return titles;
    }

    // Moves the clock on by whole checks.
    void checks(int count) { clock.advance(count * MeetingAlertController::kCheckInterval); }

    platform::PlatformCalendar work;
    platform::FakeSoundPlayer sound;
    alertstest::RecordingPresenter card;
    std::unique_ptr<MeetingAlertController> controller;
};

TEST_F(MeetingAlerts, AMeetingWithinTheLeadTimeGetsOneCardAndOneSoundAtTheFirstCheck) {
    add(u"Standup"_s, 45);
    start();
    EXPECT_EQ(presentedTitles(), QStringList{u"Standup"_s});
    EXPECT_EQ(sound.played, QStringList{u"Pop"_s});
    ASSERT_TRUE(controller->cardEvent());
    EXPECT_EQ(controller->cardEvent()->title, u"Standup"_s);
    // Still due on the checks that follow, but announced once.
    checks(6);
    EXPECT_EQ(card.presented.size(), 1u);
    EXPECT_EQ(sound.played.size(), 1);
}

TEST_F(MeetingAlerts, WithoutACardTheChecksWakeAtMostOnceAMinuteYetEachCardComesOnTime) {
    add(u"Planning"_s, 600);
    start();
    EXPECT_EQ(controller->nextCheck(), now() + MeetingAlertController::kRestingCheckInterval);
    clock.advance(8 * 60);
    // The card falls due 60 s before the start, sooner than the next minute's check.
    EXPECT_EQ(controller->nextCheck(), now() + 60);
    clock.advance(59.5);
    EXPECT_TRUE(card.presented.empty());
    clock.advance(0.5);
    EXPECT_EQ(presentedTitles(), QStringList{u"Planning"_s});
    // A card on screen is looked after every few seconds; once it goes, the checks rest again.
    EXPECT_EQ(controller->nextCheck(), now() + MeetingAlertController::kCheckInterval);
    card.actions.snooze();
    EXPECT_EQ(controller->nextCheck(), now() + MeetingAlertController::kRestingCheckInterval);

    // An event added, or a longer lead time, that falls due sooner moves the next check forward.
    add(u"Soon"_s, 100);
    EXPECT_EQ(controller->nextCheck(), now() + 40);
    settings.setAlertLeadTime(90);
    EXPECT_EQ(controller->nextCheck(), now() + 10);
}

TEST_F(MeetingAlerts, ACardIsDueOnceTheStartIsNoFartherThanTheLeadTime) {
    add(u"Review"_s, 65);
    start();
    EXPECT_TRUE(card.presented.empty());
    // 60 s before the start, exactly the lead time.
    checks(1);
    EXPECT_EQ(presentedTitles(), QStringList{u"Review"_s});
}

TEST_F(MeetingAlerts, AMeetingStartedUnderAMinuteAgoIsStillAnnouncedButNotOneStartedAMinuteAgo) {
    add(u"Started a minute ago"_s, -60);
    add(u"Started 59 s ago"_s, -59);
    start();
    EXPECT_EQ(presentedTitles(), QStringList{u"Started 59 s ago"_s});
    checks(3);
    EXPECT_EQ(presentedTitles(), QStringList{u"Started 59 s ago"_s});
}

TEST_F(MeetingAlerts, ALeadTimeBelowZeroAnnouncesAtTheStartOnly) {
    settings.setAlertLeadTime(-300);
    add(u"Sync"_s, 5);
    start();
    EXPECT_TRUE(card.presented.empty());
    checks(1);
    EXPECT_EQ(presentedTitles(), QStringList{u"Sync"_s});
}

TEST_F(MeetingAlerts, ALeadTimeNoSettingCanHoldIsReadAsTheDefaultAndLeftStored) {
    // From a damaged settings file: every loaded event would be due at every check.
    settings.setAlertLeadTime(1e9);
    add(u"Next week"_s, 7 * 86400);
    add(u"In an hour"_s, 3600);
    add(u"In half a minute"_s, 30);
    start();
    checks(2);
    EXPECT_EQ(presentedTitles(), QStringList{u"In half a minute"_s});
    EXPECT_EQ(settings.alertLeadTime(), 1e9);

    EXPECT_EQ(MeetingAlertController::effectiveLeadTime(86400), 86400);
    EXPECT_EQ(MeetingAlertController::effectiveLeadTime(86401), 60);
    EXPECT_EQ(MeetingAlertController::effectiveLeadTime(std::numeric_limits<double>::quiet_NaN()), 60);
    EXPECT_EQ(MeetingAlertController::effectiveLeadTime(std::numeric_limits<double>::infinity()), 60);
    EXPECT_EQ(MeetingAlertController::effectiveLeadTime(-std::numeric_limits<double>::infinity()), 60);
    EXPECT_EQ(MeetingAlertController::effectiveLeadTime(-5), 0);
    EXPECT_EQ(MeetingAlertController::effectiveLeadTime(900), 900);
}

TEST_F(MeetingAlerts, AllDayDeclinedAndLinklessEventsGetNoCardUnlessLinksAreNotAskedFor) {
    add(u"Holiday"_s, 0, {.allDay = true});
    add(u"Declined"_s, 20, {.declined = true});
    add(u"Lunch"_s, 30, {.link = std::nullopt});
    start();
    checks(3);
    EXPECT_TRUE(card.presented.empty());
    EXPECT_TRUE(sound.played.isEmpty());

    settings.setAlertOnlyWithLink(false);
    checks(1);
    EXPECT_EQ(presentedTitles(), QStringList{u"Lunch"_s});
    checks(3);
    EXPECT_EQ(presentedTitles(), QStringList{u"Lunch"_s});
}

TEST_F(MeetingAlerts, TwoMeetingsDueTogetherFollowEachOtherOnTheSameCardEachWithItsSound) {
    add(u"First"_s, 20);
    add(u"Second"_s, 30);
    start();
    EXPECT_EQ(presentedTitles(), QStringList{u"First"_s});
    checks(1);
    EXPECT_EQ(presentedTitles(), (QStringList{u"First"_s, u"Second"_s}));
    // Replaced in place, never taken away between.
    EXPECT_EQ(card.withdrawals, 0);
    EXPECT_EQ(sound.played.size(), 2);
}

TEST_F(MeetingAlerts, AnEditedTitleRefreshesTheCardSilentlyAndAMovedMeetingIsAnnouncedAgain) {
    platform::PlatformEvent standup = add(u"Standup"_s, 30);
    start();
    ASSERT_EQ(card.presented.size(), 1u);

    standup.title = u"Standup (moved room)"_s;
    standup = ek.saveEvent(standup, platform::Span::ThisEvent, true);
    store.reload();
    EXPECT_EQ(presentedTitles(), (QStringList{u"Standup"_s, u"Standup (moved room)"_s}));
    EXPECT_EQ(sound.played.size(), 1);
    EXPECT_EQ(card.withdrawals, 0);
    // A reload that changes nothing leaves the card alone.
    store.reload();
    EXPECT_EQ(card.presented.size(), 2u);

    // Another start is another event: the card goes, and the moved one is due anew.
    standup.startDate = *standup.startDate + 20;
    standup.endDate = *standup.endDate + 20;
    ek.saveEvent(standup, platform::Span::ThisEvent, true);
    store.reload();
    EXPECT_EQ(card.withdrawals, 1);
    EXPECT_FALSE(controller->cardEvent());
    checks(1);
    EXPECT_EQ(card.presented.size(), 3u);
    EXPECT_EQ(sound.played.size(), 2);
}

TEST_F(MeetingAlerts, ADeletedMeetingTakesItsCardAway) {
    const platform::PlatformEvent standup = add(u"Standup"_s, 30);
    start();
    ek.removeEvent(standup, platform::Span::ThisEvent, true);
    store.reload();
    EXPECT_EQ(card.withdrawals, 1);
    EXPECT_FALSE(controller->cardEvent());
}

TEST_F(MeetingAlerts, RemindAtStartBringsTheCardBackAtTheFirstCheckFromTheStart) {
    add(u"Planning"_s, 42);
    start();
    card.actions.remindAtStart();
    EXPECT_EQ(card.withdrawals, 1);
    EXPECT_EQ(controller->pendingReminders().value(idOf(u"Planning"_s)), now() + 42);
    checks(8);  // 40 s: not yet
    EXPECT_EQ(card.presented.size(), 1u);
    checks(1);  // 45 s
    EXPECT_EQ(card.presented.size(), 2u);
    EXPECT_TRUE(controller->pendingReminders().isEmpty());
    EXPECT_EQ(sound.played.size(), 2);
}

TEST_F(MeetingAlerts, ASnoozedCardReturnsFiveMinutesLaterAndGoesAgainWhenPastTheAutoDismissTime) {
    settings.setAlertAutoDismissAfter(60);
    add(u"Planning"_s, 30);
    start();
    card.actions.snooze();
    EXPECT_EQ(controller->pendingReminders().value(idOf(u"Planning"_s)), now() + 300);
    checks(59);
    EXPECT_EQ(card.presented.size(), 1u);
    checks(1);
    EXPECT_EQ(card.presented.size(), 2u);
    EXPECT_TRUE(card.showing);
    // Running for 275 s by now, past the 60 s the card may stay.
    checks(1);
    EXPECT_FALSE(card.showing);
    EXPECT_FALSE(controller->cardEvent());
}

TEST_F(MeetingAlerts, AReminderOfADeletedOrEndedMeetingIsDroppedSilently) {
    const platform::PlatformEvent gone = add(u"Gone"_s, 10);
    add(u"Short"_s, 30, {.minutes = 1});
    start();
    card.actions.snooze();  // "Gone"
    checks(1);
    ASSERT_EQ(presentedTitles(), (QStringList{u"Gone"_s, u"Short"_s}));
    card.actions.snooze();  // "Short", over long before the snooze ends
    ek.removeEvent(gone, platform::Span::ThisEvent, true);
    store.reload();
    checks(70);
    EXPECT_EQ(card.presented.size(), 2u);
    EXPECT_TRUE(controller->pendingReminders().isEmpty());
}

TEST_F(MeetingAlerts, TheCardGoesWhenTheMeetingEndsOrHasRunPastTheAutoDismissTime) {
    settings.setAlertAutoDismissAfter(300);
    add(u"Long"_s, 30, {.minutes = 60});
    start();
    checks(66);  // 330 s: the meeting has run 300 s, not more
    EXPECT_TRUE(card.showing);
    checks(1);
    EXPECT_FALSE(card.showing);

    settings.setAlertAutoDismissAfter(std::nullopt);
    add(u"Brief"_s, 30, {.minutes = 2});
    checks(1);
    ASSERT_TRUE(card.showing);
    EXPECT_EQ(card.showing->title, u"Brief"_s);
    checks(28);  // 5 s before the end
    EXPECT_TRUE(card.showing);
    checks(1);  // at the end
    EXPECT_FALSE(card.showing);
}

TEST_F(MeetingAlerts, SwitchingAlertsOffHidesTheCardAndForgetsRemindersAndOnAgainAnnouncesNothingTwice) {
    add(u"Snoozed"_s, 10);
    add(u"Showing"_s, 20);
    start();
    card.actions.snooze();
    checks(1);
    ASSERT_TRUE(card.showing);
    settings.setMeetingAlertsEnabled(false);
    EXPECT_FALSE(card.showing);
    EXPECT_TRUE(controller->pendingReminders().isEmpty());
    checks(2);
    settings.setMeetingAlertsEnabled(true);
    checks(70);
    EXPECT_EQ(presentedTitles(), (QStringList{u"Snoozed"_s, u"Showing"_s}));
}

TEST_F(MeetingAlerts, WithAlertsOffNoCardComesButAShowingOneStillExpires) {
    settings.setAlertAutoDismissAfter(std::nullopt);
    add(u"Brief"_s, 10, {.minutes = 1});
    start();
    ASSERT_TRUE(card.showing);
    // Switched off in the settings file of another process: no signal reaches us.
    settings.blockSignals(true);
    settings.setMeetingAlertsEnabled(false);
    settings.blockSignals(false);
    add(u"Later"_s, 40);
    checks(15);
    EXPECT_FALSE(card.showing);
    EXPECT_EQ(presentedTitles(), QStringList{u"Brief"_s});
}

TEST_F(MeetingAlerts, TheCardsButtonsJoinAndCloseIt) {
    add(u"Standup"_s, 30);
    start();
    card.actions.join();
    EXPECT_EQ(workspace.opened, QList<QUrl>{kZoom});
    EXPECT_FALSE(card.showing);

    add(u"Lunch"_s, 40, {.link = std::nullopt});
    settings.setAlertOnlyWithLink(false);
    checks(1);
    ASSERT_TRUE(card.showing);
    card.actions.join();
    EXPECT_EQ(workspace.opened.size(), 1);
    add(u"Coffee"_s, 50, {.link = std::nullopt});
    checks(1);
    card.actions.close();
    EXPECT_FALSE(card.showing);
    EXPECT_TRUE(controller->pendingReminders().isEmpty());
}

TEST_F(MeetingAlerts, AnActionOfACardOutlivingItsControllerDoesNothing) {
    add(u"Standup"_s, 30);
    start();
    const alerts::MeetingCardActions actions = card.actions;
    controller.reset();
    actions.join();
    actions.snooze();
    actions.close();
    EXPECT_TRUE(workspace.opened.isEmpty());
}

TEST_F(MeetingAlerts, TheJoinKeyPrefersAMeetingUnderWayToTheNextOne) {
    add(u"Next"_s, 600);
    add(u"Under way"_s, -600, {.minutes = 30});
    add(u"Declined and under way"_s, -300, {.declined = true});
    start();
    controller->joinNextMeeting(now());
    EXPECT_EQ(workspace.opened, QList<QUrl>{kZoom});
    ASSERT_TRUE(MeetingAlertController::joinTarget(std::nullopt, store.events(), now()));
    EXPECT_EQ(MeetingAlertController::joinTarget(std::nullopt, store.events(), now())->title, u"Under way"_s);
    EXPECT_EQ(MeetingAlertController::joinTarget(std::nullopt, store.events(), now() + 1200)->title, u"Next"_s);
    EXPECT_EQ(sound.beeps, 0);
}

TEST_F(MeetingAlerts, TheJoinKeyLooksLessThanTwelveHoursAheadAndRingsTheBellWithNothingToJoin) {
    add(u"Tonight"_s, 12 * 3600);
    add(u"Declined"_s, 60, {.declined = true});
    add(u"Holiday"_s, 0, {.link = kZoom, .allDay = true});
    add(u"No link"_s, 120, {.link = std::nullopt});
    start();
    controller->joinNextMeeting(now());
    EXPECT_TRUE(workspace.opened.isEmpty());
    EXPECT_EQ(sound.beeps, 1);
    clock.advance(1);
    controller->joinNextMeeting(now());
    EXPECT_EQ(workspace.opened.size(), 1);
}

TEST_F(MeetingAlerts, TheJoinKeyJoinsTheCardsMeetingAndTakesTheCardAwayButLeavesALinklessCard) {
    settings.setAlertOnlyWithLink(false);
    add(u"On the card"_s, 30, {.link = QUrl(u"https://meet.google.com/abc-defg-hij"_s)});
    add(u"Under way"_s, -600);
    start();
    ASSERT_EQ(card.showing->title, u"On the card"_s);
    controller->joinNextMeeting(now());
    EXPECT_EQ(workspace.opened, QList<QUrl>{QUrl(u"https://meet.google.com/abc-defg-hij"_s)});
    EXPECT_FALSE(card.showing);

    add(u"Linkless"_s, 40, {.link = std::nullopt});
    checks(1);
    ASSERT_EQ(card.showing->title, u"Linkless"_s);
    controller->joinNextMeeting(now());
    EXPECT_EQ(workspace.opened.last(), kZoom);
    EXPECT_TRUE(card.showing);
}

TEST_F(MeetingAlerts, ALinkThatIsNoWebAddressIsNeverOpenedAndTheBellRings) {
    add(u"Odd"_s, 30, {.link = QUrl(u"https://zoom.us/j/1"_s)});
    start();
    model::ODEvent odd = *controller->cardEvent();
    odd.meeting->url = QUrl(u"file:///etc/passwd"_s);
    controller->showCard(odd);
    controller->joinNextMeeting(now());
    EXPECT_TRUE(workspace.opened.isEmpty());
    EXPECT_EQ(sound.beeps, 1);
    card.actions.join();
    EXPECT_TRUE(workspace.opened.isEmpty());
}

TEST_F(MeetingAlerts, ASoundTheDesktopRefusesOrNoSoundAtAllStillShowsTheCard) {
    sound.refusesAll = true;
    add(u"First"_s, 20);
    start();
    EXPECT_EQ(sound.requested, QStringList{u"Pop"_s});
    EXPECT_TRUE(sound.played.isEmpty());
    EXPECT_TRUE(card.showing);

    settings.setAlertSound(std::nullopt);
    add(u"Second"_s, 30);
    checks(1);
    EXPECT_EQ(card.showing->title, u"Second"_s);
    EXPECT_EQ(sound.requested.size(), 1);
}

TEST_F(MeetingAlerts, ACardShownThroughTheApplicationStateCallbackRefreshesInPlaceWithoutASecondSound) {
    add(u"Standup"_s, 30);
    start();
    model::ODEvent changed = *controller->cardEvent();
    changed.title = u"Standup, room 4"_s;
    controller->showCard(changed);
    EXPECT_EQ(presentedTitles(), (QStringList{u"Standup"_s, u"Standup, room 4"_s}));
    EXPECT_EQ(sound.played.size(), 1);
}

}  // namespace
