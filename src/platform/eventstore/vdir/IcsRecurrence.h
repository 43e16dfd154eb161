#pragma once

#include "platform/eventstore/vdir/IcsItem.h"

#include <vector>

struct icalrecurrencetype;

namespace platform::vdir {

// The components of one UID: the master (null when the file holds only overrides) and its RECURRENCE-ID overrides.
struct IcsSeries {
    const IcsComponent* master = nullptr;
    std::vector<const IcsComponent*> overrides;
};

struct IcsOccurrence {
    const IcsComponent* component = nullptr;  // the master, or the override that replaces this occurrence
    core::Date start;
    // For an all-day item the last second of its last day (the file's end date is exclusive).
    core::Date end;
    core::Date occurrenceDate;  // where the series put this occurrence, before any override moved it
    bool isDetached = false;
};

// Start and end of a component as it stands, without its rule; nullopt without a start.
std::optional<IcsOccurrence> singleOccurrence(const IcsComponent& component, const core::TimeZone& floatingZone);

// How much work expanding may still do: each day a rule's walk looks at and each occurrence it makes takes one.
// The series of one file share an allowance within a read, so that no file, however built, holds a read up for
// long; a walk that runs out stops where it is.
struct IcsWorkAllowance {
    qint64 left = 10'000'000;

    bool exhausted() const { return left <= 0; }
};

// Every occurrence of the series that overlaps [windowStart, windowEnd), in no particular order. Rules are walked
// on wall time in the series' own zone from a little before the window (never from a distant DTSTART), EXDATEs
// remove occurrences, RDATEs add them, and overrides replace theirs wherever they moved to. Floating times and
// dates are read in `floatingZone`. Without an allowance the expansion has one of its own. A series brings a bounded
// number: occurrences begun more than a year before the window are left out, and so are those past ten thousand (or
// past four an hour of a longer window).
void expandSeries(const IcsSeries& series, core::Date windowStart, core::Date windowEnd,
                  const core::TimeZone& floatingZone, std::vector<IcsOccurrence>& out,
                  IcsWorkAllowance* allowance = nullptr);

// Whether libical can walk the rule in bounded time. It walks a sub-daily rule step by step until a step passes
// every filter, so one filtered by days or months (hourly on 30 February) searches for years of seconds.
bool isWalkableRule(const icalrecurrencetype& rule);

// Simple daily and weekly rules are walked without libical; tests turn that off to compare both ways.
void setRuleShortcutsForTesting(bool enabled);

}  // namespace platform::vdir
