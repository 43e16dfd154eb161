#pragma once

#include "core/Color.h"
#include "design/widgets/KitMenu.h"

#include <QString>

#include <functional>
#include <memory>
#include <optional>
#include <vector>

namespace design {

// One entry of a pop-up menu.
struct PopupMenuItem {
    QString title;
    // Shows a round dot of this colour before the title (a calendar's colour).
    std::optional<core::Color> color;
    bool checked = false;
    // A separator line; the other fields are ignored.
    bool isSeparator = false;
    std::function<void()> action;
};

// A menu of choices opened at the mouse pointer, for the chips that pick a
// calendar, a list, an alert or a priority. Every entry is enabled.
class PopupMenu {
public:
    PopupMenu() = delete;

    // Shows the menu with its top-left corner at the pointer, no entry under it;
    // returns when the menu has closed, after the chosen entry's action ran.
    static void show(const std::vector<PopupMenuItem>& items);
    // The menu show() opens, not yet shown.
    static std::unique_ptr<KitMenu> build(const std::vector<PopupMenuItem>& items);
};

}  // namespace design
