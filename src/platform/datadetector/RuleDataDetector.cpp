#include "platform/datadetector/RuleDataDetector.h"

#include "core/Clock.h"
#include "core/DateFormat.h"
#include "platform/datadetector/DetectionRules.h"

#include <iterator>

namespace platform {
namespace {

// Whether the current locale writes the month before the day ("6/14" rather than "14/6").
bool monthFirstHere() {
    const QString pattern = core::DateFormat::bestPattern(QStringLiteral("Md"));
    const qsizetype month = pattern.indexOf(u'M');
    const qsizetype day = pattern.indexOf(u'd');
    return month < 0 || day < 0 || month < day;
}

}  // namespace

std::vector<DataDetector::Match> RuleDataDetector::matches(const QString& text, Kinds kinds) const {
    std::vector<Match> found;
    const auto append = [&found](std::vector<Match> more) {
        found.insert(found.end(), std::make_move_iterator(more.begin()), std::make_move_iterator(more.end()));
    };
    if (kinds.testFlag(Kind::link))
        append(detection::links(text));
    if (kinds.testFlag(Kind::date))
        append(detection::dates(text, {core::Clock::current().now(), core::Calendar::current(), monthFirstHere()}));
    if (kinds.testFlag(Kind::address))
        append(detection::addresses(text));
    return detection::withoutOverlaps(std::move(found));
}

}  // namespace platform
