#pragma once

#include "platform/eventstore/PlatformTypes.h"

#include <QWidget>

namespace design {
class ODSwitch;
class SectionHeader;
class SettingsRow;
class TextBlock;
}  // namespace design

namespace platform {
class ConfigPrivacy;
}

namespace app {

// Our stand-in for the system's privacy settings: one switch each for the
// app's access to calendars and to reminders. A change is stored at once and
// reaches the app through ConfigPrivacy's announcement. Reachable at any time
// through the desktop entry's action and the app's own privacy addresses.
class PrivacySettingsWindow : public QWidget {
    Q_OBJECT

public:
    explicit PrivacySettingsWindow(platform::ConfigPrivacy& privacy, QWidget* parent = nullptr);

    // Shows the window in front, the switch of that entity focused.
    void showPane(platform::EntityType entity);

    design::ODSwitch* accessSwitch(platform::EntityType entity) const;
    // The pane the switch stands in and the label beside it, as seen.
    QString paneTitle(platform::EntityType entity) const;
    QString switchLabel(platform::EntityType entity) const;
    // The last failure, empty when the last change went through.
    QString errorText() const;

protected:
    void paintEvent(QPaintEvent* event) override;
    void showEvent(QShowEvent* event) override;

private:
    void refresh();
    void change(platform::EntityType entity, bool granted);

    platform::ConfigPrivacy& m_privacy;
    design::ODSwitch* m_switches[2];
    design::SectionHeader* m_panes[2];
    design::SettingsRow* m_rows[2];
    design::TextBlock* m_error;
};

}  // namespace app
