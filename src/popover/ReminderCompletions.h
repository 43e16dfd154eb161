#pragma once

#include "model/ODReminder.h"

#include <QHash>
#include <QObject>
#include <QString>


namespace core {
class ClockTimer;
}
namespace store {
class CalendarStore;
}

namespace popover {

// The reminders ticked in the popover whose completion waits out a short grace
// period, in which a second click takes the tick back. It outlives the
// reminders section: a tick the user saw is completed even when the popover
// closes or the screen is rebuilt meanwhile, and at once when the application
// quits. Completing the last due reminder is announced, for a section on
// screen to celebrate.
// Main thread only; waits on core::ClockTimer.
class ReminderCompletions : public QObject {
    Q_OBJECT

public:
    static constexpr double kGracePeriod = 1.5;

    // The store must outlive this object.
    explicit ReminderCompletions(store::CalendarStore& store, QObject* parent = nullptr);
    // Completes what is still pending.
    ~ReminderCompletions() override;

    bool isChecked(const QString& reminderID) const { return m_pending.contains(reminderID); }
    int pendingCount() const { return static_cast<int>(m_pending.size()); }
    // A completion is under way: the store's reminders change as part of it,
    // and `changed` follows once it is over.
    bool isCompleting() const { return m_completing; }

    // Ticks the reminder, its completion due after the grace period; a ticked
    // one is unticked and nothing happens to it.
    void toggle(const model::ODReminder& reminder);
    // Completes every pending tick now (the application is quitting).
    void completePending();

signals:
    // The last due reminder was completed; `changed` follows.
    void lastCompleted();
    // A tick or a completion changed.
    void changed();

private:
    void complete(const QString& reminderID);

    store::CalendarStore& m_store;
    // Reminder id → the timer of its completion.
    QHash<QString, core::ClockTimer*> m_pending;
    bool m_completing = false;
};

}  // namespace popover
