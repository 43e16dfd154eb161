#pragma once

#include "settings/SettingsTabs.h"

#include <QString>
#include <QWidget>

#include <optional>

namespace app {
class AppSettings;
}
namespace design {
class ODIconButton;
class ODSwitch;
class SettingsRow;
template <typename Value>
class ODMenuButton;
}  // namespace design

namespace settings {

// The Notifications tab: the meeting card, how long before the start it comes,
// whether only meetings with a link get one, its sound and when it goes by
// itself. The rows that depend on the card stay disabled while it is off.
class NotificationsSettingsView : public QWidget {
    Q_OBJECT

public:
    explicit NotificationsSettingsView(const SettingsTabContext& context, QWidget* parent = nullptr);

    design::ODSwitch& alertSwitch() const { return *m_alerts; }
    design::ODMenuButton<double>& leadTime() const { return *m_lead; }
    design::ODSwitch& onlyWithLink() const { return *m_onlyWithLink; }
    design::ODMenuButton<std::optional<QString>>& sound() const { return *m_sound; }
    design::ODIconButton& previewButton() const { return *m_preview; }
    design::ODMenuButton<std::optional<double>>& autoDismiss() const { return *m_dismiss; }
    // The rows that follow the card's switch.
    QList<design::SettingsRow*> dependentRows() const { return m_dependentRows; }

private:
    void refresh();

    app::AppSettings& m_settings;
    design::ODSwitch* m_alerts;
    design::ODMenuButton<double>* m_lead;
    design::ODSwitch* m_onlyWithLink;
    design::ODMenuButton<std::optional<QString>>* m_sound;
    design::ODIconButton* m_preview;
    design::ODMenuButton<std::optional<double>>* m_dismiss;
    QList<design::SettingsRow*> m_dependentRows;
};

}  // namespace settings
