#include "platform/eventstore/EventStoreError.h"

namespace platform {

const char* LocalizedError::what() const noexcept {
    // Kept alive by the error itself, as what() must return a stable pointer.
    m_what = errorDescription().toUtf8();
    return m_what.constData();
}

QString EventStoreError::defaultMessage(Code code) {
    switch (code) {
        case Code::AccessDenied:
            return QStringLiteral("Access to the calendar data was not granted.");
        case Code::NotFound:
            return QStringLiteral("The calendar item could not be found.");
        case Code::ReadOnly:
            return QStringLiteral("This calendar cannot be changed.");
        case Code::Conflict:
            return QStringLiteral("The calendar item was changed elsewhere. Please try again.");
        case Code::InvalidItem:
            return QStringLiteral("The calendar item cannot be saved as it is.");
        case Code::WriteFailed:
            return QStringLiteral("The calendar data could not be written.");
        case Code::Other:
            break;
    }
    return QStringLiteral("The calendar data could not be changed.");
}

EventStoreError EventStoreError::wrongKindOfCalendar() {
    return EventStoreError(Code::InvalidItem, QStringLiteral("The calendar cannot hold this kind of item."));
}

}  // namespace platform
