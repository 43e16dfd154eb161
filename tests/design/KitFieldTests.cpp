// The kit's line field, plain buttons and the pieces of field cards and their
// pop-overs: what a screen relies on when it places them.

#include "design/ODFont.h"
#include "design/ODTextField.h"
#include "design/PlainKeycapButton.h"

#include <QApplication>
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
    close.setAccessibleName(u"Close"_s);
    EXPECT_EQ(close.accessibleName(), u"Close"_s);
    EXPECT_GT(details.sizeHint().width(), close.sizeHint().width() + 40);
}

}  // namespace
