#pragma once

#include <QCoreApplication>
#include <QElapsedTimer>
#include <QThread>

#include <algorithm>
#include <functional>

namespace testsupport {

// How long a wait on something outside the test may take, for this build: a sanitized
// build sets ORBITDAY_TEST_TIME_SCALE (its test preset does), since every process it
// starts and every frame it paints runs several times slower. Only the limit grows:
// a wait still ends as soon as what it waits for happens.
inline int scaledTimeout(int ms) {
    static const int scale = std::clamp(qEnvironmentVariableIntValue("ORBITDAY_TEST_TIME_SCALE"), 1, 20);
    return ms * scale;
}

// Runs the event loop for about `ms` milliseconds (timers, queued calls).
inline void spinEventLoop(int ms) {
    QElapsedTimer timer;
    timer.start();
    do {
        QCoreApplication::processEvents(QEventLoop::AllEvents, 10);
        QThread::msleep(1);
    } while (timer.elapsed() < ms);
}

// Runs the event loop until the condition holds or the time is up; returns the condition.
inline bool waitUntil(const std::function<bool()>& condition, int timeoutMs = 5000) {
    QElapsedTimer timer;
    timer.start();
    const int limit = scaledTimeout(timeoutMs);
    while (!condition()) {
        if (timer.elapsed() > limit)
            return false;
        QCoreApplication::processEvents(QEventLoop::AllEvents, 10);
        QThread::msleep(1);
    }
    return true;
}

}  // namespace testsupport
