#include "design/values/AppearanceBinding.h"

namespace design {

Appearance resolveAppearance(std::optional<bool> chosenDark, const platform::SystemAppearance::State& system) {
    return Appearance{.isDark = chosenDark.value_or(system.isDark),
                      .increaseContrast = system.increaseContrast,
                      .reduceMotion = system.reduceMotion};
}

AppearanceBinding::AppearanceBinding(const platform::SystemAppearance& system, std::optional<bool> chosenDark,
                                     QObject* parent)
    : QObject(parent), m_system(system), m_chosenDark(chosenDark) {
    connect(&system, &platform::SystemAppearance::changed, this, &AppearanceBinding::apply);
    apply();
}

void AppearanceBinding::setChosenDark(std::optional<bool> chosenDark) {
    m_chosenDark = chosenDark;
    apply();
}

void AppearanceBinding::apply() {
    Theme::setAppearance(resolveAppearance(m_chosenDark, m_system.state()));
}

}  // namespace design
