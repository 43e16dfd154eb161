#pragma once

#include "core/Color.h"
#include "model/ODAttendee.h"
#include "model/ParticipantStatus.h"

#include <QString>

#include <vector>

// How the event editor sums up the people invited to an event: the line in the
// form's attendees row, the answers in the list's header, and each person's mark.
namespace editor::attendees {

// A response mark: its symbol, its words and its colour in the appearance in effect now.
struct StatusStyle {
    QString symbol;
    QString label;
    core::Color color;
};

StatusStyle statusStyle(model::ParticipantStatus status);

// The status a person's mark shows: an organizer who never answered is taken as going.
model::ParticipantStatus shownStatus(const model::ODAttendee& attendee);
// Those who have not answered, or said no, are drawn faint; this looks at the status
// as stored, so an organizer who never answered is faint beside a "Going" mark.
bool isDimmed(const model::ODAttendee& attendee);

// "2 going · 1 no · 1 maybe": the going count always, the others when there are any.
QString summary(const std::vector<model::ODAttendee>& attendees);
// "4 invited · 2 yes · 1 no": tentative answers are not counted here.
QString rowSummary(const std::vector<model::ODAttendee>& attendees);

}  // namespace editor::attendees
