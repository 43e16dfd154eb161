#include "settings/NotificationSettings.h"

#include "platform/sound/SoundPlayer.h"
#include "state/AppSettings.h"

using namespace Qt::Literals::StringLiterals;

namespace settings {

const SettingsChoices<double>& alertLeadChoices() {
    static const SettingsChoices<double> choices{{u"At start"_s, std::nullopt, 0},
                                                 {u"1 min before"_s, std::nullopt, 60},
                                                 {u"2 min before"_s, std::nullopt, 120},
                                                 {u"5 min before"_s, std::nullopt, 300},
                                                 {u"10 min before"_s, std::nullopt, 600},
                                                 {u"15 min before"_s, std::nullopt, 900}};
    return choices;
}

const SettingsChoices<std::optional<QString>>& alertSoundChoices() {
    static const SettingsChoices<std::optional<QString>> choices = [] {
        SettingsChoices<std::optional<QString>> made{{u"None"_s, std::nullopt, std::nullopt}};
        for (const QString& name : platform::alertSoundNames())
            made.push_back({name, std::nullopt, name, made.size() == 1});
        return made;
    }();
    return choices;
}

const SettingsChoices<std::optional<double>>& autoDismissChoices() {
    static const SettingsChoices<std::optional<double>> choices{{u"1 min after start"_s, std::nullopt, 60.0},
                                                                {u"5 min after start"_s, std::nullopt, 300.0},
                                                                {u"10 min after start"_s, std::nullopt, 600.0},
                                                                {u"Never"_s, std::nullopt, std::nullopt}};
    return choices;
}

void chooseAlertSound(app::AppSettings& settings, platform::SoundPlayer& sound, const std::optional<QString>& name) {
    settings.setAlertSound(name);
    if (name)
        sound.play(*name);
}

void previewAlertSound(const app::AppSettings& settings, platform::SoundPlayer& sound) {
    if (const std::optional<QString>& name = settings.alertSound())
        sound.play(*name);
}

}  // namespace settings
