// How the kit's controls behave: keyboard use, focus rings, accessibility,
// sizes they take, and repainting when the appearance changes.

#include "design/values/AppearanceBinding.h"
#include "design/widgets/CalendarMarks.h"
#include "design/widgets/CountdownSticker.h"
#include "design/widgets/FocusRing.h"
#include "design/widgets/Keycap.h"
#include "design/widgets/ODButton.h"
#include "design/widgets/ODFont.h"
#include "design/widgets/ODIconButton.h"
#include "design/widgets/SectionHeader.h"
#include "design/widgets/TextLine.h"
#include "platform/appearance/FakeSystemAppearance.h"

#include <QAccessible>
#include <QApplication>
#include <QFontMetricsF>
#include <QHBoxLayout>
#include <QLineEdit>
#include <QSignalSpy>
#include <QTest>

#include <gtest/gtest.h>

namespace {

using namespace design;

// A window holding controls, active so that focus and keys reach them.
class Window : public QWidget {
public:
    Window() {
        m_row = new QHBoxLayout(this);
        m_row->setContentsMargins(20, 20, 20, 20);
        m_row->setSpacing(12);
    }
    template <typename W>
    W* add(W* control) {
        m_row->addWidget(control);
        return control;
    }
    void showActive() {
        show();
        activateWindow();
        ASSERT_TRUE(QTest::qWaitForWindowActive(this));
    }
    int presses = 0;

protected:
    void mousePressEvent(QMouseEvent*) override { ++presses; }

private:
    QHBoxLayout* m_row;
};

FocusRing* ringOf(QWidget* control) {
    return control->findChild<FocusRing*>(QString(), Qt::FindDirectChildrenOnly);
}

TEST(KitButtons, SpaceAndReturnClickAFocusedButton) {
    Window window;
    auto* button = window.add(new ODButton(QStringLiteral("Save")));
    auto* icon = window.add(new ODIconButton(QStringLiteral("xmark"), 24, QStringLiteral("Dismiss")));
    window.showActive();
    QSignalSpy buttonClicks(button, &QAbstractButton::clicked);
    QSignalSpy iconClicks(icon, &QAbstractButton::clicked);
    button->setFocus(Qt::TabFocusReason);
    QTest::keyClick(button, Qt::Key_Space);
    QTest::keyClick(button, Qt::Key_Return);
    QTest::keyClick(button, Qt::Key_Enter, Qt::KeypadModifier);
    EXPECT_EQ(buttonClicks.count(), 3);
    icon->setFocus(Qt::TabFocusReason);
    QTest::keyClick(icon, Qt::Key_Return);
    QTest::keyClick(icon, Qt::Key_Space);
    EXPECT_EQ(iconClicks.count(), 2);
    // A modified Return is someone else's shortcut, and a disabled button ignores keys.
    QTest::keyClick(icon, Qt::Key_Return, Qt::ControlModifier);
    button->setEnabled(false);
    QTest::keyClick(button, Qt::Key_Return);
    EXPECT_EQ(iconClicks.count(), 2);
    EXPECT_EQ(buttonClicks.count(), 3);
}

TEST(KitButtons, AClickLeavesTheFocusWhereItWas) {
    Window window;
    auto* field = window.add(new QLineEdit);
    auto* button = window.add(new ODButton(QStringLiteral("Save")));
    window.showActive();
    field->setFocus(Qt::TabFocusReason);
    QSignalSpy clicks(button, &QAbstractButton::clicked);
    QTest::mouseClick(button, Qt::LeftButton);
    EXPECT_EQ(clicks.count(), 1);
    EXPECT_TRUE(field->hasFocus());
    EXPECT_FALSE(ringOf(button)->isShown());
}

TEST(KitFocusRing, ShowsForKeyboardFocusOnly) {
    Window window;
    auto* first = window.add(new ODButton(QStringLiteral("One")));
    auto* second = window.add(new ODIconButton(QStringLiteral("plus"), 28, QStringLiteral("Add")));
    window.showActive();
    // The focus a window hands out by itself when it opens shows no ring...
    ASSERT_TRUE(first->hasFocus());
    EXPECT_FALSE(ringOf(first)->isShown());
    // ...until the keyboard is used.
    QTest::keyClick(first, Qt::Key_Tab);
    EXPECT_TRUE(second->hasFocus());
    EXPECT_FALSE(ringOf(first)->isShown());
    EXPECT_TRUE(ringOf(second)->isShown());
    QTest::keyClick(second, Qt::Key_Backtab);
    EXPECT_TRUE(ringOf(first)->isShown());
    first->clearFocus();
    EXPECT_FALSE(ringOf(first)->isShown());
    first->setFocus(Qt::ShortcutFocusReason);
    EXPECT_TRUE(ringOf(first)->isShown());
    QTest::keyClick(first, Qt::Key_Tab);
    // Clicking the focused control puts its ring away.
    QTest::mousePress(second, Qt::LeftButton);
    QTest::mouseRelease(second, Qt::LeftButton);
    EXPECT_FALSE(ringOf(second)->isShown());
    first->setFocus(Qt::MouseFocusReason);
    EXPECT_FALSE(ringOf(first)->isShown());
}

TEST(KitFocusRing, LetsClicksThroughToWhatLiesUnder) {
    Window window;
    auto* button = window.add(new ODButton(QStringLiteral("Save")));
    window.showActive();
    button->clearFocus();
    button->setFocus(Qt::TabFocusReason);
    ASSERT_TRUE(ringOf(button)->isShown());
    QSignalSpy clicks(button, &QAbstractButton::clicked);
    // Two pixels left of the button: on the ring, over the window.
    const QPoint onRing = button->geometry().topLeft() + QPoint(-2, button->height() / 2);
    QTest::mouseClick(window.windowHandle(), Qt::LeftButton, {}, onRing);
    EXPECT_EQ(window.presses, 1);
    EXPECT_EQ(clicks.count(), 0);
}

TEST(KitButtons, FullWidthStretchesAndOtherwiseHugsTheLabel) {
    Window window;
    window.resize(500, 80);
    auto* wide = window.add(new ODButton(QStringLiteral("Wide"), std::nullopt, ODButtonKind::primary,
                                         ODButtonSize::medium, true));
    auto* hugging = window.add(new ODButton(QStringLiteral("Hug")));
    window.showActive();
    EXPECT_EQ(hugging->width(), hugging->sizeHint().width());
    EXPECT_GT(wide->width(), 3 * wide->sizeHint().width());
    // An icon alone keeps the full paddings round it.
    const ODButton iconOnly(QString(), QStringLiteral("gearshape"), ODButtonKind::secondary, ODButtonSize::large);
    EXPECT_EQ(iconOnly.sizeHint(), QSize(20 + 18 + 20, 10 + 18 + 10));
    const ODButton empty(QString(), std::nullopt, ODButtonKind::secondary, ODButtonSize::small);
    EXPECT_EQ(empty.sizeHint(), QSize(20, 10));
}

TEST(KitAccessibility, ControlsSayWhatTheyAre) {
    Window window;
    auto* button = window.add(new ODButton(QStringLiteral("Add event"), QStringLiteral("plus")));
    auto* symbolOnly = window.add(new ODButton(QString(), QStringLiteral("trash")));
    auto* labelled = window.add(new ODIconButton(QStringLiteral("chevron.left"), 28, QStringLiteral("Previous month")));
    auto* unlabelled = window.add(new ODIconButton(QStringLiteral("link"), 30));
    auto* keycap = window.add(new Keycap(QStringLiteral("Ctrl")));
    auto* soon = window.add(new CountdownSticker(QStringLiteral("in 5 min")));
    auto* capital = window.add(new CountdownSticker(QStringLiteral("In 5 min")));
    auto* dot = window.add(new CalendarDot(Theme::sky()));
    auto* header = window.add(new SectionHeader(QStringLiteral("Reminders")));
    window.showActive();
    auto describe = [](QWidget* w) {
        QAccessibleInterface* a = QAccessible::queryAccessibleInterface(w);
        return std::make_pair(a->role(), a->text(QAccessible::Name));
    };
    EXPECT_EQ(describe(button), std::make_pair(QAccessible::Button, QStringLiteral("Add event")));
    EXPECT_EQ(describe(symbolOnly), std::make_pair(QAccessible::Button, QStringLiteral("trash")));
    EXPECT_EQ(describe(labelled), std::make_pair(QAccessible::Button, QStringLiteral("Previous month")));
    EXPECT_EQ(describe(unlabelled), std::make_pair(QAccessible::Button, QStringLiteral("link")));
    EXPECT_EQ(describe(keycap), std::make_pair(QAccessible::StaticText, QStringLiteral("Ctrl")));
    EXPECT_EQ(describe(soon), std::make_pair(QAccessible::StaticText, QStringLiteral("Starts in 5 min")));
    EXPECT_EQ(describe(capital), std::make_pair(QAccessible::StaticText, QStringLiteral("In 5 min")));
    EXPECT_EQ(describe(dot).first, QAccessible::Graphic);
    EXPECT_EQ(header->title(), u"REMINDERS");
}

TEST(KitSizes, PiecesTakeTheRoomTheirMetricsGive) {
    EXPECT_EQ(Keycap(QStringLiteral("I")).sizeHint().width(), 20);
    const QFontMetricsF metrics(ODFont::body(11, FontWeight::semibold));
    EXPECT_EQ(Keycap::sizeFor(QStringLiteral("Shift")).width(), metrics.horizontalAdvance(QStringLiteral("Shift")) + 12);
    EXPECT_EQ(ODIconButton(QStringLiteral("chevron.right"), 28).size(), QSize(28, 28));
    EXPECT_EQ(CalendarDot(Theme::sky(), 8).size(), QSize(8, 8));
    EXPECT_EQ(CalendarPill(Theme::sky(), 3, 14).size(), QSize(3, 14));
    QWidget large;
    large.resize(100, 40);
    design::odSquare(&large, 12);
    EXPECT_EQ(large.size(), QSize(12, 12));
}

TEST(KitSizes, ASectionHeaderKeepsItsGapWhenNarrow) {
    SectionHeader header(QStringLiteral("Calendars"));
    header.setTrailingText(QStringLiteral("12 shown"));
    header.resize(header.minimumSizeHint().width(), 20);
    header.show();
    QApplication::processEvents();
    auto* title = header.findChildren<TextLine*>().first();
    EXPECT_GE(header.trailing()->geometry().left() - title->geometry().right() - 1, SectionHeader::kMinimumGap);
}

// The whole chain: a desktop change reported by the platform reaches the Theme
// and a shown control repaints in the new colours, without a restart.
TEST(KitAppearanceChange, AShownButtonRepaintsInTheNewColours) {
    platform::FakeSystemAppearance desktop;
    design::AppearanceBinding binding(desktop);

    Window window;
    auto* button = window.add(new ODButton(QStringLiteral("Join")));
    window.showActive();
    int paints = 0;
    struct PaintCounter : QObject {
        int* count;
        explicit PaintCounter(int* c) : count(c) {}
        bool eventFilter(QObject*, QEvent* event) override {
            if (event->type() == QEvent::Paint)
                ++*count;
            return false;
        }
    } counter(&paints);
    button->installEventFilter(&counter);
    // Above the title, inside the capsule.
    auto capsuleFill = [button] { return button->grab().toImage().pixelColor(button->width() / 2, 2).rgb(); };
    EXPECT_EQ(capsuleFill(), toQColor(Theme::primary().light()).rgb());

    desktop.set({false, true, false});
    EXPECT_TRUE(QTest::qWaitFor([&] { return paints > 0; }));
    EXPECT_EQ(capsuleFill(), toQColor(Theme::primary().lightHighContrast()).rgb());

    paints = 0;
    binding.setChosenDark(true);
    EXPECT_TRUE(QTest::qWaitFor([&] { return paints > 0; }));
    EXPECT_TRUE(Theme::appearance().isDark);
    binding.setChosenDark(std::nullopt);
    desktop.set({});
    EXPECT_EQ(Theme::appearance(), Appearance{});
}

}  // namespace
