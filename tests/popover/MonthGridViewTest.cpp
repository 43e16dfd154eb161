#include "EventLoop.h"
#include "PopoverTestSupport.h"
#include "Rendering.h"
#include "ScreenEnvironment.h"
#include "design/widgets/ODButton.h"
#include "design/widgets/ODIconButton.h"
#include "design/widgets/Painting.h"
#include "popover/MonthGridView.h"
#include "popover/MonthHeaderView.h"

#include <QAbstractButton>
#include <QAccessible>
#include <QEnterEvent>
#include <QImage>
#include <QSignalSpy>
#include <QTest>

#include <gtest/gtest.h>

using namespace Qt::Literals::StringLiterals;
using platform::EntityType;
using popover::MonthGridView;
using popover::MonthHeaderView;
using popovertest::local;

namespace {

// Today is Tuesday 10 March 2026; the grid starts with Monday 23 February.
class MonthGridScreen : public ::testing::Test, protected testsupport::ScreenEnvironment {
protected:
    MonthGridScreen() : ScreenEnvironment(local(2026, 3, 10, 12)) {
        settings.setFirstWeekday(app::FirstWeekday::monday);
        work = ek.addCalendar(EntityType::Event, u"Work"_s, popovertest::kRed);
    }

    void SetUp() override { ASSERT_EQ(testsupport::missingFontFamilies(), QStringList()); }

    MonthGridView& grid() {
        if (!m_grid) {
            m_grid = std::make_unique<MonthGridView>(store, appState, settings, haptics);
            m_grid->resize(364, m_grid->sizeHint().height());
            m_grid->show();
            QCoreApplication::processEvents();
        }
        return *m_grid;
    }
    QAbstractButton* cellOn(int month, int day) {
        for (int i = 0; i < popover::MonthGridModel::kDays; ++i)
            if (grid().model().cells[static_cast<size_t>(i)].date == local(2026, month, day))
                return grid().cell(i);
        return nullptr;
    }
    QImage render(QWidget& widget) {
        QImage image(widget.size(), QImage::Format_ARGB32_Premultiplied);
        image.fill(design::toQColor(design::Theme::surface()));
        widget.render(&image);
        return image;
    }

    platform::PlatformCalendar work;

private:
    std::unique_ptr<MonthGridView> m_grid;
};

// Pixels of about that colour inside the rectangle.
int pixelsLike(const QImage& image, const QRect& rect, const QColor& color) {
    int count = 0;
    for (int y = rect.top(); y <= rect.bottom(); ++y)
        for (int x = rect.left(); x <= rect.right(); ++x) {
            const QColor pixel = image.pixelColor(x, y);
            if (std::abs(pixel.red() - color.red()) < 12 && std::abs(pixel.green() - color.green()) < 12 &&
                std::abs(pixel.blue() - color.blue()) < 12)
                ++count;
        }
    return count;
}

TEST_F(MonthGridScreen, ClickingADayOfTheNextMonthSelectsItAndMovesTheGridThere) {
    QAbstractButton* withinMonth = cellOn(3, 20);
    ASSERT_TRUE(withinMonth);
    QTest::mouseClick(withinMonth, Qt::LeftButton);
    EXPECT_EQ(appState.selectedDate(), local(2026, 3, 20));
    EXPECT_EQ(appState.displayedMonth(), local(2026, 3, 10, 12));  // unchanged

    QAbstractButton* nextMonth = cellOn(4, 2);
    ASSERT_TRUE(nextMonth);
    QTest::mouseClick(nextMonth, Qt::LeftButton);
    EXPECT_EQ(appState.selectedDate(), local(2026, 4, 2));
    EXPECT_EQ(appState.displayedMonth(), local(2026, 4, 2));
    // The grid now shows April: 30 March ... 10 May, with 2 April selected.
    EXPECT_EQ(grid().model().cells.front().date, local(2026, 3, 30));
    const auto selected = std::find_if(grid().model().cells.begin(), grid().model().cells.end(),
                                       [](const popover::DayCellState& c) { return c.isSelected; });
    ASSERT_NE(selected, grid().model().cells.end());
    EXPECT_EQ(selected->date, local(2026, 4, 2));
    // Assistive technologies hear which day is selected, and what each day holds.
    QAccessibleInterface* spoken = QAccessible::queryAccessibleInterface(cellOn(4, 2));
    ASSERT_TRUE(spoken);
    EXPECT_TRUE(spoken->state().selected);
    EXPECT_EQ(spoken->text(QAccessible::Name), u"Thursday, April 2, no events"_s);
    EXPECT_EQ(spoken->text(QAccessible::Description), u"Shows this day's events"_s);
    EXPECT_FALSE(QAccessible::queryAccessibleInterface(cellOn(4, 3))->state().selected);
}

TEST_F(MonthGridScreen, HeaderButtonsMoveTheMonthAndTheGridAsksTheStoreOncePerMonthLater) {
    ek.addEvent(storetest::timedEvent(work, u"Offsite"_s, local(2026, 6, 15, 9)));
    grid();
    MonthHeaderView header(appState, settings);
    QSignalSpy reloads(&store, &store::CalendarStore::lastSyncedChanged);
    QSignalSpy widened(&store, &store::CalendarStore::loadedRangeChanged);
    const core::DateInterval before = store.loadedRange();

    // The loaded window ends on 28 April: each later month reaches further, and
    // its days are read without a reload of the window.
    for (int step = 1; step <= 3; ++step) {
        header.nextButton()->click();
        EXPECT_EQ(widened.count(), step - 1) << "asked from inside the click";
        ASSERT_TRUE(testsupport::waitUntil([&] { return widened.count() == step; }));
        EXPECT_EQ(reloads.count(), 0);
    }
    EXPECT_EQ(appState.displayedMonth(), local(2026, 6, 10, 12));
    EXPECT_EQ(store.loadedRange().start, before.start);
    EXPECT_EQ(store.loadedRange().end(), local(2026, 7, 13));  // the day after the June grid's last day
    EXPECT_EQ(cellOn(6, 15)->accessibleName(), u"Monday, June 15, 1 event"_s) << "marked once its days arrive";

    // Months already loaded cost nothing.
    header.previousButton()->click();
    header.previousButton()->click();
    QCoreApplication::processEvents();
    EXPECT_EQ(widened.count(), 3);
    EXPECT_EQ(appState.displayedMonth(), local(2026, 4, 10, 12));
    EXPECT_EQ(appState.selectedDate(), local(2026, 3, 10));
}

TEST_F(MonthGridScreen, MarksFollowTheStoreAndTheSelectedDayIsDrawnInTheAccent) {
    ek.addEvent(storetest::timedEvent(work, u"Review"_s, local(2026, 3, 18, 9)));
    store.reload();
    appState.setSelectedDate(local(2026, 3, 19));
    const QImage image = render(grid());
    const QColor red = design::toQColor(popovertest::kRed);
    EXPECT_GT(pixelsLike(image, cellOn(3, 18)->geometry(), red), 10);
    EXPECT_EQ(pixelsLike(image, cellOn(3, 17)->geometry(), red), 0);
    const QColor flame = design::toQColor(design::Theme::flame());
    EXPECT_GT(pixelsLike(image, cellOn(3, 19)->geometry(), flame), 600);  // the selected fill
    EXPECT_EQ(cellOn(3, 18)->accessibleName(), u"Wednesday, March 18, 1 event"_s);
    for (const bool dark : {false, true})
        EXPECT_TRUE(testsupport::rendersAsReference(grid(), 364, dark, u"month-grid-marks"_s));

    // A change in the calendar reaches the grid without any action of its own.
    ek.addEvent(storetest::timedEvent(work, u"Retro"_s, local(2026, 3, 17, 15)));
    emit ek.changed();
    QCoreApplication::processEvents();
    clock.advance(0.3);
    EXPECT_EQ(cellOn(3, 17)->accessibleName(), u"Tuesday, March 17, 1 event"_s);
    EXPECT_GT(pixelsLike(render(grid()), cellOn(3, 17)->geometry(), red), 10);
}

TEST_F(MonthGridScreen, WeekNumbersTakeAColumnOfTheirOwn) {
    const int dayLeft = grid().cell(0)->x();
    EXPECT_EQ(dayLeft, MonthGridView::kSidePadding);
    settings.setShowWeekNumbers(true);
    EXPECT_EQ(grid().cell(0)->x(), MonthGridView::kSidePadding + MonthGridView::kWeekColumnWidth);
    QStringList weeks;
    for (QObject* child : grid().children()) {
        auto* widget = qobject_cast<QWidget*>(child);
        if (widget && widget->isVisible() && widget->accessibleName().startsWith(u"Week "_s))
            weeks << widget->accessibleName();
    }
    EXPECT_EQ(weeks, (QStringList{u"Week 9"_s, u"Week 10"_s, u"Week 11"_s, u"Week 12"_s, u"Week 13"_s,
                                  u"Week 14"_s}));
    for (const bool dark : {false, true})
        EXPECT_TRUE(testsupport::rendersAsReference(grid(), 364, dark, u"month-grid-week-numbers"_s));
    // Sunday first: the columns start a day earlier and the header follows.
    settings.setFirstWeekday(app::FirstWeekday::sunday);
    EXPECT_EQ(grid().model().cells.front().date, local(2026, 3, 1));
    EXPECT_EQ(grid().model().weekdaySymbols.front(), u"S"_s);
    settings.setShowWeekNumbers(false);
    EXPECT_EQ(grid().cell(0)->x(), dayLeft);
}

TEST_F(MonthGridScreen, HoveringADayIsFeltOnlyWhileHapticsAreOn) {
    QAbstractButton* day = grid().cell(10);
    auto hover = [&] {
        QEnterEvent enter(QPointF(5, 5), QPointF(5, 5), QPointF(5, 5));
        QCoreApplication::sendEvent(day, &enter);
        QEvent leave(QEvent::Leave);
        QCoreApplication::sendEvent(day, &leave);
    };
    hover();
    EXPECT_EQ(haptics.performed, std::vector{platform::Haptics::Pattern::alignment});
    settings.setHoverHaptics(false);
    hover();
    EXPECT_EQ(haptics.performed.size(), 1u);
}

TEST_F(MonthGridScreen, TodayIsOffOnlyWhileTodayIsShownAndSelected) {
    MonthHeaderView header(appState, settings);
    EXPECT_FALSE(header.todayButton()->isEnabled());
    EXPECT_DOUBLE_EQ(header.todayButton()->opacity(), 0.9);
    EXPECT_EQ(header.title()->accessibleName(), u"March 2026"_s);
    appState.setSelectedDate(local(2026, 3, 11));
    EXPECT_TRUE(header.todayButton()->isEnabled());
    EXPECT_DOUBLE_EQ(header.todayButton()->opacity(), 1.0);
    for (const bool dark : {false, true})
        EXPECT_TRUE(testsupport::rendersAsReference(header, 364, dark, u"month-header-other-day"_s));
    header.nextButton()->click();
    EXPECT_EQ(header.title()->month(), u"April"_s);
    header.todayButton()->click();
    EXPECT_EQ(appState.selectedDate(), local(2026, 3, 10));
    EXPECT_EQ(header.title()->month(), u"March"_s);
    EXPECT_FALSE(header.todayButton()->isEnabled());
    EXPECT_EQ(header.todayButton()->toolTip(), u"Go to today (T)"_s);
    EXPECT_EQ(header.previousButton()->accessibleName(), u"Previous month"_s);
}

TEST_F(MonthGridScreen, TodayIsOfferedAgainWhenTheHeaderShowsAfterMidnight) {
    MonthHeaderView header(appState, settings);
    header.show();
    EXPECT_FALSE(header.todayButton()->isEnabled());
    header.hide();
    clock.advance(24 * 3600);  // the popover stayed closed over midnight
    header.show();
    EXPECT_TRUE(header.todayButton()->isEnabled());
}

// The title keeps 20 px from the buttons, however long the month's name, and shrinks
// rather than come closer.
TEST_F(MonthGridScreen, TheTitleKeepsTwentyPixelsFromTheButtons) {
    MonthHeaderView header(appState, settings);
    appState.setDisplayedMonth(local(2026, 9, 1));
    for (const int width : {364, 300}) {
        header.resize(width, header.sizeHint().height());
        header.show();
        QCoreApplication::processEvents();
        const int titleRight = header.title()->geometry().right();
        EXPECT_EQ(header.previousButton()->geometry().left() - titleRight - 1, 20) << width;
    }
    EXPECT_LT(header.title()->fittedSize(), popover::MonthTitle::kFontSize) << "300 px leave too little room";
}

TEST_F(MonthGridScreen, ALongTitleShrinksToSeventyPercentBeforeItIsCut) {
    popover::MonthTitle title;
    title.setTitle(u"September"_s, u"2026"_s);
    const int natural = title.sizeHint().width();
    title.resize(natural, title.sizeHint().height());
    EXPECT_EQ(title.fittedSize(), popover::MonthTitle::kFontSize);
    title.resize(natural * 85 / 100, title.height());
    EXPECT_LT(title.fittedSize(), popover::MonthTitle::kFontSize);
    EXPECT_GE(title.fittedSize(), 21);
    title.resize(natural / 3, title.height());
    EXPECT_EQ(title.fittedSize(), 21);
}

}  // namespace
