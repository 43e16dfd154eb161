#pragma once

#include "model/ParticipantStatus.h"
#include "platform/eventstore/PlatformTypes.h"

#include <QHashFunctions>
#include <QString>

#include <optional>

namespace model {

// A participant of an event.
struct ODAttendee {
    QString name;
    std::optional<QString> email;
    ParticipantStatus status = ParticipantStatus::unknown;
    bool isOrganizer = false;
    bool isCurrentUser = false;

    static ODAttendee fromPlatform(const platform::PlatformParticipant& participant, bool isOrganizer);
    // The address after a leading "mailto:" (exact case); nullopt without that prefix.
    static std::optional<QString> emailFromURLString(const QString& urlString);

    // Identity in lists: the e-mail address, else the name.
    QString id() const { return email.value_or(name); }
    // The first characters (whole graphemes) of the first two space-separated words, upper-cased.
    QString initials() const;

    bool operator==(const ODAttendee&) const = default;
};

size_t qHash(const ODAttendee& attendee, size_t hashSeed = 0) noexcept;

}  // namespace model
