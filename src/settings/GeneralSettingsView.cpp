#include "settings/GeneralSettingsView.h"

#include "core/Calendar.h"
#include "design/widgets/Hairline.h"
#include "design/widgets/ODSegmented.h"
#include "design/widgets/ODSwitch.h"
#include "design/widgets/SettingsNote.h"
#include "design/widgets/SettingsRow.h"
#include "settings/CustomDateFormatPopover.h"
#include "settings/SettingsMenus.h"
#include "state/AppEnvironment.h"
#include "state/AppSettings.h"
#include "state/PlatformWords.h"

#include <QVBoxLayout>

using namespace Qt::Literals::StringLiterals;

namespace settings {

namespace {

constexpr QMargins kPadding{28, 16, 28, 0};

QString trayAtStart() {
    const QString tray = app::words::menuBar();
    return tray.left(1).toUpper() + tray.mid(1);
}

}  // namespace

GeneralSettingsView::GeneralSettingsView(const SettingsTabContext& context, QWidget* parent)
    : QWidget(parent),
      m_settings(context.environment.settings),
      m_login(context.environment.settings, context.loginItem) {
    app::AppSettings& settings = m_settings;
    auto* column = new QVBoxLayout(this);
    column->setContentsMargins(kPadding);
    column->setSpacing(10);

    m_displayMode = new design::ODSegmented<app::MenuBarDisplayMode>(
        {{app::MenuBarDisplayMode::icon, u"Icon"_s, u"calendar"_s},
         {app::MenuBarDisplayMode::date, u"Date"_s, u"textformat"_s},
         {app::MenuBarDisplayMode::dateAndNext, u"Date + next"_s, u"sparkles"_s}},
        settings.menuBarDisplayMode(), [&settings](app::MenuBarDisplayMode mode) { settings.setMenuBarDisplayMode(mode); });
    column->addWidget(new design::SettingsRow(trayAtStart() + u" shows"_s, std::nullopt, m_displayMode));

    m_dateFormat = new design::ODMenuButton<app::DateFormatPreset>(
        {}, settings.dateFormat(), 190, choosePlaceholder(), false, [this](app::DateFormatPreset preset) {
            // The custom pattern is set in its pop-over, which alone switches to it.
            if (preset == app::DateFormatPreset::custom)
                showCustomFormat();
            else
                m_settings.setDateFormat(preset);
        });
    showEveryValueWhole(m_dateFormat);
    column->addWidget(new design::SettingsRow(u"Date format"_s, trayAtStart() + u" + headers"_s, m_dateFormat));

    m_countdown = new design::ODSwitch(settings.showMeetingCountdown());
    connect(m_countdown, &design::ODSwitch::clicked, this, [&settings](bool on) { settings.setShowMeetingCountdown(on); });
    m_countdownLead = new design::ODMenuButton<double>(menuItems(countdownLeadChoices()),
                                                       settings.meetingCountdownLeadTime(), 150, choosePlaceholder(),
                                                       false, [&settings](double lead) {
                                                           settings.setMeetingCountdownLeadTime(lead);
                                                       });
    showEveryValueWhole(m_countdownLead);
    column->addWidget(
        new design::SettingsRow(u"Meeting countdown"_s, std::nullopt, QList<QWidget*>{m_countdown, m_countdownLead}));

    m_appearance = new design::ODSegmented<app::AppearanceMode>(
        {{app::AppearanceMode::system, u"System"_s, u"display"_s},
         {app::AppearanceMode::light, u"Light"_s, u"sun.max"_s},
         {app::AppearanceMode::dark, u"Dark"_s, u"moon"_s}},
        settings.appearance(), [&settings](app::AppearanceMode mode) { settings.setAppearance(mode); });
    column->addWidget(new design::SettingsRow(u"Appearance"_s, std::nullopt, m_appearance));

    column->addSpacing(4);
    column->addWidget(new design::Hairline);
    column->addSpacing(4);

    m_weekNumbers = new design::ODSwitch(settings.showWeekNumbers());
    connect(m_weekNumbers, &design::ODSwitch::clicked, this, [&settings](bool on) { settings.setShowWeekNumbers(on); });
    column->addWidget(new design::SettingsRow(u"Show week numbers"_s, std::nullopt, m_weekNumbers));

    m_firstWeekday = new design::ODMenuButton<app::FirstWeekday>(
        menuItems(firstWeekdayChoices(core::Calendar::current())), settings.firstWeekday(), 150, choosePlaceholder(),
        false, [&settings](app::FirstWeekday day) { settings.setFirstWeekday(day); });
    showEveryValueWhole(m_firstWeekday);
    column->addWidget(new design::SettingsRow(u"First day of week"_s, std::nullopt, m_firstWeekday));

    m_launchAtLogin = new design::ODSwitch(settings.launchAtLogin());
    // The switch shows what the desktop took, not what was asked for.
    connect(m_launchAtLogin, &design::ODSwitch::clicked, this, [this](bool on) {
        m_login.set(on);
        refresh();
    });
    m_launchAtLoginRow = new design::SettingsRow(u"Launch at login"_s, std::nullopt, m_launchAtLogin);
    column->addWidget(m_launchAtLoginRow);

    column->addSpacing(4);
    column->addWidget(new design::SettingsNote(
        u"checkmark.shield"_s,
        u"No account. No analytics. Your calendars never leave "_s + app::words::thisComputer() + u'.',
        design::SettingsNote::Tone::good));

    // A setting changed elsewhere (the tray, another tab) shows here at once.
    connect(&settings, &app::AppSettings::menuBarDisplayModeChanged, this, &GeneralSettingsView::refresh);
    connect(&settings, &app::AppSettings::dateFormatChanged, this, &GeneralSettingsView::refresh);
    connect(&settings, &app::AppSettings::customDateFormatChanged, this, &GeneralSettingsView::refresh);
    connect(&settings, &app::AppSettings::showMeetingCountdownChanged, this, &GeneralSettingsView::refresh);
    connect(&settings, &app::AppSettings::meetingCountdownLeadTimeChanged, this, &GeneralSettingsView::refresh);
    connect(&settings, &app::AppSettings::appearanceChanged, this, &GeneralSettingsView::refresh);
    connect(&settings, &app::AppSettings::showWeekNumbersChanged, this, &GeneralSettingsView::refresh);
    connect(&settings, &app::AppSettings::firstWeekdayChanged, this, &GeneralSettingsView::refresh);
    connect(&settings, &app::AppSettings::launchAtLoginChanged, this, &GeneralSettingsView::refresh);
    refresh();
}

void GeneralSettingsView::showCustomFormat() {
    if (m_popover)
        return;
    m_popover = new CustomDateFormatPopover(m_settings, this);
    connect(m_popover, &CustomDateFormatPopover::closed, this, [this] {
        m_dateFormat->setShowsFocused(false);
    });
    m_dateFormat->setShowsFocused(true);
    m_popover->popUpUnder(m_dateFormat);
}

void GeneralSettingsView::showEvent(QShowEvent* event) {
    // The desktop's own list of startup programs may have changed it meanwhile.
    m_login.sync();
    refresh();
    QWidget::showEvent(event);
}

void GeneralSettingsView::refresh() {
    m_displayMode->setSelection(m_settings.menuBarDisplayMode());
    m_dateFormat->setItems(menuItems(dateFormatChoices(m_settings, core::Date::now())));
    m_dateFormat->setSelection(m_settings.dateFormat());
    m_countdown->setOn(m_settings.showMeetingCountdown());
    m_countdownLead->setSelection(m_settings.meetingCountdownLeadTime());
    m_countdownLead->setEnabled(m_settings.showMeetingCountdown());
    m_appearance->setSelection(m_settings.appearance());
    m_weekNumbers->setOn(m_settings.showWeekNumbers());
    m_firstWeekday->setSelection(m_settings.firstWeekday());
    m_launchAtLogin->setOn(m_settings.launchAtLogin());
    m_launchAtLoginRow->setDetail(m_login.error());
}

}  // namespace settings
