#pragma once

#include "settings/CustomDateFormatPopover.h"
#include "settings/GeneralSettings.h"
#include "settings/SettingsTabs.h"
#include "state/Preferences.h"

#include <QPointer>
#include <QWidget>

namespace design {
class ODSwitch;
class SettingsRow;
template <typename Value>
class ODMenuButton;
template <typename Value>
class ODSegmented;
}  // namespace design

namespace settings {

// The General tab: what the tray shows and how it writes the date, the
// countdown to the next meeting, the appearance, week numbers, the first day
// of the week and launch at login. Every control writes its setting at once.
class GeneralSettingsView : public QWidget {
    Q_OBJECT

public:
    explicit GeneralSettingsView(const SettingsTabContext& context, QWidget* parent = nullptr);

    design::ODSegmented<app::MenuBarDisplayMode>& displayMode() const { return *m_displayMode; }
    design::ODMenuButton<app::DateFormatPreset>& dateFormat() const { return *m_dateFormat; }
    design::ODSwitch& countdownSwitch() const { return *m_countdown; }
    design::ODMenuButton<double>& countdownLead() const { return *m_countdownLead; }
    design::ODSegmented<app::AppearanceMode>& appearance() const { return *m_appearance; }
    design::ODSwitch& weekNumbers() const { return *m_weekNumbers; }
    design::ODMenuButton<app::FirstWeekday>& firstWeekday() const { return *m_firstWeekday; }
    design::ODSwitch& launchAtLoginSwitch() const { return *m_launchAtLogin; }
    design::SettingsRow& launchAtLoginRow() const { return *m_launchAtLoginRow; }
    // The custom pattern's pop-over while it is open.
    CustomDateFormatPopover* customFormatPopover() const { return m_popover; }

    // Opens the custom pattern's pop-over under the date format button.
    void showCustomFormat();

protected:
    void showEvent(QShowEvent* event) override;

private:
    void refresh();

    app::AppSettings& m_settings;
    LaunchAtLogin m_login;
    design::ODSegmented<app::MenuBarDisplayMode>* m_displayMode;
    design::ODMenuButton<app::DateFormatPreset>* m_dateFormat;
    design::ODSwitch* m_countdown;
    design::ODMenuButton<double>* m_countdownLead;
    design::ODSegmented<app::AppearanceMode>* m_appearance;
    design::ODSwitch* m_weekNumbers;
    design::ODMenuButton<app::FirstWeekday>* m_firstWeekday;
    design::ODSwitch* m_launchAtLogin;
    design::SettingsRow* m_launchAtLoginRow;
    QPointer<CustomDateFormatPopover> m_popover;
};

}  // namespace settings
