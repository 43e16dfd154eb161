#include "Rendering.h"
#include "ScreenEnvironment.h"
#include "StoreTestSupport.h"
#include "design/values/Theme.h"
#include "design/widgets/KeycapButton.h"
#include "platform/eventstore/EventStoreError.h"
#include "quickadd/QuickCreateModel.h"
#include "quickadd/QuickCreatePreview.h"
#include "quickadd/QuickCreateView.h"
#include "quickadd/QuickInputField.h"

#include <QApplication>
#include <QTest>
#include <QVBoxLayout>

#include <gtest/gtest.h>

#include <memory>

using namespace Qt::Literals::StringLiterals;
using platform::EntityType;
using quickadd::QuickCreateView;
using storetest::local;

namespace {

// Counts the key presses that reach the widget around the screen.
class KeyWitness : public QWidget {
public:
    int returns = 0;
    int tabs = 0;

protected:
    void keyPressEvent(QKeyEvent* event) override {
        if (event->key() == Qt::Key_Return || event->key() == Qt::Key_Enter)
            ++returns;
        if (event->key() == Qt::Key_Tab)
            ++tabs;
        QWidget::keyPressEvent(event);
    }
};

// Tuesday 10 March 2026, 14:20, the screen in a window of the popover's width.
class QuickCreateScreen : public ::testing::Test, protected testsupport::ScreenEnvironment {
protected:
    QuickCreateScreen() : ScreenEnvironment(local(2026, 3, 10, 14, 20)) {
        work = ek.addCalendar(EntityType::Event, u"Work"_s, core::Color::rgb(45, 127, 249));
        ek.setDefaultCalendarForNewEvents(work.calendarIdentifier);
        store.reload();
        appState.setRoute(app::PopoverRoute::quickCreate());
    }

    void SetUp() override { ASSERT_EQ(testsupport::missingFontFamilies(), QStringList()); }

    QuickCreateView& view() {
        if (!m_window) {
            m_window = std::make_unique<KeyWitness>();
            auto* layout = new QVBoxLayout(m_window.get());
            layout->setContentsMargins(0, 0, 0, 0);
            m_view = new QuickCreateView(environment, m_window.get());
            layout->addWidget(m_view, 0, Qt::AlignTop);
            m_window->resize(364, 700);
            m_window->show();
            QApplication::setActiveWindow(m_window.get());
            QCoreApplication::processEvents();
        }
        return *m_view;
    }
    KeyWitness& window() { return *m_window; }

    void type(const QString& text) {
        QTest::keyClicks(view().field(), text);
        QCoreApplication::processEvents();
    }
    void addEvent(const QString& title, core::Date start, double minutes) {
        ek.addEvent(storetest::timedEvent(work, title, start, minutes));
        store.reload();
        QCoreApplication::processEvents();
    }

    QImage render(bool dark, const QString& name) { return testsupport::renderOnSurface(view(), 364, dark, name); }

    platform::PlatformCalendar work;

private:
    std::unique_ptr<KeyWitness> m_window;
    QuickCreateView* m_view = nullptr;
};

TEST_F(QuickCreateScreen, OneReturnAddsExactlyOneEventAndNeverReachesTheScreensAround) {
    type(u"Dentist fri 2-3pm"_s);
    EXPECT_TRUE(view().field()->hasFocus());
    QTest::keyClick(view().field(), Qt::Key_Return);
    EXPECT_EQ(ek.committedEvents().size(), 1u);
    EXPECT_EQ(window().returns, 0);
    EXPECT_EQ(appState.route(), app::PopoverRoute::main());
    EXPECT_EQ(appState.selectedDate(), local(2026, 3, 13));

    QTest::keyClick(view().field(), Qt::Key_Enter, Qt::KeypadModifier);
    QTest::keyClick(view().field(), Qt::Key_Return, Qt::ShiftModifier);
    EXPECT_EQ(ek.committedEvents().size(), 2u) << "Enter adds too; Shift+Return adds nothing";
    EXPECT_EQ(window().returns, 0);
    EXPECT_EQ(view().field()->text(), u"Dentist fri 2-3pm"_s) << "no line break went into the line";
}

TEST_F(QuickCreateScreen, TabHandsTheLineToTheEditorAndKeepsTheFocusInTheField) {
    type(u"Standup tomorrow 9:30 for 15m"_s);
    QTest::keyClick(view().field(), Qt::Key_Tab);
    EXPECT_EQ(window().tabs, 0);
    EXPECT_TRUE(view().field()->hasFocus());
    ASSERT_TRUE(appState.pendingDraft());
    EXPECT_EQ(appState.pendingDraft()->title, u"Standup"_s);
    EXPECT_EQ(appState.route(), app::PopoverRoute::eventCreate(local(2026, 3, 11, 9, 30)));
}

TEST_F(QuickCreateScreen, TypingColoursTheRecognisedPartsAndSwapsTheExamplesForThePreview) {
    view();
    for (QAbstractButton* example : view().exampleButtons())
        EXPECT_TRUE(example->isVisible());
    EXPECT_FALSE(view().addButton()->isEnabled());
    EXPECT_FALSE(view().preview()->isVisible());

    type(u"Dentist fri 2-3pm at Smile Clinic"_s);
    const auto& coloured = view().field()->appliedHighlights();
    ASSERT_EQ(coloured.size(), 3u);
    EXPECT_EQ(view().field()->text().mid(coloured[1].range.location, coloured[1].range.length), u"2-3pm"_s);
    EXPECT_EQ(coloured[1].color, design::Theme::flame());
    EXPECT_EQ(view().field()->text(), u"Dentist fri 2-3pm at Smile Clinic"_s) << "colouring leaves the text alone";
    EXPECT_FALSE(view().exampleButtons().front()->isVisible());
    EXPECT_TRUE(view().preview()->isVisible());
    EXPECT_TRUE(view().addButton()->isEnabled());
    EXPECT_EQ(view().preview()->heading(), u"FRI, MAR 13"_s);
    EXPECT_EQ(view().preview()->closingLine(), u"Nothing else that day. Free as a bird."_s);

    // Something the model cannot have taken in yet colours nothing.
    view().field()->setHighlights(u"something else"_s, view().model().highlights());
    EXPECT_TRUE(view().field()->appliedHighlights().empty());

    view().field()->selectAll();
    type(u"  \t"_s);
    EXPECT_TRUE(view().exampleButtons().front()->isVisible());
    EXPECT_FALSE(view().addButton()->isEnabled());
    QTest::keyClick(view().field(), Qt::Key_Return);
    EXPECT_TRUE(ek.committedEvents().empty());
}

TEST_F(QuickCreateScreen, AnExampleReplacesTheLineAndTheHandedOverTextStartsIt) {
    appState.setQuickCreateText(u"D"_s);
    EXPECT_EQ(view().field()->text(), u"D"_s);
    EXPECT_EQ(view().field()->cursorPosition(), 1) << "the caret after the handed-over letter";
    type(u"inner"_s);
    EXPECT_EQ(view().model().text(), u"Dinner"_s);

    QTest::mouseClick(view().exampleButtons()[1], Qt::LeftButton);
    EXPECT_EQ(view().field()->text(), u"Dentist fri 2-3pm at Smile Clinic"_s);
    EXPECT_EQ(view().field()->cursorPosition(), view().field()->text().size());
}

TEST_F(QuickCreateScreen, AFailedAddShowsTheErrorLineUnderThePreviewAndKeepsTheLine) {
    type(u"Dentist fri 2pm"_s);
    ek.failNext(platform::FakeEventStore::Operation::SaveEvent,
                platform::EventStoreError(platform::EventStoreError::Code::WriteFailed, u"The disk is full."_s));
    QTest::mouseClick(view().addButton(), Qt::LeftButton);
    EXPECT_EQ(view().errorLine(), u"The disk is full."_s);
    EXPECT_EQ(view().field()->text(), u"Dentist fri 2pm"_s);
    EXPECT_EQ(appState.route(), app::PopoverRoute::quickCreate());
}

TEST_F(QuickCreateScreen, TheCloseKeyAndMoreDetailsLeaveTheScreen) {
    QTest::mouseClick(view().moreDetailsButton(), Qt::LeftButton);
    ASSERT_TRUE(appState.pendingDraft()) << "more details works with an empty line";
    EXPECT_EQ(appState.pendingDraft()->title, u""_s);

    appState.setRoute(app::PopoverRoute::quickCreate());
    QTest::mouseClick(view().closeButton(), Qt::LeftButton);
    EXPECT_EQ(appState.route(), app::PopoverRoute::main());
    EXPECT_EQ(view().closeButton()->accessibleName(), u"Close"_s);
}

TEST_F(QuickCreateScreen, TheOverlapLineNamesTheFirstClashAndShowRevealsItForAMoment) {
    addEvent(u"Review"_s, local(2026, 3, 13, 13, 30), 60);
    addEvent(u"Sync"_s, local(2026, 3, 13, 14, 30), 15);
    type(u"Dentist fri 2-3pm"_s);
    ASSERT_TRUE(view().conflictRow()->isVisible());
    EXPECT_EQ(view().conflictRow()->text(), u"Overlaps “Review” 1:30\u202fPM – 2:30\u202fPM +1"_s);

    QTest::mouseClick(view().conflictRow()->showButton(), Qt::LeftButton);
    const std::vector<quickadd::PreviewRow*> rows = view().preview()->rows();
    ASSERT_EQ(rows.size(), 3u);
    EXPECT_EQ(rows[0]->item().title, u"Review"_s);
    EXPECT_TRUE(rows[0]->item().overlaps);
    clock.advance(quickadd::QuickCreateModel::kFlashSeconds);
    EXPECT_FALSE(view().model().flashID());
}

TEST_F(QuickCreateScreen, ThePlaceholderShowsWholeAtThePopoversWidth) {
    EXPECT_EQ(view().field()->shownPlaceholder(), u"Try: Lunch with Sam tomorrow 1pm 90m /work"_s);
    EXPECT_GE(view().field()->shownPlaceholderFont().pixelSize(), 11) << "shrunk only a little";
}

TEST_F(QuickCreateScreen, ALongClashingTitleGivesWayAndTheTimesStayWhole) {
    addEvent(u"Meeting with the whole platform team about the quarterly roadmap"_s, local(2026, 3, 13, 9), 30);
    type(u"Call fri 9am"_s);
    ASSERT_TRUE(view().conflictRow()->isVisible());
    const QString shown = view().conflictRow()->shownText();
    EXPECT_TRUE(shown.startsWith(u"Overlaps “"_s)) << shown.toStdString();
    EXPECT_TRUE(shown.endsWith(u"…” 9:00\u202fAM – 9:30\u202fAM"_s)) << shown.toStdString();
}

// --- Pictures -------------------------------------------------------------------------------------

TEST_F(QuickCreateScreen, LooksAsDrawnEmptyTypedAndWithAClash) {
    // Without the focus: a blinking caret would make every picture another.
    view().field()->clearFocus();
    for (const bool dark : {false, true}) {
        const QString appearance = dark ? u"dark"_s : u"light"_s;
        EXPECT_TRUE(testsupport::matchesReference(render(dark, u"quick-create-empty"_s),
                                                  u"quick-create-empty-"_s + appearance));
    }
    view().model().setText(u"Lunch tomorrow 1pm 90m /work"_s);
    for (const bool dark : {false, true}) {
        const QString appearance = dark ? u"dark"_s : u"light"_s;
        EXPECT_TRUE(testsupport::matchesReference(render(dark, u"quick-create-typed"_s),
                                                  u"quick-create-typed-"_s + appearance));
    }
    addEvent(u"Design review"_s, local(2026, 3, 11, 9), 60);
    addEvent(u"Team lunch"_s, local(2026, 3, 11, 13, 30), 60);
    addEvent(u"Call with the bank"_s, local(2026, 3, 11, 16), 30);
    QTest::mouseClick(view().conflictRow()->showButton(), Qt::LeftButton);
    for (const bool dark : {false, true}) {
        const QString appearance = dark ? u"dark"_s : u"light"_s;
        EXPECT_TRUE(testsupport::matchesReference(render(dark, u"quick-create-clash"_s),
                                                  u"quick-create-clash-"_s + appearance));
    }
}

}  // namespace
