#include "AnimationClock.h"
#include "PopoverTestSupport.h"
#include "Rendering.h"
#include "ScreenEnvironment.h"
#include "design/values/Theme.h"
#include "design/widgets/CappedHeightView.h"
#include "popover/PopoverMainView.h"
#include "popover/PopoverRootView.h"
#include "popover/ReminderCompletions.h"
#include "popover/RemindersSectionView.h"

#include <QScrollBar>

#include <gtest/gtest.h>

#include <memory>

using namespace Qt::Literals::StringLiterals;
using platform::EntityType;
using popover::PopoverMainView;
using popover::PopoverRootView;
using popover::ReminderRow;
using popover::RemindersSectionView;
using popovertest::local;

namespace {

// Where a section's rows stand, and how tall it is.
struct SectionLayout {
    int height = 0;
    std::vector<QRect> rows;
    bool operator==(const SectionLayout&) const = default;
};

void PrintTo(const SectionLayout& layout, std::ostream* out) {
    *out << "height " << layout.height << ", rows";
    for (const QRect& row : layout.rows)
        *out << " (" << row.x() << ", " << row.y() << ", " << row.width() << "×" << row.height() << ")";
}

SectionLayout layoutOf(const RemindersSectionView& section) {
    SectionLayout layout{section.height(), {}};
    for (const ReminderRow* row : section.rows())
        layout.rows.emplace_back(row->mapTo(&section, QPoint(0, 0)), row->size());
    return layout;
}

// Tuesday 10 March 2026 at noon: the main screen in the popover's root, whose
// panel takes every height the root reports, as the shell's does. Animations
// move only when the test moves them on.
class RemindersMotion : public ::testing::Test, protected testsupport::ScreenEnvironment {
protected:
    RemindersMotion() : ScreenEnvironment(local(2026, 3, 10, 12)) {
        list = ek.addCalendar(EntityType::Reminder, u"Inbox"_s);
        appState.setSelectedDate(local(2026, 3, 10));
        appState.setDisplayedMonth(local(2026, 3, 10));
        // Room for everything, until a test sets a cap of its own.
        appState.setPopoverMaxHeight(1200);
    }

    void SetUp() override {
        ASSERT_EQ(testsupport::missingFontFamilies(), QStringList());
        design::Theme::setAppearance({});
    }
    void TearDown() override { design::Theme::setAppearance({}); }

    void add(const QString& title) {
        ek.addReminder(storetest::reminder(list, title, core::DateComponents{.year = 2026, .month = 3, .day = 10}));
    }
    PopoverRootView& root() {
        if (!m_root) {
            store.reload();
            m_root = std::make_unique<PopoverRootView>(environment);
            m_root->resize(PopoverRootView::kWidth, 700);
            m_root->show();
            settle();
        }
        return *m_root;
    }
    PopoverMainView& mainScreen() { return *qobject_cast<PopoverMainView*>(root().screen()); }
    RemindersSectionView& section() { return *mainScreen().reminders(); }
    int reported() const { return static_cast<int>(appState.popoverContentHeight()); }

    // The measurements queued one after another run, as they do between two
    // frames, and the panel takes the reported height.
    void settle() {
        for (int turn = 0; turn < 10; ++turn)
            QCoreApplication::processEvents();
        m_root->resize(PopoverRootView::kWidth, reported());
        QCoreApplication::processEvents();
    }
    void advance(int ms) {
        animations.advance(ms);
        settle();
    }
    ReminderRow* row(const QString& title) {
        for (ReminderRow* shown : section().rows())
            if (shown->reminder().title == title)
                return shown;
        return nullptr;
    }
    QStringList rowTitles() {
        QStringList titles;
        for (const ReminderRow* shown : section().rows())
            titles << shown->reminder().title;
        return titles;
    }
    // Room left between the reminders and the footer: none when the panel is
    // exactly as tall as what the main screen shows.
    int roomAboveFooter() {
        const QWidget* footer = mainScreen().column().bottom();
        return footer->mapTo(&root(), QPoint(0, 0)).y() - section().mapTo(&root(), QPoint(0, section().height())).y();
    }
    // The section drawn afresh from the same reminders, never moving; when
    // celebrating, as the last completion left it.
    SectionLayout atRest(bool expanded, bool celebrating = false) {
        popover::ReminderCompletions ownCompletions(store);
        QWidget window;
        auto* twin = new RemindersSectionView(store, celebrating ? ownCompletions : completions, workspace, &window);
        window.resize(PopoverRootView::kWidth, 800);
        window.show();
        const design::Appearance before = design::Theme::appearance();
        design::Theme::setAppearance({.reduceMotion = true});
        if (celebrating) {
            emit ownCompletions.lastCompleted();
            emit ownCompletions.changed();
        }
        if (expanded && twin->moreButton())
            twin->moreButton()->click();
        design::Theme::setAppearance(before);
        QCoreApplication::processEvents();
        twin->resize(PopoverRootView::kWidth, twin->sizeHint().height());
        QCoreApplication::processEvents();
        return layoutOf(*twin);
    }

    testsupport::AnimationClock animations;
    platform::PlatformCalendar list;

private:
    std::unique_ptr<PopoverRootView> m_root;
};

TEST_F(RemindersMotion, ShowingMoreOpensTheListGraduallyWhileThePanelFollowsAndEndsAsAnUnmovedListWould) {
    for (const QString& title : {u"Renew passport"_s, u"Water the plants"_s, u"Pay rent"_s, u"Call the plumber"_s,
                                 u"Book the dentist"_s, u"Return the library books"_s})
        add(title);
    root();
    const SectionLayout collapsed = atRest(false);
    const SectionLayout expanded = atRest(true);
    ASSERT_EQ(expanded.rows.size(), 6u) << "under reduced motion the list is open at once";
    ASSERT_EQ(layoutOf(section()), collapsed);
    const int closedHeight = reported();

    section().moreButton()->click();
    EXPECT_EQ(rowTitles().size(), 6) << "the rows are there at once; only their drawing moves";
    settle();
    EXPECT_EQ(reported(), closedHeight);
    advance(90);
    EXPECT_GT(reported(), closedHeight);
    EXPECT_LT(section().height(), expanded.height);
    EXPECT_GT(row(u"Return the library books"_s)->presence(), 0.0);
    EXPECT_LT(row(u"Return the library books"_s)->presence(), 1.0);
    EXPECT_EQ(roomAboveFooter(), 0) << "the panel follows the opening list";
    advance(90);
    EXPECT_EQ(layoutOf(section()), expanded);
    EXPECT_EQ(reported(), closedHeight - collapsed.height + expanded.height);
    EXPECT_EQ(roomAboveFooter(), 0);

    // Showing less: the rows go at once, their pictures close up over the same time.
    section().moreButton()->click();
    EXPECT_EQ(rowTitles().size(), 3);
    settle();
    EXPECT_EQ(section().height(), expanded.height);
    advance(90);
    EXPECT_LT(section().height(), expanded.height);
    EXPECT_GT(section().height(), collapsed.height);
    EXPECT_EQ(roomAboveFooter(), 0);
    advance(90);
    EXPECT_EQ(layoutOf(section()), collapsed);
    EXPECT_EQ(reported(), closedHeight);

    // Under a cap the panel stops there and the rest of the opening list scrolls.
    const int cap = closedHeight + (expanded.height - collapsed.height) / 2;
    appState.setPopoverMaxHeight(cap);
    settle();
    section().moreButton()->click();
    for (int step = 0; step < 6; ++step) {
        advance(30);
        EXPECT_LE(reported(), cap);
    }
    EXPECT_EQ(reported(), cap);
    EXPECT_EQ(layoutOf(section()), expanded);
    EXPECT_EQ(mainScreen().column().scrollBar()->maximum(), closedHeight - collapsed.height + expanded.height - cap);
}

TEST_F(RemindersMotion, ACompletedRowFadesAsTheNextComesInAndTheLastGivesWayToTheCelebrationThenTheSectionFades) {
    for (const QString& title : {u"Renew passport"_s, u"Water the plants"_s, u"Pay rent"_s, u"Call the plumber"_s})
        add(title);
    root();
    const int before = reported();
    ASSERT_NE(section().moreButton(), nullptr);

    row(u"Water the plants"_s)->click();
    advance(200);
    clock.advance(1.5);
    EXPECT_EQ(rowTitles(), (QStringList{u"Renew passport"_s, u"Pay rent"_s, u"Call the plumber"_s}));
    EXPECT_EQ(section().moreButton(), nullptr);
    settle();
    EXPECT_EQ(reported(), before) << "the completed row and the button still hold their room";
    advance(150);
    EXPECT_GT(row(u"Call the plumber"_s)->presence(), 0.0);
    EXPECT_LT(row(u"Call the plumber"_s)->presence(), 1.0);
    EXPECT_LT(reported(), before);
    EXPECT_EQ(roomAboveFooter(), 0);
    advance(150);
    EXPECT_EQ(layoutOf(section()), atRest(false));
    EXPECT_EQ(roomAboveFooter(), 0);

    // The last ones: the celebration comes in where the rows were.
    for (const QString& title : {u"Renew passport"_s, u"Pay rent"_s, u"Call the plumber"_s})
        row(title)->click();
    advance(200);
    const int withRows = reported();
    clock.advance(1.5);
    EXPECT_TRUE(section().showsAllDone());
    EXPECT_EQ(section().headerCount(), u"0 left"_s);
    settle();
    EXPECT_EQ(reported(), withRows);
    advance(300);
    EXPECT_EQ(layoutOf(section()), atRest(false, true));
    EXPECT_EQ(roomAboveFooter(), 0);

    // Its end: the section has gone at once, and its picture closes up.
    const int celebrating = reported();
    const int sectionHeight = section().height();
    clock.advance(3);
    EXPECT_FALSE(section().isVisible());
    settle();
    EXPECT_EQ(reported(), celebrating);
    advance(150);
    EXPECT_LT(reported(), celebrating);
    EXPECT_GT(reported(), celebrating - sectionHeight);
    advance(150);
    EXPECT_EQ(reported(), celebrating - sectionHeight);
    EXPECT_EQ(reported(), mainScreen().column().naturalHeight(PopoverRootView::kWidth));
}

TEST_F(RemindersMotion, UnderReducedMotionCompletionsAndTheCelebrationsEndShowAtOnce) {
    add(u"Water the plants"_s);
    add(u"Pay rent"_s);
    root();
    design::Theme::setAppearance({.reduceMotion = true});
    row(u"Water the plants"_s)->click();
    clock.advance(1.5);
    settle();
    EXPECT_EQ(layoutOf(section()), atRest(false));
    EXPECT_EQ(roomAboveFooter(), 0);

    row(u"Pay rent"_s)->click();
    clock.advance(1.5);
    settle();
    EXPECT_TRUE(section().showsAllDone());
    EXPECT_EQ(layoutOf(section()), atRest(false, true));
    const int celebrating = reported();
    const int sectionHeight = section().height();
    clock.advance(3);
    settle();
    EXPECT_EQ(reported(), celebrating - sectionHeight);
}

}  // namespace
