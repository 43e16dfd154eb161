// The editor's time rows and its people, offscreen: which rows show for which
// span, what their buttons say on which clock, the zone's chip, and the list of
// the people invited.

#include "EditorScreen.h"
#include "TestEnvironment.h"
#include "design/widgets/AnchoredPopover.h"
#include "design/widgets/Avatar.h"
#include "design/widgets/CappedHeightView.h"
#include "design/widgets/MonthPicker.h"
#include "design/widgets/ODButton.h"
#include "design/widgets/ODSwitch.h"
#include "design/widgets/QuickChoiceRow.h"
#include "design/widgets/TextLine.h"
#include "design/widgets/TimeField.h"
#include "editor/AttendeeListView.h"
#include "editor/TimePopovers.h"
#include "editor/TimeRows.h"

#include <QScrollBar>

using namespace Qt::Literals::StringLiterals;
using editor::AttendeeListView;
using editor::TimeRows;
using editortest::EditorScreen;
using editortest::local;
using model::ODAttendee;
using model::ParticipantStatus;
using platform::PlatformEvent;

namespace {

class EditorTimeRows : public EditorScreen {
protected:
    TimeRows& rows() { return *form().timeRows(); }
};

TEST_F(EditorTimeRows, AOneDayEventHasOneRowAndALengthPastMidnightMakesTwo) {
    open(add(storetest::timedEvent(work, u"Late show"_s, local(2026, 3, 11, 23), 45)));
    ASSERT_FALSE(rows().showsTwoRows());
    EXPECT_EQ(rows().sameDayButton()->value(), u"Wed, Mar 11 · 11:00\u202FPM → 11:45\u202FPM"_s);
    EXPECT_EQ(rows().sameDayButton()->length(), u"45m"_s);
    EXPECT_FALSE(rows().allDaySwitch()->isOn());

    model().setShowTime(true);
    EXPECT_TRUE(rows().sameDayButton()->showsFocused()) << "the box shows its pop-over is open";
    model().setLengthInMinutes(90);
    ASSERT_TRUE(rows().showsTwoRows()) << "23:00 plus 90 minutes ends the next day";
    EXPECT_FALSE(model().showTime()) << "the day button's pop-over went with it";
    EXPECT_EQ(rows().startButton()->value(), u"Wed, Mar 11 · 11:00\u202FPM"_s);
    EXPECT_EQ(rows().endButton()->value(), u"Thu, Mar 12 · 12:30\u202FAM"_s);
    EXPECT_EQ(rows().startButton()->label(), u"Starts"_s);
    EXPECT_EQ(rows().endButton()->label(), u"Ends"_s);

    // The end pulled back into the day: one row again.
    model().setShowStart(true);
    model().setLengthInMinutes(30);
    EXPECT_FALSE(rows().showsTwoRows());
    EXPECT_FALSE(model().showStart());
    EXPECT_EQ(rows().sameDayButton()->length(), u"30m"_s);
}

TEST_F(EditorTimeRows, TheTimeRowsShowTheirTimesWholeAtThePopoversWidth) {
    const auto expectWhole = [this](const char* hours) {
        open(add(storetest::timedEvent(work, u"Standup"_s, local(2026, 3, 11, 10), 60)));
        ASSERT_FALSE(rows().showsTwoRows());
        EXPECT_TRUE(rows().sameDayButton()->showsWholeValue())
            << hours << ": " << rows().sameDayButton()->value().toStdString();
        EXPECT_EQ(rows().allDaySwitch()->size(), design::ODSwitch::kMiniTrackSize);
        EXPECT_TRUE(rows().allDaySwitch()->isVisibleTo(&view()));

        open(add(storetest::timedEvent(work, u"Night train"_s, local(2026, 3, 12, 22), 10 * 60)));
        ASSERT_TRUE(rows().showsTwoRows());
        for (const editor::TimeButton* button : {rows().startButton(), rows().endButton()})
            EXPECT_TRUE(button->showsWholeValue()) << hours << ": " << button->value().toStdString();
    };
    expectWhole("12-hour");
    testsupport::ScopedLocale british("en_GB");
    expectWhole("24-hour");
}

TEST_F(EditorTimeRows, TheDaysPopOverMovesTheDayKeepingTheTimesAndALengthPastMidnightClosesIt) {
    open(add(storetest::timedEvent(work, u"Late show"_s, local(2026, 3, 11, 23), 45)));
    rows().sameDayButton()->click();
    ASSERT_TRUE(model().showTime());
    ASSERT_NE(rows().openPopover(), nullptr);
    auto* day = qobject_cast<editor::SameDayPopover*>(rows().openPopover()->content());
    ASSERT_NE(day, nullptr);
    day->monthPicker()->pick(local(2026, 3, 13));
    EXPECT_EQ(model().draft().start, local(2026, 3, 13, 23));
    EXPECT_EQ(model().draft().end, local(2026, 3, 13, 23, 45));
    EXPECT_EQ(day->quickLengths()->titles(), (QStringList{u"15m"_s, u"30m"_s, u"45m"_s, u"1h"_s, u"1h 30m"_s}));

    // An hour earlier in START takes the end along; a minute off END shortens it.
    design::TimeField* startTime = day->startField()->field();
    startTime->selectPart(design::TimeField::Part::hour);
    QTest::keyClick(startTime, Qt::Key_Down);
    EXPECT_EQ(model().draft().start, local(2026, 3, 13, 22));
    EXPECT_EQ(model().draft().end, local(2026, 3, 13, 22, 45));
    EXPECT_EQ(day->endField()->field()->partText(design::TimeField::Part::hour), u"10"_s)
        << "the pop-over follows the draft";
    QTest::keyClick(startTime, Qt::Key_Up);
    design::TimeField* endTime = day->endField()->field();
    endTime->selectPart(design::TimeField::Part::minute);
    QTest::keyClick(endTime, Qt::Key_Down);
    EXPECT_EQ(model().draft().start, local(2026, 3, 13, 23));
    EXPECT_EQ(model().draft().end, local(2026, 3, 13, 23, 44));
    EXPECT_EQ(rows().sameDayButton()->length(), u"44m"_s);

    day->quickLengths()->buttons()[4]->click();
    EXPECT_TRUE(rows().showsTwoRows()) << "23:00 plus 1h 30m ends the next day";
    EXPECT_FALSE(model().showTime());
    EXPECT_EQ(rows().openPopover(), nullptr);

    // The end's pop-over picks no day before the start.
    rows().endButton()->click();
    ASSERT_NE(rows().openPopover(), nullptr);
    auto* end = qobject_cast<editor::EndpointPopover*>(rows().openPopover()->content());
    ASSERT_NE(end, nullptr);
    EXPECT_FALSE(end->monthPicker()->isPickable(local(2026, 3, 12)));
    model().handleEscape();
    EXPECT_EQ(rows().openPopover(), nullptr);
}

TEST_F(EditorTimeRows, TwoDigitsTypedIntoATimeOfThePopOversMakeOneNumber) {
    open(add(storetest::timedEvent(work, u"Review"_s, local(2026, 3, 12, 10))));
    rows().sameDayButton()->click();
    auto* day = qobject_cast<editor::SameDayPopover*>(rows().openPopover()->content());
    ASSERT_NE(day, nullptr);
    design::TimeField* start = day->startField()->field();
    start->setFocus(Qt::TabFocusReason);
    ASSERT_EQ(start->selectedPart(), design::TimeField::Part::hour);
    QTest::keyClicks(start, u"11"_s);
    EXPECT_EQ(model().draft().start, local(2026, 3, 12, 11));
    QTest::keyClicks(start, u"45"_s);
    EXPECT_EQ(model().draft().start, local(2026, 3, 12, 11, 45));
    EXPECT_EQ(model().draft().end, local(2026, 3, 12, 12, 45)) << "the length kept";

    design::TimeField* end = day->endField()->field();
    end->setFocus(Qt::TabFocusReason);
    QTest::keyClick(end, Qt::Key_Right);
    QTest::keyClicks(end, u"50"_s);
    EXPECT_EQ(model().draft().end, local(2026, 3, 12, 12, 50));

    // The Starts button's pop-over of an event over two days types the same.
    open(add(storetest::timedEvent(work, u"Night train"_s, local(2026, 3, 12, 22), 10 * 60)));
    rows().startButton()->click();
    auto* starts = qobject_cast<editor::EndpointPopover*>(rows().openPopover()->content());
    ASSERT_NE(starts, nullptr);
    starts->timeField()->setFocus(Qt::TabFocusReason);
    QTest::keyClicks(starts->timeField(), u"930"_s);
    EXPECT_EQ(model().draft().start, local(2026, 3, 12, 21, 30));
}

TEST_F(EditorTimeRows, EveryMonthOfTheEditorStartsTheWeekOnTheGridsDay) {
    const auto firstWeekday = [this] {
        const design::MonthPicker* month = rows().openPopover()->content()->findChild<design::MonthPicker*>();
        return month->calendar().component(core::CalendarUnit::Weekday, month->days().front());
    };
    open(add(storetest::timedEvent(work, u"Review"_s, local(2026, 3, 12, 10))));
    rows().sameDayButton()->click();
    EXPECT_EQ(firstWeekday(), 2) << "Monday, as the month grid";

    settings.setFirstWeekday(app::FirstWeekday::sunday);
    open(add(storetest::timedEvent(work, u"Night train"_s, local(2026, 3, 12, 22), 10 * 60)));
    rows().endButton()->click();
    EXPECT_EQ(firstWeekday(), 1);
}

TEST_F(EditorTimeRows, TheHourStepsOverTheHourASpringForwardSkips) {
    // Berlin's clocks go from 02:00 to 03:00 on 29 March 2026.
    open(add(storetest::timedEvent(work, u"Early"_s, local(2026, 3, 29, 3))));
    rows().sameDayButton()->click();
    auto* day = qobject_cast<editor::SameDayPopover*>(rows().openPopover()->content());
    ASSERT_NE(day, nullptr);
    design::TimeField* start = day->startField()->field();
    start->setFocus(Qt::TabFocusReason);
    QTest::keyClick(start, Qt::Key_Down);
    EXPECT_EQ(model().draft().start, local(2026, 3, 29, 1));
    QTest::keyClick(start, Qt::Key_Down);
    EXPECT_EQ(model().draft().start, local(2026, 3, 29, 0));
    QTest::keyClick(start, Qt::Key_Up);
    QTest::keyClick(start, Qt::Key_Up);
    EXPECT_EQ(model().draft().start, local(2026, 3, 29, 3));
    EXPECT_EQ(start->partText(design::TimeField::Part::hour), u"3"_s);
}

TEST_F(EditorTimeRows, TheMarkedQuickLengthCountsWholeMinutesWhileTheButtonRounds) {
    const auto marked = [this] {
        QStringList primary;
        const auto* day = qobject_cast<editor::SameDayPopover*>(rows().openPopover()->content());
        for (const design::ODButton* button : day->quickLengths()->buttons())
            if (button->buttonStyle().kind() == design::ODButtonKind::primary)
                primary << button->title();
        return primary;
    };
    open(add(storetest::timedEvent(work, u"Almost"_s, local(2026, 3, 12, 10), 44.5)));
    EXPECT_EQ(rows().sameDayButton()->length(), u"45m"_s);
    rows().sameDayButton()->click();
    ASSERT_NE(rows().openPopover(), nullptr);
    EXPECT_EQ(marked(), QStringList()) << "44 whole minutes";

    qobject_cast<editor::SameDayPopover*>(rows().openPopover()->content())->quickLengths()->buttons()[4]->click();
    EXPECT_EQ(model().draft().end, local(2026, 3, 12, 11, 30));
    ASSERT_NE(rows().openPopover(), nullptr) << "a length leaves the pop-over open";
    EXPECT_EQ(marked(), QStringList{u"1h 30m"_s});
    model().setLengthInMinutes(120);
    EXPECT_EQ(marked(), QStringList()) << "two hours is none of them";
}

TEST_F(EditorTimeRows, AnAllDayEventEndsOnItsLastDayNotTheNextMidnight) {
    PlatformEvent trip = storetest::timedEvent(work, u"Trip"_s, local(2026, 3, 9), 3 * 24 * 60);
    trip.isAllDay = true;
    open(add(trip));
    ASSERT_TRUE(rows().showsTwoRows());
    EXPECT_EQ(rows().startButton()->value(), u"Mon, Mar 9"_s);
    EXPECT_EQ(rows().endButton()->value(), u"Wed, Mar 11"_s) << "the last day, not the exclusive end";
    EXPECT_TRUE(rows().allDaySwitch()->isOn());

    // The switch goes through the model: off gives 09:00 on the first day to 10:00 on the last.
    rows().allDaySwitch()->click();
    EXPECT_FALSE(model().draft().isAllDay);
    EXPECT_EQ(model().draft().start, local(2026, 3, 9, 9));
    EXPECT_EQ(model().draft().end, local(2026, 3, 11, 10));
    EXPECT_FALSE(rows().allDaySwitch()->isOn());

    // A one-day all-day event: one row with the day alone.
    rows().allDaySwitch()->click();
    model().chooseEnd(local(2026, 3, 9));
    ASSERT_FALSE(rows().showsTwoRows());
    EXPECT_EQ(rows().sameDayButton()->value(), u"Mon, Mar 9"_s);
    EXPECT_EQ(rows().sameDayButton()->length(), QString());
}

TEST_F(EditorTimeRows, AReadOnlyEventShowsItsTimesButOpensNothing) {
    const auto shared = ek.addCalendar(platform::EntityType::Event, u"Team"_s, core::Color::rgb(1, 2, 3), {}, false);
    open(add(storetest::timedEvent(shared, u"All hands"_s, local(2026, 3, 13, 16))));
    EXPECT_FALSE(rows().sameDayButton()->isEnabled());
    EXPECT_FALSE(rows().allDaySwitch()->isEnabled());
    rows().sameDayButton()->click();
    EXPECT_FALSE(model().showTime());
    EXPECT_FALSE(rows().zoneChip()->isVisible());
}

TEST_F(EditorTimeRows, ATokyoEventIsShownOnTokyosClockWithThisComputersTimesInItsChip) {
    const core::TimeZone tokyo = *core::TimeZone::withIdentifier(u"Asia/Tokyo"_s);
    // 10:00 in Berlin is 18:00 in Tokyo.
    PlatformEvent stored = storetest::timedEvent(work, u"Sync"_s, local(2026, 3, 11, 10));
    stored.timeZone = tokyo;
    open(add(stored));
    EXPECT_EQ(rows().sameDayButton()->value(), u"Wed, Mar 11 · 6:00\u202FPM → 7:00\u202FPM"_s);
    ASSERT_TRUE(rows().zoneChip()->isVisible());
    EXPECT_EQ(rows().zoneChip()->text(), u"Tokyo (10:00\u202FAM here)"_s);
    EXPECT_EQ(rows().sameDayButton()->toolTip(), u"Tokyo time · 10:00\u202FAM – 11:00\u202FAM here"_s);
    // It hangs from the button's bottom-left corner, 8 right and 9 below.
    const QPoint corner = rows().sameDayButton()->mapTo(rows().zoneChip()->parentWidget(),
                                                        QPoint(0, rows().sameDayButton()->height()));
    EXPECT_EQ(rows().zoneChip()->geometry().bottomLeft() + QPoint(0, 1), corner + editor::TimeZoneChip::kOffset);

    type(title(), u" moved"_s);
    model().save();
    ASSERT_TRUE(leftEditor());
    const std::vector<PlatformEvent> saved = ek.committedEvents();
    ASSERT_EQ(saved.size(), 1u);
    EXPECT_EQ(saved.front().title, u"Sync moved"_s);
    EXPECT_EQ(saved.front().timeZone, tokyo) << "the editor edits no zone";
    EXPECT_EQ(saved.front().startDate, local(2026, 3, 11, 10));
}

// New York's evening after Berlin's: the day, both times and the length need the
// whole row, so the all-day switch takes the line below, where the chip hangs.
TEST_F(EditorTimeRows, TheZoneChipStaysClearOfTheAllDaySwitchOnTheLineBelowTheDayButton) {
    PlatformEvent call = storetest::timedEvent(work, u"Call with New York"_s, local(2026, 3, 11, 22, 30), 90);
    call.timeZone = *core::TimeZone::withIdentifier(u"America/New_York"_s);
    open(add(call));
    ASSERT_FALSE(rows().showsTwoRows());
    ASSERT_FALSE(rows().showsSwitchBeside()) << rows().sameDayButton()->value().toStdString();
    const editor::TimeZoneChip& chip = *rows().zoneChip();
    ASSERT_TRUE(chip.isVisible());
    const QWidget& toggle = *rows().allDaySwitch()->parentWidget();
    const QRect toggleArea(toggle.mapTo(chip.parentWidget(), QPoint(0, 0)), toggle.size());
    EXPECT_FALSE(chip.geometry().intersects(toggleArea)) << "the chip covers \"All day\"";
    EXPECT_GE(toggleArea.top() - chip.geometry().bottom() - 1, 4);
    pin(u"zone-under"_s);
}

TEST_F(EditorTimeRows, AnAllDayEventInAnotherZoneKeepsItsHelpButShowsNoChip) {
    PlatformEvent stored = storetest::timedEvent(work, u"Holiday"_s, local(2026, 3, 11, 10));
    stored.timeZone = *core::TimeZone::withIdentifier(u"America/New_York"_s);
    open(add(stored));
    ASSERT_TRUE(rows().zoneChip()->isVisible());
    EXPECT_TRUE(rows().zoneChip()->text().startsWith(u"New York ("_s));
    rows().allDaySwitch()->click();
    EXPECT_FALSE(rows().zoneChip()->isVisible());
    EXPECT_TRUE(rows().sameDayButton()->toolTip().startsWith(u"New York time · "_s));
}

// --- The people ---------------------------------------------------------------------------------

std::vector<ODAttendee> people(int count) {
    std::vector<ODAttendee> list;
    for (int i = 0; i < count; ++i)
        list.push_back({u"Person "_s + QString::number(i + 1), u"p"_s + QString::number(i) + u"@example.com"_s,
                        ParticipantStatus::accepted, false, false});
    return list;
}

TEST_F(EditorTimeRows, TheAttendeeListOpensAboveItsRow) {
    PlatformEvent meeting = storetest::timedEvent(work, u"Planning"_s, local(2026, 3, 12, 14));
    meeting.attendees = {{u"Ana Lima"_s, QUrl(u"mailto:ana@example.com"_s), 2, false},
                         {u"Ben Carter"_s, QUrl(u"mailto:ben@example.com"_s), 3, false}};
    open(add(meeting));
    ASSERT_NE(form().attendeesRow(), nullptr);
    QTest::keyClick(form().attendeesRow(), Qt::Key_Return);
    ASSERT_NE(form().attendeeList(), nullptr);
    const design::AnchoredPopover& list = *form().attendeeList();
    EXPECT_TRUE(list.standsAbove());
    EXPECT_LT(list.geometry().bottom(), form().attendeesRow()->mapToGlobal(QPoint(0, 0)).y());
}

TEST(AttendeeList, NineRowsShowWholeAndTheTenthScrolls) {
    AttendeeListView nine(people(9));
    nine.adjustSize();
    nine.show();
    EXPECT_FALSE(nine.list()->isScrolling());
    const int rowHeight = nine.rows().front()->height();
    EXPECT_EQ(nine.list()->height(), 9 * rowHeight);

    AttendeeListView ten(people(10));
    ten.adjustSize();
    ten.show();
    EXPECT_TRUE(ten.list()->isScrolling());
    EXPECT_EQ(ten.list()->height(), 9 * rowHeight) << "still nine rows high";
    EXPECT_TRUE(ten.list()->scrollBar()->isVisible());
    EXPECT_EQ(ten.width(), AttendeeListView::kWidth);
}

TEST(AttendeeList, RowsMarkTheOrganizerTheUserAndEachAnswer) {
    const std::vector<ODAttendee> invited{
        {u"Olga"_s, u"olga@example.com"_s, ParticipantStatus::unknown, true, false},
        {u"Me"_s, u"me@example.com"_s, ParticipantStatus::declined, false, true},
        {u"Nomail"_s, std::nullopt, ParticipantStatus::tentative, false, false},
    };
    AttendeeListView list(invited);
    EXPECT_EQ(list.countLine()->text(), u"3 INVITED"_s);
    EXPECT_EQ(list.summaryLine()->text(), u"1 going · 1 no · 1 maybe"_s);
    ASSERT_EQ(list.rows().size(), 3);
    EXPECT_NE(list.rows()[0]->organizerMark(), nullptr);
    EXPECT_EQ(list.rows()[0]->statusMark()->status(), ParticipantStatus::accepted);
    EXPECT_TRUE(list.rows()[0]->avatar()->isDimmed()) << "dimmed by the stored status";
    EXPECT_EQ(list.rows()[1]->name()->text(), u"Me (you)"_s);
    EXPECT_EQ(list.rows()[1]->organizerMark(), nullptr);
    EXPECT_EQ(list.rows()[1]->name()->toolTip(), u"me@example.com"_s);
    EXPECT_EQ(list.rows()[2]->name()->toolTip(), u"Nomail"_s) << "no address: the name";
    EXPECT_FALSE(list.rows()[2]->avatar()->isDimmed());
}

}  // namespace

namespace {

platform::PlatformParticipant participant(const QString& name, int status, bool you = false) {
    return {name, QUrl(u"mailto:"_s + name.section(u' ', 0, 0).toLower() + u"@example.com"_s), status, you};
}

TEST_F(EditorTimeRows, PicturesOfTheTimeRowsAndThePeople) {
    PlatformEvent trip = storetest::timedEvent(work, u"Conference"_s, local(2026, 3, 16), 3 * 24 * 60);
    trip.isAllDay = true;
    open(add(trip));
    pin(u"all-day-days"_s);

    PlatformEvent tokyo = storetest::timedEvent(work, u"Sync with Tokyo"_s, local(2026, 3, 11, 10));
    tokyo.timeZone = *core::TimeZone::withIdentifier(u"Asia/Tokyo"_s);
    open(add(tokyo));
    pin(u"foreign-zone"_s);

    // Twelve people: statuses by number, as calendar files give them.
    PlatformEvent meeting = storetest::timedEvent(work, u"Quarterly planning"_s, local(2026, 3, 12, 14), 90);
    meeting.organizer = participant(u"Olga Ivanova"_s, 0);
    const QStringList names{u"Ana Lima"_s,   u"Ben Carter"_s, u"Chloé Dubois"_s, u"Dev Patel"_s,
                            u"Eva Novak"_s,  u"Finn Berg"_s,  u"Grace Ho"_s,     u"Hugo Silva"_s,
                            u"Ines Roth"_s,  u"Jon Park"_s,   u"Kai Müller"_s};
    for (int i = 0; i < names.size(); ++i)
        meeting.attendees.push_back(participant(names[i], std::array{2, 3, 4, 1, 2, 6, 0, 5, 2, 7, 2}[i], i == 4));
    open(add(meeting));
    ASSERT_NE(form().attendeesRow(), nullptr);
    pin(u"attendees"_s);
    form().attendeesRow()->click();
    ASSERT_NE(form().attendeeList(), nullptr) << "the row opens the list";
    EXPECT_TRUE(form().attendeesRow()->showsFocused());

    // The list as it hangs from the row.
    design::AnchoredPopover& list = *form().attendeeList();
    ASSERT_EQ(qobject_cast<AttendeeListView*>(list.content())->rows().size(), 12);
    for (const bool dark : {false, true})
        EXPECT_TRUE(testsupport::matchesReference(
            testsupport::renderOnSurface(list, AttendeeListView::kWidth, dark, u"editor-attendee-list"_s),
            dark ? u"editor-attendee-list-dark"_s : u"editor-attendee-list-light"_s));
}

// The pop-over open on the time rows, drawn on its own as it hangs there.
void pinOpenPopover(const TimeRows& rows, const QString& state) {
    ASSERT_NE(rows.openPopover(), nullptr);
    design::AnchoredPopover& popover = *rows.openPopover();
    const int width = popover.sizeHint().width();
    for (const bool dark : {false, true}) {
        const QString name = u"editor-"_s + state + (dark ? u"-dark"_s : u"-light"_s);
        EXPECT_TRUE(testsupport::matchesReference(
            testsupport::renderOnSurface(popover, width, dark, u"editor-"_s + state), name));
    }
}

TEST_F(EditorTimeRows, PicturesOfTheOpenTimePopOvers) {
    // 45 minutes: the month with its day, the two times and 45m marked.
    open(add(storetest::timedEvent(work, u"Dentist"_s, local(2026, 3, 12, 9, 30), 45)));
    rows().sameDayButton()->click();
    pinOpenPopover(rows(), u"day-popover"_s);

    // The end of a night across two days: the days before the start cannot be picked.
    open(add(storetest::timedEvent(work, u"Night train"_s, local(2026, 3, 12, 22), 10 * 60)));
    rows().endButton()->click();
    pinOpenPopover(rows(), u"end-popover"_s);
}

}  // namespace
