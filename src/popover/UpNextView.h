#pragma once

#include "core/ClockTimer.h"
#include "core/Date.h"
#include "model/AccessStatus.h"
#include "popover/AgendaSection.h"
#include "popover/EventRowContent.h"

#include <QHash>
#include <QWidget>

#include <vector>

class QVBoxLayout;

namespace app {
class AppSettings;
class AppState;
}  // namespace app
namespace platform {
class Workspace;
}
namespace store {
class CalendarStore;
}

namespace popover {

class EventRowView;

// The agenda of the day selected in the month grid: a heading, the all-day
// events as pills, a line standing for the events already over (which opens
// into their rows), the timed events as rows with the ongoing or next one
// highlighted, and a closing note; for today, tomorrow follows when it has
// something on. An empty day offers the next event; with no calendar switched
// on the agenda asks the user to choose some. It is redrawn at the start of
// every minute and whenever the store, the selection or the settings change.
class UpNextView : public QWidget {
    Q_OBJECT

public:
    UpNextView(store::CalendarStore& store, app::AppState& appState, app::AppSettings& settings,
               platform::Workspace& workspace, QWidget* parent = nullptr);
    ~UpNextView() override;

    // The minute the agenda shows.
    core::Date now() const { return m_now; }
    const std::vector<AgendaSection>& sections() const { return m_sections; }
    bool showsNoCalendarsPrompt() const { return m_noCalendars; }
    // Whether the events already over are shown as rows; one flag for every section.
    bool showsEarlier() const { return m_showEarlier; }
    void setShowEarlier(bool show);

    // The highlighted row, when one is shown.
    EventRowView* highlightedRow() const;

protected:
    void showEvent(QShowEvent* event) override;

private:
    using Pieces = QHash<QString, QWidget*>;

    void rebuild();
    // Rebuilds once the changes that arrive together have all arrived.
    void scheduleRebuild();
    void scheduleTick();
    // Draws again a turn later, where this drawing left pieces to be made (with whatever else changed meanwhile).
    void makeLeftPieces();
    void addSection(const AgendaSection& section, Pieces& old);
    void addEmptyDay(const AgendaSection& section, Pieces& old);
    void addEarlier(const AgendaSection& section, Pieces& old);
    void addNoCalendarsPrompt(Pieces& old);
    EventRowView* addRow(const QString& key, const EventRowInput& input, Pieces& old, bool& created);
    // The widget kept under `key` from the last drawing, or a new one; placed next. nullptr when no more may be made
    // in this drawing.
    template <class T, class Make>
    T* piece(const QString& key, Pieces& old, Make make, bool* created = nullptr);
    void openEvent(const QString& id);

    store::CalendarStore& m_store;
    app::AppState& m_appState;
    app::AppSettings& m_settings;
    platform::Workspace& m_workspace;
    QVBoxLayout* m_layout;
    core::ClockTimer m_tick;
    Pieces m_pieces;
    std::vector<AgendaSection> m_sections;
    core::Date m_now;
    model::AccessStatus m_drawnAccess = model::AccessStatus::notDetermined;
    bool m_noCalendars = false;
    bool m_showEarlier = false;
    // The day the earlier group was folded for.
    core::Date m_selectedDate;
    // Set while a click opens the earlier group, so its rows fade in.
    bool m_fadeInEarlier = false;
    bool m_rebuildPending = false;
    // The pieces left for a later turn are rows of an earlier group being opened.
    bool m_fadeInLeftPieces = false;
    // How many pieces this drawing may still make, and whether it left some to make.
    int m_piecesToMake = 0;
    bool m_piecesLeft = false;
};

}  // namespace popover
