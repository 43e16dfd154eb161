#include "state/PopoverActions.h"

#include "platform/workspace/Workspace.h"

namespace popover {

QUrl PopoverActions::remindersPrivacyURL() {
    static const QUrl url = platform::privacySettingsURL(platform::EntityType::Reminder);
    return url;
}

void PopoverActions::openMaps(const QString& location, platform::Workspace& workspace) {
    if (workspace.isAltHeld()) {
        workspace.copyToClipboard(location);
        return;
    }
    if (const auto url = platform::mapSearchURL(location))
        workspace.open(*url);
}

}  // namespace popover
