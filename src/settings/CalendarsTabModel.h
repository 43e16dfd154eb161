#pragma once

#include "core/Date.h"
#include "model/ODCalendar.h"
#include "model/ODEvent.h"

#include <QHash>
#include <QObject>
#include <QString>

#include <optional>
#include <vector>

namespace app {
class AppSettings;
}
namespace store {
class CalendarStore;
}

namespace settings {

// The calendars of one account, as the Calendars tab lists them.
struct CalendarGroup {
    QString source;
    std::vector<model::ODCalendar> calendars;

    bool operator==(const CalendarGroup&) const = default;
};

// Where an account's group stands: cloud accounts first, then Google-type and
// Exchange-type ones, then any other, then this computer's own calendars, then
// subscriptions, holidays and calendars of no account. Matched on fragments of
// the lower-cased name, in that order of tests.
int accountRank(const QString& source);
// The symbol beside an account's name.
QString accountSymbol(const QString& source);
// The group of a calendar whose account has no name.
QString otherAccountName();

// Groups by account name in rank order (names of equal rank by the locale, case
// ignored), each group's calendars by title the same way; equal titles keep
// their order.
std::vector<CalendarGroup> groupCalendars(const std::vector<model::ODCalendar>& calendars);
// Per calendar, how many of the events have not ended by `now`.
QHash<QString, int> upcomingCounts(const std::vector<model::ODEvent>& events, core::Date now);

// What the Calendars tab shows and changes: the calendar new events go to, and
// which calendars the whole app shows. It keeps nothing itself; `changed` tells
// the view to read everything again.
class CalendarsTabModel final : public QObject {
    Q_OBJECT

public:
    CalendarsTabModel(store::CalendarStore& store, app::AppSettings& settings, QObject* parent = nullptr);

    // The calendars the default may be, in the store's order.
    std::vector<model::ODCalendar> writable() const;
    // The calendar new events go to now: the same answer Quick add and the editor get.
    std::optional<QString> resolvedDefault() const;
    void chooseDefault(const QString& calendarID);

    bool hasCalendars() const;
    std::vector<CalendarGroup> groups() const;
    // Read at each call: a count drops when the view is next refreshed.
    QHash<QString, int> upcoming() const;
    bool isOn(const QString& calendarID) const;
    // Stores the explicit set of shown calendars; the store then reloads without
    // (or with) this calendar's events.
    void setOn(const QString& calendarID, bool on);

    // While the calendar files are first read: nothing is known to be missing yet.
    bool isReading() const;
    // Instead of the list when there are no calendars; empty while they are first read.
    QString emptyText() const;
    static QString footerText();

signals:
    void changed();

private:
    store::CalendarStore& m_store;
    app::AppSettings& m_settings;
};

}  // namespace settings
