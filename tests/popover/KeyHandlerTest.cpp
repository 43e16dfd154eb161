#include "PopoverTestSupport.h"
#include "core/Clock.h"
#include "platform/defaults/InMemoryUserDefaults.h"
#include "popover/PopoverKeyHandler.h"
#include "state/AppSettings.h"
#include "state/AppState.h"
#include "store/CalendarStore.h"

#include <QCoreApplication>

#include <gtest/gtest.h>

using namespace Qt::Literals::StringLiterals;
using app::PopoverRoute;
using platform::EntityType;
using popover::PopoverKey;
using popover::PopoverKeyHandler;
using popovertest::local;

namespace {

PopoverKey press(int key, Qt::KeyboardModifiers modifiers = Qt::NoModifier, const QString& text = {}) {
    return PopoverKey{key, modifiers, text};
}
// A character key: Qt names it by its upper-case letter, whatever it types.
PopoverKey typed(QChar letter, Qt::KeyboardModifiers modifiers = Qt::NoModifier) {
    const QString text = modifiers.testFlag(Qt::ShiftModifier) ? QString(letter.toUpper()) : QString(letter);
    return press(letter.toUpper().unicode(), modifiers, text);
}

// Tuesday 10 March 2026 at noon; weeks start on Monday.
class PopoverKeys : public ::testing::Test {
protected:
    PopoverKeys() {
        settings.setFirstWeekday(app::FirstWeekday::monday);
        work = ek.addCalendar(EntityType::Event, u"Work"_s, popovertest::kRed);
        appState.setSelectedDate(local(2026, 3, 10));
        appState.setDisplayedMonth(local(2026, 3, 10));
    }

    bool handle(const PopoverKey& key) {
        return PopoverKeyHandler::handle(key, store, appState, settings, [this] { ++quitCount; });
    }
    void select(core::Date day) {
        appState.setSelectedDate(day);
        appState.setDisplayedMonth(day);
    }
    void addEvent(const QString& title, core::Date start) {
        ek.addEvent(storetest::timedEvent(work, title, start, 30));
        store.reload();
    }

    core::ScopedTestClock clock{local(2026, 3, 10, 12)};
    platform::FakeEventStore ek;
    platform::PlatformCalendar work;
    platform::InMemoryUserDefaults defaults;
    app::AppSettings settings{defaults};
    app::AppState appState;
    store::CalendarStore store{ek};
    int quitCount = 0;
};

TEST_F(PopoverKeys, NothingIsTakenOutsideTheMainScreenOfTheActivePanelOrWhileATextFieldHasTheFocus) {
    const std::vector<PopoverKey> keys{typed(u't'),
                                       typed(u'a'),
                                       press(Qt::Key_Right),
                                       press(Qt::Key_Return),
                                       press(Qt::Key_N, Qt::ControlModifier),
                                       press(Qt::Key_Q, Qt::ControlModifier)};
    auto noneTaken = [&](const char* situation, auto change) {
        for (PopoverKey key : keys) {
            change(key);
            EXPECT_FALSE(handle(key)) << situation << ", key " << key.key;
        }
    };
    noneTaken("a text field has the focus", [](PopoverKey& k) { k.textFieldFocused = true; });
    noneTaken("another window is active", [](PopoverKey& k) { k.inActivePanel = false; });

    appState.setRoute(PopoverRoute::quickCreate());
    noneTaken("quick add is showing", [](PopoverKey&) {});
    appState.setRoute(PopoverRoute::main());

    for (const auto status : {platform::AuthorizationStatus::NotDetermined, platform::AuthorizationStatus::Denied,
                              platform::AuthorizationStatus::WriteOnly}) {
        ek.setAuthorizationStatus(EntityType::Event, status);
        store.reload();
        noneTaken("calendar access is missing", [](PopoverKey&) {});
    }

    EXPECT_EQ(appState.route(), PopoverRoute::main());
    EXPECT_EQ(appState.selectedDate(), local(2026, 3, 10));
    EXPECT_EQ(quitCount, 0);
}

TEST_F(PopoverKeys, ArrowsMoveTheSelectedDayAndFollowItIntoAnotherMonth) {
    select(local(2026, 3, 31));
    EXPECT_TRUE(handle(press(Qt::Key_Right)));
    EXPECT_EQ(appState.selectedDate(), local(2026, 4, 1));
    EXPECT_EQ(core::Calendar().component(core::CalendarUnit::Month, appState.displayedMonth()), 4);

    // A week down from the 18th stays in the month shown: the month is left as it was.
    select(local(2026, 3, 18));
    const core::Date shown = local(2026, 3, 2);
    appState.setDisplayedMonth(shown);
    EXPECT_TRUE(handle(press(Qt::Key_Down)));
    EXPECT_EQ(appState.selectedDate(), local(2026, 3, 25));
    EXPECT_EQ(appState.displayedMonth(), shown);
    EXPECT_TRUE(handle(press(Qt::Key_Down)));
    EXPECT_EQ(appState.selectedDate(), local(2026, 4, 1));
    EXPECT_EQ(appState.displayedMonth(), local(2026, 4, 1));

    EXPECT_TRUE(handle(press(Qt::Key_Up)));
    EXPECT_EQ(appState.selectedDate(), local(2026, 3, 25));
    EXPECT_TRUE(handle(press(Qt::Key_Left)));
    EXPECT_EQ(appState.selectedDate(), local(2026, 3, 24));
    // Shift and Alt change nothing about a step: one day, one week.
    EXPECT_TRUE(handle(press(Qt::Key_Right, Qt::ShiftModifier)));
    EXPECT_EQ(appState.selectedDate(), local(2026, 3, 25));
    EXPECT_TRUE(handle(press(Qt::Key_Down, Qt::AltModifier)));
    EXPECT_EQ(appState.selectedDate(), local(2026, 4, 1));

    // Keypad arrows without Num Lock are arrows too.
    EXPECT_TRUE(handle(press(Qt::Key_Left, Qt::KeypadModifier)));
    EXPECT_EQ(appState.selectedDate(), local(2026, 3, 31));
}

TEST_F(PopoverKeys, AltOrCtrlWithLeftAndRightChangeTheMonthAndSuperLeavesTheArrowsAlone) {
    select(local(2026, 3, 10));
    EXPECT_TRUE(handle(press(Qt::Key_Right, Qt::AltModifier)));
    EXPECT_EQ(core::Calendar().component(core::CalendarUnit::Month, appState.displayedMonth()), 4);
    EXPECT_TRUE(handle(press(Qt::Key_Right, Qt::ControlModifier)));
    EXPECT_EQ(core::Calendar().component(core::CalendarUnit::Month, appState.displayedMonth()), 5);
    EXPECT_TRUE(handle(press(Qt::Key_Left, Qt::AltModifier | Qt::ShiftModifier)));
    EXPECT_EQ(core::Calendar().component(core::CalendarUnit::Month, appState.displayedMonth()), 4);
    EXPECT_EQ(appState.selectedDate(), local(2026, 3, 10)) << "the selected day stays";

    EXPECT_FALSE(handle(press(Qt::Key_Right, Qt::MetaModifier)));
    EXPECT_FALSE(handle(press(Qt::Key_Down, Qt::MetaModifier | Qt::AltModifier)));
    EXPECT_EQ(appState.selectedDate(), local(2026, 3, 10));
}

TEST_F(PopoverKeys, TGoesToTodayAlsoWithCapsLockButShiftTIsLeftAlone) {
    select(local(2026, 5, 20));
    EXPECT_TRUE(handle(typed(u't')));
    EXPECT_EQ(appState.selectedDate(), local(2026, 3, 10));
    EXPECT_EQ(appState.displayedMonth(), local(2026, 3, 10, 12));

    // Caps Lock types a capital T without any modifier.
    select(local(2026, 5, 20));
    EXPECT_TRUE(handle(press(Qt::Key_T, Qt::NoModifier, u"T"_s)));
    EXPECT_EQ(appState.selectedDate(), local(2026, 3, 10));

    select(local(2026, 5, 20));
    EXPECT_FALSE(handle(typed(u't', Qt::ShiftModifier)));
    EXPECT_EQ(appState.selectedDate(), local(2026, 5, 20));
    EXPECT_EQ(appState.route(), PopoverRoute::main()) << "Shift+T starts no quick add";
}

TEST_F(PopoverKeys, TypingOneCharacterStartsQuickAddWithIt) {
    const std::vector<std::pair<PopoverKey, QString>> starts{
        {typed(u'a'), u"a"_s},
        {typed(u'a', Qt::ShiftModifier), u"A"_s},
        {press(Qt::Key_7, Qt::NoModifier, u"7"_s), u"7"_s},
        // An emoji (two UTF-16 units) and a letter with a combining accent are one character each.
        {press(0, Qt::NoModifier, u"\U0001F600"_s), u"\U0001F600"_s},
        {press(0, Qt::NoModifier, u"e\u0301"_s), u"e\u0301"_s},
        {press(0x439, Qt::NoModifier, u"\u0439"_s), u"\u0439"_s},
    };
    for (const auto& [key, text] : starts) {
        appState.setQuickCreateText(u"left over"_s);
        appState.setRoute(PopoverRoute::main());
        EXPECT_TRUE(handle(key)) << text.toStdString();
        EXPECT_EQ(appState.route(), PopoverRoute::quickCreate());
        EXPECT_EQ(appState.quickCreateText(), text);
    }
}

TEST_F(PopoverKeys, KeysThatTypeNoCharacterOrCarryAltOrSuperAreLeftAlone) {
    const std::vector<PopoverKey> left{
        press(Qt::Key_Space, Qt::NoModifier, u" "_s),
        press(Qt::Key_Tab, Qt::NoModifier, u"\t"_s),
        press(Qt::Key_Backspace, Qt::NoModifier, u"\b"_s),
        press(Qt::Key_Escape, Qt::NoModifier, u"\x1b"_s),
        press(Qt::Key_Delete, Qt::NoModifier, u"\x7f"_s),
        press(Qt::Key_F5),
        press(Qt::Key_Shift, Qt::ShiftModifier),
        press(0, Qt::NoModifier, u"\uF700"_s),
        press(0, Qt::NoModifier, u"ab"_s),
        typed(u'a', Qt::AltModifier),
        typed(u'a', Qt::MetaModifier),
        press(Qt::Key_Return, Qt::ShiftModifier, u"\r"_s),
        press(Qt::Key_Enter, Qt::ControlModifier | Qt::KeypadModifier, u"\r"_s),
    };
    for (const PopoverKey& key : left)
        EXPECT_FALSE(handle(key)) << "key " << key.key << " text " << key.text.toStdString();
    EXPECT_EQ(appState.route(), PopoverRoute::main());
}

TEST_F(PopoverKeys, CtrlShortcutsAndOnlyThoseAreTaken) {
    appState.setQuickCreateText(u"left over"_s);
    EXPECT_FALSE(handle(typed(u'n', Qt::ControlModifier | Qt::ShiftModifier)));
    EXPECT_TRUE(handle(typed(u'n', Qt::ControlModifier)));
    EXPECT_EQ(appState.route(), PopoverRoute::quickCreate());
    EXPECT_EQ(appState.quickCreateText(), std::nullopt) << "Ctrl+N starts empty";
    appState.setRoute(PopoverRoute::main());

    const int refreshes = ek.refreshSourcesCount();
    EXPECT_TRUE(handle(typed(u'r', Qt::ControlModifier)));
    EXPECT_EQ(ek.refreshSourcesCount(), refreshes + 1);
    EXPECT_FALSE(store.isRefreshing()) << "the reload ran to its end";

    QStringList calls;
    appState.onClosePopover = [&] { calls << u"close"_s; };
    appState.onOpenSettings = [&](std::optional<app::SettingsTab> tab) {
        calls << (tab ? u"settings at a tab"_s : u"settings"_s);
    };
    EXPECT_TRUE(handle(press(Qt::Key_Comma, Qt::ControlModifier, u","_s)));
    EXPECT_EQ(calls, (QStringList{u"close"_s, u"settings"_s}));

    EXPECT_TRUE(handle(typed(u'q', Qt::ControlModifier)));
    EXPECT_EQ(quitCount, 1);

    for (QChar other : {u'v', u'c', u'a', u'w'})
        EXPECT_FALSE(handle(typed(other, Qt::ControlModifier))) << "Ctrl+" << QString(other).toStdString();
}

TEST_F(PopoverKeys, CtrlZUndoesTheLastChangeAndIsTakenAlsoWithNothingToUndo) {
    EXPECT_TRUE(handle(typed(u'z', Qt::ControlModifier)));

    const auto list = ek.addCalendar(EntityType::Reminder, u"Inbox"_s);
    ek.addReminder(storetest::reminder(list, u"Call Mum"_s, core::DateComponents{.year = 2026, .month = 3, .day = 10}));
    store.reload();
    QCoreApplication::processEvents();
    ASSERT_EQ(store.reminders().size(), 1U);
    store.completeReminder(store.reminders().front().id);
    ASSERT_TRUE(store.reminders().empty());

    EXPECT_TRUE(handle(typed(u'z', Qt::ControlModifier)));
    QCoreApplication::processEvents();
    EXPECT_TRUE(store.undoStack().empty());
    ASSERT_EQ(store.reminders().size(), 1U);

    // A failing undo is swallowed: the key is still taken, the entry stays.
    store.completeReminder(store.reminders().front().id);
    ek.failNext(platform::FakeEventStore::Operation::SaveReminder,
                platform::EventStoreError::withDefaultMessage(platform::EventStoreError::Code::WriteFailed));
    EXPECT_TRUE(handle(typed(u'z', Qt::ControlModifier)));
    EXPECT_EQ(store.undoStack().size(), 1U);
}

TEST_F(PopoverKeys, ReturnOpensTheSelectedDaysEventAndADayOtherThanTodayNeverLooksAhead) {
    addEvent(u"Breakfast"_s, local(2026, 3, 10, 8));
    addEvent(u"Standup"_s, local(2026, 3, 11, 9, 30));
    addEvent(u"Review"_s, local(2026, 3, 12, 15));

    // Today only an event that is over: it is what Return refers to.
    select(local(2026, 3, 10));
    EXPECT_TRUE(handle(press(Qt::Key_Return, Qt::NoModifier, u"\r"_s)));
    ASSERT_TRUE(appState.route().is(PopoverRoute::Kind::eventEdit));
    EXPECT_TRUE(appState.route().eventID().contains(u"|"_s));
    EXPECT_EQ(store.event(appState.route().eventID())->title, u"Breakfast"_s);

    // A day other than today never looks at the day after.
    appState.setRoute(PopoverRoute::main());
    select(local(2026, 3, 13));
    EXPECT_TRUE(handle(press(Qt::Key_Enter, Qt::KeypadModifier, u"\r"_s)));
    EXPECT_EQ(appState.route(), PopoverRoute::main());
}

TEST_F(PopoverKeys, ReturnOnAnEmptyTodayOpensTomorrowsEventAndWithNoneIsStillTaken) {
    EXPECT_TRUE(handle(press(Qt::Key_Return, Qt::NoModifier, u"\r"_s)));
    EXPECT_EQ(appState.route(), PopoverRoute::main());

    addEvent(u"Standup"_s, local(2026, 3, 11, 9, 30));
    EXPECT_TRUE(handle(press(Qt::Key_Return, Qt::NoModifier, u"\r"_s)));
    ASSERT_TRUE(appState.route().is(PopoverRoute::Kind::eventEdit));
    EXPECT_EQ(store.event(appState.route().eventID())->title, u"Standup"_s);
}

TEST(PopoverKeyText, PrintableMeansNoControlWhiteSpaceOrSpecialKeyCharacter) {
    EXPECT_TRUE(PopoverKeyHandler::isPrintable(u"a"_s));
    EXPECT_TRUE(PopoverKeyHandler::isPrintable(u"\U0001F44D\U0001F3FD"_s));
    EXPECT_FALSE(PopoverKeyHandler::isPrintable(u"\u00A0"_s));
    EXPECT_FALSE(PopoverKeyHandler::isPrintable(u"\u2028"_s));
    EXPECT_FALSE(PopoverKeyHandler::isPrintable(u"\u0007"_s));
    EXPECT_FALSE(PopoverKeyHandler::isPrintable(u"\uF8FF"_s));
    EXPECT_TRUE(PopoverKeyHandler::isPrintable(u"\uF900"_s));
}

}  // namespace
