// The extraction over recognised text: what text recognition reads from any image
// the user drops, from its pieces through the rows to the finished extraction.
// Beyond not crashing, the rows must be the pieces side by side, every hit must name
// a line that exists and a range inside it, every clock time must be a real one, the
// proposals must be numbered in order, and the extraction must hold together.
//
// Input: one byte of set-up (zone, reference instant, date order, text encoding),
// then the lines, separated by line feeds; a tab in a line parts the piece at its
// left from the piece far to its right.

#include "core/CharacterClass.h"
#include "imageimport/extraction/CandidateBuilder.h"
#include "imageimport/extraction/DateScanner.h"
#include "imageimport/extraction/EventCandidateExtractor.h"
#include "imageimport/extraction/FactFinders.h"
#include "imageimport/extraction/FlightFinder.h"
#include "imageimport/extraction/ImageTextRecognizer.h"
#include "imageimport/extraction/LinePreparation.h"
#include "imageimport/extraction/TimeScanner.h"
#include "imageimport/extraction/TitleCleanup.h"
#include "platform/datadetector/RuleDataDetector.h"
#include "platform/textrecognition/FakeTextRecognizer.h"

#include <QDateTime>
#include <QTimeZone>

#include <algorithm>
#include <array>
#include <cstdint>
#include <cstdlib>
#include <cstring>
#include <memory>

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

    // Each line a row of its own, one unit below the last, of a height that grows and
    // falls again, so that large heading text turns up among small text.
    std::vector<platform::TextPiece> pieces;
    QStringList expectedRows;
    double height = 0.01;
    const QStringList inputLines = text.split(u'\n');
    for (qsizetype i = 0; i < inputLines.size(); ++i) {
        const qsizetype tab = inputLines[i].indexOf(u'\t');
        const QStringList parts = tab < 0 ? QStringList{inputLines[i]}
                                          : QStringList{inputLines[i].left(tab), inputLines[i].mid(tab + 1)};
        QStringList kept;
        for (qsizetype k = 0; k < parts.size(); ++k) {
            const double middle = -static_cast<double>(i);
            pieces.push_back({parts[k], QRectF(0.1 + 0.5 * static_cast<double>(k), middle - height / 2, 0.3, height)});
            if (std::any_of(parts[k].cbegin(), parts[k].cend(), [](QChar c) { return c != u' ' && c != u'\t'; }))
                kept.append(parts[k]);
        }
        if (!kept.isEmpty())
            expectedRows.append(kept.join(QStringLiteral("  ")));
        height = height > 0.9 ? 0.01 : height * 1.7;
    }
    platform::FakeTextRecognizer recognizer;
    recognizer.setResult(pieces);
    const auto rows = ImageTextRecognizer::recognize(recognizer, {});
    const auto& recognized = std::get<std::vector<RecognizedLine>>(rows);
    check(static_cast<qsizetype>(recognized.size()) == expectedRows.size());
    for (size_t i = 0; i < recognized.size(); ++i)
        check(recognized[i].text == expectedRows[static_cast<qsizetype>(i)] && recognized[i].height > 0);
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

    const auto sharedDetector = std::make_shared<platform::RuleDataDetector>();
    const ImageExtraction extraction =
        EventCandidateExtractor(context.now, calendar, context.monthFirst, sharedDetector).extract(recognized);
    check(extraction.recognizedText == joined);
    check(extraction.notes.endsWith(joined));
    check(extraction.dates.size() <= 5);
    for (size_t i = 0; i < extraction.dates.size(); ++i) {
        const DateCandidate& c = extraction.dates[i];
        check(c.id == static_cast<int>(i) && c.line >= 0 && c.line < lines.size());
    }
    if (extraction.kind == ImageExtraction::Kind::reminder) {
        check(extraction.reminderTrigger && !extraction.flight && extraction.hasDate() && !extraction.dates[0].hour);
    } else {
        check(!extraction.reminderTrigger);
    }
    check(core::chars::capitalizedFirst(extraction.title) == extraction.title);
    check(!extraction.url || extraction.url->scheme() == u"http" || extraction.url->scheme() == u"https");
    check(!extraction.meeting || extraction.url == extraction.meeting->url);
    check(!extraction.summary().isEmpty());
    return 0;
}
