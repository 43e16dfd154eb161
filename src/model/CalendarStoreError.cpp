#include "model/CalendarStoreError.h"

namespace model {

QString CalendarStoreError::errorDescription() const {
    switch (m_case) {
        case Case::notAuthorized:
            return QStringLiteral("Orbitday doesn't have access to your calendars.");
        case Case::notFound:
            return QStringLiteral("That event no longer exists.");
        case Case::noWritableCalendar:
            return QStringLiteral("No calendar available that can be edited.");
    }
    return QString();
}

}  // namespace model
