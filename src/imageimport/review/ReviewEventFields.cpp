#include "imageimport/review/ReviewEventFields.h"

#include "core/Clock.h"
#include "design/values/Theme.h"
#include "design/widgets/DurationList.h"
#include "design/widgets/FieldCard.h"
#include "design/widgets/FlowLayout.h"
#include "design/widgets/KitWidget.h"
#include "design/widgets/MonthPicker.h"
#include "design/widgets/ODFont.h"
#include "design/widgets/PopupMenu.h"
#include "design/widgets/TextLine.h"
#include "design/widgets/TimeCard.h"
#include "imageimport/review/ImageReviewModel.h"
#include "imageimport/review/ReviewCards.h"
#include "imageimport/review/ReviewFaces.h"
#include "imageimport/review/ReviewPills.h"
#include "imageimport/review/ReviewPlaceRows.h"

#include <QHBoxLayout>
#include <QPointer>
#include <QVBoxLayout>

using namespace Qt::Literals::StringLiterals;
using design::FontWeight;
using design::Theme;
using Card = imageimport::ImageReviewModel::Card;

namespace imageimport {

namespace {

constexpr int kPillSpacing = 6;

core::Date today(TimeOfDay time) {
    const core::Date now = core::Clock::current().now();
    return core::Calendar().dateBySettingTime(time.hour, time.minute, 0, now).value_or(now);
}

}  // namespace

// --- OtherDatesBlock --------------------------------------------------------------------------------

OtherDatesBlock::OtherDatesBlock(const ImageExtraction& extraction, QWidget* parent)
    : QWidget(parent), m_candidates(datedCandidates(extraction)) {
    setObjectName(u"ReviewOtherDates"_s);
    auto* column = new QVBoxLayout(this);
    column->setContentsMargins(0, 0, 0, 0);
    column->setSpacing(kPillSpacing);
    auto* header = new design::TextLine(u"OTHER DATES IN THE IMAGE"_s, design::ODFont::body(10, FontWeight::bold),
                                        Theme::text3(), this);
    header->setTracking(0.6);
    design::setAccessibleRole(header, QAccessible::Heading);
    header->setAccessibleName(header->text());
    column->addWidget(header);
    auto* pills = new QWidget(this);
    pills->setAccessibleName(u"Other dates in the image"_s);
    auto* flow = new design::FlowLayout(kPillSpacing, pills);
    flow->setContentsMargins(0, 0, 0, 0);
    const core::Calendar calendar;
    for (const DateCandidate& candidate : m_candidates) {
        auto* pill = new DatePill(pillLabel(extraction, candidate, calendar), pills);
        flow->addWidget(pill);
        m_pills.push_back(pill);
        connect(pill, &QAbstractButton::clicked, this, [this, candidate] { emit picked(candidate); });
    }
    column->addWidget(pills);
    setVisible(m_candidates.size() >= 2);
}

void OtherDatesBlock::showSelected(std::optional<int> selectedID) {
    for (std::size_t index = 0; index < m_pills.size(); ++index)
        m_pills[index]->setSelected(selectedID == m_candidates[index].id);
}

// --- ReviewEventFields -------------------------------------------------------------------------------

ReviewEventFields::ReviewEventFields(ImageReviewModel& model, ReviewCards& cards, QWidget* parent)
    : QWidget(parent),
      m_model(model),
      m_cards(cards),
      m_date(reviewChip(u"DATE"_s, u"calendar"_s, Theme::sky(), this)),
      m_time(reviewChip(u"TIME"_s, u"clock"_s, Theme::flame(), this)),
      m_duration(reviewChip(u"DURATION"_s, u"timer"_s, Theme::green(), this)),
      m_calendar(reviewChip(u"CALENDAR"_s, u"folder"_s, Theme::amber(), this)),
      m_quickDays(new QuickDaysRow(this)),
      m_location(new ReviewLocationRow(this)),
      m_otherDates(new OtherDatesBlock(model.extraction(), this)) {
    setObjectName(u"ReviewEventFields"_s);
    auto* column = new QVBoxLayout(this);
    column->setContentsMargins(0, 0, 0, 0);
    column->setSpacing(10);
    column->addWidget(chipRow(this, m_date, m_time));
    m_secondRow = chipRow(this, m_duration, m_calendar);
    column->addWidget(m_secondRow);
    column->addWidget(m_quickDays);
    column->addWidget(m_location);
    if (const std::optional<model::MeetingLink>& link = model.extraction().meeting) {
        m_meeting = new ReviewMeetingRow(this);
        m_meeting->showLink(*link);
        column->addWidget(m_meeting);
    }
    column->addWidget(m_otherDates);

    addCards(cards);
    connect(m_calendar, &QAbstractButton::clicked, this, &ReviewEventFields::openCalendarMenu);
    connect(m_quickDays, &QuickDaysRow::picked, &m_model, &ImageReviewModel::pickDay);
    connect(m_otherDates, &OtherDatesBlock::picked, &m_model, &ImageReviewModel::pick);
    connect(m_location->field(), &LocationField::edited, &m_model, &ImageReviewModel::setLocation);
    connect(m_location->field(), &LocationField::submitted, &m_model, &ImageReviewModel::add);
}

void ReviewEventFields::addCards(ReviewCards& cards) {
    QPointer<ImageReviewModel> model(&m_model);
    cards.addChip(Card::date, m_date, dayCard(model));
    cards.addChip(Card::time, m_time,
                  {[model] {
                       auto* card = new design::TimeCard({.allDaySwitch = true, .quickTimesWhileAllDay = true});
                       QObject::connect(card, &design::TimeCard::allDayToggled, model, &ImageReviewModel::setAllDay);
                       QObject::connect(card, &design::TimeCard::timeEdited, model,
                                        [model](core::Date time) { model->chooseTime(ReminderChoices::timeOfDay(time)); });
                       QObject::connect(card, &design::TimeCard::quickTimeChosen, model,
                                        [model](core::Date time) { model->chooseQuickTime(ReminderChoices::timeOfDay(time)); });
                       return card;
                   },
                   [model](QWidget* content) {
                       auto* card = static_cast<design::TimeCard*>(content);
                       card->setAllDay(!model->time());
                       card->setTime(today(model->time().value_or(ImageReviewModel::kDefaultStart)));
                       card->setQuickTimes(ReminderChoices::quickTimes());
                   }});
    cards.addChip(Card::duration, m_duration,
                  {[model] {
                       auto* list = new design::DurationList;
                       QObject::connect(list, &design::DurationList::chosen, model, &ImageReviewModel::chooseLength);
                       return list;
                   },
                   [model](QWidget* content) {
                       static_cast<design::DurationList*>(content)->setSelected(model->lengthMinutes());
                   }});
    cards.addTapTarget(m_calendar);
}

void ReviewEventFields::openCalendarMenu() {
    std::vector<design::PopupMenuItem> items;
    for (const CalendarChoice& choice : calendarChoices(m_model)) {
        items.push_back({choice.title, choice.color, choice.checked, false,
                         [model = QPointer(&m_model), id = choice.id] {
                             if (model)
                                 model->chooseCalendar(id);
                         }});
    }
    design::PopupMenu::show(items);
}

void ReviewEventFields::showModel() {
    const std::optional<Card> open = m_model.openCard();
    showChipFace(m_date, eventDateFace(m_model), open == Card::date);
    showChipFace(m_time, eventTimeFace(m_model), open == Card::time);
    showChipFace(m_duration, eventDurationFace(m_model), open == Card::duration);
    const CalendarFace calendar = calendarFace(m_model);
    m_calendar->setValue(calendar.value);
    m_calendar->setValueDot(calendar.dot);
    const bool hasDay = m_model.day().has_value();
    m_secondRow->setVisible(hasDay);
    m_quickDays->setVisible(!hasDay);
    if (!hasDay)
        m_quickDays->showDays(core::Calendar(), core::Clock::current().now());
    m_location->showLocation(m_model.location(), m_model.extraction().location);
    m_otherDates->showSelected(m_model.selectedID());
}

}  // namespace imageimport
