#pragma once

#include "state/PopoverRoute.h"

#include <QObject>

namespace app {
class AppSettings;
class AppState;
}  // namespace app
namespace store {
class CalendarStore;
}

namespace popover {

// The screen the popover shows for a route: while the route is the main screen,
// the onboarding screen as long as calendar access is undecided and the
// access-denied screen while it is refused. Every other route stands as it is.
// Never written back to the route.
app::PopoverRoute effectiveRoute(const app::PopoverRoute& route, const store::CalendarStore& store);

// What the onboarding screen does: it asks for calendar access and for
// reminders access, one request at a time and each only when the user presses
// its Allow, and leaves for the main screen (or the access-denied screen when
// calendar access was refused) once both are answered or the reminders are
// skipped. What it shows follows from the store's two access statuses.
// Lives as long as the screen; a request still out when it goes is answered to
// the store alone.
class PermissionsFlow : public QObject {
    Q_OBJECT

public:
    // The three objects must outlive this one.
    PermissionsFlow(store::CalendarStore& store, app::AppSettings& settings, app::AppState& appState,
                    QObject* parent = nullptr);

    // A request is out: both Allow buttons wait.
    bool isRequesting() const { return m_requesting; }
    // Which row is the question to answer now (it carries the outline).
    bool isCalendarsRowActive() const;
    bool isRemindersRowActive() const;
    // Skip is offered once the calendars question is answered.
    bool canSkip() const;
    // What a request had to say besides its answer (that the answer cannot be kept after a restart); empty
    // without one.
    const QString& note() const { return m_note; }

    void allowCalendars();
    void allowReminders();
    // Leaves without the reminders: without full reminders access the main
    // screen stops showing the reminders section.
    void skip();

signals:
    // isRequesting changed; the statuses have their own signals in the store.
    void changed();

private:
    void setRequesting(bool requesting);
    void finish();

    store::CalendarStore& m_store;
    app::AppSettings& m_settings;
    app::AppState& m_appState;
    bool m_requesting = false;
    QString m_note;
};

// What the access-denied screen does: it checks the calendar permission again
// when the user asks, whenever the application becomes active and whenever the
// store reads the permission anew, and leaves for the main screen when access is
// back (for onboarding when the question is open again). Only a check the user
// asked for that finds access still off says so; an automatic one never changes
// the message.
class AccessRecheck : public QObject {
    Q_OBJECT

public:
    AccessRecheck(store::CalendarStore& store, app::AppState& appState, QObject* parent = nullptr);

    bool isStillOff() const { return m_stillOff; }
    void recheck(bool userInitiated);
    // An automatic check of the statuses the store has just read, without reading them again.
    void follow();

signals:
    void stillOffChanged(bool stillOff);

private:
    // Routes by the status the store holds now.
    void decide(bool userInitiated);
    void setStillOff(bool stillOff);

    store::CalendarStore& m_store;
    app::AppState& m_appState;
    bool m_stillOff = false;
};

}  // namespace popover
