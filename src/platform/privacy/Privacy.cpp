#include "platform/privacy/Privacy.h"

namespace platform {

QString consentQuestion(EntityType entity) {
    return entity == EntityType::Event ? QStringLiteral("Orbitday would like to access your calendars.")
                                       : QStringLiteral("Orbitday would like to access your reminders.");
}

QString privacySettingsName() {
    return QStringLiteral("Privacy Settings");
}

QString privacyPaneName(EntityType entity) {
    return entity == EntityType::Event ? QStringLiteral("Calendars") : QStringLiteral("Reminders");
}

QString privacySwitchName() {
    return QStringLiteral("Orbitday");
}

}  // namespace platform
