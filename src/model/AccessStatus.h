#pragma once

#include "platform/eventstore/PlatformTypes.h"

namespace model {

enum class AccessStatus { notDetermined, restricted, denied, fullAccess, writeOnly };

// 0 not determined, 1 restricted, 2 denied, 3 full access, 4 write only; any other number is `denied`.
AccessStatus accessStatusFromNumber(int number);
inline AccessStatus accessStatus(platform::AuthorizationStatus status) {
    return accessStatusFromNumber(static_cast<int>(status));
}

}  // namespace model
