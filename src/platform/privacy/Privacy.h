#pragma once

#include "platform/eventstore/PlatformTypes.h"

#include <QString>

#include <functional>
#include <optional>

namespace platform {

// The user's permission for the app to read and change calendars and reminders.
class Privacy {
public:
    virtual ~Privacy() = default;

    virtual AuthorizationStatus authorizationStatus(EntityType entity) const = 0;
    // Asks the user when nothing is decided yet; otherwise answers with the decision already made. The completion
    // gets whether access is granted and, when something failed on the way, a message for the user; it is called
    // later on the calling thread, never inside this call.
    using Completion = std::function<void(bool granted, std::optional<QString> errorMessage)>;
    virtual void requestAccess(EntityType entity, Completion completion) = 0;
};

// Puts the access question to the user and reports the answer (later, on the calling thread).
class ConsentPrompt {
public:
    virtual ~ConsentPrompt() = default;
    virtual void ask(EntityType entity, std::function<void(bool allowed)> answer) = 0;
};

// The question the consent window asks.
QString consentQuestion(EntityType entity);

// What our privacy settings window is called, its two panes, and the switch in
// each, as the screens that send the user there name them ("Privacy Settings ›
// Calendars", "Turn on Orbitday").
QString privacySettingsName();
QString privacyPaneName(EntityType entity);
QString privacySwitchName();

}  // namespace platform
