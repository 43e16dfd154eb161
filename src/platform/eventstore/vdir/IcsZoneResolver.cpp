#include "platform/eventstore/vdir/IcsZoneResolver.h"

#include "core/IcuString.h"
#include "platform/eventstore/vdir/IcsText.h"
#include "platform/eventstore/vdir/WallTime.h"

#include <libical/ical.h>
#include <unicode/rbtz.h>
#include <unicode/timezone.h>
#include <unicode/tzrule.h>

#include <algorithm>
#include <map>
#include <memory>
#include <vector>

namespace platform::vdir {

std::optional<core::TimeZone> IcsZoneResolver::resolve(const QString& tzid, icalcomponent* vtimezone) {
    std::lock_guard lock(m_mutex);
    return resolveLocked(tzid, vtimezone);
}

std::shared_ptr<const IcsZoneName> IcsZoneResolver::name(const QString& tzid, icalcomponent* vtimezone) {
    std::lock_guard lock(m_mutex);
    std::optional<core::TimeZone> zone = resolveLocked(tzid, vtimezone);
    std::vector<std::shared_ptr<const IcsZoneName>>& names = m_names[tzid];
    for (const auto& known : names)
        if (known->zone == zone)
            return known;
    names.push_back(std::make_shared<const IcsZoneName>(IcsZoneName{tzid, std::move(zone)}));
    return names.back();
}

std::optional<core::TimeZone> IcsZoneResolver::resolveLocked(const QString& tzid, icalcomponent* vtimezone) {
    if (auto zone = resolveById(tzid))
        return zone;
    if (!vtimezone)
        return std::nullopt;
    return resolveDefinition(tzid, vtimezone);
}

std::optional<core::TimeZone> IcsZoneResolver::resolveById(const QString& tzid) {
    const auto known = m_byId.constFind(tzid);
    if (known != m_byId.constEnd())
        return *known;

    std::optional<core::TimeZone> zone = core::TimeZone::withIdentifier(tzid);
    // Some writers put a vendor path in front of the Olson id; try each tail after a slash, longest first.
    if (!zone && tzid.startsWith(QLatin1Char('/'))) {
        for (qsizetype i = tzid.indexOf(QLatin1Char('/'), 1); i > 0 && !zone; i = tzid.indexOf(QLatin1Char('/'), i + 1))
            zone = core::TimeZone::withIdentifier(tzid.mid(i + 1));
    }
    if (!zone) {
        UErrorCode status = U_ZERO_ERROR;
        icu::UnicodeString olson;
        icu::TimeZone::getIDForWindowsID(core::icu_string::copy(tzid), nullptr, olson, status);
        if (U_SUCCESS(status) && !olson.isEmpty())
            zone = core::TimeZone::withIdentifier(core::icu_string::toQString(olson));
    }
    m_byId.insert(tzid, zone);
    return zone;
}

std::optional<core::TimeZone> IcsZoneResolver::resolveDefinition(const QString& tzid, icalcomponent* vtimezone) {
    char* text = icalcomponent_as_ical_string_r(vtimezone);
    // A definition read for an edit carries the marks of the lines it came from; it is the same zone.
    const QByteArray key = withoutLineMarks(QByteArray(text ? text : ""));
    icalmemory_free_buffer(text);
    const auto known = m_byDefinition.constFind(key);
    if (known != m_byDefinition.constEnd())
        return *known;
    auto zone = zoneFromVtimezone(tzid, vtimezone);
    m_byDefinition.insert(key, zone);
    return zone;
}

namespace {

// Observance onsets beyond this year are not expanded: the zone keeps its last offset after it.
constexpr int kLastExpandedYear = 2100;
// Windows writers start their observances in 1601: iterate through those centuries but keep only recent onsets.
constexpr int kFirstKeptYear = 1900;
constexpr int kMaxOnsetsPerRule = 4000;

struct Observance {
    QString name;
    int rawOffset = 0;  // milliseconds
    int dstSavings = 0;
    int offsetFrom = 0;
    std::vector<double> onsets;  // UTC milliseconds
};

double onsetUtcMillis(const icaltimetype& local, int offsetFromSeconds) {
    const WallTime wall{local.year, local.month, local.day, local.hour, local.minute, local.second};
    const double localSeconds = static_cast<double>(daysFromCivil(wall.year, wall.month, wall.day)) * 86400.0 +
                                wall.hour * 3600.0 + wall.minute * 60.0 + wall.second;
    return (localSeconds - offsetFromSeconds) * 1000.0;
}

void addRuleOnsets(Observance& observance, icalproperty* rruleProperty, icaltimetype start) {
    icalrecurrencetype rule = icalproperty_get_rrule(rruleProperty);
    if (rule.freq == ICAL_NO_RECURRENCE)
        return;
    if (!icaltime_is_null_time(rule.until)) {
        // UNTIL is in UTC; the iterator compares it with the floating onset times, so move it to local time.
        icaltimetype until = rule.until;
        until.zone = nullptr;
        if (rule.until.is_date == 0)
            icaltime_adjust(&until, 0, 0, 0, observance.offsetFrom);
        rule.until = until;
    }
    icalrecur_iterator* it = icalrecur_iterator_new(rule, start);
    if (!it)
        return;
    int count = 0;
    for (icaltimetype next = icalrecur_iterator_next(it); !icaltime_is_null_time(next) && count < kMaxOnsetsPerRule;
         next = icalrecur_iterator_next(it), ++count) {
        if (next.year > kLastExpandedYear)
            break;
        if (next.year >= kFirstKeptYear)
            observance.onsets.push_back(onsetUtcMillis(next, observance.offsetFrom));
    }
    icalrecur_iterator_free(it);
}

std::optional<Observance> readObservance(icalcomponent* component) {
    icalproperty* from = icalcomponent_get_first_property(component, ICAL_TZOFFSETFROM_PROPERTY);
    icalproperty* to = icalcomponent_get_first_property(component, ICAL_TZOFFSETTO_PROPERTY);
    icalproperty* dtstart = icalcomponent_get_first_property(component, ICAL_DTSTART_PROPERTY);
    if (!to || !dtstart)
        return std::nullopt;
    Observance observance;
    const int offsetTo = icalproperty_get_tzoffsetto(to);
    observance.offsetFrom = from ? icalproperty_get_tzoffsetfrom(from) : offsetTo;
    const bool daylight = icalcomponent_isa(component) == ICAL_XDAYLIGHT_COMPONENT;
    if (daylight && offsetTo > observance.offsetFrom) {
        observance.rawOffset = observance.offsetFrom * 1000;
        observance.dstSavings = (offsetTo - observance.offsetFrom) * 1000;
    } else {
        observance.rawOffset = offsetTo * 1000;
    }
    if (icalproperty* name = icalcomponent_get_first_property(component, ICAL_TZNAME_PROPERTY))
        observance.name = QString::fromUtf8(icalproperty_get_tzname(name));

    icaltimetype start = icalproperty_get_dtstart(dtstart);
    start.zone = nullptr;
    if (icaltime_is_null_time(start))
        return std::nullopt;
    observance.onsets.push_back(onsetUtcMillis(start, observance.offsetFrom));
    for (icalproperty* p = icalcomponent_get_first_property(component, ICAL_RRULE_PROPERTY); p;
         p = icalcomponent_get_next_property(component, ICAL_RRULE_PROPERTY))
        addRuleOnsets(observance, p, start);
    for (icalproperty* p = icalcomponent_get_first_property(component, ICAL_RDATE_PROPERTY); p;
         p = icalcomponent_get_next_property(component, ICAL_RDATE_PROPERTY)) {
        const icaldatetimeperiodtype rdate = icalproperty_get_rdate(p);
        const icaltimetype at = icaltime_is_null_time(rdate.time) ? rdate.period.start : rdate.time;
        if (!icaltime_is_null_time(at))
            observance.onsets.push_back(onsetUtcMillis(at, observance.offsetFrom));
    }
    std::sort(observance.onsets.begin(), observance.onsets.end());
    observance.onsets.erase(std::unique(observance.onsets.begin(), observance.onsets.end()), observance.onsets.end());
    return observance;
}

}  // namespace

std::optional<core::TimeZone> zoneFromVtimezone(const QString& tzid, icalcomponent* vtimezone) {
    std::vector<Observance> observances;
    for (icalcomponent* c = icalcomponent_get_first_component(vtimezone, ICAL_ANY_COMPONENT); c;
         c = icalcomponent_get_next_component(vtimezone, ICAL_ANY_COMPONENT)) {
        const icalcomponent_kind kind = icalcomponent_isa(c);
        if (kind != ICAL_XSTANDARD_COMPONENT && kind != ICAL_XDAYLIGHT_COMPONENT)
            continue;
        if (auto observance = readObservance(c))
            observances.push_back(std::move(*observance));
    }
    if (observances.empty())
        return std::nullopt;

    // Two observances may claim the same instant; the zone can only switch once there.
    std::map<double, size_t> owner;
    for (size_t i = 0; i < observances.size(); ++i)
        for (double onset : observances[i].onsets)
            owner.emplace(onset, i);
    const Observance& first = observances[owner.begin()->second];

    const icu::UnicodeString id = core::icu_string::copy(tzid);
    auto* initial = new icu::InitialTimeZoneRule(id, first.offsetFrom * 1000, 0);
    auto zone = std::make_unique<icu::RuleBasedTimeZone>(id, initial);
    UErrorCode status = U_ZERO_ERROR;
    for (size_t i = 0; i < observances.size(); ++i) {
        std::vector<UDate> times;
        for (const auto& [onset, index] : owner)
            if (index == i)
                times.push_back(onset);
        if (times.empty())
            continue;
        const Observance& o = observances[i];
        const icu::UnicodeString name = core::icu_string::copy(o.name.isEmpty() ? tzid : o.name);
        zone->addTransitionRule(
            new icu::TimeArrayTimeZoneRule(name, o.rawOffset, o.dstSavings, times.data(),
                                           static_cast<int32_t>(times.size()), icu::DateTimeRule::UTC_TIME),
            status);
        if (U_FAILURE(status))
            return std::nullopt;
    }
    zone->complete(status);
    if (U_FAILURE(status))
        return std::nullopt;
    return core::TimeZone::fromIcu(std::shared_ptr<const icu::TimeZone>(std::move(zone)));
}

}  // namespace platform::vdir
