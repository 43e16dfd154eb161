#include "PopoverTestSupport.h"
#include "Rendering.h"
#include "ScreenEnvironment.h"
#include "design/widgets/CappedHeightView.h"
#include "popover/PopoverFooterView.h"
#include "popover/PopoverMainView.h"
#include "popover/RemindersSectionView.h"
#include "state/Updater.h"

#include <QLineEdit>
#include <QScrollArea>
#include <QScrollBar>
#include <QTest>
#include <QVBoxLayout>

#include <gtest/gtest.h>

#include <memory>

using namespace Qt::Literals::StringLiterals;
using app::PopoverRoute;
using platform::EntityType;
using popover::PopoverMainView;
using popovertest::local;

namespace {

// Tuesday 10 March 2026 at noon, in a window of the popover's width.
class MainScreen : public ::testing::Test, protected testsupport::ScreenEnvironment {
protected:
    MainScreen() : ScreenEnvironment(local(2026, 3, 10, 12)) {
        settings.setFirstWeekday(app::FirstWeekday::monday);
        work = ek.addCalendar(EntityType::Event, u"Work"_s, popovertest::kBlue);
        list = ek.addCalendar(EntityType::Reminder, u"Inbox"_s);
        appState.setSelectedDate(local(2026, 3, 10));
        appState.setDisplayedMonth(local(2026, 3, 10));
    }

    void SetUp() override { ASSERT_EQ(testsupport::missingFontFamilies(), QStringList()); }

    void addEvent(const QString& title, core::Date start, double minutes = 45) {
        ek.addEvent(storetest::timedEvent(work, title, start, minutes));
    }
    void addReminder(const QString& title, int day) {
        ek.addReminder(storetest::reminder(list, title, core::DateComponents{.year = 2026, .month = 3, .day = day}));
    }
    void load() {
        store.reload();
        QCoreApplication::processEvents();
    }
    PopoverMainView& view() {
        if (!m_window) {
            m_window = std::make_unique<QWidget>();
            auto* layout = new QVBoxLayout(m_window.get());
            layout->setContentsMargins(0, 0, 0, 0);
            m_view = new PopoverMainView(environment, app::Updater::shared(), m_window.get());
            m_view->setQuit([this] { ++quits; });
            layout->addWidget(m_view, 0, Qt::AlignTop);
            m_window->resize(364, 900);
            m_window->show();
            settle();
        }
        return *m_view;
    }
    QWidget& window() { return *m_window; }
    // Queued measurements run and the view takes the height it wants.
    void settle() {
        QCoreApplication::processEvents();
        QCoreApplication::processEvents();
        m_view->resize(364, m_view->heightForWidth(364));
        QCoreApplication::processEvents();
    }
    int height() { return view().heightForWidth(364); }
    void press(int key, Qt::KeyboardModifiers modifiers = Qt::NoModifier) {
        QTest::keyClick(window().focusWidget() ? window().focusWidget() : &window(), static_cast<Qt::Key>(key),
                        modifiers);
    }
    void screenshot(const QString& name) {
        for (const bool dark : {false, true}) {
            settle();
            EXPECT_TRUE(testsupport::rendersAsReference(view(), 364, dark, name));
        }
    }

    platform::PlatformCalendar work;
    platform::PlatformCalendar list;
    int quits = 0;

private:
    std::unique_ptr<QWidget> m_window;
    PopoverMainView* m_view = nullptr;
};

TEST_F(MainScreen, ADayThatFitsShowsEverythingAndOnlyTheAgendaScrollsBeyondTheCap) {
    addEvent(u"Standup"_s, local(2026, 3, 10, 14));
    addEvent(u"Design review"_s, local(2026, 3, 10, 16));
    addReminder(u"Water the plants"_s, 10);
    load();
    design::CappedHeightView& column = view().column();
    const int natural = column.naturalHeight(364);
    EXPECT_EQ(height(), natural);
    EXPECT_FALSE(column.isScrolling());
    screenshot(u"main-short"_s);

    // One pixel of room to spare: everything shows; one too few: the cap holds and the agenda scrolls.
    appState.setPopoverMaxHeight(natural + 1);
    settle();
    EXPECT_EQ(height(), natural);
    EXPECT_FALSE(column.scrollBar()->isVisible());
    appState.setPopoverMaxHeight(natural - 1);
    settle();
    EXPECT_EQ(height(), natural - 1);
    EXPECT_TRUE(column.isScrolling());
    EXPECT_TRUE(column.scrollBar()->isVisible());

    // The header and the footer keep their heights; the agenda gives up what is missing.
    appState.setPopoverMaxHeight(400);
    settle();
    EXPECT_EQ(height(), 400);
    const int top = design::wantedHeight(*column.top(), 364);
    const int bottom = design::wantedHeight(*column.bottom(), 364);
    EXPECT_EQ(column.top()->height(), top);
    EXPECT_EQ(column.bottom()->height(), bottom);
    EXPECT_EQ(column.bottom()->geometry().bottom(), 399);
    EXPECT_EQ(column.scrollArea()->height(), 400 - top - bottom);
    EXPECT_GT(column.scrollArea()->verticalScrollBar()->maximum(), 0);
}

TEST_F(MainScreen, ABusyDayReachesTheCapAndScrolls) {
    for (int hour = 8; hour < 20; ++hour)
        addEvent(u"Meeting at %1"_s.arg(hour), local(2026, 3, 10, hour, 15), 40);
    for (int day = 6; day <= 10; ++day)
        addReminder(u"Reminder due on the %1th"_s.arg(day), day);
    load();
    EXPECT_EQ(height(), 680);
    design::CappedHeightView& column = view().column();
    EXPECT_TRUE(column.isScrolling());
    screenshot(u"main-overflowing"_s);

    // Scrolled to its end the middle shows the reminders; the header and the footer stay put.
    const QRect header = column.top()->geometry();
    const QRect footer = column.bottom()->geometry();
    column.scrollBar()->setValue(column.scrollBar()->maximum());
    QCoreApplication::processEvents();
    EXPECT_EQ(column.top()->geometry(), header);
    EXPECT_EQ(column.bottom()->geometry(), footer);
    ASSERT_NE(view().reminders(), nullptr);
    const QWidget* last = view().reminders()->rows().back();
    const QRect shown(last->mapTo(column.scrollArea()->viewport(), QPoint(0, 0)), last->size());
    EXPECT_TRUE(column.scrollArea()->viewport()->rect().contains(shown)) << "the last reminder row is in view";
    screenshot(u"main-overflowing-scrolled"_s);
}

TEST_F(MainScreen, WithRemindersSwitchedOffTheAgendaEndsTheMiddle) {
    addReminder(u"Water the plants"_s, 10);
    load();
    ASSERT_NE(view().reminders(), nullptr);
    const int withReminders = height();
    const int section = view().reminders()->height();
    EXPECT_GT(section, 0);

    settings.setShowReminders(false);
    settle();
    EXPECT_EQ(view().reminders(), nullptr);
    EXPECT_EQ(height(), withReminders - section);

    // Shown again, it starts anew.
    settings.setShowReminders(true);
    settle();
    ASSERT_NE(view().reminders(), nullptr);
    EXPECT_FALSE(view().reminders()->isExpanded());
    EXPECT_EQ(height(), withReminders);
}

TEST_F(MainScreen, KeysReachTheHandlerOnlyWhileTheScreenShowsAndNeverATextField) {
    view();
    window().activateWindow();
    ASSERT_TRUE(QTest::qWaitForWindowActive(&window()));
    EXPECT_TRUE(view().isMonitoringKeys());

    // Shown, hidden and shown again: one monitor, so one press moves one day.
    view().hide();
    EXPECT_FALSE(view().isMonitoringKeys());
    view().show();
    view().hide();
    view().show();
    QCoreApplication::processEvents();
    press(Qt::Key_Right);
    EXPECT_EQ(appState.selectedDate(), local(2026, 3, 11));

    auto* field = new QLineEdit(&window());
    field->show();
    field->setFocus();
    press(Qt::Key_A);
    EXPECT_EQ(field->text(), u"a"_s);
    press(Qt::Key_Right);
    EXPECT_EQ(appState.selectedDate(), local(2026, 3, 11));
    delete field;

    press(Qt::Key_Q, Qt::ControlModifier);
    EXPECT_EQ(quits, 1);
    press(Qt::Key_A);
    EXPECT_EQ(appState.route(), PopoverRoute::quickCreate());
    EXPECT_EQ(appState.quickCreateText(), u"a"_s);

    // The screen has gone (another route shows): nothing more reaches the handler.
    view().hide();
    QCoreApplication::processEvents();
    appState.setRoute(PopoverRoute::main());
    press(Qt::Key_Right);
    EXPECT_EQ(appState.selectedDate(), local(2026, 3, 11));
}

}  // namespace
