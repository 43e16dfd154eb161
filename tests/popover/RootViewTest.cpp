#include "PopoverTestSupport.h"
#include "Rendering.h"
#include "ScreenEnvironment.h"
#include "core/Clock.h"
#include "design/widgets/KeycapButton.h"
#include "design/widgets/ODButton.h"
#include "design/widgets/TextLine.h"
#include "imageimport/review/ImageReviewModel.h"
#include "popover/AccessDeniedView.h"
#include "popover/PermissionsView.h"
#include "popover/PopoverMainView.h"
#include "popover/PopoverRootView.h"
#include "popover/UndoToast.h"
#include "popover/UndoToastModel.h"
#include "quickadd/QuickCreateView.h"

#include <QPointer>
#include <QTest>

#include <gtest/gtest.h>

#include <memory>

using namespace Qt::Literals::StringLiterals;
using app::PopoverRoute;
using platform::AuthorizationStatus;
using platform::EntityType;
using popover::PopoverRootView;
using popovertest::local;

namespace {

// Tuesday 10 March 2026 at noon, with one calendar; the toast moves without
// animation, as when the user asks for reduced motion.
class Root : public ::testing::Test, protected testsupport::ScreenEnvironment {
protected:
    Root() : ScreenEnvironment(local(2026, 3, 10, 12)) {
        const auto work = ek.addCalendar(EntityType::Event, u"Work"_s, popovertest::kBlue);
        ek.setDefaultCalendarForNewEvents(work.calendarIdentifier);
        appState.setSelectedDate(local(2026, 3, 10));
        appState.setDisplayedMonth(local(2026, 3, 10));
        appState.onContentHeightChange = [this](double height) { reported.push_back(height); };
        store.reload();
    }

    void SetUp() override {
        ASSERT_EQ(testsupport::missingFontFamilies(), QStringList());
        design::Theme::setAppearance({.reduceMotion = true});
    }
    void TearDown() override { design::Theme::setAppearance({}); }

    PopoverRootView& root() {
        if (!m_root) {
            m_root = std::make_unique<PopoverRootView>(environment);
            m_root->resize(PopoverRootView::kWidth, 700);
            m_root->show();
            QCoreApplication::processEvents();
        }
        return *m_root;
    }
    // The panel follows the reported height, as the shell does.
    void settle() {
        QCoreApplication::processEvents();
        root().resize(PopoverRootView::kWidth, static_cast<int>(appState.popoverContentHeight()));
        QCoreApplication::processEvents();
    }
    template <class Screen>
    Screen* shown() {
        QCoreApplication::processEvents();
        return qobject_cast<Screen*>(root().screen());
    }
    void create(const QString& title) { store.create(model::EventDraft(title, local(2026, 3, 10, 15))); }
    bool toastShows() { return root().toast()->isVisible(); }

    std::vector<double> reported;

private:
    std::unique_ptr<PopoverRootView> m_root;
};

TEST_F(Root, TheMainRouteShowsOnboardingWhileAccessIsUndecidedAndAccessDeniedWhileRefused) {
    setAccess(AuthorizationStatus::NotDetermined, AuthorizationStatus::NotDetermined);
    EXPECT_NE(shown<popover::PermissionsView>(), nullptr);
    for (const auto refused :
         {AuthorizationStatus::Denied, AuthorizationStatus::Restricted, AuthorizationStatus::WriteOnly}) {
        setAccess(refused, AuthorizationStatus::FullAccess);
        EXPECT_NE(shown<popover::AccessDeniedView>(), nullptr) << int(refused);
    }
    EXPECT_EQ(appState.route(), PopoverRoute::main()) << "the route itself is left as it is";

    // Screens of other routes show whatever the access.
    appState.setRoute(PopoverRoute::quickCreate());
    QWidget* quickAdd = root().screen();
    EXPECT_EQ(shown<popover::AccessDeniedView>(), nullptr);
    EXPECT_EQ(shown<popover::PopoverMainView>(), nullptr);
    EXPECT_NE(shown<quickadd::QuickCreateView>(), nullptr);

    setAccess(AuthorizationStatus::FullAccess, AuthorizationStatus::FullAccess);
    EXPECT_EQ(root().screen(), quickAdd) << "an access change that changes nothing keeps the screen";
    appState.setRoute(PopoverRoute::main());
    EXPECT_NE(shown<popover::PopoverMainView>(), nullptr);
}

TEST_F(Root, EveryChangeOfScreenMakesItAnewSoThatNothingOfAnEarlierVisitStays) {
    setAccess(AuthorizationStatus::Denied, AuthorizationStatus::FullAccess);
    auto* denied = shown<popover::AccessDeniedView>();
    ASSERT_NE(denied, nullptr);
    QTest::mouseClick(denied->checkAgainButton(), Qt::LeftButton);
    EXPECT_TRUE(denied->isStillOff());

    QPointer<QWidget> old(denied);
    appState.setRoute(PopoverRoute::eventEdit(u"a"_s));
    QWidget* editA = root().screen();
    appState.setRoute(PopoverRoute::eventEdit(u"b"_s));
    EXPECT_NE(root().screen(), editA) << "another event is another screen";
    appState.setRoute(PopoverRoute::main());
    QCoreApplication::sendPostedEvents(nullptr, QEvent::DeferredDelete);
    auto* again = shown<popover::AccessDeniedView>();
    ASSERT_NE(again, nullptr);
    EXPECT_FALSE(again->isStillOff());
    EXPECT_TRUE(old.isNull()) << "the old screen is gone";
}

TEST_F(Root, TheHeightIsTheScreensOwnAndReportedOnceForEachChange) {
    root();
    settle();
    ASSERT_EQ(reported.size(), 1U);
    const double mainHeight = reported.back();
    EXPECT_EQ(root().screen()->height(), static_cast<int>(mainHeight));
    EXPECT_EQ(root().screen()->width(), PopoverRootView::kWidth);

    appState.setRoute(PopoverRoute::eventEdit(u"a"_s));
    settle();
    ASSERT_EQ(reported.size(), 2U);
    EXPECT_LT(reported.back(), 200);
    for (const bool dark : {false, true})
        EXPECT_FALSE(testsupport::renderOnSurface(root(), PopoverRootView::kWidth, dark, u"root-edit"_s).isNull());
    appState.setRoute(PopoverRoute::eventEdit(u"a|1"_s));
    settle();
    const size_t editing = reported.size();
    appState.setRoute(PopoverRoute::eventEdit(u"b|1"_s));
    settle();
    EXPECT_EQ(reported.size(), editing) << "a screen of the same height reports nothing";
    appState.setRoute(PopoverRoute::main());
    settle();
    ASSERT_EQ(reported.size(), editing + 1);
    EXPECT_EQ(reported.back(), mainHeight);

    // A taller day: the screen asks again, and only that is reported.
    for (int hour = 13; hour < 19; ++hour)
        create(u"Meeting "_s + QString::number(hour));
    settle();
    settle();
    ASSERT_EQ(reported.size(), editing + 2);
    EXPECT_GT(reported.back(), mainHeight);
}

TEST_F(Root, TheToastFloatsOverTheMainScreenOnlyAndGoesWhenItsTimeIsOut) {
    root();
    settle();
    create(u"Lunch"_s);
    ASSERT_TRUE(toastShows());
    const QRect toast = root().toast()->geometry();
    EXPECT_EQ(toast.left(), 20);
    EXPECT_EQ(toast.right(), PopoverRootView::kWidth - 20 - 1);
    EXPECT_EQ(toast.bottom(), root().height() - 76 - 1);
    EXPECT_EQ(root().toast()->shownText(), u"Event added"_s);
    EXPECT_EQ(root().toast()->accessibleDescription(), u"Event added. Control Z to undo."_s);
    for (const bool dark : {false, true})
        EXPECT_TRUE(testsupport::rendersAsReference(root(), PopoverRootView::kWidth, dark, u"root-toast"_s));
    settle();

    clock.advance(1);
    appState.setRoute(PopoverRoute::eventEdit(u"x"_s));
    EXPECT_FALSE(toastShows());
    clock.advance(1);
    appState.setRoute(PopoverRoute::main());
    EXPECT_TRUE(toastShows()) << "back within its time";
    clock.advance(3);
    EXPECT_FALSE(toastShows());
}

TEST_F(Root, TheToastGoesWhenTheMainRouteShowsTheAccessDeniedScreen) {
    root();
    settle();
    create(u"Lunch"_s);
    ASSERT_TRUE(toastShows());
    setAccess(AuthorizationStatus::Denied, AuthorizationStatus::FullAccess);
    ASSERT_NE(shown<popover::AccessDeniedView>(), nullptr);
    EXPECT_EQ(appState.route(), PopoverRoute::main());
    EXPECT_FALSE(toastShows());
}

TEST_F(Root, UndoOnTheToastRevertsTheChangeOrShowsWhyItCouldNot) {
    root();
    settle();
    create(u"Lunch"_s);
    ek.failNext(platform::FakeEventStore::Operation::RemoveEvent,
                platform::EventStoreError(platform::EventStoreError::Code::WriteFailed, u"The disk is full."_s));
    QTest::mouseClick(root().toast()->undoButton(), Qt::LeftButton);
    EXPECT_TRUE(toastShows());
    EXPECT_EQ(root().toast()->shownText(), u"The disk is full."_s);
    EXPECT_EQ(store.lastError(), u"The disk is full."_s);
    EXPECT_FALSE(root().toastModel().notice()) << "the toast's own failure keeps its Undo to try again";
    EXPECT_TRUE(root().toast()->undoButton()->isVisible());
    ASSERT_EQ(store.events().size(), 1U);

    QTest::mouseClick(root().toast()->undoButton(), Qt::LeftButton);
    EXPECT_FALSE(toastShows());
    EXPECT_TRUE(store.events().empty());
    EXPECT_TRUE(store.undoStack().empty());
}

// A reminder added from a review that is gone by the time the access question is
// refused: nothing on screen is left to say why it was not saved.
TEST_F(Root, AFailureNoScreenToldIsNoticedOverMainWithoutUndoAndWaitsWhileThePopoverIsClosed) {
    root();
    settle();
    create(u"Lunch"_s);
    const QString refused = imageimport::ImageReviewModel::remindersAccessMessage();
    root().hide();
    store.setLastError(refused);
    clock.advance(60);
    ASSERT_EQ(root().toastModel().notice(), refused) << "unread, it waits";

    root().show();
    settle();
    ASSERT_TRUE(toastShows());
    EXPECT_EQ(root().toast()->shownText(), refused);
    EXPECT_FALSE(root().toast()->undoButton()->isVisible()) << "it is not the change's toast";
    EXPECT_EQ(root().toast()->accessibleDescription(), refused);
    const QRect toast = root().toast()->geometry();
    EXPECT_GT(toast.height(), root().toast()->sizeHint().height()) << "a long message wraps, uncut";
    EXPECT_EQ(toast.bottom(), root().height() - 76 - 1);
    for (const bool dark : {false, true})
        EXPECT_TRUE(testsupport::rendersAsReference(root(), PopoverRootView::kWidth, dark, u"root-notice"_s));
    settle();

    store.undo();
    EXPECT_TRUE(toastShows()) << "an undo elsewhere is not what the notice is about";
    appState.setRoute(PopoverRoute::quickCreate());
    clock.advance(30);
    appState.setRoute(PopoverRoute::main());
    EXPECT_TRUE(toastShows()) << "its time runs only over the main screen";
    clock.advance(4.9);
    EXPECT_TRUE(toastShows());
    clock.advance(0.2);
    EXPECT_FALSE(toastShows());
}

}  // namespace
