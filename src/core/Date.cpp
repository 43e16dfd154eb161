#include "core/Date.h"

#include "core/Clock.h"

#include <cmath>
#include <ostream>

namespace core {

Date Date::now() { return Clock::current().now(); }

Date Date::fromQDateTime(const QDateTime& dateTime) {
    return Date(static_cast<double>(dateTime.toMSecsSinceEpoch()) / 1000.0);
}

QDateTime Date::toQDateTime() const {
    if (!isInCalendarRange())
        return {};
    return QDateTime::fromMSecsSinceEpoch(static_cast<qint64>(std::floor(m_seconds * 1000.0)), Qt::UTC);
}

bool Date::isFinite() const { return std::isfinite(m_seconds); }

bool Date::isInCalendarRange() const { return isFinite() && std::fabs(m_seconds) < 6.3e12; }

size_t qHash(Date date, size_t hashSeed) noexcept {
    // +0.0 and -0.0 compare equal, so they must hash alike.
    const double s = date.secondsSince1970() == 0.0 ? 0.0 : date.secondsSince1970();
    return ::qHash(s, hashSeed);
}

QString toIsoString(Date date) {
    return date.toQDateTime().toString(Qt::ISODateWithMs);
}

}  // namespace core
