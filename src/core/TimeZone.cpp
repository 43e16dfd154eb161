#include "core/TimeZone.h"

#include "core/IcuString.h"
#include "core/Locale.h"
#include "core/PosixTimeZoneRule.h"
#include "core/ZoneFiles.h"

#include <QHash>
#include <QMutex>
#include <QTimeZone>

#include <unicode/rbtz.h>
#include <unicode/simpletz.h>
#include <unicode/tzfmt.h>
#include <unicode/tzrule.h>

#include <algorithm>
#include <cstdlib>
#include <map>
#include <tuple>
#include <vector>

namespace core {
namespace {

using ZonePtr = std::shared_ptr<const icu::TimeZone>;

// The span of years whose transitions are copied from the system database.
// After the last one a zone follows the rule its file ends with.
const QDateTime kFirstTransition(QDate(1900, 1, 1), QTime(0, 0), Qt::UTC);
const QDateTime kLastTransition(QDate(2100, 1, 1), QTime(0, 0), Qt::UTC);

QMutex& cacheMutex() {
    static QMutex m;
    return m;
}

QHash<QString, ZonePtr>& cache() {
    static QHash<QString, ZonePtr> zones;
    return zones;
}

ZonePtr& currentZone() {
    static ZonePtr zone;
    return zone;
}

QString& systemZoneFilePath() {
    static QString path = QStringLiteral("/etc/localtime");
    return path;
}

// One stretch of time with the same offsets, in ICU's terms (milliseconds).
struct Period {
    UDate start = 0;
    int raw = 0;
    int dst = 0;
    QString name;
};

Period periodOf(const QTimeZone::OffsetData& data) {
    return Period{static_cast<UDate>(data.atUtc.toMSecsSinceEpoch()), data.standardTimeOffset * 1000,
                  (data.offsetFromUtc - data.standardTimeOffset) * 1000, data.abbreviation};
}

// Some zone files call the summer offset standard and the winter one a negative
// saving (Dublin: winter GMT is "daylight saving" of -1 h). Names and the
// daylight flag follow the usual reading, summer as the saving: turn each such
// pair round. The offsets themselves stay as they are.
void turnNegativeSavingsRound(std::vector<Period>& periods) {
    std::vector<std::optional<int>> newRaw(periods.size());
    for (size_t i = 0; i < periods.size(); ++i) {
        if (periods[i].dst >= 0)
            continue;
        newRaw[i] = periods[i].raw + periods[i].dst;
        for (size_t j : {i - 1, i + 1}) {
            if (j < periods.size() && periods[j].dst == 0 && periods[j].raw == periods[i].raw)
                newRaw[j] = periods[i].raw + periods[i].dst;
        }
    }
    for (size_t i = 0; i < periods.size(); ++i) {
        if (!newRaw[i])
            continue;
        periods[i].dst = periods[i].raw + periods[i].dst - *newRaw[i];
        periods[i].raw = *newRaw[i];
    }
}

icu::DateTimeRule* switchDay(const PosixTimeZoneRule::Day& day) {
    const int millis = day.secondsIntoDay * 1000;
    if (day.kind == PosixTimeZoneRule::Day::Kind::WeekdayOfMonth)
        return new icu::DateTimeRule(day.month - 1, day.week == 5 ? -1 : day.week, day.weekday + UCAL_SUNDAY, millis,
                                     icu::DateTimeRule::WALL_TIME);
    // A day of the year that never counts 29 February falls on the same date every year.
    static constexpr int kMonthLengths[] = {31, 28, 31, 30, 31, 30, 31, 31, 30, 31, 30, 31};
    int month = 0;
    int dayOfMonth = day.dayOfYear;
    while (month < 11 && dayOfMonth > kMonthLengths[month])
        dayOfMonth -= kMonthLengths[month++];
    return new icu::DateTimeRule(month, dayOfMonth, millis, icu::DateTimeRule::WALL_TIME);
}

// The yearly switches of the rule a zone file ends with, from `startYear` on.
void addFinalRules(icu::RuleBasedTimeZone& zone, const PosixTimeZoneRule& rule, int startYear, UErrorCode& status) {
    if (!rule.daylight)
        return;
    const PosixTimeZoneRule::Daylight& daylight = *rule.daylight;
    // Written with a negative saving, winter is the rule's "daylight" part.
    const bool negative = daylight.secondsFromGMT < rule.secondsFromGMT;
    const int low = std::min(rule.secondsFromGMT, daylight.secondsFromGMT) * 1000;
    const int high = std::max(rule.secondsFromGMT, daylight.secondsFromGMT) * 1000;
    const QString& lowName = negative ? daylight.name : rule.standardName;
    const QString& highName = negative ? rule.standardName : daylight.name;
    const PosixTimeZoneRule::Day& toHigh = negative ? daylight.end : daylight.start;
    const PosixTimeZoneRule::Day& toLow = negative ? daylight.start : daylight.end;
    zone.addTransitionRule(new icu::AnnualTimeZoneRule(icu_string::copy(lowName), low, 0, switchDay(toLow), startYear,
                                                       icu::AnnualTimeZoneRule::MAX_YEAR),
                           status);
    zone.addTransitionRule(new icu::AnnualTimeZoneRule(icu_string::copy(highName), low, high - low, switchDay(toHigh),
                                                       startYear, icu::AnnualTimeZoneRule::MAX_YEAR),
                           status);
}

std::optional<PosixTimeZoneRule> finalRuleOf(const QByteArray& id) {
    const auto contents = zonefiles::contentsOf(QString::fromUtf8(id));
    return contents ? PosixTimeZoneRule::fromZoneFile(*contents) : std::nullopt;
}

// ICU's own zones carry 2022 rules here; the system database is newer, so the
// rules are rebuilt from Qt's reading of /usr/share/zoneinfo.
ZonePtr buildFromSystem(const QByteArray& id) {
    const QTimeZone qzone(id);
    if (!qzone.isValid())
        return nullptr;
    const icu::UnicodeString icuId = icu_string::copy(QString::fromUtf8(id));
    const QTimeZone::OffsetDataList transitions = qzone.transitions(kFirstTransition, kLastTransition);

    // The first period is the one before the first transition.
    std::vector<Period> periods{
        periodOf(qzone.offsetData(transitions.isEmpty() ? kFirstTransition : transitions.first().atUtc.addSecs(-1)))};
    for (const QTimeZone::OffsetData& t : transitions)
        periods.push_back(periodOf(t));
    turnNegativeSavingsRound(periods);

    const Period& initial = periods.front();
    auto zone = std::make_unique<icu::RuleBasedTimeZone>(
        icuId, new icu::InitialTimeZoneRule(icu_string::copy(initial.name), initial.raw, initial.dst));

    // One rule per distinct (raw offset, saving, name), listing the moments it starts.
    std::map<std::tuple<int, int, QString>, std::vector<UDate>> rules;
    for (size_t i = 1; i < periods.size(); ++i)
        rules[{periods[i].raw, periods[i].dst, periods[i].name}].push_back(periods[i].start);
    UErrorCode status = U_ZERO_ERROR;
    for (const auto& [key, starts] : rules) {
        const auto& [raw, dst, name] = key;
        zone->addTransitionRule(new icu::TimeArrayTimeZoneRule(icu_string::copy(name), raw, dst, starts.data(),
                                                               static_cast<int32_t>(starts.size()),
                                                               icu::DateTimeRule::UTC_TIME),
                                status);
    }
    if (const auto finalRule = finalRuleOf(id)) {
        const int startYear =
            transitions.isEmpty() ? kFirstTransition.date().year() : transitions.last().atUtc.date().year();
        addFinalRules(*zone, *finalRule, startYear, status);
    }
    zone->complete(status);
    if (U_FAILURE(status))
        return nullptr;
    return ZonePtr(zone.release());
}

ZonePtr buildFromIcu(const QString& id) {
    std::unique_ptr<icu::TimeZone> zone(icu::TimeZone::createTimeZone(icu_string::copy(id)));
    if (!zone || *zone == icu::TimeZone::getUnknown())
        return nullptr;
    return ZonePtr(zone.release());
}

ZonePtr lookUp(const QString& id) {
    if (!zonefiles::isZoneId(id))
        return nullptr;
    {
        QMutexLocker lock(&cacheMutex());
        if (auto it = cache().constFind(id); it != cache().constEnd())
            return *it;
    }
    ZonePtr zone = id == QLatin1String("UTC") || id == QLatin1String("GMT") ? buildFromIcu(id) : nullptr;
    if (!zone)
        zone = buildFromSystem(id.toUtf8());
    if (!zone)
        zone = buildFromIcu(id);
    if (!zone)
        return nullptr;
    QMutexLocker lock(&cacheMutex());
    return *cache().insert(id, zone);
}

// TZ may be ":Europe/Berlin", a path into the zoneinfo folder, or an id.
QString zoneIdFromTzVariable(QString value) {
    if (value.startsWith(QLatin1Char(':')))
        value.remove(0, 1);
    const qsizetype marker = value.indexOf(QLatin1String("zoneinfo/"));
    if (marker >= 0)
        value = value.mid(marker + 9);
    return value;
}

ZonePtr resolveCurrent() {
    const QString tz = QString::fromLocal8Bit(qgetenv("TZ"));
    if (!tz.isEmpty()) {
        if (ZonePtr zone = lookUp(zoneIdFromTzVariable(tz)))
            return zone;
    }
    // Read here rather than through Qt, which keeps the zone it found as long as
    // the file keeps its inode: a copy rewritten in place would stay the old zone.
    if (const auto id = zonefiles::identify(TimeZone::systemZoneFile())) {
        if (ZonePtr zone = lookUp(*id))
            return zone;
    }
    if (ZonePtr zone = lookUp(QString::fromUtf8(QTimeZone::systemTimeZoneId())))
        return zone;
    return lookUp(QStringLiteral("UTC"));
}

}  // namespace

TimeZone::TimeZone(ZonePtr zone) : m_zone(std::move(zone)) {}

TimeZone TimeZone::current() {
    QMutexLocker lock(&cacheMutex());
    if (!currentZone()) {
        lock.unlock();
        ZonePtr zone = resolveCurrent();
        lock.relock();
        if (!currentZone())
            currentZone() = zone;
    }
    return TimeZone(currentZone());
}

void TimeZone::resetCurrent() {
    QMutexLocker lock(&cacheMutex());
    currentZone().reset();
}

QString TimeZone::systemZoneFile() {
    QMutexLocker lock(&cacheMutex());
    return systemZoneFilePath();
}

void TimeZone::setSystemZoneFile(const QString& path) {
    QMutexLocker lock(&cacheMutex());
    systemZoneFilePath() = path;
}

TimeZone TimeZone::utc() { return TimeZone(lookUp(QStringLiteral("UTC"))); }

std::optional<TimeZone> TimeZone::withIdentifier(const QString& id) {
    if (ZonePtr zone = lookUp(id))
        return TimeZone(zone);
    return std::nullopt;
}

TimeZone TimeZone::fixedOffset(int secondsFromGMT) {
    // No zone is a day or more away from UTC; a wilder number must not overflow below.
    constexpr int kOneDay = 86400;
    secondsFromGMT = std::clamp(secondsFromGMT, -kOneDay, kOneDay);
    const int minutes = std::abs(secondsFromGMT) / 60;
    const QString id = QStringLiteral("GMT%1%2%3")
                           .arg(secondsFromGMT < 0 ? QLatin1Char('-') : QLatin1Char('+'))
                           .arg(minutes / 60, 2, 10, QLatin1Char('0'))
                           .arg(minutes % 60, 2, 10, QLatin1Char('0'));
    return TimeZone(std::make_shared<icu::SimpleTimeZone>(secondsFromGMT * 1000, icu_string::copy(id)));
}

TimeZone TimeZone::fromIcu(std::shared_ptr<const icu::TimeZone> zone) { return TimeZone(std::move(zone)); }

QString TimeZone::identifier() const {
    icu::UnicodeString id;
    m_zone->getID(id);
    return icu_string::toQString(id);
}

int TimeZone::secondsFromGMT(Date date) const {
    int32_t raw = 0;
    int32_t dst = 0;
    UErrorCode status = U_ZERO_ERROR;
    m_zone->getOffset(date.toUDate(), false, raw, dst, status);
    return U_SUCCESS(status) ? (raw + dst) / 1000 : 0;
}

bool TimeZone::isDaylightSavingTime(Date date) const {
    int32_t raw = 0;
    int32_t dst = 0;
    UErrorCode status = U_ZERO_ERROR;
    m_zone->getOffset(date.toUDate(), false, raw, dst, status);
    return U_SUCCESS(status) && dst != 0;
}

QString TimeZone::abbreviation(Date date) const {
    // The zone's display name would be made from its present raw offset plus a
    // generic hour of saving; the name of the moment comes from its own offsets.
    UErrorCode status = U_ZERO_ERROR;
    const std::unique_ptr<icu::TimeZoneFormat> format(
        icu::TimeZoneFormat::createInstance(Locale::current().icu(), status));
    if (U_FAILURE(status))
        return {};
    icu::UnicodeString name;
    format->format(UTZFMT_STYLE_SPECIFIC_SHORT, *m_zone, date.toUDate(), name);
    return icu_string::toQString(name);
}

bool TimeZone::operator==(const TimeZone& other) const {
    return m_zone == other.m_zone || (identifier() == other.identifier() && m_zone->hasSameRules(*other.m_zone));
}

size_t qHash(const TimeZone& zone, size_t hashSeed) noexcept { return ::qHash(zone.identifier(), hashSeed); }

}  // namespace core
