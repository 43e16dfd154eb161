#include "settings/NotificationsSettingsView.h"

#include "design/widgets/KitWidget.h"
#include "design/widgets/ODIconButton.h"
#include "design/widgets/ODSwitch.h"
#include "design/widgets/SettingsRow.h"
#include "settings/NotificationSettings.h"
#include "settings/SettingsMenus.h"
#include "state/AppEnvironment.h"
#include "state/AppSettings.h"
#include "state/PlatformWords.h"

#include <QVBoxLayout>

using namespace Qt::Literals::StringLiterals;

namespace settings {

NotificationsSettingsView::NotificationsSettingsView(const SettingsTabContext& context, QWidget* parent)
    : QWidget(parent), m_settings(context.environment.settings) {
    app::AppSettings& settings = m_settings;
    platform::SoundPlayer& player = context.sound;
    auto* column = new QVBoxLayout(this);
    column->setContentsMargins(28, 16, 28, 0);
    column->setSpacing(10);

    m_alerts = new design::ODSwitch(settings.meetingAlertsEnabled());
    connect(m_alerts, &design::ODSwitch::clicked, this, [&settings](bool on) { settings.setMeetingAlertsEnabled(on); });
    m_lead = new design::ODMenuButton<double>(menuItems(alertLeadChoices()), settings.alertLeadTime(), 140,
                                              choosePlaceholder(), false,
                                              [&settings](double lead) { settings.setAlertLeadTime(lead); });
    showEveryValueWhole(m_lead);
    column->addWidget(new design::SettingsRow(u"Meeting alert"_s, u"Card under the "_s + app::words::menuBar(),
                                              QList<QWidget*>{m_alerts, m_lead}));

    m_onlyWithLink = new design::ODSwitch(settings.alertOnlyWithLink());
    connect(m_onlyWithLink, &design::ODSwitch::clicked, this,
            [&settings](bool on) { settings.setAlertOnlyWithLink(on); });
    m_dependentRows << new design::SettingsRow(u"Only meetings with a link"_s, std::nullopt, m_onlyWithLink);

    m_sound = new design::ODMenuButton<std::optional<QString>>(
        menuItems(alertSoundChoices()), settings.alertSound(), 120, choosePlaceholder(), false,
        [&settings, &player](const std::optional<QString>& name) { chooseAlertSound(settings, player, name); });
    showEveryValueWhole(m_sound);
    m_preview = new design::ODIconButton(u"speaker.wave.2"_s, 26, u"Preview sound"_s);
    m_preview->setToolTip(design::plainToolTip(u"Preview"_s));
    connect(m_preview, &QAbstractButton::clicked, this,
            [&settings, &player] { previewAlertSound(settings, player); });
    m_dependentRows << new design::SettingsRow(u"Sound"_s, std::nullopt, QList<QWidget*>{m_sound, m_preview});

    m_dismiss = new design::ODMenuButton<std::optional<double>>(
        menuItems(autoDismissChoices()), settings.alertAutoDismissAfter(), 160, choosePlaceholder(), false,
        [&settings](const std::optional<double>& after) { settings.setAlertAutoDismissAfter(after); });
    showEveryValueWhole(m_dismiss);
    m_dependentRows << new design::SettingsRow(u"Auto-dismiss"_s, u"After the meeting starts"_s, m_dismiss);

    for (design::SettingsRow* row : m_dependentRows)
        column->addWidget(row);

    connect(&settings, &app::AppSettings::meetingAlertsEnabledChanged, this, &NotificationsSettingsView::refresh);
    connect(&settings, &app::AppSettings::alertLeadTimeChanged, this, &NotificationsSettingsView::refresh);
    connect(&settings, &app::AppSettings::alertOnlyWithLinkChanged, this, &NotificationsSettingsView::refresh);
    connect(&settings, &app::AppSettings::alertSoundChanged, this, &NotificationsSettingsView::refresh);
    connect(&settings, &app::AppSettings::alertAutoDismissAfterChanged, this, &NotificationsSettingsView::refresh);
    refresh();
}

void NotificationsSettingsView::refresh() {
    const bool on = m_settings.meetingAlertsEnabled();
    m_alerts->setOn(on);
    m_lead->setSelection(m_settings.alertLeadTime());
    m_lead->setEnabled(on);
    m_onlyWithLink->setOn(m_settings.alertOnlyWithLink());
    m_sound->setSelection(m_settings.alertSound());
    m_preview->setEnabled(m_settings.alertSound().has_value());
    m_dismiss->setSelection(m_settings.alertAutoDismissAfter());
    for (design::SettingsRow* row : m_dependentRows)
        row->setEnabled(on);
}

}  // namespace settings
