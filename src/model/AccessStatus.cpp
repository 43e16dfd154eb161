#include "model/AccessStatus.h"

namespace model {

AccessStatus accessStatusFromNumber(int number) {
    switch (number) {
        case 0:
            return AccessStatus::notDetermined;
        case 1:
            return AccessStatus::restricted;
        case 2:
            return AccessStatus::denied;
        case 3:
            return AccessStatus::fullAccess;
        case 4:
            return AccessStatus::writeOnly;
        default:
            // An unknown status from a newer platform must not open access.
            return AccessStatus::denied;
    }
}

}  // namespace model
