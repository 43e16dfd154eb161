// The kit's line field, plain buttons and the pieces of field cards and their
// pop-overs: what a screen relies on when it places them.

#include "core/Calendar.h"
#include "core/Clock.h"
#include "design/widgets/AnchoredPopover.h"
#include "design/widgets/DurationList.h"
#include "design/widgets/FieldCard.h"
#include "design/widgets/MonthPicker.h"
#include "design/widgets/ODButton.h"
#include "design/widgets/ODFont.h"
#include "design/widgets/ODTextField.h"
#include "design/widgets/PlainKeycapButton.h"
#include "design/widgets/QuickChoiceRow.h"
#include "design/widgets/TimeField.h"

#include "Rendering.h"
#include "TestEnvironment.h"

#include <QApplication>
#include <QScreen>
#include <QSignalSpy>
#include <QTest>
#include <QVBoxLayout>

#include <gtest/gtest.h>

using namespace Qt::Literals::StringLiterals;

namespace {

using namespace design;

// A window counting the Returns and Tabs that reach it past its children.
class KeyWindow : public QWidget {
public:
    KeyWindow() { new QVBoxLayout(this); }
    template <typename W>
    W* add(W* control) {
        layout()->addWidget(control);
        return control;
    }
    void showActive() {
        show();
        activateWindow();
        ASSERT_TRUE(QTest::qWaitForWindowActive(this));
    }
    int keys = 0;

protected:
    void keyPressEvent(QKeyEvent* event) override {
        const int key = event->key();
        if (key == Qt::Key_Return || key == Qt::Key_Enter || key == Qt::Key_Tab)
            ++keys;
    }
};

// A pop-over's content of a set size, as a laid-out card has.
class Block : public QWidget {
public:
    explicit Block(QSize size) : m_size(size) {}
    QSize sizeHint() const override { return m_size; }

private:
    QSize m_size;
};

ODTextField* lineField() {
    return new ODTextField(ODFont::nsBody(15, FontWeight::semibold), ODFont::nsBody(15, FontWeight::medium));
}

TEST(KitTextField, ReturnAndTabAreTheFieldsOwnAndNeitherReachesTheScreenNorMovesTheFocus) {
    KeyWindow window;
    ODTextField* field = window.add(lineField());
    QLineEdit* next = window.add(new QLineEdit);
    window.showActive();
    QTRY_VERIFY(field->hasFocus());  // taken once shown
    QSignalSpy submitted(field, &ODTextField::submitted);
    QSignalSpy tabbed(field, &ODTextField::tabPressed);

    QTest::keyClicks(field, u"Lunch"_s);
    QTest::keyClick(field, Qt::Key_Return);
    QTest::keyClick(field, Qt::Key_Enter, Qt::KeypadModifier);
    QTest::keyClick(field, Qt::Key_Return, Qt::AltModifier);
    QTest::keyClick(field, Qt::Key_Tab);
    EXPECT_EQ(submitted.count(), 2) << "Return and Enter; not with a modifier";
    EXPECT_EQ(tabbed.count(), 1);
    EXPECT_EQ(window.keys, 0);
    EXPECT_TRUE(field->hasFocus());
    EXPECT_EQ(field->text(), u"Lunch"_s);

    QTest::keyClick(field, Qt::Key_Backtab, Qt::ShiftModifier);
    EXPECT_FALSE(field->hasFocus()) << "Shift+Tab moves on as usual";
    EXPECT_EQ(tabbed.count(), 1);
    (void)next;
}

TEST(KitTextField, TextFromOutsidePutsTheCaretAtItsEndAndTheSameTextLeavesAnEditAlone) {
    KeyWindow window;
    ODTextField* field = window.add(lineField());
    window.showActive();
    field->setTextKeepingEdit(u"Dinner at eight"_s);
    EXPECT_EQ(field->cursorPosition(), 15);
    field->setCursorPosition(3);
    field->setTextKeepingEdit(u"Dinner at eight"_s);
    EXPECT_EQ(field->cursorPosition(), 3);
    field->setTextKeepingEdit(u"D"_s);
    EXPECT_EQ(field->cursorPosition(), 1);
}

TEST(KitPlainKeycapButton, IsReadOutByItsWordsOrTheNameGiven) {
    PlainKeycapButton details(u"⇥ tab"_s, u"more details"_s);
    EXPECT_EQ(details.accessibleName(), u"more details"_s);
    PlainKeycapButton close(u"esc"_s);
    EXPECT_EQ(close.accessibleName(), u"esc"_s) << "a keycap alone is read as its key";
    close.setAccessibleName(u"Close"_s);
    EXPECT_EQ(close.accessibleName(), u"Close"_s);
    EXPECT_GT(details.sizeHint().width(), close.sizeHint().width() + 40);
}

core::Date berlin(int y, int mo, int d, int h = 0, int mi = 0) {
    return *core::Calendar().date({.year = y, .month = mo, .day = d, .hour = h, .minute = mi});
}

TEST(KitMonthPicker, APickedDayKeepsTheBoundTimeAndNoDayBeforeTheLeastCanBePicked) {
    MonthPicker picker;
    picker.resize(picker.sizeHint());
    QSignalSpy picked(&picker, &MonthPicker::datePicked);
    picker.setDate(berlin(2026, 3, 10, 9, 30));
    EXPECT_EQ(picker.monthTitle(), u"March 2026"_s);
    ASSERT_EQ(picker.days().size(), 42u);
    EXPECT_EQ(picker.days().front(), berlin(2026, 3, 1)) << "March 2026 begins on a Sunday, the first column";

    const auto at = [&](core::Date day) {
        for (size_t i = 0; i < picker.days().size(); ++i)
            if (picker.days()[i] == day)
                return picker.dayRect(static_cast<int>(i)).center();
        return QPoint(-1, -1);
    };
    QTest::mouseClick(&picker, Qt::LeftButton, {}, at(berlin(2026, 3, 29)));
    ASSERT_EQ(picked.count(), 1);
    EXPECT_EQ(picked.last().first().value<core::Date>(), berlin(2026, 3, 29, 9, 30))
        << "the day of the clock change, at the same wall time";

    picker.setMinimumDate(berlin(2026, 3, 20, 14));
    QTest::mouseClick(&picker, Qt::LeftButton, {}, at(berlin(2026, 3, 19)));
    EXPECT_EQ(picked.count(), 1) << "a day before the least date";
    picker.setDate(std::nullopt);
    QTest::mouseClick(&picker, Qt::LeftButton, {}, at(berlin(2026, 3, 20)));
    EXPECT_EQ(picked.last().first().value<core::Date>(), berlin(2026, 3, 20, 14)) << "not before the least moment";

    QTest::keyClick(&picker, Qt::Key_Down);
    EXPECT_EQ(picked.last().first().value<core::Date>(), berlin(2026, 3, 27, 14));
    QTest::keyClick(&picker, Qt::Key_Down);
    EXPECT_EQ(picker.monthTitle(), u"April 2026"_s) << "a day of the next month shows that month";
}

TEST(KitTimeField, DigitsArrowsAndTheMarkEditTheTimeOfTheSameDay) {
    KeyWindow window;
    TimeField* field = window.add(new TimeField);
    window.showActive();
    field->setDate(berlin(2026, 3, 10, 14, 5));
    ASSERT_TRUE(field->usesTwelveHours()) << "en_US";
    EXPECT_EQ(field->text(), u"2:05 PM"_s);
    QSignalSpy edited(field, &TimeField::dateEdited);
    const auto last = [&] { return edited.last().first().value<core::Date>(); };

    field->setFocus(Qt::TabFocusReason);
    EXPECT_EQ(field->selectedPart(), TimeField::Part::hour);
    QTest::keyClicks(field, u"11"_s);
    EXPECT_EQ(last(), berlin(2026, 3, 10, 23, 5)) << "eleven in the afternoon";
    EXPECT_EQ(field->selectedPart(), TimeField::Part::minute) << "two digits fill the hour";
    QTest::keyClicks(field, u"45"_s);
    EXPECT_EQ(last(), berlin(2026, 3, 10, 23, 45));
    EXPECT_EQ(field->selectedPart(), TimeField::Part::meridiem);
    QTest::keyClick(field, Qt::Key_Up);
    EXPECT_EQ(field->text(), u"11:45 AM"_s);
    QTest::keyClick(field, Qt::Key_P);
    EXPECT_EQ(last(), berlin(2026, 3, 10, 23, 45));
    QTest::keyClick(field, Qt::Key_Left);
    QTest::keyClick(field, Qt::Key_Down);
    EXPECT_EQ(last(), berlin(2026, 3, 10, 23, 44));
    QTest::keyClicks(field, u"7"_s);
    EXPECT_EQ(last(), berlin(2026, 3, 10, 23, 7)) << "no minute starts with 7 and has a second digit";
    EXPECT_EQ(field->selectedPart(), TimeField::Part::meridiem);

    field->setDate(berlin(2026, 3, 29, 1, 30));
    field->selectPart(TimeField::Part::hour);
    QTest::keyClick(field, Qt::Key_Up);
    EXPECT_EQ(last(), berlin(2026, 3, 29, 3, 30)) << "the step goes over the hour that night skips";
    QTest::keyClick(field, Qt::Key_Down);
    EXPECT_EQ(last(), berlin(2026, 3, 29, 1, 30)) << "and back over it";
    QTest::keyClicks(field, u"2"_s);
    EXPECT_EQ(last(), berlin(2026, 3, 29, 3, 0)) << "2:30 does not exist that night: the next time that does";
    EXPECT_EQ(field->text(), u"3:00 AM"_s);
}

TEST(KitTimeField, AClockOfTwentyFourHoursHasNoMark) {
    testsupport::ScopedLocale german("de_DE");
    TimeField field;
    field.setDate(berlin(2026, 3, 10, 9, 5));
    EXPECT_FALSE(field.usesTwelveHours());
    EXPECT_EQ(field.text(), u"09:05"_s);
    EXPECT_EQ(field.parts(), (std::vector{TimeField::Part::hour, TimeField::Part::minute}));
}

TEST(KitAnchoredPopover, HangsBelowItsAnchorOrAboveItWhereOnlyThatHasRoom) {
    const QRect screen(0, 0, 1280, 800);
    const QRect anchor(100, 40, 160, 44);
    const QRect below = AnchoredPopover::placement(anchor, QSize(240, 200), screen);
    EXPECT_EQ(below.top(), anchor.bottom() + 1 + AnchoredPopover::kGap);
    EXPECT_EQ(below.center().x(), anchor.center().x());
    EXPECT_EQ(AnchoredPopover::arrowX(anchor, below), 120);

    const QRect atEdge(1200, 40, 70, 44);
    const QRect kept = AnchoredPopover::placement(atEdge, QSize(240, 200), screen);
    EXPECT_LE(kept.right(), screen.right());
    EXPECT_EQ(kept.left() + AnchoredPopover::arrowX(atEdge, kept), atEdge.center().x() + 1)
        << "the arrow still points at the anchor";

    const QRect low(100, 700, 160, 44);
    const QRect above = AnchoredPopover::placement(low, QSize(240, 200), screen);
    EXPECT_EQ(above.bottom(), low.top() - 1 - AnchoredPopover::kGap);
    EXPECT_EQ(above.center().x(), low.center().x());
    const QRect tall = AnchoredPopover::placement(QRect(100, 500, 160, 44), QSize(240, 600), screen);
    EXPECT_EQ(tall.top(), 544 + AnchoredPopover::kGap) << "no room either way: below, its arrow on the screen";
}

// Without a compositor a kept pixel shows its transparency mixed with black:
// the window may keep only what the panel and its arrow cover wholly, on
// whichever side of the anchor it hangs, also when moved to another anchor.
TEST(KitAnchoredPopover, WithoutACompositorKeepsOnlyThePixelsThePanelAndItsArrowCoverWholly) {
    const QRect screen = QGuiApplication::primaryScreen()->availableGeometry();
    QWidget window;
    window.setGeometry(screen);
    auto* top = new QWidget(&window);
    top->setGeometry(40, 20, 100, 30);
    auto* bottom = new QWidget(&window);
    bottom->setGeometry(200, screen.height() - 50, 100, 30);
    window.show();
    auto* content = new Block(QSize(240, 120));
    AnchoredPopover popover(content, &window);
    for (QWidget* anchor : {top, bottom}) {
        popover.showBelow(anchor);
        ASSERT_EQ(popover.standsAbove(), anchor == bottom);
        const QRegion mask = popover.mask();
        ASSERT_FALSE(mask.isEmpty()) << "the offscreen platform has no compositor";
        EXPECT_EQ(testsupport::seeThroughPixels(mask, popover), QStringList());

        // Counted from the arrow's side.
        const auto at = [&](int x, int fromArrow) {
            return QPoint(x, popover.standsAbove() ? popover.height() - 1 - fromArrow : fromArrow);
        };
        const int arrow =
            AnchoredPopover::arrowX(QRect(anchor->mapToGlobal(QPoint(0, 0)), anchor->size()), popover.geometry());
        const int edge = AnchoredPopover::kArrowHeight;
        const int right = popover.width() - 1;
        const int far = popover.height() - 1;
        for (const QPoint kept : {at(arrow, 2), at(arrow - 4, 6), at(arrow + 3, 6), at(16, edge), at(right - 16, edge),
                                  at(0, edge + 16), at(right, far - 16), at(16, far), at(right - 16, far)})
            EXPECT_TRUE(mask.contains(kept)) << kept.x() << ", " << kept.y();
        EXPECT_FALSE(mask.contains(at(arrow - 8, 5))) << "beside the arrow";
        EXPECT_EQ(content->geometry().top(), popover.standsAbove() ? 0 : edge);
    }
}

TEST(KitFieldCard, IsReadOutAsItsCaptionValueAndWhereTheValueCameFrom) {
    FieldCard card(FieldCard::Look::card, u"Duration"_s, u"timer"_s, Theme::green());
    card.setValue(u"1h 30m"_s);
    EXPECT_EQ(card.caption(), u"DURATION"_s);
    EXPECT_EQ(card.accessibleName(), u"Duration, 1h 30m"_s);

    FieldCard chip(FieldCard::Look::chip, u"REMIND ME"_s, u"bell"_s, Theme::flame());
    chip.setValue(u"1h"_s);
    chip.setTag(FieldCard::Tag::defaulted);
    EXPECT_EQ(chip.caption(), u"REMIND ME"_s);
    EXPECT_EQ(chip.accessibleName(), u"Remind Me, 1h, default"_s);
    chip.setTag(FieldCard::Tag::found);
    EXPECT_EQ(chip.accessibleName(), u"Remind Me, 1h, found in the image"_s);
    EXPECT_EQ(chip.sizeHint().height(), 44);
}

TEST(KitDurationList, MarksOnlyTheRowOfItsLengthAndReportsTheChoice) {
    DurationList list;
    QSignalSpy chosen(&list, &DurationList::chosen);
    list.setSelected(90);
    for (const int minutes : DurationList::standardMinutes())
        EXPECT_EQ(static_cast<QAbstractButton*>(list.row(minutes))->isChecked(), minutes == 90) << minutes;
    list.setSelected(50);
    for (const int minutes : DurationList::standardMinutes())
        EXPECT_FALSE(static_cast<QAbstractButton*>(list.row(minutes))->isChecked()) << minutes;
    QTest::mouseClick(list.row(120), Qt::LeftButton);
    ASSERT_EQ(chosen.count(), 1);
    EXPECT_EQ(chosen.first().first().toInt(), 120);
    EXPECT_FALSE(static_cast<QAbstractButton*>(list.row(120))->isChecked()) << "the owner marks what it then holds";
}

TEST(KitQuickChoiceRow, TitlesTimesInTheLocalesClockAndMarksTheCurrentChoice) {
    QuickChoiceRow row;
    const std::vector<core::Date> times{berlin(2026, 3, 10, 9), berlin(2026, 3, 10, 13)};
    EXPECT_EQ(QuickChoiceRow::timeTitles(times, core::TimeZone::current()),
              (QStringList{u"9:00\u202fAM"_s, u"1:00\u202fPM"_s}));
    {
        testsupport::ScopedLocale german("de_DE");
        EXPECT_EQ(QuickChoiceRow::timeTitles(times, core::TimeZone::current()), (QStringList{u"09:00"_s, u"13:00"_s}));
    }
    row.setChoices({u"15m"_s, u"30m"_s, u"45m"_s}, 1);
    ASSERT_EQ(row.buttons().size(), 3u);
    EXPECT_EQ(row.buttons()[1]->buttonStyle().kind(), ODButtonKind::primary);
    EXPECT_EQ(row.buttons()[0]->buttonStyle().kind(), ODButtonKind::ghost);
    row.setChoices({u"1h"_s});
    EXPECT_EQ(row.titles(), QStringList{u"1h"_s});
    QSignalSpy chosen(&row, &QuickChoiceRow::chosen);
    QTest::mouseClick(row.buttons()[0], Qt::LeftButton);
    EXPECT_EQ(chosen.count(), 1);
}

}  // namespace
