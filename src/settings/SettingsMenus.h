#pragma once

#include "design/widgets/ODMenuButton.h"
#include "design/widgets/SettingsRow.h"
#include "settings/SettingsChoice.h"

#include <vector>

namespace settings {

// A settings menu's entries as a menu button's items: no colour dots, all enabled.
template <typename Value>
std::vector<design::ODMenuItem<Value>> menuItems(const SettingsChoices<Value>& choices) {
    std::vector<design::ODMenuItem<Value>> items;
    items.reserve(choices.size());
    for (const SettingsChoice<Value>& choice : choices)
        items.push_back({choice.title, choice.detail, choice.value, std::nullopt, choice.separatorBefore, true});
    return items;
}

// What a tab's row leaves its controls: the window's width less the tab's
// margins, the label column and the gap after it.
inline constexpr qreal kRowControlRoom =
    560 - 2 * 28 - design::SettingsRow::kTextColumnWidth - design::SettingsRow::kColumnGap;

// A menu whose every value must read whole: it widens where the face drawn
// needs more than its width, as far as the row has room.
inline void showEveryValueWhole(design::MenuButtonControl* menu) {
    menu->fitLongestTitle(kRowControlRoom);
}

inline const QString& choosePlaceholder() {
    static const QString text = QStringLiteral("Choose\u2026");
    return text;
}

}  // namespace settings
