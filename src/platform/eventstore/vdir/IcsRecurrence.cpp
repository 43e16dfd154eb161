#include "platform/eventstore/vdir/IcsRecurrence.h"

#include "platform/eventstore/vdir/IcsRuleText.h"
#include "platform/eventstore/vdir/IcsRuleWalk.h"

#include <libical/ical.h>

#include <algorithm>
#include <atomic>
#include <cmath>
#include <cstdlib>
#include <limits>
#include <memory>
#include <numeric>
#include <optional>
#include <tuple>
#include <unordered_set>

namespace platform::vdir {

namespace {

std::atomic<bool> libicalOnly{false};

// A runaway rule (FREQ=SECONDLY over decades) must not stall a reload.
constexpr int kMaxIterations = 200000;
constexpr double kDay = 86400.0;
// No series brings more occurrences to one query than this, or than four for each hour of the window if that is
// more (the app's window only grows while it runs). A real one has at most a few thousand in the months a screen
// asks for (hourly for three months is about 2,200); one that brings hundreds of thousands (every second, or every
// hour with each occurrence lasting for decades so that all of them overlap) would hold up the main thread and flood
// every list with copies of itself.
constexpr size_t kMostOccurrencesPerSeries = 10000;
constexpr double kMostOccurrencesPerHour = 4;
// How long before a window an occurrence may have started and still be looked for. The longest occurrences real
// series repeat last a year (a yearly term, a fiscal year); one lasting decades that repeats overlaps itself in every
// window, and walking it from its start would never reach the window itself.
constexpr double kLongestReach = 400 * kDay;
// Of the occurrences of a rule that began before a window and still run into it, only the latest this many are
// kept: a real series has a few running at once (a daily one lasting a week, seven).
constexpr size_t kMostRunningAtOnce = 1000;

struct Shape {
    bool allDay = false;
    qint64 days = 1;     // all-day: how many days each occurrence covers
    double seconds = 0;  // timed: exact length
};

Shape shapeOf(const IcsComponent& c, const core::TimeZone& floatingZone) {
    const IcsTime& start = *c.start;
    const IcsTime* end = c.endOrDue();
    Shape shape;
    if (start.isDate) {
        shape.allDay = true;
        if (end)
            shape.days = end->dayNumber() - start.dayNumber();
        else if (c.duration)
            shape.days = static_cast<qint64>(std::ceil(*c.duration / kDay));
        shape.days = std::max<qint64>(shape.days, 1);
        return shape;
    }
    if (end)
        shape.seconds = end->toDate(floatingZone) - start.toDate(floatingZone);
    else if (c.duration)
        shape.seconds = *c.duration;
    shape.seconds = std::max(shape.seconds, 0.0);
    return shape;
}

WallTime dateOnly(WallTime wall) {
    wall.hour = wall.minute = wall.second = 0;
    return wall;
}

struct Placed {
    core::Date start;
    core::Date end;
};

Placed place(const WallTime& wall, const Shape& shape, const core::TimeZone& zone, const core::TimeZone& floatingZone) {
    if (shape.allDay) {
        WallTime last = addDays(dateOnly(wall), shape.days - 1);
        last.hour = 23;
        last.minute = 59;
        last.second = 59;
        return {wallToDate(dateOnly(wall), floatingZone), wallToDate(last, floatingZone)};
    }
    const core::Date start = wallToDate(wall, zone);
    return {start, start + shape.seconds};
}

bool overlaps(core::Date start, core::Date end, core::Date windowStart, core::Date windowEnd) {
    if (start >= windowEnd)
        return false;
    return end > windowStart || (end <= start && start >= windowStart);
}

icaltimetype toIcal(const WallTime& wall, bool isDate) {
    icaltimetype t = icaltime_null_time();
    t.year = wall.year;
    t.month = wall.month;
    t.day = wall.day;
    t.is_date = isDate ? 1 : 0;
    if (!isDate) {
        t.hour = wall.hour;
        t.minute = wall.minute;
        t.second = wall.second;
    }
    return t;
}

WallTime fromIcal(const icaltimetype& t) {
    return WallTime{t.year, t.month, t.day, t.is_date ? 0 : t.hour, t.is_date ? 0 : t.minute, t.is_date ? 0 : t.second};
}

core::Date utcInstant(const icaltimetype& t) {
    return core::Date(static_cast<double>(daysFromCivil(t.year, t.month, t.day)) * kDay + t.hour * 3600.0 +
                      t.minute * 60.0 + t.second);
}

// FREQ=DAILY or WEEKLY with at most INTERVAL, BYDAY (plain weekdays), WKST, COUNT and UNTIL.
struct SimpleRule {
    bool weekly = false;
    qint64 interval = 1;
    int weekStart = 0;          // 0 = Monday ... 6 = Sunday
    std::vector<int> weekdays;  // sorted from the week start; empty: the start's own weekday
    int count = 0;
    std::optional<WallTime> until;

    static bool unused(const short* values) { return values[0] == ICAL_RECURRENCE_ARRAY_MAX; }
    static int mondayBased(int icalWeekday) { return (icalWeekday + 5) % 7; }

    static std::optional<SimpleRule> from(const icalrecurrencetype& rule, const WallTime& start) {
        if (rule.freq != ICAL_DAILY_RECURRENCE && rule.freq != ICAL_WEEKLY_RECURRENCE)
            return std::nullopt;
        if (rule.rscale || !unused(rule.by_second) || !unused(rule.by_minute) || !unused(rule.by_hour) ||
            !unused(rule.by_month_day) || !unused(rule.by_year_day) || !unused(rule.by_week_no) ||
            !unused(rule.by_month) || !unused(rule.by_set_pos))
            return std::nullopt;
        SimpleRule simple;
        simple.weekly = rule.freq == ICAL_WEEKLY_RECURRENCE;
        simple.interval = rule.interval > 0 ? rule.interval : 1;
        simple.weekStart = rule.week_start == ICAL_NO_WEEKDAY ? 0 : mondayBased(static_cast<int>(rule.week_start));
        simple.count = rule.count;
        for (size_t i = 0; i < ICAL_BY_DAY_SIZE && rule.by_day[i] != ICAL_RECURRENCE_ARRAY_MAX; ++i) {
            if (!simple.weekly || icalrecurrencetype_day_position(rule.by_day[i]) != 0)
                return std::nullopt;
            simple.weekdays.push_back(
                mondayBased(static_cast<int>(icalrecurrencetype_day_day_of_week(rule.by_day[i]))));
        }
        const int startWeekday =
            static_cast<int>(((daysFromCivil(start.year, start.month, start.day) % 7) + 7 + 3) % 7);
        if (!simple.weekdays.empty()) {
            // A start outside its own BYDAY list is an odd case whose counting libical settles.
            if (std::find(simple.weekdays.begin(), simple.weekdays.end(), startWeekday) == simple.weekdays.end())
                return std::nullopt;
            std::sort(simple.weekdays.begin(), simple.weekdays.end(),
                      [&](int a, int b) { return (a - simple.weekStart + 7) % 7 < (b - simple.weekStart + 7) % 7; });
            simple.weekdays.erase(std::unique(simple.weekdays.begin(), simple.weekdays.end()), simple.weekdays.end());
        }
        if (!icaltime_is_null_time(rule.until))
            simple.until = fromIcal(rule.until);
        if (simple.until && rule.until.is_date) {
            simple.until->hour = 23;
            simple.until->minute = 59;
            simple.until->second = 59;
        }
        return simple;
    }
};

class SeriesExpander {
public:
    SeriesExpander(const IcsComponent& master, core::Date windowStart, core::Date windowEnd,
                   const core::TimeZone& floatingZone, IcsWorkAllowance& allowance)
        : m_allowance(allowance),
          m_master(master),
          m_floating(floatingZone),
          m_zone(master.start->zoneOr(floatingZone)),
          m_shape(shapeOf(master, floatingZone)),
          m_windowStart(windowStart),
          m_windowEnd(windowEnd),
          m_reachStart(windowStart - kLongestReach - 2 * kDay),
          m_mostOccurrences(mostOccurrences(windowEnd - windowStart)) {}

    static size_t mostOccurrences(double windowSeconds) {
        const double byLength = std::clamp(windowSeconds / 3600.0 * kMostOccurrencesPerHour, 0.0, 1e9);
        return std::max(kMostOccurrencesPerSeries, static_cast<size_t>(byLength));
    }

    // The key under which EXDATEs and RECURRENCE-IDs name an occurrence: a day for all-day series, else a second.
    qint64 key(const IcsTime& t) const {
        if (m_shape.allDay)
            return t.isDate ? t.dayNumber() : daysFromCivil(t.wall.year, t.wall.month, t.wall.day);
        return std::llround(t.toDate(m_floating).secondsSince1970());
    }

    void collectExclusions() {
        for (const IcsTime& ex : m_master.repeats().exdates) {
            if (ex.isDate && !m_shape.allDay)
                m_excludedDays.insert(ex.dayNumber());
            else
                m_excluded.insert(key(ex));
        }
    }

    bool isExcluded(qint64 occurrenceKey, const WallTime& wall) const {
        if (m_excluded.count(occurrenceKey))
            return true;
        return !m_excludedDays.empty() && m_excludedDays.count(daysFromCivil(wall.year, wall.month, wall.day));
    }

    // The walls where occurrences may start; those from `firstAdded` on are the RDATEs, in their order.
    std::vector<WallTime> candidateStarts(size_t& firstAdded) const {
        std::vector<WallTime> walls;
        walls.push_back(m_master.start->wall);
        for (size_t i = 0; i < m_master.repeats().rrules.size(); ++i)
            walkRule(i, walls);
        firstAdded = walls.size();
        m_allowance.left -= static_cast<qint64>(m_master.repeats().rdates.size());
        for (const IcsTime& rdate : m_master.repeats().rdates) {
            if (m_shape.allDay || rdate.isDate)
                walls.push_back(dateOnly(rdate.wall));
            else if (rdate.anchor == m_master.start->anchor && rdate.tzid() == m_master.start->tzid())
                walls.push_back(rdate.wall);
            else
                walls.push_back(dateToWall(rdate.toDate(m_floating), m_zone));
        }
        return walls;
    }

    void emitOccurrences(const std::vector<const IcsComponent*>& overrides, std::vector<IcsOccurrence>& out) {
        std::unordered_set<qint64> overridden;
        for (const IcsComponent* o : overrides)
            overridden.insert(key(*o->recurrenceId));

        std::unordered_set<qint64> seen;
        size_t emitted = 0;
        size_t firstAdded = 0;
        const std::vector<WallTime> walls = candidateStarts(firstAdded);
        for (size_t i = 0; i < walls.size(); ++i) {
            const WallTime& wall = walls[i];
            Placed placed = place(wall, m_shape, m_zone, m_floating);
            // An RDATE given as a period lasts as the period says; all-day series keep their whole days.
            if (i >= firstAdded && !m_shape.allDay) {
                if (const auto& length = m_master.repeats().rdateLengths[i - firstAdded])
                    placed.end = placed.start + *length;
            }
            const qint64 k = m_shape.allDay ? daysFromCivil(wall.year, wall.month, wall.day)
                                            : std::llround(placed.start.secondsSince1970());
            if (placed.start < m_reachStart || !seen.insert(k).second || overridden.count(k) || isExcluded(k, wall))
                continue;
            if (overlaps(placed.start, placed.end, m_windowStart, m_windowEnd)) {
                out.push_back(IcsOccurrence{&m_master, placed.start, placed.end, placed.start, false});
                if (++emitted >= m_mostOccurrences)
                    break;
            }
        }

        for (const IcsComponent* o : overrides) {
            const IcsTime& rid = *o->recurrenceId;
            if (o->status == IcsComponent::Status::Cancelled || isExcluded(key(rid), rid.wall))
                continue;
            auto occurrence = singleOccurrence(*o, m_floating);
            if (!occurrence || !overlaps(occurrence->start, occurrence->end, m_windowStart, m_windowEnd))
                continue;
            occurrence->occurrenceDate =
                m_shape.allDay ? wallToDate(dateOnly(rid.wall), m_floating) : rid.toDate(m_floating);
            occurrence->isDetached = true;
            out.push_back(*occurrence);
        }
    }

private:
    // The starts one rule's walk keeps, from `begin` on in `walls`.
    struct RuleStarts {
        std::vector<WallTime>& walls;
        size_t begin = 0;
        size_t running = 0;  // how many of them began before the window
    };

    void walkRule(size_t index, std::vector<WallTime>& walls) const {
        RuleStarts starts{walls, walls.size()};
        walkRule(index, starts);
        keepLatestRunning(starts);
    }

    void walkRule(size_t index, RuleStarts& starts) const {
        icalrecurrencetype rule = parseRecurrenceRule(m_master.repeats().rrules[index]);
        // libical leaves the RSCALE name it allocates to the caller.
        const std::unique_ptr<char, decltype(&std::free)> rscale(rule.rscale, &std::free);
        if (rule.freq == ICAL_NO_RECURRENCE || !isWalkableRule(rule))
            return;
        limitUntil(rule);
        const double length = m_shape.allDay ? static_cast<double>(m_shape.days) * kDay : m_shape.seconds;
        // Occurrences starting before this cannot reach into the window.
        const core::Date from = std::max(m_windowStart - length - 2 * kDay, m_reachStart);
        if (auto simple = SimpleRule::from(rule, m_master.start->wall); simple && !libicalOnly) {
            walkSimpleRule(*simple, from, starts);
            return;
        }
        if (auto walk = IcsRuleWalk::from(rule, m_master.start->wall, m_shape.allDay); walk && !libicalOnly) {
            const core::TimeZone& wallZone = m_shape.allDay ? m_floating : m_zone;
            IcsRuleProgress* memo = m_master.repeats().ruleProgress.get();
            std::unique_lock<std::mutex> lock;
            if (memo)
                lock = std::unique_lock(memo->mutex);
            // A day past the window's end on the wall clock covers any offset between the zones.
            walk->walk(
                dateToWall(from, wallZone), addDays(dateToWall(m_windowEnd, wallZone), 1), m_allowance.left,
                [&](const WallTime& wall) { return take(wall, starts); },
                memo ? &memo->perRule[index] : nullptr);
            return;
        }
        const std::optional<double> step = plainCadence(rule);
        if (step && !m_shape.allDay && !libicalOnly) {
            walkPlainCadence(rule, static_cast<qint64>(*step), from, starts);
            return;
        }
        core::Date walkFrom = from;
        // Of a plain cadence (every so many hours, say) only the last steps before the window can be among the
        // running occurrences kept; a day more covers any shift of the wall clock.
        if (step)
            walkFrom = std::max(walkFrom, m_windowStart - static_cast<double>(kMostRunningAtOnce + 1) * *step - kDay);
        const icaltimetype dtstart = toIcal(m_master.start->wall, m_shape.allDay);
        icalrecur_iterator* it = icalrecur_iterator_new(rule, dtstart);
        if (!it)
            return;
        if (rule.count == 0 && walkFrom > m_master.start->toDate(m_floating)) {
            const WallTime hint = dateToWall(walkFrom, m_shape.allDay ? m_floating : m_zone);
            if (const auto inCadence = walkStartInCadence(rule, hint))
                icalrecur_iterator_set_start(it, toIcal(*inCadence, m_shape.allDay));
        }
        for (int i = 0; i < kMaxIterations && !m_allowance.exhausted(); ++i) {
            // A step of libical's may look at a month of days.
            m_allowance.left -= 32;
            const icaltimetype next = icalrecur_iterator_next(it);
            if (icaltime_is_null_time(next))
                break;
            if (!take(fromIcal(next), starts))
                break;
        }
        icalrecur_iterator_free(it);
    }

    // Keeps a start of a rule's walk if its occurrence overlaps the window (a rule with a COUNT is walked from its
    // start); whether the walk goes on. It stops at the window's end, and once the rule has brought all it may.
    bool take(const WallTime& wall, RuleStarts& starts) const {
        const Placed placed = place(wall, m_shape, m_zone, m_floating);
        if (placed.start >= m_windowEnd)
            return false;
        if (!overlaps(placed.start, placed.end, m_windowStart, m_windowEnd))
            return true;
        starts.walls.push_back(wall);
        if (placed.start < m_windowStart)
            ++starts.running;
        const size_t kept = starts.walls.size() - starts.begin - starts.running +
                            std::min(starts.running, kMostRunningAtOnce);
        return kept < m_mostOccurrences;
    }

    // Seconds between the steps of a sub-daily rule that nothing filters; nullopt for any other.
    static std::optional<double> plainCadence(const icalrecurrencetype& rule) {
        const qint64 step = subDailyStep(rule);
        if (step == 0)
            return std::nullopt;
        for (const short* parts : {rule.by_second, rule.by_minute, rule.by_hour, rule.by_day, rule.by_month_day,
                                   rule.by_year_day, rule.by_week_no, rule.by_month, rule.by_set_pos}) {
            if (parts[0] != ICAL_RECURRENCE_ARRAY_MAX)
                return std::nullopt;
        }
        return static_cast<double>(step);
    }

    // Where libical is to begin a walk meant to begin at `hint`. Given a wall time, it counts a sub-daily rule's
    // INTERVAL from that day at that time's value of the rule's own unit (the hour of an hourly rule), not from the
    // start: unless the day lies a whole number of steps from the start's day and the unit is the start's, the
    // occurrences run off the series' cadence (every 7 hours from 02:30 showed at 05:30, 12:30, … three weeks
    // later). So it is given the latest such day before the hint's, at the start's unit, and from there it steps as
    // a walk from the start does. Nullopt where that day is not after the start's: the walk from the start it is.
    std::optional<WallTime> walkStartInCadence(const icalrecurrencetype& rule, const WallTime& hint) const {
        const qint64 step = subDailyStep(rule);
        if (step == 0)
            return hint;
        const WallTime& start = m_master.start->wall;
        const qint64 startDay = daysFromCivil(start.year, start.month, start.day);
        // Before the hint's day, so that none of its own steps comes before where the walk begins.
        const qint64 dayBefore = daysFromCivil(hint.year, hint.month, hint.day) - 1;
        // How many days pass before a step falls at the same time of day again.
        const qint64 cycleDays = step / std::gcd(step, qint64{86400});
        if (dayBefore <= startDay)
            return std::nullopt;
        const qint64 day = dayBefore - (dayBefore - startDay) % cycleDays;
        if (day == startDay)
            return std::nullopt;
        WallTime wall = civilFromDays(day);
        if (rule.freq == ICAL_HOURLY_RECURRENCE)
            wall.hour = start.hour;
        else if (rule.freq == ICAL_MINUTELY_RECURRENCE)
            wall.minute = start.minute;
        else
            wall.second = start.second;
        return wall;
    }

    // Seconds between the steps of a sub-daily rule, before any filter; 0 for any other rule.
    static qint64 subDailyStep(const icalrecurrencetype& rule) {
        qint64 unit = 0;
        switch (rule.freq) {
            case ICAL_SECONDLY_RECURRENCE:
                unit = 1;
                break;
            case ICAL_MINUTELY_RECURRENCE:
                unit = 60;
                break;
            case ICAL_HOURLY_RECURRENCE:
                unit = 3600;
                break;
            default:
                return 0;
        }
        return unit * std::max<qint64>(rule.interval, 1);
    }

    // A rule's walk is in order, so the occurrences still running when the window begins come first.
    static void keepLatestRunning(RuleStarts& starts) {
        if (starts.running <= kMostRunningAtOnce)
            return;
        const auto first = starts.walls.begin() + static_cast<std::ptrdiff_t>(starts.begin);
        starts.walls.erase(first, first + static_cast<std::ptrdiff_t>(starts.running - kMostRunningAtOnce));
    }

    // Daily and weekly rules are walked by day arithmetic: libical's iterator goes through ICU calendars and cost
    // more than everything else in a reload. The first occurrence inside the window is found directly, COUNT too.
    void walkSimpleRule(const SimpleRule& rule, core::Date from, RuleStarts& starts) const {
        const WallTime& start = m_master.start->wall;
        const qint64 firstDay = daysFromCivil(start.year, start.month, start.day);
        const WallTime fromWall = dateToWall(from, m_shape.allDay ? m_floating : m_zone);
        const qint64 fromDay = daysFromCivil(fromWall.year, fromWall.month, fromWall.day);
        const qint64 period = rule.weekly ? 7LL * rule.interval : rule.interval;
        const bool byDay = rule.weekly && !rule.weekdays.empty();
        const qint64 perPeriod = byDay ? static_cast<qint64>(rule.weekdays.size()) : 1;
        // With BYDAY a period is a week from the rule's week start; otherwise it begins on the start's own day.
        const qint64 periodStart = byDay ? firstDay - ((mondayIndex(firstDay) - rule.weekStart + 7) % 7) : firstDay;
        qint64 periodIndex = std::max<qint64>(0, (fromDay - periodStart) / period - 1);
        // How many occurrences come before the first period walked, for COUNT.
        qint64 occurrence = 0;
        if (periodIndex > 0)
            occurrence =
                byDay ? firstPeriodCount(rule, firstDay, periodStart) + (periodIndex - 1) * perPeriod : periodIndex;
        for (int guard = 0; guard < kMaxIterations && !m_allowance.exhausted(); ++periodIndex) {
            m_allowance.left -= perPeriod;
            const qint64 base = periodStart + periodIndex * period;
            for (qint64 k = 0; k < perPeriod; ++k, ++guard) {
                const qint64 day =
                    byDay ? base + (rule.weekdays[static_cast<size_t>(k)] - rule.weekStart + 7) % 7 : base;
                if (day < firstDay)
                    continue;
                if (rule.count > 0 && occurrence >= rule.count)
                    return;
                ++occurrence;
                WallTime wall = civilFromDays(day);
                wall.hour = start.hour;
                wall.minute = start.minute;
                wall.second = start.second;
                if (rule.until && !beforeOrAt(wall, *rule.until))
                    return;
                if (!take(wall, starts))
                    return;
            }
        }
    }

    // Every so many seconds, minutes or hours with nothing filtering the steps: libical adds the step to the wall
    // clock one ICU calendar operation at a time (a series of decade-long occurrences cost it a millisecond per
    // window). The n-th step is the start's wall time plus n steps, so the walk begins at the first step that may
    // still be kept: of those begun before the window (or before the rule's end) only the latest are.
    void walkPlainCadence(const icalrecurrencetype& rule, qint64 step, core::Date from, RuleStarts& starts) const {
        // Which step is the first at or after a wall time; negative before the start.
        const qint64 first = wallSeconds(m_master.start->wall);
        const auto stepAt = [&](const WallTime& wall) {
            const qint64 after = wallSeconds(wall) - first;
            return after >= 0 ? (after + step - 1) / step : -((-after) / step);
        };
        std::optional<WallTime> until;
        qint64 end = rule.count > 0 ? rule.count : std::numeric_limits<qint64>::max();
        if (!icaltime_is_null_time(rule.until)) {
            until = fromIcal(rule.until);
            end = std::min(end, std::max<qint64>(0, (wallSeconds(*until) - first) / step + 1));
        }
        const qint64 daySteps = (86400 + step - 1) / step;
        const qint64 windowStep = stepAt(dateToWall(m_windowStart, m_zone)) - daySteps;
        qint64 index = std::max({qint64{0}, stepAt(dateToWall(from, m_zone)) - daySteps,
                                 std::min(windowStep, end) - static_cast<qint64>(kMostRunningAtOnce) - 1});
        for (int guard = 0; guard < kMaxIterations && index < end && !m_allowance.exhausted(); ++guard, ++index) {
            --m_allowance.left;
            const WallTime wall = wallFromSeconds(first + index * step);
            if (until && !beforeOrAt(wall, *until))
                return;
            if (!take(wall, starts))
                return;
        }
    }

    static qint64 mondayIndex(qint64 day) { return ((day % 7) + 7 + 3) % 7; }

    static qint64 firstPeriodCount(const SimpleRule& rule, qint64 firstDay, qint64 periodStart) {
        qint64 count = 0;
        for (int weekday : rule.weekdays)
            if (periodStart + (weekday - rule.weekStart + 7) % 7 >= firstDay)
                ++count;
        return count;
    }

    static bool beforeOrAt(const WallTime& a, const WallTime& b) {
        return std::tie(a.year, a.month, a.day, a.hour, a.minute, a.second) <=
               std::tie(b.year, b.month, b.day, b.hour, b.minute, b.second);
    }

    // The iterator compares UNTIL with the floating wall times it produces, so UNTIL has to be on the same wall
    // clock: a UTC UNTIL is moved into the series' zone (else a series in UTC+2 would lose its last occurrence).
    void limitUntil(icalrecurrencetype& rule) const {
        if (icaltime_is_null_time(rule.until))
            return;
        icaltimetype until = rule.until;
        if (m_shape.allDay) {
            if (!until.is_date && icaltime_is_utc(until))
                until = toIcal(dateToWall(utcInstant(until), m_floating), true);
            until = toIcal(fromIcal(until), true);
        } else if (until.is_date) {
            // As other calendar programs read it: the day begins, and the rule ends.
            until = toIcal(WallTime{until.year, until.month, until.day, 0, 0, 0}, false);
        } else if (icaltime_is_utc(until)) {
            until = toIcal(dateToWall(utcInstant(until), m_zone), false);
        } else {
            until = toIcal(fromIcal(until), false);
        }
        rule.until = until;
    }

    IcsWorkAllowance& m_allowance;
    const IcsComponent& m_master;
    core::TimeZone m_floating;
    core::TimeZone m_zone;
    Shape m_shape;
    core::Date m_windowStart;
    core::Date m_windowEnd;
    core::Date m_reachStart;
    size_t m_mostOccurrences;
    std::unordered_set<qint64> m_excluded;
    std::unordered_set<qint64> m_excludedDays;
};

}  // namespace

std::optional<IcsOccurrence> singleOccurrence(const IcsComponent& component, const core::TimeZone& floatingZone) {
    if (!component.start)
        return std::nullopt;
    const Shape shape = shapeOf(component, floatingZone);
    const Placed placed = place(component.start->wall, shape, component.start->zoneOr(floatingZone), floatingZone);
    return IcsOccurrence{&component, placed.start, placed.end, placed.start, false};
}

bool isWalkableRule(const icalrecurrencetype& rule) {
    if (rule.freq != ICAL_SECONDLY_RECURRENCE && rule.freq != ICAL_MINUTELY_RECURRENCE &&
        rule.freq != ICAL_HOURLY_RECURRENCE)
        return true;
    for (const short* parts :
         {rule.by_day, rule.by_month_day, rule.by_year_day, rule.by_week_no, rule.by_month, rule.by_set_pos}) {
        if (parts[0] != ICAL_RECURRENCE_ARRAY_MAX)
            return false;
    }
    return true;
}

void setRuleShortcutsForTesting(bool enabled) {
    libicalOnly = !enabled;
}

void expandSeries(const IcsSeries& series, core::Date windowStart, core::Date windowEnd,
                  const core::TimeZone& floatingZone, std::vector<IcsOccurrence>& out, IcsWorkAllowance* allowance) {
    std::vector<const IcsComponent*> overrides;
    for (const IcsComponent* o : series.overrides)
        if (o->recurrenceId && o->start)
            overrides.push_back(o);

    if (!series.master || !series.master->start) {
        // Overrides without their series (or a series without a start): show each as it stands.
        for (const IcsComponent* o : overrides) {
            auto occurrence = singleOccurrence(*o, floatingZone);
            if (occurrence && o->status != IcsComponent::Status::Cancelled &&
                overlaps(occurrence->start, occurrence->end, windowStart, windowEnd)) {
                occurrence->occurrenceDate = o->recurrenceId->toDate(floatingZone);
                occurrence->isDetached = true;
                out.push_back(*occurrence);
            }
        }
        return;
    }
    const IcsComponent& master = *series.master;
    if (master.repeats().rrules.empty() && master.repeats().rdates.empty() && overrides.empty()) {
        // Most items happen once; skip the series machinery for them.
        auto occurrence = singleOccurrence(master, floatingZone);
        if (occurrence && overlaps(occurrence->start, occurrence->end, windowStart, windowEnd))
            out.push_back(*occurrence);
        return;
    }
    IcsWorkAllowance own;
    SeriesExpander expander(master, windowStart, windowEnd, floatingZone, allowance ? *allowance : own);
    expander.collectExclusions();
    expander.emitOccurrences(overrides, out);
}

}  // namespace platform::vdir
