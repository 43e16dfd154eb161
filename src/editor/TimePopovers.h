#pragma once

#include "core/Date.h"

#include <QWidget>

namespace design {
class MonthPicker;
class QuickChoiceRow;
class TextLine;
class TimeField;
}  // namespace design

namespace editor {

class EventEditorModel;

// An hour-and-minute field under its title in small capitals ("START").
class TitledTimeField : public QWidget {
    Q_OBJECT

public:
    explicit TitledTimeField(const QString& title, QWidget* parent = nullptr);

    design::TextLine* title() const { return m_title; }
    design::TimeField* field() const { return m_field; }

private:
    design::TextLine* m_title;
    design::TimeField* m_field;
};

// What the day button of a one-day event opens, on the editing clock: the month
// to move the event to another day (its times kept), and for a timed event its
// start and end times and lengths to pick at a click.
class SameDayPopover : public QWidget {
    Q_OBJECT

public:
    explicit SameDayPopover(EventEditorModel& model, QWidget* parent = nullptr);

    design::MonthPicker* monthPicker() const { return m_month; }
    // Null for an all-day event.
    TitledTimeField* startField() const { return m_start; }
    TitledTimeField* endField() const { return m_end; }
    design::QuickChoiceRow* quickLengths() const { return m_lengths; }

private:
    void refresh();

    EventEditorModel& m_model;
    design::MonthPicker* m_month;
    TitledTimeField* m_start = nullptr;
    TitledTimeField* m_end = nullptr;
    design::QuickChoiceRow* m_lengths = nullptr;
};

// What the Starts or Ends button opens: the month, and for a timed event the
// hour and minute. No end before the start can be picked; an all-day event's end
// is its last day.
class EndpointPopover : public QWidget {
    Q_OBJECT

public:
    EndpointPopover(EventEditorModel& model, bool isStart, QWidget* parent = nullptr);

    design::MonthPicker* monthPicker() const { return m_month; }
    // Null for an all-day event.
    design::TimeField* timeField() const { return m_time; }

private:
    void pick(core::Date moment);
    void refresh();

    EventEditorModel& m_model;
    const bool m_isStart;
    design::MonthPicker* m_month;
    design::TimeField* m_time = nullptr;
};

}  // namespace editor
