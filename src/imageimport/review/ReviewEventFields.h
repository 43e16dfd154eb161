#pragma once

#include "imageimport/extraction/ImageExtraction.h"

#include <QWidget>

#include <vector>

class QAbstractButton;

namespace design {
class FieldCard;
class TextLine;
}  // namespace design

namespace imageimport {

class DatePill;
class ImageReviewModel;
class QuickDaysRow;
class ReviewCards;
class ReviewLocationRow;
class ReviewMeetingRow;

// The other dates the image held, as pills that wrap at the panel's width, the
// applied one checked; a tap applies that one. Nothing shows with fewer than two.
class OtherDatesBlock final : public QWidget {
    Q_OBJECT

public:
    OtherDatesBlock(const ImageExtraction& extraction, QWidget* parent = nullptr);

    const std::vector<DatePill*>& pills() const { return m_pills; }
    void showSelected(std::optional<int> selectedID);

signals:
    void picked(const DateCandidate& candidate);

private:
    std::vector<DateCandidate> m_candidates;
    std::vector<DatePill*> m_pills;
};

// What an event is made of, below its title: the date and time chips, then the
// quick days while there is no day or the length and calendar chips once there
// is, the place, the meeting link the image held, and the other dates it held.
class ReviewEventFields final : public QWidget {
    Q_OBJECT

public:
    ReviewEventFields(ImageReviewModel& model, ReviewCards& cards, QWidget* parent = nullptr);

    design::FieldCard* calendarChip() const { return m_calendar; }
    QuickDaysRow* quickDays() const { return m_quickDays; }
    ReviewLocationRow* locationRow() const { return m_location; }
    // None when the image held no meeting link.
    ReviewMeetingRow* meetingRow() const { return m_meeting; }
    OtherDatesBlock* otherDates() const { return m_otherDates; }

    void showModel();
    void openCalendarMenu();

private:
    void addCards(ReviewCards& cards);

    ImageReviewModel& m_model;
    ReviewCards& m_cards;
    design::FieldCard* m_date;
    design::FieldCard* m_time;
    design::FieldCard* m_duration;
    design::FieldCard* m_calendar;
    QWidget* m_secondRow = nullptr;
    QuickDaysRow* m_quickDays;
    ReviewLocationRow* m_location;
    ReviewMeetingRow* m_meeting = nullptr;
    OtherDatesBlock* m_otherDates;
};

}  // namespace imageimport
