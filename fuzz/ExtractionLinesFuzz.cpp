// The extraction finders over recognised lines of text: what text recognition
// reads from any image the user drops. Beyond not crashing, every hit must name a
// line that exists and a range inside it, every clock time must be a real one, and
// the proposals must be numbered in order.
//
// Input: one byte of set-up (zone, reference instant, date order, text encoding),
// then the lines, separated by line feeds.

#include "imageimport/extraction/CandidateBuilder.h"
#include "imageimport/extraction/DateScanner.h"
#include "imageimport/extraction/FactFinders.h"
#include "imageimport/extraction/FlightFinder.h"
#include "imageimport/extraction/LinePreparation.h"
#include "imageimport/extraction/TimeScanner.h"
#include "imageimport/extraction/TitleCleanup.h"
#include "platform/datadetector/RuleDataDetector.h"

#include <QDateTime>
#include <QTimeZone>

#include <array>
#include <cstdint>
#include <cstdlib>
#include <cstring>

using namespace imageimport;

namespace {

constexpr std::array kZones{"Europe/Berlin", "America/Sao_Paulo", "Australia/Lord_Howe", "Pacific/Apia"};

core::Date utc(int y, int mo, int d, int h = 0) {
    return core::Date::fromQDateTime(QDateTime(QDate(y, mo, d), QTime(h, 0), QTimeZone::utc()));
}

// An ordinary day, a spring-forward night, the last day of a year and a leap day.
const std::array<core::Date, 4>& instants() {
    static const std::array<core::Date, 4> list{utc(2025, 6, 10, 9), utc(2025, 3, 30, 0), utc(2025, 12, 31, 23),
                                                utc(2028, 2, 29, 12)};
    return list;
}

void check(bool condition) {
    if (!condition)
        std::abort();
}

bool inside(core::TextRange range, const QString& text) {
    return range.location >= 0 && range.length > 0 && range.end() <= text.size();
}

QString decode(const uint8_t* data, size_t size, bool utf16) {
    if (!utf16)
        return QString::fromUtf8(reinterpret_cast<const char*>(data), static_cast<qsizetype>(size));
    // Raw UTF-16 units, lone surrogates and all.
    QString text(static_cast<qsizetype>(size / 2), Qt::Uninitialized);
    std::memcpy(text.data(), data, size / 2 * 2);
    return text;
}

}  // namespace

extern "C" int LLVMFuzzerTestOneInput(const uint8_t* data, size_t size) {
    if (size == 0)
        return 0;
    const uint8_t setup = data[0];
    const QString text = decode(data + 1, size - 1, setup & 0x40);

    std::vector<RecognizedLine> recognized;
    double height = 0.01;
    for (const QString& line : text.split(u'\n')) {
        recognized.push_back({line, height});
        height = height > 0.9 ? 0.01 : height * 1.7;
    }
    const std::vector<RecognizedLine> prepared = LinePreparation::prepare(recognized);
    QStringList lines;
    for (const RecognizedLine& line : prepared) {
        check(!line.text.isEmpty());
        lines.append(line.text);
    }

    core::Calendar calendar(*core::TimeZone::withIdentifier(QString::fromLatin1(kZones[setup & 0x3])),
                            core::Locale(QStringLiteral("en_US")));
    const ExtractionContext context{instants()[(setup >> 2) & 0x3], calendar, bool(setup & 0x10)};
    const DateScanner dateScanner(context);

    std::vector<DateHit> dates;
    std::vector<TimeHit> times;
    for (qsizetype i = 0; i < lines.size(); ++i) {
        const QString& line = lines[i];
        const auto lineDates = dateScanner.scanDates(line, static_cast<int>(i));
        std::vector<core::TextRange> taken;
        for (const DateHit& hit : lineDates) {
            check(hit.line == i && inside(hit.range, line) && !hit.isRelative);
            check(calendar.startOfDay(hit.day) == hit.day);
            taken.push_back(hit.range);
        }
        const auto lineTimes = TimeScanner::scanTimes(line, static_cast<int>(i), taken);
        for (const TimeHit& hit : lineTimes) {
            check(hit.line == i && inside(hit.range, line));
            check(hit.hour >= 0 && hit.hour < 24 && hit.minute >= 0 && hit.minute < 60);
            check(hit.endHour.has_value() == hit.endMinute.has_value());
            check(!hit.endHour || (*hit.endHour >= 0 && *hit.endHour < 24 && *hit.endMinute >= 0 && *hit.endMinute < 60));
        }
        const QString blanked = LinePreparation::blank(line, taken);
        check(blanked.size() == line.size());
        LinePreparation::segments(line);
        dates.insert(dates.end(), lineDates.begin(), lineDates.end());
        times.insert(times.end(), lineTimes.begin(), lineTimes.end());
    }

    const auto candidates = CandidateBuilder(context).buildCandidates(dates, times, lines);
    for (size_t i = 0; i < candidates.size(); ++i) {
        const DateCandidate& c = candidates[i];
        check(c.id == static_cast<int>(i) && c.line >= 0 && c.line < lines.size());
        const auto start = c.start(calendar);
        const auto end = c.end(calendar);
        check(start.has_value() == c.day.has_value());
        check(!end || (start && *end > *start));
    }

    const QString joined = lines.join(u'\n');
    const platform::RuleDataDetector detector;
    for (const QUrl& url : FactFinders::findLinks(joined, &detector))
        check(url.scheme() == u"http" || url.scheme() == u"https");
    FactFinders::findDuration(joined);
    if (const auto amount = FactFinders::findAmount(lines))
        check(!amount->isEmpty() && !amount->contains(u' '));
    if (const auto flight = FlightFinder::findFlight(lines, times))
        check(flight->number.has_value());
    if (const auto trigger = TitleCleanup::findTrigger(lines, candidates.empty() ? std::nullopt
                                                                               : std::optional(candidates[0].line)))
        check(trigger->line >= 0 && trigger->line < lines.size() && !trigger->text.isEmpty());
    TitleCleanup::labelledTitle(lines);
    TitleCleanup::appointmentNoun(joined);
    for (const QString& line : lines) {
        TitleCleanup::titleCaseIfShouting(line);
        TitleCleanup::cleanResidual(line);
        TitleCleanup::lowerFirstUnlessAcronym(line);
    }

    ImageExtraction extraction;
    extraction.dates = candidates;
    extraction.summary();
    return 0;
}
