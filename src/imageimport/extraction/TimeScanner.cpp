#include "imageimport/extraction/TimeScanner.h"

#include "imageimport/extraction/LinePreparation.h"
#include "imageimport/extraction/PatternSupport.h"

#include <algorithm>

using namespace Qt::Literals::StringLiterals;

namespace imageimport {
namespace {

using patterns::asciiNumber;
using patterns::group;

struct TimePatterns {
    core::Regex range24 = patterns::compile(
        uR"((?<![\d:.])\b([01]?\d|2[0-3])[:h]([0-5]\d)\s*(?:-|–|—|to|until|till)\s*([01]?\d|2[0-3])[:h]([0-5]\d)\b)"_s,
        patterns::kCaseInsensitive);
    core::Regex range12 = patterns::compile(
        uR"((?<![\d:.])\b(\d{1,2})(?:[:.]([0-5]\d))?\s*(a\.?m\.?|p\.?m\.?)?\s*(?:-|–|—|to|until|till)\s*(\d{1,2})(?:[:.]([0-5]\d))?\s*(a\.?m\.?|p\.?m\.?)(?![a-z]))"_s,
        patterns::kCaseInsensitive);
    core::Regex time12 = patterns::compile(
        uR"((?<![\d:.£$€])\b(\d{1,2})(?:[:.]([0-5]\d))?\s*(a\.?m\.?|p\.?m\.?)(?![a-z]))"_s, patterns::kCaseInsensitive);
    // Refuses a time followed by a meridiem ("19:30pm" is no time at all), but only a
    // real one: "14:30 AMS" names an airport.
    core::Regex time24 = patterns::compile(
        uR"((?<![\d:.£$€])\b([01]?\d|2[0-3])[:h]([0-5]\d)\b(?![:.]?\d)(?!\s*(?:a\.?m\.?|p\.?m\.?)(?![a-z])))"_s,
        patterns::kCaseInsensitive);
    core::Regex noon = patterns::compile(uR"(\b(noon|midday)\b)"_s, patterns::kCaseInsensitive);
};

const TimePatterns& shared() {
    static const TimePatterns set;
    return set;
}

struct Clock {
    int hour = 0;
    int minute = 0;
    std::optional<int> endHour;
    std::optional<int> endMinute;
};

bool isAfternoon(const QString& meridiem) { return meridiem.front().toLower() == u'p'; }

std::optional<Clock> read24(const core::RegexMatch& m, bool isRange) {
    const auto hour = asciiNumber(group(m, 1));
    const auto minute = asciiNumber(group(m, 2));
    if (!hour || !minute || *hour >= 24)
        return std::nullopt;
    if (!isRange)
        return Clock{*hour, *minute, {}, {}};
    const auto endHour = asciiNumber(group(m, 3));
    const auto endMinute = asciiNumber(group(m, 4));
    if (!endHour || !endMinute)
        return std::nullopt;
    return Clock{*hour, *minute, endHour, endMinute};
}

// An optional minute that does not read counts as :00.
int minuteOf(const core::RegexMatch& m, int index) { return asciiNumber(group(m, index)).value_or(0); }

std::optional<Clock> read12Range(const core::RegexMatch& m) {
    const auto startHour = asciiNumber(group(m, 1));
    const auto endHour = asciiNumber(group(m, 4));
    const auto endMeridiem = group(m, 6);
    if (!startHour || !endHour || !endMeridiem || *startHour < 1 || *startHour > 12 || *endHour < 1 || *endHour > 12)
        return std::nullopt;
    const int startMinute = minuteOf(m, 2);
    const int endMinute = minuteOf(m, 5);
    const int end = LinePreparation::hour12(*endHour, endMeridiem);

    int start = 0;
    if (const auto startMeridiem = group(m, 3)) {
        start = LinePreparation::hour12(*startHour, startMeridiem);
    } else {
        // "7-9pm" shares the end's meridiem; "11-1pm" cannot, and crosses noon.
        start = LinePreparation::hour12(*startHour, endMeridiem);
        if (start * 60 + startMinute >= end * 60 + endMinute)
            start = LinePreparation::hour12(*startHour, isAfternoon(*endMeridiem) ? u"am"_s : u"pm"_s);
    }
    return Clock{start, startMinute, end, endMinute};
}

std::optional<Clock> read12(const core::RegexMatch& m) {
    const auto hour = asciiNumber(group(m, 1));
    if (!hour || *hour < 1 || *hour > 12)
        return std::nullopt;
    return Clock{LinePreparation::hour12(*hour, group(m, 3)), minuteOf(m, 2), {}, {}};
}

}  // namespace

std::vector<TimeHit> TimeScanner::scanTimes(const QString& text, int line,
                                            const std::vector<core::TextRange>& excluding) {
    std::vector<core::TextRange> taken = excluding;
    std::vector<TimeHit> hits;
    const auto scan = [&](const core::Regex& pattern, auto read) {
        for (const core::RegexMatch& m : pattern.allMatches(text)) {
            const std::optional<Clock> clock = read(m);
            if (!clock)
                continue;
            const core::TextRange range = m.range();
            if (std::any_of(taken.cbegin(), taken.cend(),
                            [range](core::TextRange other) { return patterns::overlaps(range, other); }))
                continue;
            taken.push_back(range);
            hits.push_back({range, clock->hour, clock->minute, clock->endHour, clock->endMinute,
                            LinePreparation::label(range, text), line});
        }
    };
    scan(shared().range24, [](const core::RegexMatch& m) { return read24(m, true); });
    scan(shared().range12, read12Range);
    scan(shared().time12, read12);
    scan(shared().time24, [](const core::RegexMatch& m) { return read24(m, false); });
    scan(shared().noon, [&text](const core::RegexMatch& m) {
        return LinePreparation::isWordedTimeInAName(text, m.range()) ? std::nullopt
                                                                     : std::optional<Clock>(Clock{12, 0, {}, {}});
    });

    std::stable_sort(hits.begin(), hits.end(),
                     [](const TimeHit& a, const TimeHit& b) { return a.range.location < b.range.location; });
    return hits;
}

const QSet<QString>& TimeScanner::secondaryLabels() {
    static const QSet<QString> set{u"Doors"_s, u"Boarding"_s, u"Check-in"_s, u"Gate closes"_s};
    return set;
}

const QSet<QString>& TimeScanner::endLabels() {
    static const QSet<QString> set{u"Ends"_s, u"Arrives"_s};
    return set;
}

}  // namespace imageimport
