#pragma once

#include "settings/SettingsChoice.h"

#include <QString>

#include <optional>

namespace app {
class AppSettings;
}
namespace platform {
class SoundPlayer;
}

namespace settings {

// How long before a meeting its card comes up.
const SettingsChoices<double>& alertLeadChoices();
// "None", then the alert sounds in their order.
const SettingsChoices<std::optional<QString>>& alertSoundChoices();
// How long after the start the card goes by itself, or never.
const SettingsChoices<std::optional<double>>& autoDismissChoices();

// Stores the chosen sound, then plays it so that the user hears what was
// chosen: a sound that cannot play is stored all the same.
void chooseAlertSound(app::AppSettings& settings, platform::SoundPlayer& sound, const std::optional<QString>& name);
// Plays the stored sound, if any.
void previewAlertSound(const app::AppSettings& settings, platform::SoundPlayer& sound);

}  // namespace settings
