#include "model/ODAttendee.h"

#include "model/ValueHash.h"

#include <QTextBoundaryFinder>

namespace model {

namespace {

QString firstGrapheme(const QString& word) {
    QTextBoundaryFinder finder(QTextBoundaryFinder::Grapheme, word);
    const qsizetype end = finder.toNextBoundary();
    return end > 0 ? word.left(end) : word;
}

}  // namespace

std::optional<QString> ODAttendee::emailFromURLString(const QString& urlString) {
    static const QString prefix = QStringLiteral("mailto:");
    if (!urlString.startsWith(prefix, Qt::CaseSensitive)) {
        return std::nullopt;
    }
    return urlString.mid(prefix.size());
}

ODAttendee ODAttendee::fromPlatform(const platform::PlatformParticipant& participant, bool isOrganizer) {
    ODAttendee attendee;
    // The store parses participant addresses with QUrl, which lower-cases the scheme,
    // so the exact-case test above still finds addresses written "MAILTO:".
    attendee.email = emailFromURLString(participant.url.toString());
    attendee.name = participant.name ? *participant.name : attendee.email.value_or(QStringLiteral("Unknown"));
    attendee.status = participantStatusFromNumber(participant.participantStatus);
    attendee.isOrganizer = isOrganizer;
    attendee.isCurrentUser = participant.isCurrentUser;
    return attendee;
}

QString ODAttendee::initials() const {
    const QStringList words = name.split(u' ', Qt::SkipEmptyParts);
    QString result;
    for (qsizetype i = 0; i < words.size() && i < 2; ++i) {
        result += firstGrapheme(words[i]);
    }
    return result.toUpper();
}

size_t qHash(const ODAttendee& attendee, size_t hashSeed) noexcept {
    return ValueHasher(hashSeed)
        .add(attendee.name)
        .add(attendee.email)
        .add(attendee.status)
        .add(attendee.isOrganizer)
        .add(attendee.isCurrentUser)
        .result();
}

}  // namespace model
