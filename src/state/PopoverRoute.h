#pragma once

#include "core/Date.h"

#include <QString>

#include <array>
#include <optional>

namespace app {

// Which screen the popover shows; two routes carry what their screen needs.
class PopoverRoute {
public:
    enum class Kind { eventEdit, eventCreate, main, quickCreate, imageImport, onboarding, accessDenied };

    PopoverRoute() = default;  // main

    // Editing the event with this identifier.
    static PopoverRoute eventEdit(const QString& eventID);
    // Creating an event that starts at `start`.
    static PopoverRoute eventCreate(core::Date start);
    static PopoverRoute main() { return PopoverRoute(Kind::main); }
    static PopoverRoute quickCreate() { return PopoverRoute(Kind::quickCreate); }
    static PopoverRoute imageImport() { return PopoverRoute(Kind::imageImport); }
    static PopoverRoute onboarding() { return PopoverRoute(Kind::onboarding); }
    static PopoverRoute accessDenied() { return PopoverRoute(Kind::accessDenied); }

    Kind kind() const { return m_kind; }
    bool is(Kind kind) const { return m_kind == kind; }
    // Empty unless the route is eventEdit.
    const QString& eventID() const { return m_eventID; }
    // The epoch unless the route is eventCreate.
    core::Date start() const { return m_start; }

    // Same case and, for the two with a payload, the same payload.
    bool operator==(const PopoverRoute&) const = default;

private:
    explicit PopoverRoute(Kind kind) : m_kind(kind) {}

    Kind m_kind = Kind::main;
    QString m_eventID;
    core::Date m_start;
};

// A tab of the settings window that a screen may ask to open.
enum class SettingsTab { general, calendars, notifications, shortcuts };
inline constexpr std::array kAllSettingsTabs{SettingsTab::general, SettingsTab::calendars, SettingsTab::notifications,
                                             SettingsTab::shortcuts};
QString rawValue(SettingsTab tab);
std::optional<SettingsTab> settingsTabFromRaw(const QString& raw);

}  // namespace app
