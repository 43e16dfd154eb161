#pragma once

#include <QString>
#include <QUrl>

namespace platform {
class Workspace;
}

namespace popover {

// The two ways the popover sends the user elsewhere.
class PopoverActions {
public:
    PopoverActions() = delete;

    // Where reminder access is switched on: our privacy settings, at reminders.
    static QUrl remindersPrivacyURL();
    // Searches the map for the place; with Alt held, copies the place's text to
    // the clipboard instead and opens nothing.
    static void openMaps(const QString& location, platform::Workspace& workspace);
};

}  // namespace popover
