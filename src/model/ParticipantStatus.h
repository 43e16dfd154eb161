#pragma once

#include <QString>

#include <optional>

namespace model {

// A participant's reply, in the platform's own order of the reply numbers.
enum class ParticipantStatus { unknown, pending, accepted, declined, tentative, delegated, completed, inProcess };

// 0...7 in the order above; any other number is `unknown`.
ParticipantStatus participantStatusFromNumber(int number);
QString rawValue(ParticipantStatus status);
// Exactly the eight case names; anything else gives nothing.
std::optional<ParticipantStatus> participantStatusFromRawValue(const QString& rawValue);

}  // namespace model
