#pragma once

#include "core/Color.h"
#include "core/Date.h"
#include "imageimport/review/ImageReviewModel.h"

#include <QString>

#include <optional>
#include <vector>

namespace store {
class CalendarStore;
}

namespace imageimport {

// What a chip's badge says of its value: read from the image, or filled in.
enum class ValueTag { found, defaulted };

// The reminder's side of a review as its chips show it: the due day and the
// time to be reminded with their badges, the list and the priority with the
// choices their menus offer, and the line that says why the image became a
// reminder. It reads the review and the store each time it is asked, so it is
// never stale; the choices themselves are made on the review.
class ReminderChoices {
public:
    // The store's scale: 0 none, 1 the highest, 9 the lowest.
    struct Priority {
        QString title;
        int value = 0;
    };
    // In the order the menu lists them: None, Low, Medium, High.
    static const std::vector<Priority>& priorities();
    // "None" for a value no row stands for.
    static QString priorityTitle(int value);

    struct ListFace {
        QString title;
        core::Color dot;
        bool operator==(const ListFace&) const = default;
    };
    struct ListChoice {
        QString id;
        QString title;
        core::Color color;
        bool checked = false;
        bool operator==(const ListChoice&) const = default;
    };

    ReminderChoices(const ImageReviewModel& review, const store::CalendarStore& store);

    // "calendar.badge.clock", or "calendar" where that cannot be drawn.
    static QString dueIcon();
    // The due day, "Pick a day" without one.
    QString dueValue() const;
    std::optional<ValueTag> dueTag() const;
    QString remindValue() const;
    // Today at the time to be reminded: what the remind card's field shows.
    core::Date remindTime() const;
    // Today at 9, 12, 13, 15 and 18 o'clock, the remind card's quick times.
    static std::vector<core::Date> quickTimes();
    static TimeOfDay timeOfDay(core::Date time);
    // None once set by hand; found while the candidate whose time it holds had an hour.
    std::optional<ValueTag> remindTag() const;

    // The chosen list, else the store's default; "Reminders" on the sky dot when
    // neither is a list the store knows.
    ListFace listFace() const;
    // Every list that takes new reminders, in the store's order, the shown one checked.
    std::vector<ListChoice> listChoices() const;
    QString priorityValue() const;
    struct PriorityChoice {
        QString title;
        int value = 0;
        bool checked = false;
        bool operator==(const PriorityChoice&) const = default;
    };
    std::vector<PriorityChoice> priorityChoices() const;

    // Why the image was read as a reminder, quoting its deadline words; only
    // when the extractor proposed one.
    std::optional<QString> reasonLine() const;

private:
    std::optional<QString> currentListID() const;

    const ImageReviewModel& m_review;
    const store::CalendarStore& m_store;
};

}  // namespace imageimport
