#include "platform/privacy/Privacy.h"

namespace platform {

QString consentQuestion(EntityType entity) {
    return entity == EntityType::Event ? QStringLiteral("Orbitday would like to access your calendars.")
                                       : QStringLiteral("Orbitday would like to access your reminders.");
}

}  // namespace platform
