#include "popover/PopoverKeyHandler.h"

#include "core/CharacterClass.h"
#include "core/Clock.h"
#include "popover/AgendaSection.h"
#include "popover/MonthNavigation.h"
#include "state/AppSettings.h"
#include "state/AppState.h"
#include "store/CalendarStore.h"

namespace popover {

namespace {

// The modifiers that make a shortcut; Caps Lock is no modifier in Qt, and the
// keypad and group-switch flags say nothing about what the user meant.
constexpr Qt::KeyboardModifiers kShortcutModifiers =
    Qt::ShiftModifier | Qt::ControlModifier | Qt::AltModifier | Qt::MetaModifier;

// The key's own character, lower-cased, whatever the modifiers typed: Qt names
// a character key by its upper-case code point.
QString keyText(int key) {
    if (key < 0x20 || key > 0x10FFFF)
        return {};
    const char32_t c = static_cast<char32_t>(key);
    return QString::fromUcs4(&c, 1).toLower();
}

int dayStep(int key) {
    switch (key) {
        case Qt::Key_Left: return -1;
        case Qt::Key_Right: return 1;
        case Qt::Key_Down: return 7;
        case Qt::Key_Up: return -7;
        default: return 0;
    }
}

}  // namespace

bool PopoverKeyHandler::handle(const PopoverKey& key, store::CalendarStore& store, app::AppState& appState,
                               const app::AppSettings& settings, const std::function<void()>& quit) {
    if (!key.inActivePanel || !appState.route().is(app::PopoverRoute::Kind::main) ||
        store.eventAccess() == model::AccessStatus::notDetermined || store.isAccessDenied() || key.textFieldFocused)
        return false;

    const Qt::KeyboardModifiers modifiers = key.modifiers & kShortcutModifiers;
    if (dayStep(key.key) != 0)
        return handleArrow(key.key, modifiers, appState, settings);
    if (key.key == Qt::Key_Return || key.key == Qt::Key_Enter) {
        if (modifiers != Qt::NoModifier)
            return false;
        openNextEvent(store, appState);
        return true;
    }

    const QString text = keyText(key.key);
    if (modifiers == Qt::NoModifier && text == QLatin1String("t")) {
        appState.goToToday();
        return true;
    }
    if (modifiers == Qt::ControlModifier)
        return handleCommand(text, store, appState, quit);
    if (modifiers != Qt::NoModifier && modifiers != Qt::ShiftModifier)
        return false;
    // Shift+T stays free: only the bare key means today.
    if (text == QLatin1String("t"))
        return false;
    return startQuickAdd(key.text, appState);
}

bool PopoverKeyHandler::handleArrow(int key, Qt::KeyboardModifiers modifiers, app::AppState& appState,
                                    const app::AppSettings& settings) {
    if (modifiers.testFlag(Qt::MetaModifier))
        return false;
    const bool sideways = key == Qt::Key_Left || key == Qt::Key_Right;
    if (sideways && (modifiers.testFlag(Qt::AltModifier) || modifiers.testFlag(Qt::ControlModifier))) {
        MonthNavigation::shiftMonth(key == Qt::Key_Left ? -1 : 1, appState, settings);
        return true;
    }
    const core::Calendar calendar = settings.calendar();
    const std::optional<core::Date> moved =
        calendar.dateByAdding(core::CalendarUnit::Day, dayStep(key), appState.selectedDate());
    if (!moved)
        return true;
    appState.setSelectedDate(calendar.startOfDay(*moved));
    if (!calendar.isDate(*moved, appState.displayedMonth(), core::CalendarUnit::Month))
        appState.setDisplayedMonth(*moved);
    return true;
}

void PopoverKeyHandler::openNextEvent(const store::CalendarStore& store, app::AppState& appState) {
    const core::Calendar calendar = core::Calendar::current();
    const core::Date now = core::Clock::current().now();
    std::vector<AgendaSection> sections{AgendaSection::build(appState.selectedDate(), store, now, calendar)};
    // An evening with nothing left today opens tomorrow's first event instead.
    if (sections.front().kind == AgendaSection::Kind::today) {
        if (const auto tomorrow = calendar.dateByAdding(core::CalendarUnit::Day, 1, sections.front().date)) {
            AgendaSection next = AgendaSection::build(*tomorrow, store, now, calendar);
            if (!next.isEmpty())
                sections.push_back(std::move(next));
        }
    }
    for (const AgendaSection& section : sections) {
        if (const auto event = section.primaryEvent()) {
            appState.setRoute(app::PopoverRoute::eventEdit(event->id));
            return;
        }
    }
}

bool PopoverKeyHandler::handleCommand(const QString& keyText, store::CalendarStore& store, app::AppState& appState,
                                      const std::function<void()>& quit) {
    if (keyText == QLatin1String("n")) {
        appState.setQuickCreateText(std::nullopt);
        appState.setRoute(app::PopoverRoute::quickCreate());
    } else if (keyText == QLatin1String("r")) {
        store.refreshSources();
    } else if (keyText == QLatin1String(",")) {
        if (appState.onClosePopover)
            appState.onClosePopover();
        if (appState.onOpenSettings)
            appState.onOpenSettings(std::nullopt);
    } else if (keyText == QLatin1String("z")) {
        if (!store.undoStack().empty()) {
            // A failed undo leaves the entry in place; the key shows nothing for it.
            try {
                store.undo();
            } catch (const std::exception&) {
            }
        }
    } else if (keyText == QLatin1String("q")) {
        if (quit)
            quit();
    } else {
        return false;
    }
    return true;
}

bool PopoverKeyHandler::startQuickAdd(const QString& typed, app::AppState& appState) {
    if (typed.isEmpty() || core::chars::characterCount(typed) != 1 || !isPrintable(typed))
        return false;
    appState.setQuickCreateText(typed);
    appState.setRoute(app::PopoverRoute::quickCreate());
    return true;
}

bool PopoverKeyHandler::isPrintable(const QString& text) {
    bool printable = true;
    core::chars::forEachCodePoint(text, [&](char32_t c) {
        const bool control = QChar::category(c) == QChar::Other_Control;
        const bool privateKey = c >= 0xF700 && c <= 0xF8FF;
        if (control || privateKey || core::chars::isWhitespace(c))
            printable = false;
    });
    return printable;
}

}  // namespace popover
