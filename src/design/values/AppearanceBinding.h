#pragma once

#include "design/values/Theme.h"
#include "platform/appearance/SystemAppearance.h"

#include <QObject>

#include <optional>

namespace design {

// The appearance that follows from the scheme the user chose and the desktop's state: a
// chosen scheme (true dark, false light) overrides the desktop's, none follows it;
// contrast and motion always come from the desktop.
Appearance resolveAppearance(std::optional<bool> chosenDark, const platform::SystemAppearance::State& system);

// Keeps Theme::appearance() in step with the chosen scheme and the desktop, from
// construction on. The desktop's appearance must outlive the binding.
class AppearanceBinding : public QObject {
    Q_OBJECT

public:
    explicit AppearanceBinding(const platform::SystemAppearance& system, std::optional<bool> chosenDark = std::nullopt,
                               QObject* parent = nullptr);

    void setChosenDark(std::optional<bool> chosenDark);

private:
    void apply();

    const platform::SystemAppearance& m_system;
    std::optional<bool> m_chosenDark;
};

}  // namespace design
