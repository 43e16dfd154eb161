#include "imageimport/extraction/EventCandidateExtractor.h"

#include "core/CharacterClass.h"
#include "imageimport/extraction/CandidateBuilder.h"
#include "imageimport/extraction/FactFinders.h"
#include "imageimport/extraction/FlightFinder.h"
#include "imageimport/extraction/HeadingFinder.h"
#include "imageimport/extraction/LinePreparation.h"
#include "imageimport/extraction/LineScanner.h"
#include "imageimport/extraction/LinkRepair.h"
#include "imageimport/extraction/PlaceFinder.h"
#include "imageimport/extraction/TitleCleanup.h"
#include "model/MeetingLink.h"
#include "platform/datadetector/DataDetector.h"

#include <utility>

using namespace Qt::Literals::StringLiterals;

namespace imageimport {
namespace {

constexpr size_t kMostCandidates = 5;

// "London Heathrow (LHR), Terminal 5, Gate A10": where a flight leaves from.
std::optional<QString> flightPlace(const FlightDetails& flight) {
    QString origin;
    if (flight.originName && flight.origin)
        origin = *flight.originName + u" ("_s + *flight.origin + u')';
    else if (flight.originName || flight.origin)
        origin = flight.originName ? *flight.originName : *flight.origin;
    else
        return std::nullopt;
    QStringList parts{origin};
    if (flight.terminal)
        parts.append(u"Terminal "_s + *flight.terminal);
    if (flight.gate)
        parts.append(u"Gate "_s + *flight.gate);
    return parts.join(u", "_s);
}

// Each word's first letter in upper case and the rest in lower case.
QString capitalizedWords(const QString& text) {
    QStringList words = text.split(u' ');
    for (QString& word : words)
        word = core::chars::capitalizedFirst(word.toLower());
    return words.join(u' ');
}

}  // namespace

EventCandidateExtractor::EventCandidateExtractor(core::Date now, core::Calendar calendar, bool monthFirst,
                                                 std::shared_ptr<const platform::DataDetector> detector)
    : m_context{now, std::move(calendar), monthFirst}, m_detector(std::move(detector)) {}

QStringList EventCandidateExtractor::segments(const QString& text) { return LinePreparation::segments(text); }

ImageExtraction EventCandidateExtractor::extract(const std::vector<RecognizedLine>& recognized) const {
    const platform::DataDetector* detector = m_detector.get();
    const std::vector<RecognizedLine> prepared = LinePreparation::prepare(recognized);
    QStringList texts;
    texts.reserve(static_cast<qsizetype>(prepared.size()));
    for (const RecognizedLine& line : prepared)
        texts.append(line.text);
    const QString joined = texts.join(u'\n');

    const LineScanner scanner(m_context, detector);
    std::vector<DateHit> dates;
    std::vector<TimeHit> times;
    for (qsizetype i = 0; i < texts.size(); ++i) {
        LineHits hits = scanner.scan(texts[i], static_cast<int>(i));
        dates.insert(dates.end(), hits.dates.begin(), hits.dates.end());
        times.insert(times.end(), hits.times.begin(), hits.times.end());
    }
    if (dates.empty())
        dates = scanner.detectorDates(texts);

    ImageExtraction result;
    result.recognizedText = joined;
    result.duration = FactFinders::findDuration(joined);
    // The links are read from the text with the misreadings of meeting links mended;
    // the recognised text and the notes keep what was read.
    const QString mendedLinks = LinkRepair::repairMeetingLinks(joined);
    const std::vector<QUrl> links = FactFinders::findLinks(mendedLinks, detector);
    result.meeting = model::MeetingLinkDetector::detect(mendedLinks);
    result.flight = FlightFinder::findFlight(texts, times);
    result.amount = FactFinders::findAmount(texts);
    std::vector<DateCandidate> candidates = CandidateBuilder(m_context).buildCandidates(dates, times, texts);
    const std::optional<int> bestLine = candidates.empty() ? std::nullopt : std::optional(candidates.front().line);

    const std::optional<Found> address = PlaceFinder::findAddress(texts, detector);
    const std::optional<Venue> venue = PlaceFinder::findVenue(texts, m_context.now, m_context.calendar);
    if (address)
        result.location = address->text;
    else if (venue)
        result.location = venue->name;
    else if (const auto place = PlaceFinder::findPlaceLine(texts))
        result.location = place->text;
    if (result.flight) {
        if (auto place = flightPlace(*result.flight))
            result.location = std::move(place);
    }

    std::optional<Trigger> trigger;
    if (!candidates.empty()) {
        const DateCandidate& best = candidates.front();
        trigger = TitleCleanup::findTrigger(texts, best.line);
        if (best.day && !best.hour && trigger && !result.flight)
            result.kind = ImageExtraction::Kind::reminder;
    }
    const bool reminder = result.kind == ImageExtraction::Kind::reminder;
    if (reminder)
        result.reminderTrigger = trigger->text;

    const FlightDetails* flight = result.flight ? &*result.flight : nullptr;
    if (flight && (flight->destinationCity || flight->destination)) {
        result.title = u"Flight to "_s + (flight->destinationCity ? *flight->destinationCity : *flight->destination);
    } else if (auto labelled = TitleCleanup::labelledTitle(texts)) {
        result.title = std::move(*labelled);
    } else {
        const HeadingFinder headings(m_context, detector);
        const QString heading = headings.heading(prepared, bestLine, address, venue).value_or(QString());
        if (reminder) {
            result.title = headings.reminderTitle(*trigger, heading, texts, result.amount);
        } else {
            result.title = heading;
            if (!heading.isEmpty()) {
                const auto noun = TitleCleanup::appointmentNoun(joined);
                if (noun && !heading.toLower().contains(*noun))
                    result.title = capitalizedWords(*noun) + u" at "_s + heading;
            }
            if (venue && !result.title.isEmpty() && !result.title.toLower().contains(venue->name.toLower()))
                result.title += u" at "_s + venue->name;
        }
    }
    if (reminder && result.amount && !result.title.contains(*result.amount))
        result.title += u" ("_s + *result.amount + u')';
    if (result.title.isEmpty() && venue)
        result.title = venue->name;
    result.title = core::chars::capitalizedFirst(result.title);

    if (candidates.size() > kMostCandidates)
        candidates.resize(kMostCandidates);
    result.dates = std::move(candidates);

    result.notes = joined;
    if (flight) {
        if (const QStringList lines = flight->noteLines(); !lines.isEmpty())
            result.notes = lines.join(u'\n') + u"\n\n"_s + joined;
    }
    if (result.meeting)
        result.url = result.meeting->url;
    else if (!links.empty())
        result.url = links.front();
    return result;
}

}  // namespace imageimport
