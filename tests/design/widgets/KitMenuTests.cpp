// The kit's menus: what a menu built from entries holds, and that choosing in
// an open menu, by mouse, arrows, Return, Escape or typing, runs what it should
// exactly once. Menus are opened without blocking (popup) and driven by events.

#include "MenuResponder.h"
#include "design/values/Theme.h"
#include "design/widgets/KitWidget.h"
#include "design/widgets/ODMenuButton.h"
#include "design/widgets/Painting.h"
#include "design/widgets/PopupMenu.h"

#include <QAccessible>
#include <QApplication>
#include <QCursor>
#include <QImage>
#include <QKeyEvent>
#include <QTest>

#include <gtest/gtest.h>

#include <memory>
#include <vector>

namespace {

using namespace design;

struct Choices {
    std::vector<int> chosen;
    std::function<void(const int&)> recorder() {
        return [this](const int& value) { chosen.push_back(value); };
    }
};

// 1 Monday (checked twice over), separator, 2 Tuesday (disabled), 3 Wednesday, 4 Friday.
std::vector<ODMenuItem<int>> weekdays() {
    return {
        {QStringLiteral("Monday"), QStringLiteral("Mon"), 1, Theme::sky(), true},
        {QStringLiteral("Tuesday"), std::nullopt, 2, std::nullopt, false, false},
        {QStringLiteral("Wednesday"), std::nullopt, 3},
        {QStringLiteral("Friday & weekend"), std::nullopt, 4, std::nullopt, true},
    };
}

QList<QAction*> rowsOf(const QMenu& menu) {
    QList<QAction*> rows;
    for (QAction* action : menu.actions())
        if (!action->isSeparator())
            rows << action;
    return rows;
}

QList<bool> separatorPattern(const QMenu& menu) {
    QList<bool> pattern;
    for (QAction* action : menu.actions())
        pattern << action->isSeparator();
    return pattern;
}

QString accessibleValue(QWidget* widget) {
    return QAccessible::queryAccessibleInterface(widget)->text(QAccessible::Value);
}

// Opens the menu as a click would, without waiting for it to close.
void openWithoutBlocking(QMenu& menu) {
    menu.popup(QPoint(100, 100));
    ASSERT_TRUE(QTest::qWaitForWindowExposed(&menu));
}

TEST(PopupMenus, HoldTheirEntriesInOrderAllEnabled) {
    int runs = 0;
    const std::vector<PopupMenuItem> items{
        {QStringLiteral("Work"), Theme::sky(), true, false, [&runs] { runs += 1; }},
        {QStringLiteral("Shown as a line only"), Theme::flame(), true, true, [&runs] { runs += 100; }},
        {QStringLiteral("Home"), std::nullopt, false, false, [&runs] { runs += 10; }},
        {QStringLiteral("Home"), std::nullopt, false, false, [&runs] { runs += 1000; }},
    };
    const std::unique_ptr<KitMenu> menu = PopupMenu::build(items);
    EXPECT_EQ(separatorPattern(*menu), QList<bool>({false, true, false, false}));
    const QList<QAction*> rows = rowsOf(*menu);
    ASSERT_EQ(rows.size(), 3);
    EXPECT_TRUE(rows[0]->isChecked());
    EXPECT_FALSE(rows[1]->isChecked());
    EXPECT_FALSE(rows[0]->icon().isNull());  // the colour dot
    EXPECT_TRUE(rows[1]->icon().isNull());
    for (QAction* row : rows)
        EXPECT_TRUE(row->isEnabled());
    // Two entries of one title each run their own action; triggering the
    // checked entry again still runs it.
    rows[2]->trigger();
    rows[1]->trigger();
    rows[0]->trigger();
    EXPECT_EQ(runs, 1011);

    EXPECT_TRUE(PopupMenu::build({})->actions().isEmpty());
}

TEST(PopupMenus, ShowTitlesAsTheyStand) {
    const std::unique_ptr<KitMenu> menu = PopupMenu::build({{QStringLiteral("R&D\tteam")}});
    QAction* row = menu->actions().first();
    EXPECT_EQ(menu->row(row)->title, u"R&D\tteam");
    // No letter is taken for a shortcut, and assistive technologies read the title.
    EXPECT_TRUE(QKeySequence::mnemonic(row->text()).isEmpty());
    QAccessibleInterface* accessible = QAccessible::queryAccessibleInterface(menu.get());
    ASSERT_EQ(accessible->childCount(), 1);
    EXPECT_EQ(accessible->child(0)->text(QAccessible::Name), u"R&D\tteam");
}

TEST(MenuButtons, ShowTheFirstMatchingItemAndCheckEveryMatch) {
    std::vector<ODMenuItem<int>> items = weekdays();
    items.push_back({QStringLiteral("Monday again"), std::nullopt, 1});
    ODMenuButton<int> button(items, 1, 150, QStringLiteral("Choose…"), false, {});
    EXPECT_EQ(button.currentIndex(), 0u);
    EXPECT_EQ(accessibleValue(&button), u"Monday");
    std::unique_ptr<KitMenu> menu = button.buildMenu();
    QList<bool> checks;
    for (QAction* row : rowsOf(*menu))
        checks << row->isChecked();
    EXPECT_EQ(checks, QList<bool>({true, false, false, false, true}));

    // No item has the value: the placeholder, and nothing checked.
    button.setSelection(9);
    EXPECT_FALSE(button.currentIndex().has_value());
    EXPECT_EQ(accessibleValue(&button), u"Choose…");
    menu = button.buildMenu();
    for (QAction* row : rowsOf(*menu))
        EXPECT_FALSE(row->isChecked()) << row->text().toStdString();

    // A disabled item holding the value is still the one shown, and checked.
    button.setSelection(2);
    EXPECT_EQ(button.currentIndex(), 1u);
    menu = button.buildMenu();
    EXPECT_TRUE(rowsOf(*menu)[1]->isChecked());
    EXPECT_FALSE(rowsOf(*menu)[1]->isEnabled());
}

TEST(MenuButtons, BuildTheirMenuWithSeparatorsDisabledItemsAndTheirWidth) {
    ODMenuButton<int> button(weekdays(), 3, 150, QStringLiteral("Choose…"), false, {});
    const std::unique_ptr<KitMenu> menu = button.buildMenu();
    // A separator before the first item too.
    EXPECT_EQ(separatorPattern(*menu), QList<bool>({true, false, false, false, true, false}));
    QList<bool> enabled;
    for (QAction* row : rowsOf(*menu))
        enabled << row->isEnabled();
    EXPECT_EQ(enabled, QList<bool>({true, false, true, true}));
    EXPECT_EQ(menu->row(rowsOf(*menu)[0])->detail, u"Mon");
    EXPECT_EQ(menu->minimumWidth(), 150);
    EXPECT_GE(menu->sizeHint().width(), 150);

    // Details end 40 before the wider of 220 and the width.
    EXPECT_EQ(MenuButtonControl::detailStop(150), 180);
    EXPECT_EQ(MenuButtonControl::detailStop(300), 260);
    // As wide as the button when nothing needs more...
    ODMenuButton<int> wide({{QStringLiteral("Short"), std::nullopt, 1}}, 1, 400, QString(), false, {});
    EXPECT_EQ(wide.buildMenu()->sizeHint().width(), 400);
    // ...and room for details ending at their stop, past the titles' start.
    wide.setItems({{QStringLiteral("Short"), QStringLiteral("S"), 1}});
    const std::unique_ptr<KitMenu> detailed = wide.buildMenu();
    EXPECT_GE(detailed->actionGeometry(detailed->actions().first()).width(), detailed->titleLeft() + 360);
    EXPECT_GE(menu->actionGeometry(rowsOf(*menu)[0]).width(), menu->titleLeft() + 180);
}

// The rightmost pixel of a row that is not the menu's own background.
int rightmostInk(const QImage& image, const QRect& row) {
    const QRgb background = toQColor(Theme::card()).rgb();
    int rightmost = -1;
    for (int y = row.top(); y <= row.bottom(); ++y)
        for (int x = row.left(); x <= row.right() - 2; ++x)
            if (image.pixel(x, y) != background)
                rightmost = std::max(rightmost, x);
    return rightmost;
}

TEST(MenuButtons, DetailsOfEveryRowEndAtOneStop) {
    std::vector<ODMenuItem<int>> items{{QStringLiteral("12/03/24"), QStringLiteral("Short"), 1},
                                       {QStringLiteral("Tue 12 Mar"), QStringLiteral("Medium"), 2},
                                       {QStringLiteral("No detail"), std::nullopt, 3}};
    ODMenuButton<int> button(items, 1, 150, QString(), false, {});
    auto detailEnds = [&button] {
        const std::unique_ptr<KitMenu> menu = button.buildMenu();
        menu->resize(menu->sizeHint());
        QImage image(menu->size(), QImage::Format_RGB32);
        menu->render(&image);
        std::vector<int> ends;
        for (QAction* row : rowsOf(*menu))
            ends.push_back(rightmostInk(image, menu->actionGeometry(row)) - menu->actionGeometry(row).left() -
                           static_cast<int>(menu->titleLeft()));
        return ends;
    };
    // At the stop, 180 past the titles' start.
    std::vector<int> ends = detailEnds();
    EXPECT_NEAR(ends[0], 180, 2);
    EXPECT_NEAR(ends[1], ends[0], 1);
    EXPECT_LT(ends[2], 120);
    // A title and detail too long for the stop move it out for every row.
    items[1].title = QStringLiteral("Tuesday, 12 March 2024, 10:45");
    button.setItems(items);
    ends = detailEnds();
    EXPECT_GT(ends[1], 200);
    EXPECT_NEAR(ends[0], ends[1], 1);
}

TEST(MenuButtons, AChoiceByMouseReachesTheCallerOnce) {
    Choices choices;
    ODMenuButton<int> button(weekdays(), 1, 150, QStringLiteral("Choose…"), false, choices.recorder());
    std::unique_ptr<KitMenu> menu = button.buildMenu();
    openWithoutBlocking(*menu);
    QAction* wednesday = rowsOf(*menu)[2];
    QTest::mouseClick(menu.get(), Qt::LeftButton, {}, menu->actionGeometry(wednesday).center());
    EXPECT_EQ(choices.chosen, std::vector<int>{3});
    EXPECT_FALSE(menu->isVisible());
    // The button shows only what its caller selects.
    EXPECT_EQ(button.selection(), 1);

    // A disabled item cannot be chosen.
    menu = button.buildMenu();
    openWithoutBlocking(*menu);
    QTest::mouseClick(menu.get(), Qt::LeftButton, {}, menu->actionGeometry(rowsOf(*menu)[1]).center());
    EXPECT_EQ(choices.chosen, std::vector<int>{3});
}

TEST(MenuButtons, TheKeyboardWalksPastSeparatorsAndDisabledItems) {
    Choices choices;
    ODMenuButton<int> button(weekdays(), 1, 150, QStringLiteral("Choose…"), false, choices.recorder());
    std::unique_ptr<KitMenu> menu = button.buildMenu();
    openWithoutBlocking(*menu);
    QTest::keyClick(menu.get(), Qt::Key_Down);
    EXPECT_EQ(menu->activeAction(), rowsOf(*menu)[0]);
    QTest::keyClick(menu.get(), Qt::Key_Down);  // over Tuesday, which is disabled
    EXPECT_EQ(menu->activeAction(), rowsOf(*menu)[2]);
    QTest::keyClick(menu.get(), Qt::Key_Down);  // over the separator
    EXPECT_EQ(menu->activeAction(), rowsOf(*menu)[3]);
    QTest::keyClick(menu.get(), Qt::Key_Return);
    EXPECT_EQ(choices.chosen, std::vector<int>{4});

    // Escape chooses nothing.
    menu = button.buildMenu();
    openWithoutBlocking(*menu);
    QTest::keyClick(menu.get(), Qt::Key_Down);
    QTest::keyClick(menu.get(), Qt::Key_Escape);
    EXPECT_FALSE(menu->isVisible());
    EXPECT_EQ(choices.chosen, std::vector<int>{4});

    // Choosing the current value again still reports it.
    menu = button.buildMenu();
    openWithoutBlocking(*menu);
    QTest::keyClick(menu.get(), Qt::Key_Down);
    QTest::keyClick(menu.get(), Qt::Key_Space);
    EXPECT_EQ(choices.chosen, std::vector<int>({4, 1}));
}

TEST(MenuButtons, TypingSelectsTheFirstEnabledTitleThatStartsWithIt) {
    Choices choices;
    std::vector<ODMenuItem<int>> items = weekdays();
    items.push_back({QStringLiteral("Thursday"), std::nullopt, 5});
    items.push_back({QStringLiteral("Friday again"), std::nullopt, 6});
    ODMenuButton<int> button(items, 1, 150, QStringLiteral("Choose…"), false, choices.recorder());
    std::unique_ptr<KitMenu> menu = button.buildMenu();
    openWithoutBlocking(*menu);
    const QList<QAction*> rows = rowsOf(*menu);
    auto type = [&menu](const QString& text, ulong at) {
        QKeyEvent event(QEvent::KeyPress, 0, Qt::NoModifier, text);
        event.setTimestamp(at);
        QApplication::sendEvent(menu.get(), &event);
    };
    type(QStringLiteral("t"), 1000);  // Tuesday is disabled
    EXPECT_EQ(menu->activeAction(), rows[4]);
    type(QStringLiteral("W"), 1100);  // "tW" matches nothing: a new search for "W"
    EXPECT_EQ(menu->activeAction(), rows[2]);
    type(QStringLiteral("f"), 5000);  // after a pause, a new search
    EXPECT_EQ(menu->activeAction(), rows[3]);
    type(QStringLiteral("r"), 5100);
    type(QStringLiteral("i"), 5200);
    type(QStringLiteral("d"), 5300);
    type(QStringLiteral("a"), 5400);
    type(QStringLiteral("y"), 5500);
    type(QStringLiteral(" "), 5600);  // a space inside a search is a letter
    type(QStringLiteral("a"), 5700);
    EXPECT_EQ(menu->activeAction(), rows[5]);
    EXPECT_TRUE(choices.chosen.empty());
    QTest::keyClick(menu.get(), Qt::Key_Return);
    EXPECT_EQ(choices.chosen, std::vector<int>{6});
}

using testsupport::MenuResponder;

TEST(MenuButtons, AClickOpensTheMenuUnderTheFieldAndReturnsWhenItCloses) {
    Choices choices;
    QWidget window;
    auto* button = new ODMenuButton<int>(weekdays(), 1, 150, QStringLiteral("Choose…"), false, choices.recorder(),
                                         &window);
    button->move(30, 40);
    window.resize(300, 200);
    window.show();
    ASSERT_TRUE(QTest::qWaitForWindowExposed(&window));
    {
        MenuResponder responder({Qt::Key_Down, Qt::Key_Down, Qt::Key_Return});
        QTest::mouseClick(button, Qt::LeftButton);
        EXPECT_EQ(responder.opened, 1);
        EXPECT_EQ(responder.geometry.topLeft(), button->mapToGlobal(QPoint(0, button->height() + 4)));
        EXPECT_GE(responder.geometry.width(), 150);
    }
    EXPECT_EQ(choices.chosen, std::vector<int>{3});
    // Space and Return open it from the keyboard.
    button->setFocus(Qt::TabFocusReason);
    for (Qt::Key key : {Qt::Key_Space, Qt::Key_Return}) {
        MenuResponder responder({Qt::Key_Escape});
        QTest::keyClick(button, key);
        EXPECT_EQ(responder.opened, 1);
    }
    EXPECT_EQ(choices.chosen, std::vector<int>{3});
}

TEST(PopupMenus, OpenAtThePointerAndReturnOnceClosed) {
    std::vector<QString> runs;
    const std::vector<PopupMenuItem> items{
        {QStringLiteral("Low"), std::nullopt, false, false, [&runs] { runs.push_back(QStringLiteral("low")); }},
        {QStringLiteral("High"), std::nullopt, true, false, [&runs] { runs.push_back(QStringLiteral("high")); }},
    };
    QCursor::setPos(QPoint(210, 130));
    const QPoint pointer = QCursor::pos();
    {
        MenuResponder responder({Qt::Key_Down, Qt::Key_Down, Qt::Key_Return});
        PopupMenu::show(items);
        EXPECT_EQ(responder.opened, 1);
        EXPECT_EQ(responder.geometry.topLeft(), pointer);
    }
    EXPECT_EQ(runs, std::vector<QString>{QStringLiteral("high")});
    {
        MenuResponder responder({Qt::Key_Down, Qt::Key_Escape});
        PopupMenu::show(items);
        EXPECT_EQ(responder.opened, 1);
    }
    EXPECT_EQ(runs.size(), 1u);
}

TEST(PopupMenus, WithoutEntriesShowNothingAndReturnAtOnce) {
    // Escape closes a menu that opens all the same, so that the test ends.
    MenuResponder responder({Qt::Key_Escape});
    PopupMenu::show({});
    EXPECT_EQ(responder.opened, 0);
    ODMenuButton<int> button({}, 0, 150, QStringLiteral("Choose…"), false, {});
    button.show();
    button.click();
    EXPECT_EQ(responder.opened, 0);
}

TEST(MenuButtons, AChoiceMayRemoveTheButtonThatOpenedTheMenu) {
    auto window = std::make_unique<QWidget>();
    std::vector<int> chosen;
    auto* button = new ODMenuButton<int>(weekdays(), 1, 150, QStringLiteral("Choose…"), false,
                                         [&](const int& value) {
                                             chosen.push_back(value);
                                             window.reset();  // a settings window rebuilt on change, say
                                         },
                                         window.get());
    window->show();
    ASSERT_TRUE(QTest::qWaitForWindowExposed(window.get()));
    MenuResponder responder({Qt::Key_Down, Qt::Key_Return});
    button->click();
    EXPECT_EQ(chosen, std::vector<int>{1});
    EXPECT_EQ(window, nullptr);
}

TEST(MenuButtons, SayTheirChoiceToAssistiveTechnologies) {
    ODMenuButton<int> button(weekdays(), 3, 150, QStringLiteral("Choose…"), false, {});
    QAccessibleInterface* accessible = QAccessible::queryAccessibleInterface(&button);
    EXPECT_EQ(accessible->role(), QAccessible::ComboBox);
    EXPECT_EQ(accessible->text(QAccessible::Value), u"Wednesday");
    button.setSelection(4);
    EXPECT_EQ(accessible->text(QAccessible::Value), u"Friday & weekend");
}

}  // namespace
