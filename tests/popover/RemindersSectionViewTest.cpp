#include "PopoverTestSupport.h"
#include "Rendering.h"
#include "core/Clock.h"
#include "design/values/Theme.h"
#include "design/widgets/ODButton.h"
#include "design/widgets/ODFont.h"
#include "platform/workspace/FakeWorkspace.h"
#include "popover/ReminderCompletions.h"
#include "popover/RemindersSectionView.h"
#include "store/CalendarStore.h"

#include <QCoreApplication>
#include <QFontMetricsF>
#include <QImage>
#include <QTest>

#include <gtest/gtest.h>

#include <memory>

using namespace Qt::Literals::StringLiterals;
using platform::AuthorizationStatus;
using platform::EntityType;
using popover::ReminderCompletions;
using popover::ReminderRow;
using popover::RemindersSectionView;
using popovertest::local;

namespace {

core::DateComponents day(int d, std::optional<int> hour = std::nullopt) {
    return {.year = 2026, .month = 3, .day = d, .hour = hour};
}

// Where the text that starts the band is drawn from: the first column, left to
// right, that holds a pixel clearly off the surface, less the bearing of the
// text's first letter.
qreal textOrigin(const QImage& image, const QRect& band, const QString& text, const QFont& font) {
    const QColor surface = image.pixelColor(band.topLeft());
    for (int x = band.left(); x <= band.right(); ++x)
        for (int y = band.top(); y <= band.bottom(); ++y) {
            const QColor pixel = image.pixelColor(x, y);
            if (std::abs(pixel.lightness() - surface.lightness()) > 60)
                return x - QFontMetricsF(font).leftBearing(text.front());
        }
    return -1;
}

// Tuesday 10 March 2026, noon.
class RemindersScreen : public ::testing::Test {
protected:
    RemindersScreen() { list = ek.addCalendar(EntityType::Reminder, u"Inbox"_s); }

    void SetUp() override { ASSERT_EQ(testsupport::missingFontFamilies(), QStringList()); }

    void add(const QString& title, std::optional<core::DateComponents> due) {
        ek.addReminder(storetest::reminder(list, title, due));
    }
    void load() {
        store.reload();
        QCoreApplication::processEvents();
    }
    RemindersSectionView& view() {
        if (!m_view) {
            // In a window of its own, so that the section shows and hides itself.
            m_window = std::make_unique<QWidget>();
            m_view = new RemindersSectionView(store, completions, workspace, m_window.get());
            m_window->resize(364, 400);
            m_window->show();
        }
        return *m_view;
    }
    void closeView() {
        m_window.reset();
        m_view = nullptr;
    }
    QStringList rowTitles() {
        QStringList titles;
        for (const ReminderRow* row : view().rows())
            titles << row->reminder().title;
        return titles;
    }
    ReminderRow* row(const QString& title) {
        for (ReminderRow* r : view().rows())
            if (r->reminder().title == title)
                return r;
        return nullptr;
    }
    QStringList completedOnDisk() const {
        QStringList titles;
        for (const auto& r : ek.committedReminders())
            if (r.isCompleted)
                titles << r.title.value_or(QString());
        return titles;
    }
    void screenshot(const QString& name) {
        for (const bool dark : {false, true})
            EXPECT_TRUE(testsupport::rendersAsReference(view(), 364, dark, name));
    }

    core::ScopedTestClock clock{local(2026, 3, 10, 12)};
    platform::FakeEventStore ek;
    platform::PlatformCalendar list;
    store::CalendarStore store{ek};
    ReminderCompletions completions{store};
    platform::FakeWorkspace workspace;

private:
    std::unique_ptr<QWidget> m_window;
    RemindersSectionView* m_view = nullptr;
};

TEST_F(RemindersScreen, FourDueRemindersShowThreeRowsAndAButtonForTheFourth) {
    add(u"Renew passport"_s, day(2));
    add(u"Call the plumber about the dripping kitchen tap before the weekend"_s, day(9));
    add(u"Water the plants"_s, day(10));
    add(u"Pick up the dry cleaning"_s, day(10, 17));
    add(u"Someday"_s, std::nullopt);
    add(u"Next week"_s, day(17));
    load();

    EXPECT_EQ(view().headerCount(), u"4 left"_s);
    EXPECT_EQ(rowTitles(), (QStringList{u"Renew passport"_s,
                                        u"Call the plumber about the dripping kitchen tap before the weekend"_s,
                                        u"Water the plants"_s}));
    EXPECT_EQ(row(u"Renew passport"_s)->dueLabel(), u"Overdue"_s);
    EXPECT_EQ(row(u"Water the plants"_s)->dueLabel(), u"Today"_s);
    EXPECT_EQ(row(u"Water the plants"_s)->accessibleName(), u"Water the plants, Today"_s);
    ASSERT_NE(view().moreButton(), nullptr);
    EXPECT_EQ(view().moreButton()->text(), u"+1 more"_s);
    screenshot(u"reminders-collapsed"_s);

    view().moreButton()->click();
    EXPECT_EQ(rowTitles().size(), 4);
    EXPECT_EQ(row(u"Pick up the dry cleaning"_s)->dueLabel(), u"5:00\u202FPM"_s);
    EXPECT_EQ(view().moreButton()->text(), u"Show less"_s);
    design::Theme::setAppearance({.reduceMotion = true});  // the tick shows at once
    row(u"Water the plants"_s)->click();
    design::Theme::setAppearance({});
    screenshot(u"reminders-expanded-one-ticked"_s);
    view().moreButton()->click();
    EXPECT_EQ(rowTitles().size(), 3);
}

TEST_F(RemindersScreen, AnOpenedListStaysOpenWhileThreeOrFewerAreDueSoALaterFourthIsListedToo) {
    for (const QString& title : {u"Renew passport"_s, u"Water the plants"_s, u"Pay rent"_s, u"Call the plumber"_s})
        add(title, day(10));
    load();
    view().moreButton()->click();
    row(u"Pay rent"_s)->click();
    clock.advance(1.5);
    EXPECT_EQ(rowTitles().size(), 3);
    EXPECT_EQ(view().moreButton(), nullptr);
    EXPECT_TRUE(view().isExpanded());

    add(u"Book the dentist"_s, day(10));
    load();
    EXPECT_EQ(rowTitles().size(), 4);
    ASSERT_NE(view().moreButton(), nullptr);
    EXPECT_EQ(view().moreButton()->text(), u"Show less"_s);
}

TEST_F(RemindersScreen, TheShowMoreWordsStartUnderTheReminderTitles) {
    for (const int d : {6, 7, 8, 9})
        add(u"Water the plants"_s, day(d));
    load();
    ASSERT_NE(view().moreButton(), nullptr);
    const QImage image = testsupport::renderOnSurface(view(), 364, false, u"reminders-show-more"_s);

    const ReminderRow* first = view().rows().front();
    const QRect row(first->mapTo(&view(), QPoint(0, 0)), first->size());
    // Past the checkbox, which ends well before the title begins.
    const QRect title = row.adjusted(ReminderRow::kRingRoom + ReminderRow::kBox + 2, 0, 0, 0);
    const QAbstractButton* more = view().moreButton();
    const QRect button(more->mapTo(&view(), QPoint(0, 0)), more->size());

    const qreal titleStart = textOrigin(image, title, u"Water"_s, design::ODFont::body(14));
    const qreal moreStart =
        textOrigin(image, button, more->text(), design::ODFont::body(13, design::FontWeight::semibold));
    ASSERT_GT(titleStart, 0);
    EXPECT_NEAR(moreStart, titleStart, 1.0);
}

TEST_F(RemindersScreen, EveryControlOfTheSectionNamesItselfInATooltip) {
    const auto unnamed = [this] {
        QStringList names;
        for (const QAbstractButton* control : view().findChildren<QAbstractButton*>())
            if (control->isVisibleTo(&view()) && control->toolTip().isEmpty())
                names << control->accessibleName();
        return names;
    };
    for (const int d : {6, 7, 8, 9})
        add(u"Water the plants"_s, day(d));
    load();
    ASSERT_NE(view().moreButton(), nullptr);
    EXPECT_EQ(unnamed(), QStringList());
    view().moreButton()->click();
    EXPECT_EQ(view().moreButton()->toolTip(), u"Show less"_s);

    for (const auto status : {AuthorizationStatus::NotDetermined, AuthorizationStatus::Denied}) {
        ek.setAuthorizationStatus(EntityType::Reminder, status);
        load();
        ASSERT_TRUE(view().showsAccessRow());
        EXPECT_EQ(unnamed(), QStringList());
    }
}

TEST_F(RemindersScreen, ATickedRowIsCompletedAfterTheGracePeriodAndTheLastOneCelebratesThenTheSectionGoes) {
    add(u"Water the plants"_s, day(10));
    add(u"Pay rent"_s, day(10));
    load();

    row(u"Pay rent"_s)->click();
    EXPECT_TRUE(row(u"Pay rent"_s)->isTicked());
    EXPECT_EQ(view().headerCount(), u"2 left"_s) << "a pending tick still counts";
    clock.advance(1.5);
    EXPECT_EQ(rowTitles(), QStringList{u"Water the plants"_s});
    EXPECT_EQ(view().headerCount(), u"1 left"_s);

    // Ticking twice is no tick at all.
    row(u"Water the plants"_s)->click();
    row(u"Water the plants"_s)->click();
    clock.advance(2);
    EXPECT_EQ(completedOnDisk(), QStringList{u"Pay rent"_s});

    row(u"Water the plants"_s)->click();
    clock.advance(1.5);
    EXPECT_TRUE(view().showsAllDone());
    EXPECT_EQ(view().headerCount(), u"0 left"_s);
    EXPECT_TRUE(view().rows().empty());
    EXPECT_TRUE(view().isVisible());
    screenshot(u"reminders-all-done"_s);
    clock.advance(3);
    EXPECT_FALSE(view().isVisible());
}

TEST_F(RemindersScreen, ATickIsCompletedOnceEvenWhenTheListIsGoneBeforeTheGracePeriodEnds) {
    add(u"Water the plants"_s, day(10));
    load();
    row(u"Water the plants"_s)->click();
    closeView();
    clock.advance(1.5);
    EXPECT_EQ(completedOnDisk(), QStringList{u"Water the plants"_s});
    clock.advance(10);
    EXPECT_EQ(ek.callCount(platform::FakeEventStore::Operation::SaveReminder), 1);
    EXPECT_TRUE(rowTitles().isEmpty());
    EXPECT_FALSE(view().isVisible()) << "a new list finds nothing due";
}

TEST_F(RemindersScreen, ASectionMadeWhileAnotherCelebratesStartsWithoutTheCelebration) {
    add(u"Water the plants"_s, day(10));
    load();
    row(u"Water the plants"_s)->click();
    clock.advance(1.5);
    EXPECT_TRUE(view().showsAllDone());
    // The popover's main screen made anew, as after the editor, within the 3 s.
    closeView();
    clock.advance(0.5);
    EXPECT_FALSE(view().isVisible());
}

TEST_F(RemindersScreen, NothingDueShowsNothingAndWithoutAccessTheSectionAsksForIt) {
    add(u"Next week"_s, day(17));
    load();
    EXPECT_FALSE(view().isVisible());

    ek.setAuthorizationStatus(EntityType::Reminder, AuthorizationStatus::NotDetermined);
    load();
    ASSERT_TRUE(view().isVisible());
    EXPECT_TRUE(view().showsAccessRow());
    EXPECT_EQ(view().headerCount(), QString());
    EXPECT_EQ(view().accessButton()->title(), u"Allow"_s);
    screenshot(u"reminders-ask"_s);

    // The answer is no: the row says where to switch it on.
    ek.setAccessAnswer(EntityType::Reminder, AuthorizationStatus::Denied, false);
    view().accessButton()->click();
    QCoreApplication::processEvents();
    EXPECT_EQ(store.reminderAccess(), model::AccessStatus::denied);
    EXPECT_EQ(view().accessButton()->title(), u"Open Settings"_s);
    EXPECT_EQ(view().accessButton()->buttonStyle().kind(), design::ODButtonKind::ghost);
    screenshot(u"reminders-access-off"_s);
    view().accessButton()->click();
    ASSERT_EQ(workspace.opened.size(), 1);
    EXPECT_EQ(platform::privacySettingsPane(workspace.opened.front()), EntityType::Reminder);

    ek.setAuthorizationStatus(EntityType::Reminder, AuthorizationStatus::WriteOnly);
    load();
    EXPECT_TRUE(view().showsAccessRow());
    EXPECT_TRUE(view().rows().empty());

    ek.setAuthorizationStatus(EntityType::Reminder, AuthorizationStatus::FullAccess);
    add(u"Water the plants"_s, day(10));
    load();
    EXPECT_FALSE(view().showsAccessRow());
    EXPECT_EQ(rowTitles(), QStringList{u"Water the plants"_s});
}

}  // namespace
