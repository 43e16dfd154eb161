#include "imageimport/review/ReviewReminderFields.h"

#include "core/Calendar.h"
#include "core/Clock.h"
#include "design/values/Theme.h"
#include "design/widgets/FieldCard.h"
#include "design/widgets/MonthPicker.h"
#include "design/widgets/ODFont.h"
#include "design/widgets/TimeCard.h"
#include "imageimport/review/ImageReviewModel.h"
#include "imageimport/review/ReminderChoices.h"
#include "imageimport/review/ReviewCards.h"
#include "imageimport/review/ReviewFaces.h"
#include "imageimport/review/ReviewPills.h"
#include "imageimport/review/ReviewSourceParts.h"
#include "store/CalendarStore.h"

#include <QHBoxLayout>
#include <QPointer>
#include <QVBoxLayout>

using namespace Qt::Literals::StringLiterals;
using design::FontWeight;
using design::Theme;
using Card = imageimport::ImageReviewModel::Card;

namespace imageimport {

ReviewReminderFields::ReviewReminderFields(ImageReviewModel& model, ReviewCards& cards, QWidget* parent)
    : QWidget(parent),
      m_model(model),
      m_due(reviewChip(u"DUE"_s, ReminderChoices::dueIcon(), Theme::sky(), this)),
      m_remind(reviewChip(u"REMIND ME"_s, u"bell"_s, Theme::flame(), this)),
      m_quickDays(new QuickDaysRow(this)),
      m_list(reviewChip(u"LIST"_s, u"list.bullet"_s, Theme::amber(), this)),
      m_priority(reviewChip(u"PRIORITY"_s, u"flag"_s, Theme::green(), this)),
      m_reason(new ReviewNote({},
                              {u"sparkles"_s, 12, design::ODFont::body(11.5, FontWeight::medium), Theme::text2(),
                               Theme::fillSoft(), 9},
                              this)) {
    setObjectName(u"ReviewReminderFields"_s);
    m_reason->setObjectName(u"ReviewReason"_s);
    auto* column = new QVBoxLayout(this);
    column->setContentsMargins(0, 0, 0, 0);
    column->setSpacing(10);
    column->addWidget(chipRow(this, m_due, m_remind));
    column->addWidget(m_quickDays);
    column->addWidget(chipRow(this, m_list, m_priority));
    column->addWidget(m_reason);

    addCards(cards);
    connect(m_quickDays, &QuickDaysRow::picked, &m_model, &ImageReviewModel::pickDay);
    connect(m_list, &QAbstractButton::clicked, this, &ReviewReminderFields::openListMenu);
    connect(m_priority, &QAbstractButton::clicked, this, [this] { design::PopupMenu::show(priorityMenuItems()); });
    // Access given, a list added or renamed elsewhere: the list chip follows.
    connect(&m_model.store(), &store::CalendarStore::reminderListsChanged, this, &ReviewReminderFields::showModel);
}

void ReviewReminderFields::addCards(ReviewCards& cards) {
    QPointer<ImageReviewModel> model(&m_model);
    cards.addChip(Card::due, m_due, dayCard(model));
    cards.addChip(Card::remind, m_remind,
                  {[model] {
                       // A reminder is never all day: the field and the quick times alone.
                       auto* card = new design::TimeCard({.allDaySwitch = false});
                       QObject::connect(card, &design::TimeCard::timeEdited, model,
                                        [model](core::Date time) { model->chooseRemindAt(ReminderChoices::timeOfDay(time)); });
                       QObject::connect(card, &design::TimeCard::quickTimeChosen, model, [model](core::Date time) {
                           model->chooseRemindAt(ReminderChoices::timeOfDay(time));
                           model->setOpenCard(std::nullopt);
                       });
                       return card;
                   },
                   [model](QWidget* content) {
                       auto* card = static_cast<design::TimeCard*>(content);
                       card->setTime(ReminderChoices(*model, model->store()).remindTime());
                       card->setQuickTimes(ReminderChoices::quickTimes());
                   }});
    cards.addTapTarget(m_list);
    cards.addTapTarget(m_priority);
}

std::vector<design::PopupMenuItem> ReviewReminderFields::listMenuItems() {
    std::vector<design::PopupMenuItem> items;
    for (const ReminderChoices::ListChoice& list : ReminderChoices(m_model, m_model.store()).listChoices()) {
        items.push_back({list.title, list.color, list.checked, false, [model = QPointer(&m_model), id = list.id] {
                             if (model)
                                 model->chooseList(id);
                         }});
    }
    return items;
}

std::vector<design::PopupMenuItem> ReviewReminderFields::priorityMenuItems() {
    std::vector<design::PopupMenuItem> items;
    for (const ReminderChoices::PriorityChoice& priority :
         ReminderChoices(m_model, m_model.store()).priorityChoices()) {
        items.push_back({priority.title, std::nullopt, priority.checked, false,
                         [model = QPointer(&m_model), value = priority.value] {
                             if (model)
                                 model->choosePriority(value);
                         }});
    }
    return items;
}

void ReviewReminderFields::openListMenu() {
    const std::vector<design::PopupMenuItem> items = listMenuItems();
    // No list to offer means no access yet: the tap asks for it instead.
    if (items.empty()) {
        m_model.askForRemindersAccess();
        return;
    }
    design::PopupMenu::show(items);
}

void ReviewReminderFields::showModel() {
    const ReminderChoices choices(m_model, m_model.store());
    const std::optional<Card> open = m_model.openCard();
    const bool hasDay = m_model.day().has_value();
    showChipFace(m_due, {choices.dueValue(), choices.dueTag(), !hasDay}, open == Card::due);
    showChipFace(m_remind, {choices.remindValue(), choices.remindTag(), false}, open == Card::remind);
    m_quickDays->setVisible(!hasDay);
    if (!hasDay)
        m_quickDays->showDays(core::Calendar(), core::Clock::current().now());
    const ReminderChoices::ListFace list = choices.listFace();
    m_list->setValue(list.title);
    m_list->setValueDot(list.dot);
    m_priority->setValue(choices.priorityValue());
    const std::optional<QString> reason = choices.reasonLine();
    m_reason->setText(reason.value_or(QString()));
    m_reason->setAccessibleName(reason.value_or(QString()));
    m_reason->setVisible(reason.has_value());
}

}  // namespace imageimport
