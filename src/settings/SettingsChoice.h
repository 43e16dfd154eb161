#pragma once

#include <QString>

#include <optional>
#include <vector>

namespace settings {

// One entry of a settings menu, as its model offers it; the view turns it into
// a menu button's item.
template <typename Value>
struct SettingsChoice {
    QString title;
    std::optional<QString> detail;
    Value value;
    bool separatorBefore = false;
};

template <typename Value>
using SettingsChoices = std::vector<SettingsChoice<Value>>;

}  // namespace settings
