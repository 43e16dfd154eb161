#pragma once

#include "platform/systemevents/SystemEvents.h"
#include "platform/systemevents/WallClockWatch.h"

#include <QTimer>

namespace platform {

// Looks at the wall clock at the start of every minute (Qt timers count on a clock that stops during suspend,
// so a timer set for midnight fires hours late after a night asleep), listens to logind's PrepareForSleep on the
// system bus when there is one, and notices a new system time zone.
class LinuxSystemEvents : public SystemEvents {
    Q_OBJECT

public:
    explicit LinuxSystemEvents(QObject* parent = nullptr);

    // TZ, the target, time and size of the system zone file, and the zone named beside it.
    static QString zoneSignature();
    // Seconds the machine has spent suspended since boot.
    static double sleptSeconds();

private slots:
    void onPrepareForSleep(bool sleeping);

private:
    // `woke`: logind reported the end of a suspend.
    void look(bool woke);
    void scheduleNextLook();
    WallClockWatch::Observation observe() const;

    WallClockWatch m_watch;
    QString m_zoneSignature;
    QTimer m_timer;
};

}  // namespace platform
