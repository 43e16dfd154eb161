#pragma once

#include "platform/eventstore/PlatformTypes.h"

#include <QString>
#include <QUrl>

#include <optional>

namespace platform {

// The desktop around the app: opening addresses, the clipboard and the keys
// held at this moment. Main thread only.
class Workspace {
public:
    virtual ~Workspace() = default;

    // Hands the address to whatever the desktop opens it with; our own addresses
    // (privacySettingsURL) open our own windows. False when nothing took it.
    virtual bool open(const QUrl& url) = 0;
    // Replaces whatever the clipboard held with the text, as plain text.
    virtual void copyToClipboard(const QString& text) = 0;
    // Whether Alt is held down right now, whichever event is being handled.
    virtual bool isAltHeld() const = 0;
};

// The map service's search for a place: the place percent-encoded as the one
// query item. nullopt when no address can be made of it.
std::optional<QUrl> mapSearchURL(const QString& place);

// The address of our privacy settings window, open at calendars or reminders.
QUrl privacySettingsURL(EntityType entity);
// An address in the app's own scheme, whatever it names.
bool isOwnAddress(const QUrl& url);
// Which part of the privacy settings an address names; nullopt for any other address.
std::optional<EntityType> privacySettingsPane(const QUrl& url);

}  // namespace platform
