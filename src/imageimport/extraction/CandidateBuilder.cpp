#include "imageimport/extraction/CandidateBuilder.h"

#include "imageimport/extraction/TimeScanner.h"
#include "imageimport/extraction/TitleCleanup.h"

#include <QSet>

#include <algorithm>
#include <cstdlib>
#include <set>
#include <tuple>
#include <utility>

namespace imageimport {
namespace {

struct Scored {
    DateCandidate candidate;
    long long position = 0;  // line first, then column
    double score = 0;
};

struct EndTime {
    std::optional<size_t> date;
    int hour = 0;
    int minute = 0;
};

long long readingPosition(int line, core::TextRange range) {
    return static_cast<long long>(line) * 10000 + range.location;
}

// Equal days, hours and minutes make one proposal, whatever else differs.
using DuplicateKey = std::tuple<bool, double, int, int>;

DuplicateKey keyOf(const DateCandidate& c) {
    return {c.day.has_value(), c.day ? c.day->secondsSince1970() : -1.0, c.hour.value_or(-1), c.minute.value_or(-1)};
}

}  // namespace

CandidateBuilder::CandidateBuilder(ExtractionContext context) : m_context(std::move(context)) {}

std::optional<size_t> CandidateBuilder::dateFor(const TimeHit& time, const std::vector<DateHit>& dates) {
    std::vector<size_t> sameLine;
    for (size_t i = 0; i < dates.size(); ++i) {
        if (dates[i].line == time.line)
            sameLine.push_back(i);
    }
    if (!sameLine.empty()) {
        for (auto it = sameLine.rbegin(); it != sameLine.rend(); ++it) {
            if (dates[*it].range.location < time.range.location)
                return *it;
        }
        return sameLine.front();
    }
    std::optional<size_t> nearest;
    long long nearestKey = 0;
    for (size_t i = 0; i < dates.size(); ++i) {
        const long long d = static_cast<long long>(dates[i].line) - time.line;
        if (std::llabs(d) >= 5)
            continue;
        // One line above (1) beats one below (2), which beats two above (3) ...
        const long long key = d > 0 ? 2 * d : 2 * std::llabs(d) - 1;
        if (!nearest || key < nearestKey) {
            nearest = i;
            nearestKey = key;
        }
    }
    return nearest;
}

double CandidateBuilder::score(const DateCandidate& c, bool explicitPast, bool deadline) {
    double total = 0.0;
    if (c.day)
        total += 4.0;
    if (c.hour)
        total += 2.0;
    if (!c.isRelative)
        total += 1.0;
    if (c.label)
        total += TimeScanner::secondaryLabels().contains(*c.label) ? -3.0 : 1.0;
    if (explicitPast)
        total -= 2.0;
    if (deadline)
        total += 2.0;
    return total;
}

std::vector<DateCandidate> CandidateBuilder::buildCandidates(const std::vector<DateHit>& dates,
                                                             const std::vector<TimeHit>& times,
                                                             const QStringList& lines) const {
    QSet<int> deadlineLines;
    for (qsizetype i = 0; i < lines.size(); ++i) {
        if (TitleCleanup::triggerRe().matches(lines[i]))
            deadlineLines.insert(static_cast<int>(i));
    }
    const core::Date today = m_context.calendar.startOfDay(m_context.now);

    std::vector<Scored> entries;
    std::vector<EndTime> endTimes;
    std::set<size_t> usedDates;
    for (const TimeHit& t : times) {
        const std::optional<size_t> idx = dateFor(t, dates);
        if (t.label && TimeScanner::endLabels().contains(*t.label)) {
            endTimes.push_back({idx, t.hour, t.minute});
            continue;
        }
        const DateHit* paired = idx ? &dates[*idx] : nullptr;
        if (idx)
            usedDates.insert(*idx);
        DateCandidate c;
        c.day = paired ? std::optional(paired->day) : std::nullopt;
        c.hour = t.hour;
        c.minute = t.minute;
        c.endHour = t.endHour;
        c.endMinute = t.endMinute;
        c.label = t.label;
        c.isRelative = paired && paired->isRelative;
        c.line = t.line;
        const bool explicitPast = paired && paired->day < today;
        const bool deadline = deadlineLines.contains(paired ? paired->line : t.line);
        entries.push_back({c, readingPosition(t.line, t.range), score(c, explicitPast, deadline)});
    }
    for (size_t i = 0; i < dates.size(); ++i) {
        if (usedDates.contains(i))
            continue;
        const DateHit& d = dates[i];
        DateCandidate c;
        c.day = d.day;
        c.isRelative = d.isRelative;
        c.line = d.line;
        entries.push_back({c, readingPosition(d.line, d.range), score(c, d.day < today, deadlineLines.contains(d.line))});
    }

    QSet<core::Date> timedDays;
    for (const Scored& e : entries) {
        if (e.candidate.hour && e.candidate.day)
            timedDays.insert(*e.candidate.day);
    }
    std::vector<Scored> kept;
    std::set<DuplicateKey> seen;
    for (const Scored& e : entries) {
        const DateCandidate& c = e.candidate;
        if (!c.hour && c.day && timedDays.contains(*c.day))
            continue;
        if (!seen.insert(keyOf(c)).second)
            continue;
        kept.push_back(e);
    }
    if (kept.empty())
        return {};

    size_t best = 0;
    for (size_t i = 1; i < kept.size(); ++i) {
        if (kept[i].score > kept[best].score ||
            (kept[i].score == kept[best].score && kept[i].position < kept[best].position))
            best = i;
    }
    DateCandidate first = kept[best].candidate;
    if (first.hour && !first.endHour) {
        for (const EndTime& end : endTimes) {
            const std::optional<core::Date> endDay = end.date ? std::optional(dates[*end.date].day) : std::nullopt;
            if (!end.date || endDay == first.day) {
                first.endHour = end.hour;
                first.endMinute = end.minute;
                break;
            }
        }
    }
    // After the best, reading order alone: scores no longer count.
    std::vector<size_t> rest;
    for (size_t i = 0; i < kept.size(); ++i) {
        if (i != best)
            rest.push_back(i);
    }
    std::stable_sort(rest.begin(), rest.end(),
                     [&kept](size_t a, size_t b) { return kept[a].position < kept[b].position; });

    std::vector<DateCandidate> result;
    result.reserve(kept.size());
    result.push_back(first);
    for (const size_t i : rest)
        result.push_back(kept[i].candidate);
    for (size_t i = 0; i < result.size(); ++i)
        result[i].id = static_cast<int>(i);
    return result;
}

}  // namespace imageimport
