#include "design/AppearanceBinding.h"

#include "app/AppSettings.h"

namespace design {

Appearance resolveAppearance(app::AppearanceMode mode, const platform::SystemAppearance::State& system) {
    Appearance appearance;
    switch (mode) {
        case app::AppearanceMode::light:
            appearance.isDark = false;
            break;
        case app::AppearanceMode::dark:
            appearance.isDark = true;
            break;
        case app::AppearanceMode::system:
            appearance.isDark = system.isDark;
            break;
    }
    appearance.increaseContrast = system.increaseContrast;
    appearance.reduceMotion = system.reduceMotion;
    return appearance;
}

AppearanceBinding::AppearanceBinding(const app::AppSettings& settings, const platform::SystemAppearance& system,
                                     QObject* parent)
    : QObject(parent), m_settings(settings), m_system(system) {
    connect(&settings, &app::AppSettings::appearanceChanged, this, &AppearanceBinding::apply);
    connect(&system, &platform::SystemAppearance::changed, this, &AppearanceBinding::apply);
    apply();
}

void AppearanceBinding::apply() {
    Theme::setAppearance(resolveAppearance(m_settings.appearance(), m_system.state()));
}

}  // namespace design
