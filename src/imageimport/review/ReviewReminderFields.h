#pragma once

#include "design/widgets/PopupMenu.h"

#include <QWidget>

#include <vector>

namespace design {
class FieldCard;
}

namespace imageimport {

class ImageReviewModel;
class QuickDaysRow;
class ReviewCards;
class ReviewNote;

// What a reminder is made of, below its title: the due day and the time to be
// reminded (each opens its card), the quick days while there is no day, the
// list and the priority (each a menu at the pointer) and, when the image itself
// asked for a reminder, why.
class ReviewReminderFields final : public QWidget {
    Q_OBJECT

public:
    ReviewReminderFields(ImageReviewModel& model, ReviewCards& cards, QWidget* parent = nullptr);

    design::FieldCard* dueChip() const { return m_due; }
    design::FieldCard* remindChip() const { return m_remind; }
    QuickDaysRow* quickDays() const { return m_quickDays; }
    design::FieldCard* listChip() const { return m_list; }
    design::FieldCard* priorityChip() const { return m_priority; }
    ReviewNote* reasonLine() const { return m_reason; }

    // What the menus offer; empty for the list while no list can take a reminder.
    std::vector<design::PopupMenuItem> listMenuItems();
    std::vector<design::PopupMenuItem> priorityMenuItems();

    void showModel();

private:
    void addCards(ReviewCards& cards);
    void openListMenu();

    ImageReviewModel& m_model;
    design::FieldCard* m_due;
    design::FieldCard* m_remind;
    QuickDaysRow* m_quickDays;
    design::FieldCard* m_list;
    design::FieldCard* m_priority;
    ReviewNote* m_reason;
};

}  // namespace imageimport
