#pragma once

#include <QObject>

namespace platform {

// Moments the app must react to that no timer of its own can catch reliably: the calendar day rolled over
// (also after sleeping through midnight, or because the time zone changed), the machine woke from sleep, and
// the system time zone changed. Signals arrive on the main thread.
class SystemEvents : public QObject {
    Q_OBJECT

public:
    using QObject::QObject;
    ~SystemEvents() override = default;

signals:
    void dayChanged();
    void resumed();
    void timeZoneChanged();
};

}  // namespace platform
