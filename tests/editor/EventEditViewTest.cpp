// The editor's screen over its model, offscreen: what each state shows, that
// every control reaches the model once, and the pictures of its states.

#include "AnimationClock.h"
#include "TestEnvironment.h"
#include "EditorScreen.h"
#include "MenuResponder.h"
#include "design/values/Theme.h"
#include "design/widgets/CalendarChip.h"
#include "design/widgets/CappedHeightView.h"
#include "design/widgets/FieldChoiceButton.h"
#include "design/widgets/KeycapButton.h"
#include "design/widgets/ODButton.h"
#include "design/widgets/ODSwitch.h"
#include "design/widgets/Painting.h"
#include "design/widgets/SymbolButton.h"
#include "design/widgets/SymbolView.h"
#include "design/widgets/TextBlock.h"
#include "design/widgets/TextField.h"
#include "editor/EditorFooter.h"
#include "editor/EditorRows.h"
#include "editor/EventEditForm.h"
#include "editor/EventEditView.h"
#include "editor/EventEditorModel.h"
#include "editor/MissingEventView.h"
#include "editor/RecurringPromptView.h"
#include "editor/TimeRows.h"
#include "popover/PopoverRootView.h"

#include <QApplication>
#include <QGraphicsOpacityEffect>
#include <QScrollBar>
#include <QTest>
#include <QTextCursor>

#include <gtest/gtest.h>

#include <memory>

using namespace Qt::Literals::StringLiterals;
using editor::EventEditForm;
using editor::EventEditorModel;
using editor::EventEditView;
using editortest::EditorScreen;
using editortest::kBlue;
using editortest::kGreen;
using editortest::local;
using model::RecurrenceOption;
using platform::EntityType;
using platform::PlatformEvent;
using testsupport::MenuResponder;

namespace {

// --- What each state shows ------------------------------------------------------------------

TEST_F(EditorScreen, AnExistingEventFillsTheFormAndANewOneWaitsInItsTitle) {
    PlatformEvent stored = storetest::timedEvent(home, u"Dentist"_s, local(2026, 3, 11, 9), 45);
    stored.location = u"Smile Clinic, Torstraße 1"_s;
    stored.notes = u"Bring the card"_s;
    stored.alarms = {{-3600, std::nullopt}, {-900, std::nullopt}};
    open(add(stored));
    ASSERT_NE(view().form(), nullptr);
    EXPECT_EQ(view().missingView(), nullptr);
    EXPECT_EQ(title()->text(), u"Dentist"_s);
    EXPECT_EQ(form().backButton()->title(), u"Wed, Mar 11"_s);
    EXPECT_EQ(form().calendarChip()->text(), u"Home"_s);
    EXPECT_EQ(form().calendarChip()->color(), kGreen);
    EXPECT_TRUE(form().calendarChip()->isChangeable());
    EXPECT_EQ(form().repeatButton()->text(), u"Never"_s);
    EXPECT_EQ(form().alertButton()->text(), u"1 hour before +1"_s);
    EXPECT_EQ(form().locationRow()->field()->text(), u"Smile Clinic, Torstraße 1"_s);
    EXPECT_TRUE(form().locationRow()->mapButton()->isVisibleTo(&view()));
    EXPECT_EQ(form().notesField()->editor()->toPlainText(), u"Bring the card"_s);
    EXPECT_EQ(footer().saveButton()->title(), u"Save"_s);
    ASSERT_NE(footer().deleteButton(), nullptr);
    EXPECT_FALSE(footer().showsError());
    QCoreApplication::processEvents();
    EXPECT_FALSE(model().titleFocused()) << "an existing event opens without the title's focus";

    open(std::nullopt, local(2026, 3, 12));
    EXPECT_EQ(footer().saveButton()->title(), u"Add event"_s);
    EXPECT_EQ(footer().deleteButton(), nullptr);
    EXPECT_EQ(form().calendarChip()->text(), u"Work"_s);
    EXPECT_TRUE(form().notesField()->showsPlaceholder());
    EXPECT_FALSE(form().locationRow()->mapButton()->isVisibleTo(&view()));
    QCoreApplication::processEvents();
    EXPECT_TRUE(model().titleFocused());
    EXPECT_EQ(view().focusWidget(), title());
    EXPECT_TRUE(form().titleField()->isFocused()) << "the title's border shows the focus";
}

TEST_F(EditorScreen, AReadOnlyEventShowsItsValuesButTakesNoEdit) {
    const auto shared = ek.addCalendar(EntityType::Event, u"Team"_s, kBlue, {}, false);
    PlatformEvent stored = storetest::timedEvent(shared, u"All hands"_s, local(2026, 3, 11, 16));
    stored.location = u"Main hall"_s;
    stored.url = QUrl(u"https://zoom.us/j/123456789"_s);
    open(add(stored));

    EXPECT_FALSE(form().calendarChip()->isChangeable()) << "no chevron, no menu";
    EXPECT_FALSE(form().calendarChip()->isEnabled());
    for (QWidget* refusing : std::initializer_list<QWidget*>{
             title(), form().repeatButton(), form().alertButton(), form().locationRow()->field(),
             form().videoRow()->field(), form().notesField()->editor()})
        EXPECT_FALSE(refusing->isEnabled()) << refusing->accessibleName().toStdString();
    // Dimmed as the pickers are, their placeholders too.
    const qreal placeholder = design::toQColor(design::Theme::text3()).alphaF();
    for (QWidget* dimmed : std::initializer_list<QWidget*>{title(), form().videoRow()->field(),
                                                           form().notesField()->editor()})
        EXPECT_NEAR(dimmed->palette().color(QPalette::Disabled, QPalette::PlaceholderText).alphaF(),
                    placeholder * design::ODButtonStyle::kDisabledOpacity, 0.01);
    EXPECT_TRUE(form().locationRow()->mapButton()->isEnabled());
    EXPECT_TRUE(form().videoRow()->joinButton()->isEnabled());
    EXPECT_EQ(footer().saveButton(), nullptr);
    EXPECT_EQ(footer().deleteButton(), nullptr);
    ASSERT_NE(footer().closeButton(), nullptr);

    form().locationRow()->mapButton()->click();
    form().videoRow()->joinButton()->click();
    ASSERT_EQ(workspace.opened.size(), 2);
    EXPECT_EQ(workspace.opened[0].host(), u"www.openstreetmap.org"_s);
    EXPECT_EQ(workspace.opened[1], QUrl(u"https://zoom.us/j/123456789"_s));
    footer().closeButton()->click();
    EXPECT_TRUE(leftEditor());
}

TEST_F(EditorScreen, AnUnknownEventShowsOnlyThatItIsGone) {
    open(u"gone|1773133200"_s);
    ASSERT_NE(view().missingView(), nullptr);
    EXPECT_EQ(view().form(), nullptr);
    EXPECT_FALSE(appState.offerEscape()) << "nothing of its own to close";
    view().missingView()->backButton()->click();
    EXPECT_TRUE(leftEditor());
}

// --- Keys ---------------------------------------------------------------------------------------

TEST_F(EditorScreen, OneReturnInTheTitleGivesOneSaveOrOneQuestion) {
    open(std::nullopt, local(2026, 3, 12, 10));
    type(title(), u"Lunch"_s);
    QTest::keyClick(title(), Qt::Key_Return);
    EXPECT_TRUE(leftEditor());
    EXPECT_EQ(named(u"Lunch"_s).size(), 1u);

    open(add(editortest::weekly(work, u"Standup"_s, local(2026, 3, 10, 10))));
    type(title(), u" daily"_s);
    QTest::keyClick(title(), Qt::Key_Return);
    ASSERT_EQ(model().prompt(), EventEditorModel::Prompt::save) << "asked, and not answered by the same Return";
    EXPECT_EQ(appState.route(), route);
    EXPECT_FALSE(form().isEnabled());
    EXPECT_FALSE(model().titleFocused());

    // The next Return answers: all future events.
    QTest::keyClick(view().focusWidget() ? view().focusWidget() : &view(), Qt::Key_Return);
    EXPECT_TRUE(leftEditor());
    EXPECT_FALSE(named(u"Standup daily"_s).empty());
    EXPECT_TRUE(named(u"Standup"_s).empty());
}

TEST_F(EditorScreen, ReturnOnAFocusedButtonOfTheQuestionPressesThatButton) {
    const auto tabTo = [this](QWidget* wanted) {
        for (int tabs = 0; tabs < 6 && QApplication::focusWidget() != wanted; ++tabs)
            QTest::keyClick(QApplication::focusWidget() ? QApplication::focusWidget() : &view(), Qt::Key_Tab);
        return QApplication::focusWidget() == wanted;
    };
    open(add(editortest::weekly(work, u"Standup"_s, local(2026, 3, 10, 10))));
    footer().deleteButton()->click();
    ASSERT_TRUE(tabTo(view().promptOverlay()->card()->cancelButton()));
    QTest::keyClick(QApplication::focusWidget(), Qt::Key_Return);
    EXPECT_FALSE(model().prompt());
    EXPECT_EQ(appState.route(), route) << "Cancel had the focus: nothing deleted";

    footer().deleteButton()->click();
    ASSERT_TRUE(tabTo(view().promptOverlay()->card()->thisEventButton()));
    QTest::keyClick(QApplication::focusWidget(), Qt::Key_Return);
    ASSERT_TRUE(leftEditor());
    const auto rest = named(u"Standup"_s);
    EXPECT_FALSE(rest.empty()) << "the rest of the series stays";
    EXPECT_TRUE(std::none_of(rest.begin(), rest.end(),
                             [](const model::ODEvent& e) { return e.start == local(2026, 3, 10, 10); }));
}

TEST_F(EditorScreen, TabGoesThroughTheFormTopToBottomAndBackToTheTop) {
    PlatformEvent stored = storetest::timedEvent(work, u"Review"_s, local(2026, 3, 11, 9));
    stored.location = u"Room 3"_s;
    open(add(stored));
    form().backButton()->setFocus(Qt::TabFocusReason);
    std::vector<QWidget*> visited{QApplication::focusWidget()};
    for (int tabs = 0; tabs < 20; ++tabs) {
        QTest::keyClick(QApplication::focusWidget(), Qt::Key_Tab);
        if (QApplication::focusWidget() == form().backButton())
            break;
        visited.push_back(QApplication::focusWidget());
    }
    ASSERT_EQ(QApplication::focusWidget(), form().backButton()) << "past the last control Tab comes back";
    const std::vector<QWidget*> expected{form().backButton(),
                                         form().calendarChip(),
                                         title(),
                                         form().timeRows()->sameDayButton(),
                                         form().timeRows()->allDaySwitch(),
                                         form().repeatButton(),
                                         form().locationRow()->field(),
                                         form().locationRow()->mapButton(),
                                         form().videoRow()->field(),
                                         form().alertButton(),
                                         form().notesField()->editor(),
                                         footer().deleteButton(),
                                         footer().cancelButton(),
                                         footer().saveButton()};
    EXPECT_EQ(visited, expected);

    // Shift+Tab goes the other way, and the rows built anew for two days keep their place.
    model().setLengthInMinutes(26 * 60);
    ASSERT_TRUE(form().timeRows()->showsTwoRows());
    QCoreApplication::processEvents();
    form().repeatButton()->setFocus(Qt::TabFocusReason);
    QTest::keyClick(QApplication::focusWidget(), Qt::Key_Backtab);
    EXPECT_EQ(QApplication::focusWidget(), form().timeRows()->endButton());
    QTest::keyClick(QApplication::focusWidget(), Qt::Key_Backtab);
    EXPECT_EQ(QApplication::focusWidget(), form().timeRows()->allDaySwitch());
}

TEST_F(EditorScreen, LongNotesScrollUnderTheKitsThinBar) {
    PlatformEvent stored = storetest::timedEvent(work, u"Review"_s, local(2026, 3, 11, 9));
    stored.notes = u"One\nTwo\nThree\nFour\nFive\nSix"_s;
    open(add(stored));
    design::TextArea* notes = form().notesField()->editor();
    QCoreApplication::processEvents();
    EXPECT_FALSE(notes->verticalScrollBar()->isVisible()) << "no bar with arrows in the rounded field";
    ASSERT_TRUE(notes->scrollBar()->isVisible());
    EXPECT_EQ(notes->scrollBar()->width(), design::OverlayScrollBar::kWidth);
    EXPECT_EQ(notes->viewport()->width(), notes->width()) << "the bar floats over the text";

    PlatformEvent brief = storetest::timedEvent(work, u"Call"_s, local(2026, 3, 12, 9));
    brief.notes = u"Short"_s;
    open(add(brief));
    QCoreApplication::processEvents();
    EXPECT_FALSE(form().notesField()->editor()->scrollBar()->isVisible());
}

TEST_F(EditorScreen, CtrlReturnSavesFromAnyField) {
    open(add(storetest::timedEvent(work, u"Review"_s, local(2026, 3, 11, 9))));
    type(form().locationRow()->field(), u"Room 3"_s);
    QTest::keyClick(form().locationRow()->field(), Qt::Key_Return);
    EXPECT_EQ(appState.route(), route) << "Return in the place saves nothing";
    QTest::keyClick(form().notesField()->editor(), Qt::Key_Return, Qt::ControlModifier);
    ASSERT_TRUE(leftEditor());
    ASSERT_EQ(named(u"Review"_s).size(), 1u);
    EXPECT_EQ(named(u"Review"_s).front().location, u"Room 3"_s);
    EXPECT_FALSE(named(u"Review"_s).front().notes) << "the Ctrl+Return wrote no line break";
}

TEST_F(EditorScreen, EscapeClosesTheQuestionBeforeTheEditorLeaves) {
    open(add(editortest::weekly(work, u"Standup"_s, local(2026, 3, 10, 10))));
    footer().deleteButton()->click();
    ASSERT_EQ(model().prompt(), EventEditorModel::Prompt::deleteEvent);
    ASSERT_NE(view().promptOverlay()->card(), nullptr);
    EXPECT_TRUE(view().promptOverlay()->isVisible());
    EXPECT_TRUE(appState.offerEscape());
    EXPECT_FALSE(model().prompt());
    EXPECT_FALSE(view().promptOverlay()->isVisible());
    EXPECT_TRUE(form().isEnabled());
    EXPECT_FALSE(appState.offerEscape()) << "then the popover's own Escape leads back";
    EXPECT_FALSE(named(u"Standup"_s).empty());
}

// --- The question -------------------------------------------------------------------------------

TEST_F(EditorScreen, TheQuestionNamesTheEventAndActsOnTheAnswer) {
    open(add(editortest::weekly(work, u"Standup"_s, local(2026, 3, 10, 10))));
    footer().deleteButton()->click();
    editor::RecurringPromptView* card = view().promptOverlay()->card();
    ASSERT_NE(card, nullptr);
    EXPECT_EQ(card->title(), u"Delete a repeating event"_s);
    EXPECT_EQ(card->subtitle(), u"“Standup” repeats every week. Which ones should be deleted?"_s);
    EXPECT_EQ(card->futureEventsButton()->buttonStyle().kind(), design::ODButtonKind::danger);

    // A click on the dimmed editor dismisses it; one on the card does not.
    QTest::mouseClick(card, Qt::LeftButton, {}, QPoint(10, 10));
    EXPECT_TRUE(model().prompt());
    QTest::mouseClick(view().promptOverlay(), Qt::LeftButton, {}, QPoint(10, 10));
    EXPECT_FALSE(model().prompt());

    footer().deleteButton()->click();
    view().promptOverlay()->card()->thisEventButton()->click();
    EXPECT_TRUE(leftEditor());
    const auto rest = named(u"Standup"_s);
    EXPECT_FALSE(rest.empty());
    EXPECT_TRUE(std::none_of(rest.begin(), rest.end(), [](const model::ODEvent& e) {
        return e.start == local(2026, 3, 10, 10);
    })) << "only this one went";
}

TEST_F(EditorScreen, TheQuestionStaysWholeOnAShortPopover) {
    appState.setPopoverMaxHeight(300);
    open(add(editortest::weekly(work, u"Standup"_s, local(2026, 3, 10, 10))));
    view().resize(364, view().heightForWidth(364));
    ASSERT_EQ(view().height(), 300) << "the form scrolls within the cap";
    footer().deleteButton()->click();
    const QRect card = view().promptOverlay()->card()->geometry();
    EXPECT_GE(card.top(), 0);
    EXPECT_LE(card.bottom(), view().height() - 1);

    appState.setPopoverMaxHeight(680);
    view().resize(364, view().heightForWidth(364));
    EXPECT_EQ(view().promptOverlay()->card()->y(), editor::RecurringPromptOverlay::kCardTop);
}

TEST_F(EditorScreen, TheQuestionFadesInAndOut) {
    design::Theme::setAppearance({});
    testsupport::AnimationClock animation;
    open(add(editortest::weekly(work, u"Standup"_s, local(2026, 3, 10, 10))));
    footer().deleteButton()->click();
    auto* overlay = view().promptOverlay();
    const auto opacity = [&] {
        auto* effect = qobject_cast<QGraphicsOpacityEffect*>(overlay->graphicsEffect());
        return effect->isEnabled() ? effect->opacity() : (overlay->isVisible() ? 1.0 : 0.0);
    };
    animation.advance(60);
    EXPECT_GT(opacity(), 0.3);
    EXPECT_LT(opacity(), 1.0);
    animation.advance(80);
    EXPECT_EQ(opacity(), 1.0);

    model().cancelPrompt();
    animation.advance(60);
    EXPECT_TRUE(overlay->isVisible());
    EXPECT_LT(opacity(), 0.7);
    const QPoint repeat = form().repeatButton()->mapToGlobal(QPoint(20, 10));
    EXPECT_EQ(QApplication::widgetAt(repeat), form().repeatButton()) << "clicks reach the editor as it fades out";
    animation.advance(80);
    EXPECT_FALSE(overlay->isVisible());
}

// --- Rows -----------------------------------------------------------------------------------------

TEST_F(EditorScreen, TheMenusOfferTheirChoicesWithTheCurrentOneChecked) {
    const auto subscribed = ek.addCalendar(EntityType::Event, u"Holidays"_s, kBlue, {}, false, true);
    store.reload();
    open(add(storetest::timedEvent(work, u"Review"_s, local(2026, 3, 11, 9))));
    {
        MenuResponder responder({Qt::Key_Down, Qt::Key_Return});
        form().calendarChip()->click();
        EXPECT_EQ(responder.titles, (QStringList{u"Home"_s, u"Work"_s})) << "only calendars that take changes";
        EXPECT_EQ(responder.checked, QStringList{u"Work"_s});
    }
    EXPECT_EQ(model().draft().calendarID, home.calendarIdentifier);
    EXPECT_EQ(form().calendarChip()->text(), u"Home"_s);
    {
        MenuResponder responder({Qt::Key_Down, Qt::Key_Down, Qt::Key_Down, Qt::Key_Down, Qt::Key_Return});
        form().repeatButton()->click();
        EXPECT_EQ(responder.titles.size(), 7);
        EXPECT_EQ(responder.checked, QStringList{u"Never"_s});
    }
    EXPECT_EQ(model().recurrence(), RecurrenceOption::weekly);
    EXPECT_EQ(form().repeatButton()->text(), u"Every week"_s);
    {
        MenuResponder responder({Qt::Key_Up, Qt::Key_Return});
        form().alertButton()->click();
        EXPECT_EQ(responder.titles.size(), 9);
        EXPECT_EQ(responder.checked, QStringList{u"No alert"_s});
    }
    EXPECT_EQ(model().draft().alarmOffsets, std::vector<double>{-86400});
    EXPECT_EQ(form().alertButton()->text(), u"1 day before"_s);
    {
        MenuResponder responder({Qt::Key_Escape});
        form().alertButton()->click();
        EXPECT_EQ(responder.checked, QStringList{u"1 day before"_s});
    }
    EXPECT_EQ(model().draft().alarmOffsets, std::vector<double>{-86400}) << "dismissed, nothing changes";
    EXPECT_FALSE(subscribed.calendarIdentifier.isEmpty());
}

TEST_F(EditorScreen, AMeetingLinkAnywhereBringsJoinAndAPlaceBringsTheMap) {
    open(add(storetest::timedEvent(work, u"Sync"_s, local(2026, 3, 11, 9))));
    EXPECT_FALSE(form().videoRow()->joinButton()->isVisibleTo(&view()));
    type(form().videoRow()->field(), u"https://meet.google.com/abc-defg-hij"_s);
    EXPECT_EQ(model().urlText(), u"https://meet.google.com/abc-defg-hij"_s);
    EXPECT_TRUE(form().videoRow()->joinButton()->isVisibleTo(&view()));
    EXPECT_TRUE(form().videoRow()->meetingMark()->isVisibleTo(&view()));
    EXPECT_TRUE(form().videoRow()->joinButton()->toolTip().contains(u"Join Google Meet"_s));

    form().videoRow()->field()->selectAll();
    QTest::keyClick(form().videoRow()->field(), Qt::Key_Backspace);
    EXPECT_FALSE(form().videoRow()->joinButton()->isVisibleTo(&view()));
    // A meeting address typed as the place: Join, and no map.
    type(form().locationRow()->field(), u"https://zoom.us/j/987654321"_s);
    EXPECT_TRUE(form().videoRow()->joinButton()->isVisibleTo(&view()));
    EXPECT_FALSE(form().locationRow()->mapButton()->isVisibleTo(&view()));
    form().locationRow()->field()->selectAll();
    type(form().locationRow()->field(), u"Café Olé, Berlin"_s);
    EXPECT_TRUE(form().locationRow()->mapButton()->isVisibleTo(&view()));
    form().locationRow()->mapButton()->click();
    ASSERT_EQ(workspace.opened.size(), 1);
    EXPECT_TRUE(workspace.opened[0].query(QUrl::FullyDecoded).contains(u"Café Olé, Berlin"_s));
}

TEST_F(EditorScreen, EmptiedNotesAreNoNotesAndSpacesStayAsTyped) {
    PlatformEvent stored = storetest::timedEvent(work, u"Plan"_s, local(2026, 3, 11, 9));
    stored.notes = u"x"_s;
    open(add(stored));
    QPlainTextEdit* notes = form().notesField()->editor();
    notes->setFocus();
    notes->selectAll();
    QTest::keyClick(notes, Qt::Key_Backspace);
    EXPECT_EQ(model().draft().notes, std::nullopt);
    EXPECT_TRUE(form().notesField()->showsPlaceholder());
    QTest::keyClick(notes, Qt::Key_Space);
    EXPECT_EQ(model().draft().notes, u" "_s);
    EXPECT_FALSE(form().notesField()->showsPlaceholder());
}

// The text box turns a no-break space into a space and CR LF into a line break: none of that may reach the
// event unless the user edits the notes.
TEST_F(EditorScreen, NotesTheTextBoxWouldConvertStayAsStoredUntilEdited) {
    const QString stored = u"Bring\u00A0slides\r\nand the plan"_s;
    PlatformEvent single = storetest::timedEvent(work, u"Plan"_s, local(2026, 3, 11, 9));
    single.notes = stored;
    open(add(single));
    EXPECT_EQ(model().draft().notes, stored);
    EXPECT_FALSE(model().hasChanges());
    QTest::keyClick(title(), Qt::Key_Return);
    EXPECT_TRUE(leftEditor());
    EXPECT_TRUE(store.undoStack().empty()) << "an unedited event saves nothing";

    PlatformEvent series = editortest::weekly(work, u"Standup"_s, local(2026, 3, 10, 10));
    series.notes = stored;
    open(add(series));
    QTest::keyClick(title(), Qt::Key_Return);
    EXPECT_EQ(model().prompt(), std::nullopt) << "nothing to ask about";
    EXPECT_TRUE(leftEditor());

    // A letter typed and taken back is no change; one kept is, and keeps the no-break space.
    open(add(single));
    QPlainTextEdit* notes = form().notesField()->editor();
    notes->setFocus();
    notes->moveCursor(QTextCursor::End);
    QTest::keyClick(notes, Qt::Key_S);
    EXPECT_TRUE(model().hasChanges());
    QTest::keyClick(notes, Qt::Key_Backspace);
    EXPECT_EQ(model().draft().notes, stored);
    EXPECT_FALSE(model().hasChanges());
    QTest::keyClick(notes, Qt::Key_S);
    EXPECT_EQ(model().draft().notes, u"Bring\u00A0slides\nand the plans"_s);
}

// Another program writes the event while the editor is open; the store reloads as its folder watch would make it.
TEST_F(EditorScreen, ASaveKeepsWhatAnotherProgramWroteMeanwhile) {
    const QString id = add(storetest::timedEvent(work, u"Budget sync"_s, local(2026, 3, 11, 9)));
    const auto changeOutside = [&](const auto& change) {
        PlatformEvent stored = *ek.event(model::ODEvent::parseID(id).identifier);
        change(stored);
        ek.saveEvent(stored, platform::Span::ThisEvent, true);
        store.reload();
    };
    open(id);
    changeOutside([](PlatformEvent& e) {
        e.location = u"Room 4"_s;
        e.notes = u"Bring the Q1 numbers"_s;
    });
    type(title(), u" (moved)"_s);
    QTest::keyClick(title(), Qt::Key_Return);
    ASSERT_TRUE(leftEditor()) << footer().errorLine()->text().toStdString();
    ASSERT_EQ(named(u"Budget sync (moved)"_s).size(), 1u);
    EXPECT_EQ(named(u"Budget sync (moved)"_s).front().location, u"Room 4"_s);
    EXPECT_EQ(named(u"Budget sync (moved)"_s).front().notes, u"Bring the Q1 numbers"_s);

    // Both changed the place: the first save says so and writes nothing, the second keeps the user's.
    open(named(u"Budget sync (moved)"_s).front().id);
    changeOutside([](PlatformEvent& e) { e.location = u"Room 5"_s; });
    QLineEdit* place = form().locationRow()->field();
    place->selectAll();
    type(place, u"Room 9"_s);
    QTest::keyClick(place, Qt::Key_Return, Qt::ControlModifier);
    EXPECT_FALSE(leftEditor());
    EXPECT_TRUE(footer().showsError());
    EXPECT_EQ(footer().errorLine()->text(),
              u"Another program changed the location of this event while you edited it. Save again to keep yours."_s);
    EXPECT_EQ(named(u"Budget sync (moved)"_s).front().location, u"Room 5"_s);
    QTest::keyClick(place, Qt::Key_Return, Qt::ControlModifier);
    ASSERT_TRUE(leftEditor());
    EXPECT_EQ(named(u"Budget sync (moved)"_s).front().location, u"Room 9"_s);
}

TEST_F(EditorScreen, ABadLinkShowsItsErrorAndTheEditorStaysWithTheText) {
    open(add(storetest::timedEvent(work, u"Webinar"_s, local(2026, 3, 11, 9))));
    type(form().videoRow()->field(), u"https://meet.example/web inar"_s);
    footer().saveButton()->click();
    EXPECT_EQ(appState.route(), route);
    ASSERT_TRUE(footer().showsError());
    EXPECT_EQ(footer().errorLine()->text(), u"The video link is not a valid URL."_s);
    EXPECT_EQ(form().videoRow()->field()->text(), u"https://meet.example/web inar"_s);

    form().videoRow()->field()->selectAll();
    type(form().videoRow()->field(), u"https://meet.example/webinar"_s);
    footer().saveButton()->click();
    EXPECT_TRUE(leftEditor());
    EXPECT_EQ(named(u"Webinar"_s).front().url, QUrl(u"https://meet.example/webinar"_s));
}

// --- In the popover ---------------------------------------------------------------------------

TEST_F(EditorScreen, ThePopoverMakesTheEditorForItsRoutesAndItHoldsEscapeOnlyWhileShown) {
    const QString id = add(storetest::timedEvent(work, u"Review"_s, local(2026, 3, 11, 9)));
    popover::PopoverRootView root(environment);
    root.resize(popover::PopoverRootView::kWidth, 700);
    root.show();
    appState.setRoute(app::PopoverRoute::eventEdit(id));
    QCoreApplication::processEvents();
    auto* editing = qobject_cast<EventEditView*>(root.screen());
    ASSERT_NE(editing, nullptr);
    ASSERT_NE(editing->form(), nullptr);
    EXPECT_EQ(editing->form()->titleField()->field()->text(), u"Review"_s);
    EXPECT_GT(appState.popoverContentHeight(), 400) << "the whole form";
    EXPECT_TRUE(appState.hasEscapeHandler());
    root.hide();
    EXPECT_FALSE(appState.hasEscapeHandler()) << "a hidden editor leaves Escape alone";
    root.show();
    EXPECT_TRUE(appState.hasEscapeHandler());

    appState.setPendingDraft(model::EventDraft(u"Picnic"_s, local(2026, 3, 14, 12)));
    appState.setRoute(app::PopoverRoute::eventCreate(local(2026, 3, 14, 12)));
    QCoreApplication::processEvents();
    auto* creating = qobject_cast<EventEditView*>(root.screen());
    ASSERT_NE(creating, nullptr);
    EXPECT_EQ(creating->form()->titleField()->field()->text(), u"Picnic"_s) << "the draft handed over";
    EXPECT_FALSE(appState.pendingDraft());
}

// --- Pictures -----------------------------------------------------------------------------------

TEST_F(EditorScreen, PicturesOfEachState) {
    PlatformEvent simple = storetest::timedEvent(home, u"Dentist"_s, local(2026, 3, 11, 9), 45);
    simple.location = u"Smile Clinic"_s;
    open(add(simple));
    pin(u"simple"_s);

    PlatformEvent repeating = editortest::weekly(work, u"Design review"_s, local(2026, 3, 12, 10));
    repeating.url = QUrl(u"https://meet.google.com/abc-defg-hij"_s);
    repeating.notes = u"Bring the printed mock-ups.\nAsk about the launch date."_s;
    repeating.alarms = {{-900, std::nullopt}};
    const QString repeatingID = add(repeating);
    open(repeatingID);
    pin(u"repeating"_s);

    const auto shared = ek.addCalendar(EntityType::Event, u"Team"_s, kBlue, {}, false);
    open(add(storetest::timedEvent(shared, u"All hands"_s, local(2026, 3, 13, 16))));
    pin(u"read-only"_s);

    open(repeatingID);
    type(title(), u" (moved)"_s);
    footer().saveButton()->click();
    ASSERT_TRUE(model().prompt());
    pin(u"prompt"_s);

    open(u"gone|1773133200"_s);
    pin(u"missing"_s);

    open(std::nullopt, local(2026, 3, 14));
    pin(u"new"_s);
}

TEST_F(EditorScreen, PicturesOfTheTimeRowsOnEachClock) {
    const QString oneDay = add(storetest::timedEvent(work, u"Quarterly planning"_s, local(2026, 3, 11, 10), 90));
    const QString twoDays = add(storetest::timedEvent(work, u"Night train to Vienna"_s, local(2026, 3, 12, 22), 600));
    open(oneDay);
    pin(u"one-day"_s);
    open(twoDays);
    pin(u"two-days"_s);
    testsupport::ScopedLocale british("en_GB");
    open(oneDay);
    pin(u"one-day-24h"_s);
    open(twoDays);
    pin(u"two-days-24h"_s);
}

}  // namespace
