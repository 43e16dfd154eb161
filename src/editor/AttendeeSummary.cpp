#include "editor/AttendeeSummary.h"

#include "design/values/Theme.h"

#include <QStringList>

using namespace Qt::Literals::StringLiterals;

namespace editor::attendees {

using model::ParticipantStatus;

namespace {

struct Counts {
    int going = 0;
    int declined = 0;
    int maybe = 0;
};

Counts count(const std::vector<model::ODAttendee>& attendees) {
    Counts counts;
    for (const model::ODAttendee& attendee : attendees) {
        switch (shownStatus(attendee)) {
            case ParticipantStatus::accepted:
            case ParticipantStatus::completed:
                ++counts.going;
                break;
            case ParticipantStatus::declined:
                ++counts.declined;
                break;
            case ParticipantStatus::tentative:
                ++counts.maybe;
                break;
            default:
                break;
        }
    }
    return counts;
}

// Counts as plain digits, whatever the locale.
QString counted(qsizetype number, QStringView words) {
    return QString::number(number) + words;
}

}  // namespace

StatusStyle statusStyle(ParticipantStatus status) {
    using design::Theme;
    switch (status) {
        case ParticipantStatus::accepted:
        case ParticipantStatus::completed:
            return {u"checkmark.circle"_s, u"Going"_s, Theme::green()};
        case ParticipantStatus::declined:
            return {u"xmark.circle"_s, u"Declined"_s, Theme::flame()};
        case ParticipantStatus::tentative:
            return {u"questionmark.circle"_s, u"Maybe"_s, Theme::amber()};
        case ParticipantStatus::delegated:
            return {u"arrow.right.circle"_s, u"Delegated"_s, Theme::text3().resolve()};
        case ParticipantStatus::unknown:
        case ParticipantStatus::pending:
        case ParticipantStatus::inProcess:
            break;
    }
    return {u"circle.dashed"_s, u"No reply"_s, Theme::text3().resolve()};
}

ParticipantStatus shownStatus(const model::ODAttendee& attendee) {
    if (attendee.isOrganizer && attendee.status == ParticipantStatus::unknown)
        return ParticipantStatus::accepted;
    return attendee.status;
}

bool isDimmed(const model::ODAttendee& attendee) {
    return attendee.status == ParticipantStatus::unknown || attendee.status == ParticipantStatus::pending ||
           attendee.status == ParticipantStatus::declined;
}

QString summary(const std::vector<model::ODAttendee>& attendees) {
    const Counts counts = count(attendees);
    QStringList parts{counted(counts.going, u" going")};
    if (counts.declined > 0)
        parts << counted(counts.declined, u" no");
    if (counts.maybe > 0)
        parts << counted(counts.maybe, u" maybe");
    return parts.join(u" · "_s);
}

QString rowSummary(const std::vector<model::ODAttendee>& attendees) {
    const Counts counts = count(attendees);
    QStringList parts{counted(static_cast<qsizetype>(attendees.size()), u" invited"),
                      counted(counts.going, u" yes")};
    if (counts.declined > 0)
        parts << counted(counts.declined, u" no");
    return parts.join(u" · "_s);
}

}  // namespace editor::attendees
