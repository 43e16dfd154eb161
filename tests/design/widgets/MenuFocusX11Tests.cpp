// Where the keyboard focus and its ring are after a kit menu closes. Under a real
// X server: the offscreen platform makes every menu shown the active window, so
// the focus never comes back from it as it does on a desktop.

#include "MenuResponder.h"
#include "design/widgets/FocusRing.h"
#include "design/widgets/ODMenuButton.h"

#include <QTest>
#include <QWidget>

#include <gtest/gtest.h>

#include <vector>

namespace {

using namespace design;
using testsupport::MenuResponder;

std::vector<ODMenuItem<int>> weekdays() {
    return {
        {QStringLiteral("Monday"), std::nullopt, 1},
        {QStringLiteral("Tuesday"), std::nullopt, 2},
        {QStringLiteral("Wednesday"), std::nullopt, 3},
    };
}

// The focus goes to the menu and back while it is open: what the ring showed
// before stays, so a mouse user gets none and a keyboard user keeps theirs.
TEST(MenuFocus, TheFocusRingAfterAChoiceIsTheOneTheOpeningLeft) {
    std::vector<int> chosen;
    QWidget window;
    auto* button = new ODMenuButton<int>(
        weekdays(), 1, 150, QStringLiteral("Choose…"), false, [&chosen](const int& value) { chosen.push_back(value); },
        &window);
    button->move(30, 40);
    window.resize(300, 200);
    window.show();
    window.activateWindow();
    ASSERT_TRUE(QTest::qWaitForWindowActive(&window));
    const auto ringShown = [button] {
        return button->findChild<FocusRing*>(QString(), Qt::FindDirectChildrenOnly)->isShown();
    };
    // The focus the window handed out when it opened, which shows no ring.
    ASSERT_TRUE(button->hasFocus());
    ASSERT_FALSE(ringShown());
    {
        MenuResponder responder(MenuResponder::ClickRow{}, 2);
        QTest::mouseClick(button, Qt::LeftButton);
        EXPECT_EQ(responder.opened, 1);
    }
    EXPECT_EQ(chosen, std::vector<int>{3});
    EXPECT_TRUE(button->hasFocus());
    EXPECT_FALSE(ringShown()) << "opened and chosen with the mouse";
    {
        MenuResponder responder({Qt::Key_Down, Qt::Key_Return});
        QTest::keyClick(button, Qt::Key_Space);
        EXPECT_EQ(responder.opened, 1);
    }
    EXPECT_EQ(chosen, std::vector<int>({3, 1}));
    EXPECT_TRUE(ringShown()) << "opened and chosen with the keyboard";
}

}  // namespace
