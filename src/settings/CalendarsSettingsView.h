#pragma once

#include "model/ODCalendar.h"
#include "settings/CalendarsTabModel.h"

#include <QHash>
#include <QString>
#include <QWidget>

#include <vector>

class QScrollArea;
class QVBoxLayout;

namespace design {
class ODSwitch;
class TextLine;
template <typename Value>
class ODMenuButton;
}  // namespace design

namespace settings {

// The Calendars tab: the calendar new events go to, and every calendar grouped
// by account, each with its count of events to come and a switch that shows or
// hides it in the whole app.
class CalendarsSettingsView : public QWidget {
    Q_OBJECT

public:
    // Takes the model.
    explicit CalendarsSettingsView(CalendarsTabModel* model, QWidget* parent = nullptr);

    CalendarsTabModel& model() const { return *m_model; }
    design::ODMenuButton<QString>& defaultPicker() const { return *m_picker; }
    // The switch of a listed calendar; nullptr for one not listed.
    design::ODSwitch* switchFor(const QString& calendarID) const;

private:
    struct Row {
        design::ODSwitch* toggle;
        design::TextLine* title;
        design::TextLine* count;
    };

    void refresh();
    void rebuildList(const std::vector<CalendarGroup>& groups);
    void updateRows();
    QWidget* section(const CalendarGroup& group);
    QWidget* row(const model::ODCalendar& calendar);

    CalendarsTabModel* m_model;
    design::ODMenuButton<QString>* m_picker;
    QVBoxLayout* m_layout;
    QWidget* m_body = nullptr;
    QScrollArea* m_scroll = nullptr;
    std::vector<CalendarGroup> m_shownGroups;
    bool m_showsList = false;
    QHash<QString, Row> m_rows;
};

}  // namespace settings
