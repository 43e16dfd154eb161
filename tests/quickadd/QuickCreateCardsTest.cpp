// The cards of the quick-add screen and their pop-overs, on a real X server:
// pop-ups there take the clicks outside them and Escape themselves.

#include "EventLoop.h"
#include "Rendering.h"
#include "ScreenEnvironment.h"
#include "StoreTestSupport.h"
#include "design/widgets/AnchoredPopover.h"
#include "design/widgets/DurationList.h"
#include "design/widgets/FieldCard.h"
#include "design/widgets/MonthPicker.h"
#include "design/widgets/ODButton.h"
#include "design/widgets/ODSwitch.h"
#include "design/widgets/PopupMenu.h"
#include "design/widgets/QuickChoiceRow.h"
#include "design/widgets/TimeCard.h"
#include "design/widgets/TimeField.h"
#include "quickadd/QuickCreateModel.h"
#include "quickadd/QuickCreateView.h"
#include "quickadd/QuickInputField.h"

#include <QApplication>
#include <QScreen>
#include <QTest>
#include <QVBoxLayout>

#include <gtest/gtest.h>

#include <memory>

using namespace Qt::Literals::StringLiterals;
using platform::EntityType;
using quickadd::QuickCreateView;
using storetest::local;
using Card = quickadd::QuickCreateModel::Card;

namespace {

// Tuesday 10 March 2026, 14:20; the screen in a window of the popover's width.
class QuickCreateCards : public ::testing::Test, protected testsupport::ScreenEnvironment {
protected:
    QuickCreateCards() : ScreenEnvironment(local(2026, 3, 10, 14, 20)) {
        work = ek.addCalendar(EntityType::Event, u"Work"_s, core::Color::rgb(45, 127, 249));
        home = ek.addCalendar(EntityType::Event, u"Home"_s, core::Color::rgb(40, 160, 80));
        ek.setDefaultCalendarForNewEvents(work.calendarIdentifier);
        store.reload();
        appState.setRoute(app::PopoverRoute::quickCreate());
    }

    void SetUp() override {
        ASSERT_FALSE(qEnvironmentVariableIsEmpty("DISPLAY")) << "needs an X server";
        m_window = std::make_unique<QWidget>();
        auto* layout = new QVBoxLayout(m_window.get());
        layout->setContentsMargins(0, 0, 0, 0);
        m_view = new QuickCreateView(environment, m_window.get());
        layout->addWidget(m_view, 0, Qt::AlignTop);
        m_window->resize(364, 700);
        m_window->move(200, 40);
        m_window->show();
        m_window->activateWindow();
        ASSERT_TRUE(QTest::qWaitForWindowActive(m_window.get()));
    }

    QuickCreateView& view() { return *m_view; }
    quickadd::QuickCreateModel& model() { return m_view->model(); }

    void type(const QString& text) {
        QTest::keyClicks(view().field(), text);
        QCoreApplication::processEvents();
    }
    // A tap as the user makes it: on the window, through the window system, so
    // that an open pop-over sees it first (a click sent to the widget itself
    // would pass the pop-over by).
    void tap(QWidget* widget) {
        QWidget* window = widget->window();
        QTest::mouseClick(window->windowHandle(), Qt::LeftButton, {}, widget->mapTo(window, widget->rect().center()));
        QCoreApplication::processEvents();
    }
    bool popoverShown() {
        QCoreApplication::processEvents();
        return view().openPopover() != nullptr && view().openPopover()->isVisible();
    }
    design::AnchoredPopover& popover() { return *view().openPopover(); }
    template <class Piece>
    Piece* inPopover() {
        QWidget* content = popover().content();
        if (auto* itself = qobject_cast<Piece*>(content))
            return itself;
        return content->findChild<Piece*>();
    }
    QImage shotWithPopover(const QString& name) {
        return testsupport::renderWithPopup(view(), 364, popover(), m_dark, name);
    }

    platform::PlatformCalendar work;
    platform::PlatformCalendar home;
    bool m_dark = false;

private:
    std::unique_ptr<QWidget> m_window;
    QuickCreateView* m_view = nullptr;
};

TEST_F(QuickCreateCards, ASecondTapOnTheOpenCardOnlyClosesItAndATapOnAnotherMovesThePopOverThere) {
    type(u"Standup tomorrow 9:30 for 15m"_s);
    tap(view().card(Card::date));
    ASSERT_TRUE(popoverShown());
    EXPECT_EQ(model().openCard(), Card::date);
    EXPECT_TRUE(view().card(Card::date)->isFocused());

    // The pop-up takes the click that closes it, and nothing replays it onto
    // the card under it: that click only closes.
    tap(view().card(Card::date));
    EXPECT_FALSE(popoverShown());
    EXPECT_EQ(model().openCard(), std::nullopt);
    EXPECT_FALSE(view().card(Card::date)->isFocused());

    tap(view().card(Card::date));
    ASSERT_TRUE(popoverShown());
    tap(view().card(Card::time));
    EXPECT_EQ(model().openCard(), Card::time);
    ASSERT_TRUE(popoverShown());
    EXPECT_NE(inPopover<design::TimeCard>(), nullptr);
    EXPECT_FALSE(view().card(Card::date)->isFocused());
}

TEST_F(QuickCreateCards, EscapeOrAClickElsewhereClosesOnlyThePopOverAndTheNextEscapeIsThePopovers) {
    type(u"Standup tomorrow 9:30 for 15m"_s);
    tap(view().card(Card::time));
    ASSERT_TRUE(popoverShown());
    tap(view().field());
    EXPECT_FALSE(popoverShown());
    EXPECT_EQ(model().openCard(), std::nullopt);
    EXPECT_FALSE(appState.offerEscape()) << "one Escape leaves the screen, not two";

    tap(view().card(Card::duration));
    ASSERT_TRUE(popoverShown());
    QTest::keyClick(popover().windowHandle(), Qt::Key_Escape);
    EXPECT_FALSE(popoverShown());
    EXPECT_EQ(model().openCard(), std::nullopt);
    EXPECT_FALSE(appState.offerEscape());
}

TEST_F(QuickCreateCards, ADayFromTheMonthKeepsTheTimeAndThePopOverStays) {
    type(u"Standup tomorrow 9:30 for 15m"_s);
    tap(view().card(Card::date));
    ASSERT_TRUE(popoverShown());
    design::MonthPicker* picker = inPopover<design::MonthPicker>();
    ASSERT_NE(picker, nullptr);
    EXPECT_EQ(picker->date(), local(2026, 3, 11, 9, 30));
    const auto& days = picker->days();
    const auto twentieth = std::find(days.begin(), days.end(), local(2026, 3, 20));
    ASSERT_NE(twentieth, days.end());
    QWidget* window = picker->window();
    QTest::mouseClick(window->windowHandle(), Qt::LeftButton, {},
                      picker->mapTo(window, picker->dayRect(int(twentieth - days.begin())).center()));
    EXPECT_EQ(model().draft().start, local(2026, 3, 20, 9, 30));
    EXPECT_EQ(model().draft().end, local(2026, 3, 20, 9, 45));
    EXPECT_TRUE(popoverShown());
    EXPECT_TRUE(view().card(Card::date)->isActive());
    EXPECT_EQ(view().card(Card::date)->value(), u"Fri, Mar 20"_s);
}

TEST_F(QuickCreateCards, AQuickHourMovesTheStartKeepingTheLengthAndCloses) {
    type(u"Standup tomorrow 9:30 for 15m"_s);
    tap(view().card(Card::time));
    ASSERT_TRUE(popoverShown());
    design::TimeCard* time = inPopover<design::TimeCard>();
    ASSERT_NE(time, nullptr);
    EXPECT_EQ(time->quickTimes()->titles(), (QStringList{u"9:00\u202fAM"_s, u"12:00\u202fPM"_s, u"1:00\u202fPM"_s,
                                                         u"3:00\u202fPM"_s, u"6:00\u202fPM"_s}));
    tap(time->quickTimes()->buttons()[3]);
    EXPECT_EQ(model().draft().start, local(2026, 3, 11, 15));
    EXPECT_EQ(model().draft().end, local(2026, 3, 11, 15, 15));
    EXPECT_FALSE(popoverShown());
    EXPECT_EQ(view().card(Card::time)->value(), u"3:00\u202fPM"_s);
}

TEST_F(QuickCreateCards, SwitchingAllDayOffStartsAtNineAndALengthMakesAnAllDayLineTimed) {
    type(u"Trip 12 nov all day"_s);
    EXPECT_EQ(view().card(Card::time)->value(), u"All day"_s);
    EXPECT_EQ(view().card(Card::duration)->value(), u"1 day"_s);
    tap(view().card(Card::time));
    ASSERT_TRUE(popoverShown());
    design::TimeCard* time = inPopover<design::TimeCard>();
    EXPECT_TRUE(time->allDaySwitch()->isOn());
    EXPECT_FALSE(time->field()->isVisible()) << "all day: the switch alone";
    tap(time->allDaySwitch());
    EXPECT_FALSE(model().draft().isAllDay);
    EXPECT_EQ(model().draft().start, local(2026, 11, 12, 9));
    EXPECT_TRUE(popoverShown());
    EXPECT_TRUE(time->field()->isVisible());

    tap(time->allDaySwitch());
    EXPECT_TRUE(model().draft().isAllDay);
    tap(view().card(Card::duration));
    ASSERT_TRUE(popoverShown());
    design::DurationList* list = inPopover<design::DurationList>();
    ASSERT_NE(list, nullptr);
    EXPECT_EQ(list->selected(), std::nullopt) << "an all-day event has no length of the list";
    tap(list->row(120));
    EXPECT_FALSE(model().draft().isAllDay);
    EXPECT_EQ(model().draft().start, local(2026, 11, 12, 9));
    EXPECT_EQ(model().draft().end, local(2026, 11, 12, 11));
    EXPECT_FALSE(popoverShown());
}

TEST_F(QuickCreateCards, TwoDigitsTypedIntoTheTimeFieldMakeOneHourAndOneMinute) {
    type(u"Lunch with Sam tomorrow 12:30"_s);
    tap(view().card(Card::time));
    ASSERT_TRUE(popoverShown());
    design::TimeField* field = inPopover<design::TimeField>();
    ASSERT_NE(field, nullptr);
    tap(field);
    for (int part = 0; part < 2; ++part)
        QTest::keyClick(field, Qt::Key_Left);
    ASSERT_EQ(field->selectedPart(), design::TimeField::Part::hour);
    QTest::keyClicks(field, u"11"_s);
    EXPECT_EQ(model().draft().start, local(2026, 3, 11, 23, 30)) << "the afternoon mark stays, as the field shows it";
    EXPECT_EQ(field->selectedPart(), design::TimeField::Part::minute) << "two digits fill the hour";
    QTest::keyClicks(field, u"45"_s);
    EXPECT_EQ(model().draft().start, local(2026, 3, 11, 23, 45));
    EXPECT_TRUE(popoverShown());
}

TEST_F(QuickCreateCards, TheTimePopOverFitsWithinThePopoversWidth) {
    type(u"Lunch with Sam tomorrow 12:30"_s);
    tap(view().card(Card::time));
    ASSERT_TRUE(popoverShown());
    const QRect window = view().window()->frameGeometry();
    EXPECT_GE(popover().x(), window.left()) << "over the popover, not beside it";
    EXPECT_LE(popover().geometry().right(), window.right());
    design::QuickChoiceRow* quick = inPopover<design::TimeCard>()->quickTimes();
    ASSERT_EQ(quick->buttons().size(), 5u);
    for (const design::ODButton* button : quick->buttons()) {
        EXPECT_TRUE(button->isVisible());
        EXPECT_GE(button->width(), button->sizeHint().width()) << "no time is cut";
        EXPECT_LE(button->mapTo(&popover(), QPoint(button->width(), 0)).x(), popover().width());
    }
}

TEST_F(QuickCreateCards, TheTimePopOverShrinksToItsSwitchWhenAllDayGoesOn) {
    type(u"Lunch with Sam tomorrow 12:30"_s);
    tap(view().card(Card::time));
    ASSERT_TRUE(popoverShown());
    const QSize timed = popover().size();
    tap(inPopover<design::TimeCard>()->allDaySwitch());
    ASSERT_TRUE(model().draft().isAllDay);
    ASSERT_TRUE(popoverShown());
    EXPECT_EQ(popover().size(), popover().sizeHint());
    EXPECT_LT(popover().width(), timed.width());
    EXPECT_LT(popover().height(), timed.height());
    const QRect screen = view().screen()->availableGeometry();
    EXPECT_TRUE(screen.contains(popover().frameGeometry())) << "the frame stays on the screen";
    const QWidget* card = view().card(Card::time);
    const int cardMiddle = card->mapToGlobal(card->rect().center()).x();
    EXPECT_LE(std::abs(popover().x() + design::AnchoredPopover::arrowX(QRect(card->mapToGlobal(QPoint()), card->size()),
                                                                      popover().geometry()) -
                       cardMiddle),
              2)
        << "its arrow still points at the card";
}

TEST_F(QuickCreateCards, TheDateCardsMonthStartsTheWeekOnTheGridsDay) {
    type(u"Lunch tomorrow"_s);
    tap(view().card(Card::date));
    ASSERT_TRUE(popoverShown());
    const design::MonthPicker* month = inPopover<design::MonthPicker>();
    ASSERT_NE(month, nullptr);
    EXPECT_EQ(month->calendar().component(core::CalendarUnit::Weekday, month->days().front()), 2)
        << "Monday, as the month grid";
}

TEST_F(QuickCreateCards, TheCalendarChosenInTheMenuStaysWhenTheLineChanges) {
    type(u"Lunch tomorrow"_s);
    EXPECT_EQ(view().calendarCard()->value(), u"Work"_s);
    EXPECT_FALSE(view().calendarCard()->isActive());
    std::vector<design::PopupMenuItem> items = view().calendarMenuItems();
    ASSERT_EQ(items.size(), 2u);
    EXPECT_EQ(items[0].title, u"Home"_s);
    EXPECT_FALSE(items[0].checked);
    EXPECT_TRUE(items[1].checked);
    items[0].action();
    EXPECT_EQ(view().calendarCard()->value(), u"Home"_s);
    EXPECT_EQ(view().calendarCard()->valueDot(), home.color);
    EXPECT_TRUE(view().calendarCard()->isActive());

    type(u" at noon /work"_s);
    EXPECT_EQ(view().calendarCard()->value(), u"Home"_s) << "the menu's choice beats the line";
    EXPECT_TRUE(view().calendarMenuItems()[0].checked);
    EXPECT_FALSE(view().calendarCard()->isFocused()) << "the calendar card has no pop-over";
}

// --- Pictures -------------------------------------------------------------------------------------

TEST_F(QuickCreateCards, EachOpenCardLooksAsDrawn) {
    ASSERT_EQ(testsupport::missingFontFamilies(), QStringList());
    type(u"Standup tomorrow 9:30 for 15m"_s);
    view().field()->clearFocus();
    for (const bool dark : {false, true}) {
        m_dark = dark;
        for (const auto& [which, name] : {std::pair(Card::date, u"date"_s), std::pair(Card::time, u"time"_s),
                                          std::pair(Card::duration, u"duration"_s)}) {
            model().setOpenCard(which);
            ASSERT_TRUE(popoverShown());
            const QString picture = u"quick-create-card-"_s + name;
            EXPECT_TRUE(
                testsupport::matchesReference(shotWithPopover(picture), picture + (dark ? u"-dark"_s : u"-light"_s)));
            model().setOpenCard(std::nullopt);
        }
    }
}

}  // namespace
