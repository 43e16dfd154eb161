#pragma once

#include "design/widgets/ODMenuButton.h"
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

inline const QString& choosePlaceholder() {
    static const QString text = QStringLiteral("Choose\u2026");
    return text;
}

}  // namespace settings
