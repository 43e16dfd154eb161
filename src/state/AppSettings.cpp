#include "state/AppSettings.h"

#include "platform/defaults/UserDefaults.h"
#include "platform/keys/KeyTable.h"

#include <algorithm>

namespace app {
namespace {

namespace key {
const QString menuBarDisplayMode = QStringLiteral("menuBarDisplayMode");
const QString dateFormat = QStringLiteral("dateFormat");
const QString showMeetingCountdown = QStringLiteral("showMeetingCountdown");
const QString showWeekNumbers = QStringLiteral("showWeekNumbers");
const QString hoverHaptics = QStringLiteral("hoverHaptics");
const QString firstWeekday = QStringLiteral("firstWeekday");
const QString appearance = QStringLiteral("appearance");
const QString launchAtLogin = QStringLiteral("launchAtLogin");
const QString enabledCalendarIDs = QStringLiteral("enabledCalendarIDs");
const QString defaultCalendarID = QStringLiteral("defaultCalendarID");
const QString showReminders = QStringLiteral("showReminders");
const QString meetingAlertsEnabled = QStringLiteral("meetingAlertsEnabled");
const QString alertLeadTime = QStringLiteral("alertLeadTime");
const QString hotKeyOpenPopover = QStringLiteral("hotKeyOpenPopover");
const QString hotKeyQuickCreate = QStringLiteral("hotKeyQuickCreate");
const QString hotKeyJoinMeeting = QStringLiteral("hotKeyJoinMeeting");
const QString hasCompletedOnboarding = QStringLiteral("hasCompletedOnboarding");
const QString meetingCountdownLeadTime = QStringLiteral("meetingCountdownLeadTime");
const QString alertOnlyWithLink = QStringLiteral("alertOnlyWithLink");
const QString alertSound = QStringLiteral("alertSound");
const QString alertAutoDismissAfter = QStringLiteral("alertAutoDismissAfter");
const QString customDateFormat = QStringLiteral("customDateFormat");
}  // namespace key

constexpr std::uint32_t kOptionCommand = platform::keys::carbon::kOption | platform::keys::carbon::kCommand;

}  // namespace

HotKeyCombo AppSettings::defaultHotKeyOpenPopover() {
    return {8, kOptionCommand};
}
HotKeyCombo AppSettings::defaultHotKeyQuickCreate() {
    return {45, kOptionCommand};
}
HotKeyCombo AppSettings::defaultHotKeyJoinMeeting() {
    return {38, kOptionCommand};
}

AppSettings::AppSettings(platform::UserDefaults& defaults, QObject* parent) : QObject(parent), m_defaults(defaults) {
    read();
}

void AppSettings::read() {
    const auto& d = m_defaults;
    m_menuBarDisplayMode = menuBarDisplayModeFromRaw(d.stringValue(key::menuBarDisplayMode).value_or(QString()))
                               .value_or(MenuBarDisplayMode::dateAndNext);
    m_dateFormat = dateFormatPresetFromRaw(d.stringValue(key::dateFormat).value_or(QString()))
                       .value_or(DateFormatPreset::weekdayDayMonth);
    m_showMeetingCountdown = d.boolValue(key::showMeetingCountdown).value_or(true);
    m_showWeekNumbers = d.boolValue(key::showWeekNumbers).value_or(false);
    m_hoverHaptics = d.boolValue(key::hoverHaptics).value_or(true);
    const auto weekday = d.integerValue(key::firstWeekday);
    m_firstWeekday = (weekday ? firstWeekdayFromRaw(*weekday) : std::nullopt).value_or(FirstWeekday::monday);
    m_appearance =
        appearanceModeFromRaw(d.stringValue(key::appearance).value_or(QString())).value_or(AppearanceMode::system);
    m_launchAtLogin = d.boolValue(key::launchAtLogin).value_or(false);
    if (const auto ids = d.stringListValue(key::enabledCalendarIDs))
        m_enabledCalendarIDs = CalendarIDSet(ids->cbegin(), ids->cend());
    m_defaultCalendarID = d.stringValue(key::defaultCalendarID);
    m_showReminders = d.boolValue(key::showReminders).value_or(true);
    m_meetingAlertsEnabled = d.boolValue(key::meetingAlertsEnabled).value_or(true);
    m_alertLeadTime = d.doubleValue(key::alertLeadTime).value_or(60);
    m_hotKeyOpenPopover = readHotKey(key::hotKeyOpenPopover, defaultHotKeyOpenPopover());
    m_hotKeyQuickCreate = readHotKey(key::hotKeyQuickCreate, defaultHotKeyQuickCreate());
    m_hotKeyJoinMeeting = readHotKey(key::hotKeyJoinMeeting, defaultHotKeyJoinMeeting());
    m_hasCompletedOnboarding = d.boolValue(key::hasCompletedOnboarding).value_or(false);
    m_customDateFormat = d.stringValue(key::customDateFormat).value_or(defaultCustomDatePattern());
    m_meetingCountdownLeadTime = d.doubleValue(key::meetingCountdownLeadTime).value_or(900);
    m_alertOnlyWithLink = d.boolValue(key::alertOnlyWithLink).value_or(true);

    // These two store a marker for "none" (an empty string, -1), so only an absent
    // key means a first launch; the result is written back at once.
    if (d.contains(key::alertSound)) {
        const auto sound = d.stringValue(key::alertSound);
        m_alertSound = sound && !sound->isEmpty() ? sound : std::nullopt;
    } else {
        m_alertSound = QStringLiteral("Pop");
    }
    writeAlertSound();
    if (d.contains(key::alertAutoDismissAfter)) {
        const auto seconds = d.doubleValue(key::alertAutoDismissAfter);
        m_alertAutoDismissAfter = seconds && *seconds >= 0 ? seconds : std::nullopt;
    } else {
        m_alertAutoDismissAfter = 300;
    }
    writeAlertAutoDismissAfter();
}

std::optional<HotKeyCombo> AppSettings::readHotKey(const QString& name, const HotKeyCombo& fallback) const {
    // Only an absent key gives the default: a cleared shortcut is stored as empty
    // data, which does not decode, so it stays cleared.
    if (!m_defaults.contains(name))
        return fallback;
    const auto data = m_defaults.dataValue(name);
    return data ? HotKeyCombo::fromJson(*data) : std::nullopt;
}

void AppSettings::writeHotKey(const QString& name, const std::optional<HotKeyCombo>& value) {
    m_defaults.setData(name, value ? value->toJson() : QByteArray());
}

void AppSettings::writeAlertSound() {
    m_defaults.setString(key::alertSound, m_alertSound.value_or(QString()));
}

void AppSettings::writeAlertAutoDismissAfter() {
    m_defaults.setDouble(key::alertAutoDismissAfter, m_alertAutoDismissAfter.value_or(-1));
}

void AppSettings::setMenuBarDisplayMode(MenuBarDisplayMode value) {
    m_menuBarDisplayMode = value;
    emit menuBarDisplayModeChanged(value);
    m_defaults.setString(key::menuBarDisplayMode, rawValue(value));
}

void AppSettings::setDateFormat(DateFormatPreset value) {
    m_dateFormat = value;
    emit dateFormatChanged(value);
    m_defaults.setString(key::dateFormat, rawValue(value));
}

void AppSettings::setShowMeetingCountdown(bool value) {
    m_showMeetingCountdown = value;
    emit showMeetingCountdownChanged(value);
    m_defaults.setBool(key::showMeetingCountdown, value);
}

void AppSettings::setShowWeekNumbers(bool value) {
    m_showWeekNumbers = value;
    emit showWeekNumbersChanged(value);
    m_defaults.setBool(key::showWeekNumbers, value);
}

void AppSettings::setHoverHaptics(bool value) {
    m_hoverHaptics = value;
    emit hoverHapticsChanged(value);
    m_defaults.setBool(key::hoverHaptics, value);
}

void AppSettings::setFirstWeekday(FirstWeekday value) {
    m_firstWeekday = value;
    emit firstWeekdayChanged(value);
    m_defaults.setInteger(key::firstWeekday, rawValue(value));
}

void AppSettings::setAppearance(AppearanceMode value) {
    m_appearance = value;
    emit appearanceChanged(value);
    m_defaults.setString(key::appearance, rawValue(value));
}

void AppSettings::setLaunchAtLogin(bool value) {
    m_launchAtLogin = value;
    emit launchAtLoginChanged(value);
    m_defaults.setBool(key::launchAtLogin, value);
}

void AppSettings::setEnabledCalendarIDs(const std::optional<CalendarIDSet>& value) {
    m_enabledCalendarIDs = value;
    emit enabledCalendarIDsChanged();
    if (!value) {
        m_defaults.removeObject(key::enabledCalendarIDs);
        return;
    }
    // Sorted so that the same set always writes the same file.
    QStringList ids(value->cbegin(), value->cend());
    std::sort(ids.begin(), ids.end());
    m_defaults.setStringList(key::enabledCalendarIDs, ids);
}

void AppSettings::setDefaultCalendarID(const std::optional<QString>& value) {
    m_defaultCalendarID = value;
    emit defaultCalendarIDChanged();
    if (value)
        m_defaults.setString(key::defaultCalendarID, *value);
    else
        m_defaults.removeObject(key::defaultCalendarID);
}

void AppSettings::setShowReminders(bool value) {
    m_showReminders = value;
    emit showRemindersChanged(value);
    m_defaults.setBool(key::showReminders, value);
}

void AppSettings::setMeetingAlertsEnabled(bool value) {
    m_meetingAlertsEnabled = value;
    emit meetingAlertsEnabledChanged(value);
    m_defaults.setBool(key::meetingAlertsEnabled, value);
}

void AppSettings::setAlertLeadTime(double value) {
    m_alertLeadTime = value;
    emit alertLeadTimeChanged(value);
    m_defaults.setDouble(key::alertLeadTime, value);
}

void AppSettings::setHotKeyOpenPopover(const std::optional<HotKeyCombo>& value) {
    m_hotKeyOpenPopover = value;
    emit hotKeyOpenPopoverChanged();
    writeHotKey(key::hotKeyOpenPopover, value);
}

void AppSettings::setHotKeyQuickCreate(const std::optional<HotKeyCombo>& value) {
    m_hotKeyQuickCreate = value;
    emit hotKeyQuickCreateChanged();
    writeHotKey(key::hotKeyQuickCreate, value);
}

void AppSettings::setHotKeyJoinMeeting(const std::optional<HotKeyCombo>& value) {
    m_hotKeyJoinMeeting = value;
    emit hotKeyJoinMeetingChanged();
    writeHotKey(key::hotKeyJoinMeeting, value);
}

void AppSettings::setHasCompletedOnboarding(bool value) {
    m_hasCompletedOnboarding = value;
    emit hasCompletedOnboardingChanged(value);
    m_defaults.setBool(key::hasCompletedOnboarding, value);
}

void AppSettings::setCustomDateFormat(const QString& value) {
    m_customDateFormat = value;
    emit customDateFormatChanged(value);
    m_defaults.setString(key::customDateFormat, value);
    if (m_dateFormat == DateFormatPreset::custom)
        setDateFormat(DateFormatPreset::custom);
}

void AppSettings::setMeetingCountdownLeadTime(double value) {
    m_meetingCountdownLeadTime = value;
    emit meetingCountdownLeadTimeChanged(value);
    m_defaults.setDouble(key::meetingCountdownLeadTime, value);
}

void AppSettings::setAlertOnlyWithLink(bool value) {
    m_alertOnlyWithLink = value;
    emit alertOnlyWithLinkChanged(value);
    m_defaults.setBool(key::alertOnlyWithLink, value);
}

void AppSettings::setAlertSound(const std::optional<QString>& value) {
    // An empty name is the stored form of "no sound"; keeping it as a name would
    // read back differently after a restart.
    m_alertSound = value && !value->isEmpty() ? value : std::nullopt;
    emit alertSoundChanged();
    writeAlertSound();
}

void AppSettings::setAlertAutoDismissAfter(const std::optional<double>& value) {
    m_alertAutoDismissAfter = value && *value >= 0 ? value : std::nullopt;
    emit alertAutoDismissAfterChanged();
    writeAlertAutoDismissAfter();
}

void AppSettings::setCalendar(const QString& id, bool enabled, const QStringList& allIDs) {
    CalendarIDSet ids = m_enabledCalendarIDs.value_or(CalendarIDSet(allIDs.cbegin(), allIDs.cend()));
    if (enabled)
        ids.insert(id);
    else
        ids.remove(id);
    setEnabledCalendarIDs(ids);
}

core::Calendar AppSettings::calendar() const {
    core::Calendar calendar = core::Calendar::current();
    if (m_firstWeekday != FirstWeekday::system)
        calendar.setFirstWeekday(rawValue(m_firstWeekday));
    return calendar;
}

}  // namespace app
