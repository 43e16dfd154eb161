#pragma once

#include "app/Preferences.h"
#include "design/Theme.h"
#include "platform/appearance/SystemAppearance.h"

#include <QObject>

namespace app {
class AppSettings;
}

namespace design {

// The appearance that follows from the user's choice and the desktop's state:
// "light" and "dark" override the desktop's scheme; contrast and motion always
// come from the desktop.
Appearance resolveAppearance(app::AppearanceMode mode, const platform::SystemAppearance::State& system);

// Keeps Theme::appearance() in step with the appearance setting and the desktop,
// from construction on. Both must outlive the binding.
class AppearanceBinding : public QObject {
    Q_OBJECT

public:
    AppearanceBinding(const app::AppSettings& settings, const platform::SystemAppearance& system,
                      QObject* parent = nullptr);

private:
    void apply();

    const app::AppSettings& m_settings;
    const platform::SystemAppearance& m_system;
};

}  // namespace design
