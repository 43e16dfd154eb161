#include "model/ParticipantStatus.h"

#include <array>

namespace model {

namespace {

constexpr std::array kStatuses{ParticipantStatus::unknown,   ParticipantStatus::pending,   ParticipantStatus::accepted,
                               ParticipantStatus::declined,  ParticipantStatus::tentative, ParticipantStatus::delegated,
                               ParticipantStatus::completed, ParticipantStatus::inProcess};

}  // namespace

ParticipantStatus participantStatusFromNumber(int number) {
    if (number < 0 || number >= static_cast<int>(kStatuses.size())) {
        return ParticipantStatus::unknown;
    }
    return kStatuses[static_cast<size_t>(number)];
}

QString rawValue(ParticipantStatus status) {
    switch (status) {
        case ParticipantStatus::unknown:
            return QStringLiteral("unknown");
        case ParticipantStatus::pending:
            return QStringLiteral("pending");
        case ParticipantStatus::accepted:
            return QStringLiteral("accepted");
        case ParticipantStatus::declined:
            return QStringLiteral("declined");
        case ParticipantStatus::tentative:
            return QStringLiteral("tentative");
        case ParticipantStatus::delegated:
            return QStringLiteral("delegated");
        case ParticipantStatus::completed:
            return QStringLiteral("completed");
        case ParticipantStatus::inProcess:
            return QStringLiteral("inProcess");
    }
    return QStringLiteral("unknown");
}

std::optional<ParticipantStatus> participantStatusFromRawValue(const QString& value) {
    for (ParticipantStatus status : kStatuses) {
        if (rawValue(status) == value) {
            return status;
        }
    }
    return std::nullopt;
}

}  // namespace model
