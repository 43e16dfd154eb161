#include "platform/systemevents/LinuxSystemEvents.h"

#include "core/TimeZone.h"

#include <QDBusConnection>
#include <QDir>
#include <QFile>
#include <QFileInfo>

#include <time.h>

#include <cmath>

namespace platform {

namespace {

double clockSeconds(clockid_t clock) {
    timespec ts{};
    clock_gettime(clock, &ts);
    return static_cast<double>(ts.tv_sec) + static_cast<double>(ts.tv_nsec) / 1e9;
}

}  // namespace

QString LinuxSystemEvents::zoneSignature() {
    QString signature = QString::fromLocal8Bit(qgetenv("TZ"));
    // The zone file is a link on most systems but a copied file on some: its
    // target, and its time and size, tell a change either way.
    const QFileInfo localtime(core::TimeZone::systemZoneFile());
    signature += QLatin1Char('\n') + localtime.symLinkTarget() + QLatin1Char('\n') +
                 QString::number(localtime.lastModified().toMSecsSinceEpoch()) + QLatin1Char('/') +
                 QString::number(localtime.size());
    QFile timezone(localtime.dir().filePath(QStringLiteral("timezone")));
    if (timezone.open(QIODevice::ReadOnly))
        signature += QLatin1Char('\n') + QString::fromUtf8(timezone.read(256)).trimmed();
    return signature;
}

double LinuxSystemEvents::sleptSeconds() {
    return clockSeconds(CLOCK_BOOTTIME) - clockSeconds(CLOCK_MONOTONIC);
}

WallClockWatch::Observation LinuxSystemEvents::observe() const {
    return {core::Date::now(), zoneSignature(), sleptSeconds()};
}

LinuxSystemEvents::LinuxSystemEvents(QObject* parent)
    : SystemEvents(parent),
      m_watch({core::Date::now(), zoneSignature(), sleptSeconds()}),
      m_zoneSignature(zoneSignature()) {
    m_timer.setSingleShot(true);
    m_timer.setTimerType(Qt::PreciseTimer);
    connect(&m_timer, &QTimer::timeout, this, [this] { look(false); });
    scheduleNextLook();

    QDBusConnection bus = QDBusConnection::systemBus();
    if (bus.isConnected()) {
        bus.connect(QStringLiteral("org.freedesktop.login1"), QStringLiteral("/org/freedesktop/login1"),
                    QStringLiteral("org.freedesktop.login1.Manager"), QStringLiteral("PrepareForSleep"), this,
                    SLOT(onPrepareForSleep(bool)));
    }
}

void LinuxSystemEvents::onPrepareForSleep(bool sleeping) {
    if (!sleeping)
        look(true);
}

void LinuxSystemEvents::scheduleNextLook() {
    // A moment after the next full minute of the wall clock.
    const double now = core::Date::now().secondsSince1970();
    const double untilNextMinute = 60.0 - std::fmod(now, 60.0);
    m_timer.start(static_cast<int>(untilNextMinute * 1000.0) + 50);
}

void LinuxSystemEvents::look(bool woke) {
    const WallClockWatch::Observation observation = observe();
    if (observation.zoneSignature != m_zoneSignature) {
        // The core keeps the zone it read first; it must read again before the day is judged.
        m_zoneSignature = observation.zoneSignature;
        core::TimeZone::resetCurrent();
    }
    const WallClockWatch::Changes changes = m_watch.look(observation);
    if (changes.timeZoneChanged)
        emit timeZoneChanged();
    if (changes.resumed || woke)
        emit resumed();
    if (changes.dayChanged)
        emit dayChanged();
    scheduleNextLook();
}

}  // namespace platform
