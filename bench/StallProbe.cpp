// Preloaded into the application by bench_shell (LD_PRELOAD): a 10 ms timer on the
// main thread, whose longest gap between two ticks is how long the main thread was
// kept from its event loop. Written, in milliseconds, to the file named by
// ORBITDAY_STALL_PROBE each time it grows; the gaps before the event loop first
// runs (the launch's own set-up) are not counted. With ORBITDAY_STALL_LOG naming a file, every gap over 30 ms is
// added to it as "<ms since 1970> gap <ms>", beside the benchmark's own marks of what it was doing.

#include <QCoreApplication>
#include <QDateTime>
#include <QElapsedTimer>
#include <QFile>
#include <QTimer>

#include <memory>

namespace {

constexpr int kTickMs = 10;
constexpr qint64 kLoggedGapMs = 30;

void logGap(qint64 gap) {
    static const QString log = qEnvironmentVariable("ORBITDAY_STALL_LOG");
    if (log.isEmpty() || gap <= kLoggedGapMs)
        return;
    QFile file(log);
    if (file.open(QIODevice::Append))
        file.write(QByteArray::number(QDateTime::currentMSecsSinceEpoch()) + " gap " + QByteArray::number(gap) + '\n');
}

void startStallProbe() {
    const QString path = qEnvironmentVariable("ORBITDAY_STALL_PROBE");
    if (path.isEmpty())
        return;
    auto* timer = new QTimer(QCoreApplication::instance());
    timer->setTimerType(Qt::PreciseTimer);
    auto clock = std::make_shared<QElapsedTimer>();
    auto longest = std::make_shared<qint64>(0);
    QObject::connect(timer, &QTimer::timeout, [path, clock, longest] {
        if (clock->isValid()) {
            const qint64 gap = clock->elapsed() - kTickMs;
            logGap(gap);
            if (gap > *longest) {
                *longest = gap;
                QFile file(path);
                if (file.open(QIODevice::WriteOnly | QIODevice::Truncate))
                    file.write(QByteArray::number(gap));
            }
        }
        clock->start();
    });
    timer->start(kTickMs);
}

}  // namespace

Q_COREAPP_STARTUP_FUNCTION(startStallProbe)
