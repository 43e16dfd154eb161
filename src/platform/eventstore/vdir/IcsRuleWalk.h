#pragma once

#include "platform/eventstore/vdir/WallTime.h"

#include <QtGlobal>

#include <bitset>
#include <functional>
#include <optional>
#include <utility>
#include <vector>

struct icalrecurrencetype;

namespace platform::vdir {

// A daily, weekly, monthly or yearly rule on the Gregorian calendar, walked period by period on wall-clock dates:
// the days of each period that pass every BY filter, at every listed time, thinned by BYSETPOS. libical's
// iterator, which it stands in for, goes through ICU calendars (a month costs it tens of microseconds) and, when a
// rule matches nothing more, looks for the next occurrence up to the year 2582: half a second per such rule.
class IcsRuleWalk {
public:
    // Nullopt for what is left to libical: sub-daily frequencies, other calendar scales, week numbers.
    static std::optional<IcsRuleWalk> from(const icalrecurrencetype& rule, const WallTime& start, bool isDate);

    // Whether any day of any year can pass the rule's filters. Looks at the calendar, not at the rule's cadence:
    // false means the rule never gives an occurrence; true may still mean rarely or never.
    bool canMatch() const { return m_canMatch; }

    // How far a walk that counts from the start got before the periods it was asked for: a later walk of the same
    // rule from the same start picks up there instead of counting again.
    struct Progress {
        qint64 period = 0;
        int counted = 0;
    };

    // Calls `visit` with the occurrences in order, from the period holding `from` (from the start when the rule has
    // a COUNT that may run out before `end`, since it counts from there, or from `progress`), until `visit` returns
    // false, the rule ends or the periods pass `end`. Each day looked at takes one from `work`; at none left the walk
    // stops where it is.
    void walk(const WallTime& from, const WallTime& end, qint64& work,
              const std::function<bool(const WallTime&)>& visit, Progress* progress = nullptr) const;

private:
    enum class Frequency { Daily, Weekly, Monthly, Yearly };
    struct Period {
        qint64 firstDay = 0;
        qint64 lastDay = 0;
    };

    Period period(qint64 index) const;
    qint64 periodHolding(const WallTime& wall) const;
    bool dayPasses(qint64 day, const WallTime& date) const;
    // Every filter but BYDAY.
    bool datePasses(qint64 day, const WallTime& date) const;
    bool weekdayPasses(qint64 day, const WallTime& date) const;
    // Returns how many days it looked at.
    qint64 instantsOf(const Period& period, std::vector<WallTime>& out) const;
    // No period holds more occurrences than this.
    qint64 mostPerPeriod() const;
    bool findCanMatch() const;

    Frequency m_frequency = Frequency::Daily;
    qint64 m_interval = 1;
    int m_weekStart = 0;  // 0 = Monday
    WallTime m_start;
    qint64 m_startDay = 0;
    bool m_isDate = false;
    int m_count = 0;
    std::optional<WallTime> m_until;

    quint16 m_months = 0;  // bit m for month m; 0: no filter
    quint32 m_monthDays = 0;
    quint32 m_monthDaysFromEnd = 0;  // bit n for the n-th last day
    std::bitset<367> m_yearDays;
    std::bitset<367> m_yearDaysFromEnd;
    bool m_byYearDay = false;
    bool m_byDay = false;
    quint8 m_weekdays = 0;                        // plain BYDAY entries, bit 0 = Monday
    std::vector<std::pair<int, int>> m_ordinals;  // (n, weekday): the n-th (from the end if negative)
    std::vector<int> m_hours;
    std::vector<int> m_minutes;
    std::vector<int> m_seconds;
    std::vector<int> m_setPositions;
    bool m_canMatch = true;
};

}  // namespace platform::vdir
