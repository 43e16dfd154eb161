#pragma once

#include <QString>
#include <Qt>

#include <functional>

namespace app {
class AppSettings;
class AppState;
}  // namespace app
namespace store {
class CalendarStore;
}

namespace popover {

// One key press as the main screen's keyboard sees it.
struct PopoverKey {
    // Qt::Key: for a character key the upper-case code point, whatever the
    // modifiers and Caps Lock.
    int key = 0;
    Qt::KeyboardModifiers modifiers;
    // What the key types, modifiers and Caps Lock applied.
    QString text;
    // The press reached the popover's panel while that is the active window.
    bool inActivePanel = true;
    // A text field or text editor of the panel has the keyboard focus.
    bool textFieldFocused = false;
};

// The keyboard of the main screen: arrows move the selected day, Alt or Ctrl
// with left and right change the month, Return opens the day's next event, T
// goes to today, Ctrl+N, Ctrl+R, Ctrl+comma, Ctrl+Z and Ctrl+Q, and typing a
// character starts quick add with it. Escape is the status item's.
class PopoverKeyHandler {
public:
    PopoverKeyHandler() = delete;

    // Acts on the key and says whether it was used (the caller then swallows it).
    // Keys are left alone unless the main screen itself is showing in the active
    // panel and no text field has the focus. `quit` ends the application.
    static bool handle(const PopoverKey& key, store::CalendarStore& store, app::AppState& appState,
                       const app::AppSettings& settings, const std::function<void()>& quit);

    // No control, white-space or line-break character and nothing from the private
    // range some keyboards give their special keys.
    static bool isPrintable(const QString& text);

private:
    static bool handleArrow(int key, Qt::KeyboardModifiers modifiers, app::AppState& appState,
                            const app::AppSettings& settings);
    static void openNextEvent(const store::CalendarStore& store, app::AppState& appState);
    static bool handleCommand(const QString& keyText, store::CalendarStore& store, app::AppState& appState,
                              const std::function<void()>& quit);
    static bool startQuickAdd(const QString& typed, app::AppState& appState);
};

}  // namespace popover
