#include "PopoverTestSupport.h"
#include "platform/defaults/InMemoryUserDefaults.h"
#include "popover/AccessFlows.h"
#include "state/AppSettings.h"
#include "state/AppState.h"
#include "store/CalendarStore.h"

#include <QCoreApplication>

#include <gtest/gtest.h>

using namespace Qt::Literals::StringLiterals;
using app::PopoverRoute;
using platform::AuthorizationStatus;
using platform::EntityType;
using platform::FakeEventStore;
using popover::AccessRecheck;
using popover::PermissionsFlow;

namespace {

constexpr auto kUndecided = AuthorizationStatus::NotDetermined;
constexpr auto kGranted = AuthorizationStatus::FullAccess;
constexpr auto kDenied = AuthorizationStatus::Denied;

class Access : public ::testing::Test {
protected:
    // The statuses as the platform reports them, and the answers the user will give.
    void start(AuthorizationStatus events, AuthorizationStatus reminders) {
        ek.setAuthorizationStatus(EntityType::Event, events);
        ek.setAuthorizationStatus(EntityType::Reminder, reminders);
        store.reload();
    }
    void answer(EntityType entity, AuthorizationStatus status) {
        ek.setAccessAnswer(entity, status, status == kGranted);
    }
    // The platform answers a request on a later turn of the event loop.
    void answered() { QCoreApplication::processEvents(); }
    int requests() const { return ek.callCount(FakeEventStore::Operation::RequestAccess); }

    FakeEventStore ek;
    store::CalendarStore store{ek};
    platform::InMemoryUserDefaults defaults;
    app::AppSettings settings{defaults};
    app::AppState appState;
};

class Onboarding : public Access {
protected:
    Onboarding() { appState.setRoute(PopoverRoute::onboarding()); }
    PermissionsFlow flow{store, settings, appState};
};

TEST_F(Onboarding, TheOutlineAndSkipFollowTheTwoStatuses) {
    struct Case {
        AuthorizationStatus events;
        AuthorizationStatus reminders;
        bool calendarsActive;
        bool remindersActive;
        bool skip;
    };
    const Case cases[] = {
        {kUndecided, kUndecided, true, false, false},
        {kUndecided, kGranted, true, false, false},
        {kUndecided, kDenied, true, false, false},
        {kGranted, kUndecided, false, true, true},
        {kGranted, kDenied, false, false, true},
        {kGranted, kGranted, false, false, true},
        {kDenied, kUndecided, false, true, true},
        {AuthorizationStatus::Restricted, AuthorizationStatus::WriteOnly, false, false, true},
        {AuthorizationStatus::WriteOnly, kGranted, false, false, true},
    };
    for (const Case& c : cases) {
        start(c.events, c.reminders);
        SCOPED_TRACE(testing::Message() << int(c.events) << "/" << int(c.reminders));
        EXPECT_EQ(flow.isCalendarsRowActive(), c.calendarsActive);
        EXPECT_EQ(flow.isRemindersRowActive(), c.remindersActive);
        EXPECT_EQ(flow.canSkip(), c.skip);
    }
}

TEST_F(Onboarding, CalendarsGrantedFirstKeepTheScreenForTheRemindersAndTheirAnswerFinishesToMain) {
    start(kUndecided, kUndecided);
    answer(EntityType::Event, kGranted);
    flow.allowCalendars();
    EXPECT_TRUE(flow.isRequesting());
    flow.allowReminders();  // its button is disabled: nothing is asked meanwhile
    EXPECT_EQ(requests(), 1);
    answered();
    EXPECT_FALSE(flow.isRequesting());
    EXPECT_EQ(appState.route(), PopoverRoute::onboarding());
    EXPECT_TRUE(flow.isRemindersRowActive());
    EXPECT_TRUE(flow.canSkip());
    EXPECT_FALSE(settings.hasCompletedOnboarding());

    answer(EntityType::Reminder, kDenied);
    flow.allowReminders();
    answered();
    EXPECT_EQ(appState.route(), PopoverRoute::main());
    EXPECT_TRUE(settings.hasCompletedOnboarding());
    EXPECT_TRUE(settings.showReminders()) << "only Skip turns the reminders off";
}

TEST_F(Onboarding, RemindersAskedFirstKeepTheCalendarsQuestionOpenAndItsAnswerThenFinishes) {
    start(kUndecided, kUndecided);
    flow.allowReminders();
    answered();
    EXPECT_EQ(store.reminderAccess(), model::AccessStatus::fullAccess);
    EXPECT_EQ(store.eventAccess(), model::AccessStatus::notDetermined) << "only reminders were asked for";
    EXPECT_EQ(appState.route(), PopoverRoute::onboarding());
    EXPECT_TRUE(flow.isCalendarsRowActive());
    EXPECT_FALSE(flow.canSkip());

    flow.allowCalendars();
    answered();
    EXPECT_EQ(appState.route(), PopoverRoute::main());
    EXPECT_TRUE(settings.hasCompletedOnboarding());
}

TEST_F(Onboarding, ARefusedCalendarRequestLeavesForAccessDeniedWithoutCompletingOnboarding) {
    for (const auto refusal : {kDenied, AuthorizationStatus::WriteOnly}) {
        for (const auto reminders : {kUndecided, kGranted}) {
            start(kUndecided, reminders);
            appState.setRoute(PopoverRoute::onboarding());
            answer(EntityType::Event, refusal);
            flow.allowCalendars();
            answered();
            EXPECT_EQ(appState.route(), PopoverRoute::accessDenied());
            EXPECT_FALSE(settings.hasCompletedOnboarding());
            ek.setAuthorizationStatus(EntityType::Event, kUndecided);
        }
    }
}

TEST_F(Onboarding, CalendarsGrantedWithRemindersDecidedFinishToMain) {
    start(kUndecided, kDenied);
    flow.allowCalendars();
    answered();
    EXPECT_EQ(appState.route(), PopoverRoute::main());
    EXPECT_TRUE(settings.hasCompletedOnboarding());
}

TEST_F(Onboarding, WithCalendarsRefusedElsewhereTheRemindersAnswerAndSkipBothFinishToAccessDenied) {
    start(kDenied, kUndecided);
    flow.allowReminders();
    answered();
    EXPECT_EQ(appState.route(), PopoverRoute::accessDenied());
    EXPECT_TRUE(settings.hasCompletedOnboarding());

    appState.setRoute(PopoverRoute::onboarding());
    flow.skip();
    EXPECT_EQ(appState.route(), PopoverRoute::accessDenied());
}

TEST_F(Onboarding, SkipTurnsTheRemindersOffUnlessTheirAccessIsFull) {
    for (const auto reminders : {kUndecided, kDenied, AuthorizationStatus::WriteOnly}) {
        start(kGranted, reminders);
        settings.setShowReminders(true);
        flow.skip();
        EXPECT_FALSE(settings.showReminders()) << int(reminders);
        EXPECT_EQ(appState.route(), PopoverRoute::main());
    }
    start(kGranted, kGranted);
    settings.setShowReminders(true);
    flow.skip();
    EXPECT_TRUE(settings.showReminders());
    EXPECT_TRUE(settings.hasCompletedOnboarding());
}

TEST_F(Onboarding, ARequestThatFailsFreesTheButtonsAndLeavesTheQuestionOpen) {
    start(kUndecided, kUndecided);
    ek.failNext(FakeEventStore::Operation::RequestAccess,
                platform::EventStoreError(platform::EventStoreError::Code::Other, u"The prompt could not be shown."_s));
    flow.allowCalendars();
    answered();
    EXPECT_FALSE(flow.isRequesting());
    EXPECT_EQ(appState.route(), PopoverRoute::onboarding());
    EXPECT_TRUE(flow.isCalendarsRowActive());
    EXPECT_EQ(store.lastError(), u"The prompt could not be shown."_s);
}

TEST_F(Onboarding, AnAnswerArrivingAfterTheScreenWentReachesOnlyTheStore) {
    start(kUndecided, kUndecided);
    auto gone = std::make_unique<PermissionsFlow>(store, settings, appState);
    gone->allowCalendars();
    gone.reset();
    answered();
    EXPECT_EQ(store.eventAccess(), model::AccessStatus::fullAccess);
    EXPECT_EQ(appState.route(), PopoverRoute::onboarding());
}

class Recheck : public Access {
protected:
    Recheck() {
        start(kDenied, kGranted);
        appState.setRoute(PopoverRoute::accessDenied());
    }
    AccessRecheck recheck{store, appState};
};

TEST_F(Recheck, OnlyACheckTheUserAskedForSaysAccessIsStillOff) {
    recheck.recheck(false);
    EXPECT_FALSE(recheck.isStillOff());
    recheck.recheck(true);
    EXPECT_TRUE(recheck.isStillOff());
    recheck.recheck(true);
    EXPECT_TRUE(recheck.isStillOff());
    recheck.recheck(false);
    EXPECT_TRUE(recheck.isStillOff()) << "an automatic check leaves the message as it was";
    EXPECT_EQ(appState.route(), PopoverRoute::accessDenied());

    for (const auto refused : {AuthorizationStatus::Restricted, AuthorizationStatus::WriteOnly}) {
        ek.setAuthorizationStatus(EntityType::Event, refused);
        recheck.recheck(true);
        EXPECT_EQ(appState.route(), PopoverRoute::accessDenied());
    }
}

TEST_F(Recheck, AccessGrantedMeanwhileLeavesForMainAndAnOpenQuestionForOnboarding) {
    recheck.recheck(true);
    ek.setAuthorizationStatus(EntityType::Event, kGranted);
    recheck.recheck(false);
    EXPECT_EQ(appState.route(), PopoverRoute::main());
    EXPECT_FALSE(recheck.isStillOff());
    EXPECT_EQ(store.eventAccess(), model::AccessStatus::fullAccess) << "the statuses were read again";

    for (const bool asked : {false, true}) {
        appState.setRoute(PopoverRoute::accessDenied());
        ek.setAuthorizationStatus(EntityType::Event, kUndecided);
        recheck.recheck(asked);
        EXPECT_EQ(appState.route(), PopoverRoute::onboarding());
    }
}

}  // namespace
