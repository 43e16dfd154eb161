#pragma once

#include "core/Calendar.h"
#include "state/Preferences.h"

#include <QObject>
#include <QSet>
#include <QString>
#include <QStringList>

#include <optional>

namespace platform {
class UserDefaults;
}

namespace app {

using CalendarIDSet = QSet<QString>;

// Every user preference. Each assignment notifies at once and is written through
// to the store; nothing else writes the store, and the store is not watched.
class AppSettings final : public QObject {
    Q_OBJECT

public:
    // Reads every preference from `defaults`, which must outlive the settings.
    explicit AppSettings(platform::UserDefaults& defaults, QObject* parent = nullptr);

    platform::UserDefaults& defaults() const { return m_defaults; }

    MenuBarDisplayMode menuBarDisplayMode() const { return m_menuBarDisplayMode; }
    DateFormatPreset dateFormat() const { return m_dateFormat; }
    bool showMeetingCountdown() const { return m_showMeetingCountdown; }
    bool showWeekNumbers() const { return m_showWeekNumbers; }
    bool hoverHaptics() const { return m_hoverHaptics; }
    FirstWeekday firstWeekday() const { return m_firstWeekday; }
    AppearanceMode appearance() const { return m_appearance; }
    bool launchAtLogin() const { return m_launchAtLogin; }
    // nullopt: every calendar is shown.
    const std::optional<CalendarIDSet>& enabledCalendarIDs() const { return m_enabledCalendarIDs; }
    const std::optional<QString>& defaultCalendarID() const { return m_defaultCalendarID; }
    bool showReminders() const { return m_showReminders; }
    bool meetingAlertsEnabled() const { return m_meetingAlertsEnabled; }
    double alertLeadTime() const { return m_alertLeadTime; }
    const std::optional<HotKeyCombo>& hotKeyOpenPopover() const { return m_hotKeyOpenPopover; }
    const std::optional<HotKeyCombo>& hotKeyQuickCreate() const { return m_hotKeyQuickCreate; }
    const std::optional<HotKeyCombo>& hotKeyJoinMeeting() const { return m_hotKeyJoinMeeting; }
    bool hasCompletedOnboarding() const { return m_hasCompletedOnboarding; }
    const QString& customDateFormat() const { return m_customDateFormat; }
    double meetingCountdownLeadTime() const { return m_meetingCountdownLeadTime; }
    bool alertOnlyWithLink() const { return m_alertOnlyWithLink; }
    // nullopt: no sound.
    const std::optional<QString>& alertSound() const { return m_alertSound; }
    // nullopt: alerts stay until dismissed.
    const std::optional<double>& alertAutoDismissAfter() const { return m_alertAutoDismissAfter; }

    void setMenuBarDisplayMode(MenuBarDisplayMode value);
    void setDateFormat(DateFormatPreset value);
    void setShowMeetingCountdown(bool value);
    void setShowWeekNumbers(bool value);
    void setHoverHaptics(bool value);
    void setFirstWeekday(FirstWeekday value);
    void setAppearance(AppearanceMode value);
    void setLaunchAtLogin(bool value);
    void setEnabledCalendarIDs(const std::optional<CalendarIDSet>& value);
    void setDefaultCalendarID(const std::optional<QString>& value);
    void setShowReminders(bool value);
    void setMeetingAlertsEnabled(bool value);
    void setAlertLeadTime(double value);
    void setHotKeyOpenPopover(const std::optional<HotKeyCombo>& value);
    void setHotKeyQuickCreate(const std::optional<HotKeyCombo>& value);
    void setHotKeyJoinMeeting(const std::optional<HotKeyCombo>& value);
    void setHasCompletedOnboarding(bool value);
    // Observers of dateFormat hear again when the custom preset is in use.
    void setCustomDateFormat(const QString& value);
    void setMeetingCountdownLeadTime(double value);
    void setAlertOnlyWithLink(bool value);
    void setAlertSound(const std::optional<QString>& value);
    void setAlertAutoDismissAfter(const std::optional<double>& value);

    // Turns one calendar on or off. With every calendar shown, `allIDs` is where
    // it starts from; the result stays an explicit set even when it holds them all.
    void setCalendar(const QString& id, bool enabled, const QStringList& allIDs);

    // The current calendar with the chosen first day of the week.
    core::Calendar calendar() const;

    // The menu-bar text of a date with the chosen preset and custom pattern.
    QString formattedDate(core::Date date) const { return formatDate(m_dateFormat, date, m_customDateFormat); }

    static HotKeyCombo defaultHotKeyOpenPopover();
    static HotKeyCombo defaultHotKeyQuickCreate();
    static HotKeyCombo defaultHotKeyJoinMeeting();

signals:
    void menuBarDisplayModeChanged(app::MenuBarDisplayMode value);
    void dateFormatChanged(app::DateFormatPreset value);
    void showMeetingCountdownChanged(bool value);
    void showWeekNumbersChanged(bool value);
    void hoverHapticsChanged(bool value);
    void firstWeekdayChanged(app::FirstWeekday value);
    void appearanceChanged(app::AppearanceMode value);
    void launchAtLoginChanged(bool value);
    void enabledCalendarIDsChanged();
    void defaultCalendarIDChanged();
    void showRemindersChanged(bool value);
    void meetingAlertsEnabledChanged(bool value);
    void alertLeadTimeChanged(double value);
    void hotKeyOpenPopoverChanged();
    void hotKeyQuickCreateChanged();
    void hotKeyJoinMeetingChanged();
    void hasCompletedOnboardingChanged(bool value);
    void customDateFormatChanged(const QString& value);
    void meetingCountdownLeadTimeChanged(double value);
    void alertOnlyWithLinkChanged(bool value);
    void alertSoundChanged();
    void alertAutoDismissAfterChanged();

private:
    void read();
    std::optional<HotKeyCombo> readHotKey(const QString& key, const HotKeyCombo& fallback) const;
    void writeHotKey(const QString& key, const std::optional<HotKeyCombo>& value);
    void writeAlertSound();
    void writeAlertAutoDismissAfter();

    platform::UserDefaults& m_defaults;
    MenuBarDisplayMode m_menuBarDisplayMode = MenuBarDisplayMode::dateAndNext;
    DateFormatPreset m_dateFormat = DateFormatPreset::weekdayDayMonth;
    bool m_showMeetingCountdown = true;
    bool m_showWeekNumbers = false;
    bool m_hoverHaptics = true;
    FirstWeekday m_firstWeekday = FirstWeekday::monday;
    AppearanceMode m_appearance = AppearanceMode::system;
    bool m_launchAtLogin = false;
    std::optional<CalendarIDSet> m_enabledCalendarIDs;
    std::optional<QString> m_defaultCalendarID;
    bool m_showReminders = true;
    bool m_meetingAlertsEnabled = true;
    double m_alertLeadTime = 60;
    std::optional<HotKeyCombo> m_hotKeyOpenPopover;
    std::optional<HotKeyCombo> m_hotKeyQuickCreate;
    std::optional<HotKeyCombo> m_hotKeyJoinMeeting;
    bool m_hasCompletedOnboarding = false;
    QString m_customDateFormat;
    double m_meetingCountdownLeadTime = 900;
    bool m_alertOnlyWithLink = true;
    std::optional<QString> m_alertSound;
    std::optional<double> m_alertAutoDismissAfter;
};

}  // namespace app
