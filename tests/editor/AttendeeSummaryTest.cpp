// How the editor sums up the people invited: the form's line, the list's header
// and each person's mark, for mixes of answers.

#include "design/values/Theme.h"
#include "editor/AttendeeSummary.h"

#include <gtest/gtest.h>

using namespace Qt::Literals::StringLiterals;
using model::ODAttendee;
using model::ParticipantStatus;
namespace attendees = editor::attendees;

namespace {

ODAttendee person(const QString& name, ParticipantStatus status, bool organizer = false) {
    return ODAttendee{name, name.toLower() + u"@example.com"_s, status, organizer, false};
}

TEST(AttendeeSummary, CountsGoingNoAndMaybeInBothLines) {
    const std::vector<ODAttendee> mixed{person(u"Ana"_s, ParticipantStatus::accepted),
                                        person(u"Ben"_s, ParticipantStatus::completed),
                                        person(u"Cy"_s, ParticipantStatus::declined),
                                        person(u"Dee"_s, ParticipantStatus::tentative)};
    EXPECT_EQ(attendees::summary(mixed), u"2 going · 1 no · 1 maybe"_s);
    // The form's line leaves the maybes out.
    EXPECT_EQ(attendees::rowSummary(mixed), u"4 invited · 2 yes · 1 no"_s);

    const std::vector<ODAttendee> silent{person(u"Ana"_s, ParticipantStatus::pending),
                                         person(u"Ben"_s, ParticipantStatus::unknown),
                                         person(u"Cy"_s, ParticipantStatus::inProcess),
                                         person(u"Dee"_s, ParticipantStatus::delegated)};
    EXPECT_EQ(attendees::summary(silent), u"0 going"_s);
    EXPECT_EQ(attendees::rowSummary(silent), u"4 invited · 0 yes"_s);

    const std::vector<ODAttendee> maybes{person(u"Ana"_s, ParticipantStatus::tentative)};
    EXPECT_EQ(attendees::summary(maybes), u"0 going · 1 maybe"_s);
    EXPECT_EQ(attendees::rowSummary(maybes), u"1 invited · 0 yes"_s);

    EXPECT_EQ(attendees::summary({}), u"0 going"_s);
    EXPECT_EQ(attendees::rowSummary({}), u"0 invited · 0 yes"_s);
}

TEST(AttendeeSummary, AnOrganizerWhoNeverAnsweredGoesButStaysFaint) {
    const ODAttendee organizer = person(u"Olga"_s, ParticipantStatus::unknown, true);
    EXPECT_EQ(attendees::shownStatus(organizer), ParticipantStatus::accepted);
    EXPECT_TRUE(attendees::isDimmed(organizer)) << "faintness looks at the stored status";
    EXPECT_EQ(attendees::rowSummary({organizer}), u"1 invited · 1 yes"_s);

    // Anyone else who never answered counts nowhere.
    const ODAttendee guest = person(u"Gus"_s, ParticipantStatus::unknown);
    EXPECT_EQ(attendees::shownStatus(guest), ParticipantStatus::unknown);
    EXPECT_EQ(attendees::rowSummary({guest}), u"1 invited · 0 yes"_s);

    // An organizer who declined has declined.
    const ODAttendee declined = person(u"Olga"_s, ParticipantStatus::declined, true);
    EXPECT_EQ(attendees::summary({declined}), u"0 going · 1 no"_s);
    EXPECT_TRUE(attendees::isDimmed(declined));
    EXPECT_FALSE(attendees::isDimmed(person(u"Tia"_s, ParticipantStatus::tentative)));
}

TEST(AttendeeSummary, EachAnswerHasItsMark) {
    using design::Theme;
    const core::Color faint = Theme::text3().resolve();
    const struct {
        ParticipantStatus status;
        const char16_t* symbol;
        const char16_t* label;
        core::Color color;
    } marks[] = {
        {ParticipantStatus::unknown, u"circle.dashed", u"No reply", faint},
        {ParticipantStatus::pending, u"circle.dashed", u"No reply", faint},
        {ParticipantStatus::inProcess, u"circle.dashed", u"No reply", faint},
        {ParticipantStatus::accepted, u"checkmark.circle", u"Going", Theme::green()},
        {ParticipantStatus::completed, u"checkmark.circle", u"Going", Theme::green()},
        {ParticipantStatus::declined, u"xmark.circle", u"Declined", Theme::flame()},
        {ParticipantStatus::tentative, u"questionmark.circle", u"Maybe", Theme::amber()},
        {ParticipantStatus::delegated, u"arrow.right.circle", u"Delegated", faint},
    };
    for (const auto& mark : marks) {
        const attendees::StatusStyle style = attendees::statusStyle(mark.status);
        EXPECT_EQ(style.symbol, QString::fromUtf16(mark.symbol)) << style.label.toStdString();
        EXPECT_EQ(style.label, QString::fromUtf16(mark.label));
        EXPECT_EQ(style.color, mark.color) << style.label.toStdString();
    }
}

TEST(AttendeeSummary, CountsAreWrittenInPlainDigits) {
    std::vector<ODAttendee> many;
    for (int i = 0; i < 1200; ++i)
        many.push_back(person(u"P"_s + QString::number(i), ParticipantStatus::accepted));
    EXPECT_EQ(attendees::rowSummary(many), u"1200 invited · 1200 yes"_s);
}

}  // namespace
