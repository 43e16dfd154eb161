#include "imageimport/extraction/LineScanner.h"

#include "core/CharacterClass.h"
#include "imageimport/extraction/LinePreparation.h"
#include "imageimport/extraction/TimeScanner.h"
#include "platform/datadetector/DataDetector.h"

#include <algorithm>

namespace imageimport {
namespace {

const quickadd::NLParser::Token* firstToken(const quickadd::NLParser::Result& result, quickadd::NLParser::TokenKind kind) {
    const auto it = std::find_if(result.tokens.cbegin(), result.tokens.cend(),
                                 [kind](const quickadd::NLParser::Token& token) { return token.kind == kind; });
    return it == result.tokens.cend() ? nullptr : &*it;
}

}  // namespace

LineScanner::LineScanner(const ExtractionContext& context, const platform::DataDetector* detector)
    : m_context(context),
      m_dates(context),
      m_parser{context.now, context.calendar, 3600, {}, context.monthFirst},
      m_detector(detector) {}

LineHits LineScanner::scan(const QString& line, int index) const {
    LineHits hits;
    hits.dates = m_dates.scanDates(line, index);
    std::vector<core::TextRange> taken;
    for (const DateHit& hit : hits.dates)
        taken.push_back(hit.range);
    hits.times = TimeScanner::scanTimes(line, index, taken);
    for (const TimeHit& hit : hits.times)
        taken.push_back(hit.range);

    // Blanking keeps the length, so the parser's ranges hold for the line as well.
    const auto parsed = m_parser.parse(LinePreparation::blank(line, taken));
    if (!parsed)
        return hits;
    const core::Calendar& calendar = m_context.calendar;
    const bool hadDates = !hits.dates.empty();
    const bool hadTimes = !hits.times.empty();
    if (!hadDates) {
        // A date of digits alone is one the patterns chose not to read.
        const auto* token = firstToken(*parsed, quickadd::NLParser::TokenKind::date);
        if (token && core::chars::containsLetter(token->text))
            hits.dates.push_back({token->range, calendar.startOfDay(parsed->start), index, true, false});
    }
    if (!hadTimes && parsed->hasTime) {
        const auto* token = firstToken(*parsed, quickadd::NLParser::TokenKind::time);
        if (token && !LinePreparation::isWordedTimeInAName(line, token->range)) {
            TimeHit hit{token->range,
                        calendar.component(core::CalendarUnit::Hour, parsed->start),
                        calendar.component(core::CalendarUnit::Minute, parsed->start),
                        std::nullopt,
                        std::nullopt,
                        LinePreparation::label(token->range, line),
                        index};
            if (parsed->hasDuration) {
                hit.endHour = calendar.component(core::CalendarUnit::Hour, parsed->end);
                hit.endMinute = calendar.component(core::CalendarUnit::Minute, parsed->end);
            }
            hits.times.push_back(hit);
        }
    }
    return hits;
}

std::vector<DateHit> LineScanner::detectorDates(const QStringList& lines) const {
    std::vector<DateHit> hits;
    if (!m_detector)
        return hits;
    for (qsizetype i = 0; i < lines.size(); ++i) {
        const QString& line = lines[i];
        for (const auto& match : m_detector->matches(line, platform::DataDetector::Kind::date)) {
            if (!match.date)
                continue;
            // A bare number ("2025", "12.30") is not taken for a day.
            const QString text = line.mid(match.range.location, match.range.length);
            if (!core::chars::containsLetter(text) && !text.contains(u'/'))
                continue;
            core::Calendar system = core::Calendar::current();
            if (match.timeZone)
                system.setTimeZone(*match.timeZone);
            const core::DateComponents c = system.components(*match.date);
            if (!c.year || !c.month || !c.day)
                continue;
            // Through the extractor's calendar: a day that does not exist there is dropped.
            if (const auto day = m_dates.resolve(*c.day, *c.month, *c.year, std::nullopt))
                hits.push_back({match.range, *day, static_cast<int>(i), true, false});
        }
    }
    return hits;
}

}  // namespace imageimport
