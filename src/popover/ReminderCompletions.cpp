#include "popover/ReminderCompletions.h"

#include "core/Clock.h"
#include "core/ClockTimer.h"
#include "platform/eventstore/EventStoreError.h"
#include "popover/DueReminders.h"
#include "store/CalendarStore.h"

#include <QCoreApplication>
#include <QScopedValueRollback>

namespace popover {

ReminderCompletions::ReminderCompletions(store::CalendarStore& store, QObject* parent)
    : QObject(parent), m_store(store) {
    if (QCoreApplication::instance() != nullptr)
        connect(QCoreApplication::instance(), &QCoreApplication::aboutToQuit, this,
                &ReminderCompletions::completePending);
}

ReminderCompletions::~ReminderCompletions() {
    completePending();
}

void ReminderCompletions::toggle(const model::ODReminder& reminder) {
    const QString id = reminder.id;
    if (core::ClockTimer* timer = m_pending.take(id)) {
        delete timer;
        emit changed();
        return;
    }
    auto* timer = new core::ClockTimer(this);
    connect(timer, &core::ClockTimer::timeout, this, [this, id] { complete(id); });
    timer->startAt(core::Clock::current().now() + kGracePeriod);
    m_pending.insert(id, timer);
    emit changed();
}

void ReminderCompletions::completePending() {
    const QStringList ids = m_pending.keys();
    for (const QString& id : ids)
        complete(id);
}

void ReminderCompletions::complete(const QString& reminderID) {
    core::ClockTimer* timer = m_pending.take(reminderID);
    if (timer == nullptr)
        return;
    timer->deleteLater();
    const QScopedValueRollback completing(m_completing, true);
    const core::Date now = core::Clock::current().now();
    const bool isLast = DueReminders::items(m_store.reminders(), now, core::Calendar::current()).size() == 1;
    try {
        m_store.completeReminder(reminderID);
    } catch (const platform::LocalizedError& error) {
        m_store.setLastError(error.errorDescription());
    } catch (const std::exception& error) {
        m_store.setLastError(QString::fromUtf8(error.what()));
    }
    if (isLast)
        emit lastCompleted();
    emit changed();
}

}  // namespace popover
