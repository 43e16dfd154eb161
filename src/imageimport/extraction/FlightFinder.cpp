#include "imageimport/extraction/FlightFinder.h"

#include "core/CharacterClass.h"
#include "imageimport/extraction/PatternSupport.h"
#include "imageimport/extraction/TitleCleanup.h"

#include <QSet>

#include <algorithm>

using namespace Qt::Literals::StringLiterals;

namespace imageimport {
namespace {

using patterns::group;

struct FlightPatterns {
    core::Regex boardingContext =
        patterns::compile(uR"(\b(boarding|gate|seat|flight|pnr|terminal)\b)"_s, patterns::kCaseInsensitive);
    core::Regex flightNumber = patterns::compile(
        uR"(\b(?:flight|flt)(?:\s*(?:no\.?|number|#))?\s*:?\s*([A-Z0-9]{2})\s?(\d{1,4})[A-Z]?\b)"_s,
        patterns::kCaseInsensitive);
    core::Regex bareFlight = patterns::compile(uR"(\b([A-Z]{2})\s?(\d{2,4})\b)"_s);
    core::Regex iataPair = patterns::compile(uR"(\b([A-Z]{3})\s*(?:→|->|—|–|-|>|✈|✈︎|(?i:to))\s*([A-Z]{3})\b)"_s);
    core::Regex from = patterns::compile(uR"(\b(?i:from|origin|dep(?:arture)?)\s*:?\s*([A-Z]{3})\b)"_s);
    core::Regex to = patterns::compile(uR"(\b(?i:to|destination|arr(?:ival)?)\s*:?\s*([A-Z]{3})\b)"_s);
    core::Regex gate = patterns::compile(uR"(\bgate\s*:?\s*([A-Z]?\d{1,3}[A-Z]?)\b)"_s, patterns::kCaseInsensitive);
    core::Regex seat = patterns::compile(uR"(\bseat\s*:?\s*(\d{1,2}[A-K])\b)"_s, patterns::kCaseInsensitive);
    core::Regex terminal = patterns::compile(uR"(\bterminal\s*:?\s*([A-Z0-9]{1,3})\b)"_s, patterns::kCaseInsensitive);
    // The keyword must end where its word ends ("ref" is no keyword in "refundable"),
    // and may be followed by "number" or "no." ("Booking reference number X7K2QP").
    // The code has a digit, or is written in capitals: a word in running text
    // ("Number") is no code.
    core::Regex booking = patterns::compile(
        uR"(\b(?:booking\s*(?:ref(?:erence)?|code)|pnr|confirmation\s*(?:code|no\.?|number)?|record\s+locator|ref(?:erence)?)(?![a-z])(?:\s*(?:number|no\.))?\s*[:#.]?\s*((?=[A-Z]*\d)[A-Z0-9]{5,8}|(?-i:[A-Z]{5,8}))\b)"_s,
        patterns::kCaseInsensitive);
    core::Regex code = patterns::compile(uR"(\b[A-Z]{3}\b)"_s);

    // Capitalised words that can follow a booking keyword where a code would stand.
    QSet<QString> notBookingCodes{u"NUMBER"_s, u"NUMBERS"_s, u"LOCATOR"_s, u"REFERENCE"_s, u"DETAILS"_s};
    // Two-letter words that look like airline designators.
    QSet<QString> notAirline{u"MR"_s, u"MS"_s, u"PM"_s, u"AM"_s, u"NO"_s, u"TO"_s, u"ID"_s, u"GB"_s, u"UK"_s, u"US"_s};
};

const FlightPatterns& shared() {
    static const FlightPatterns set;
    return set;
}

std::optional<QString> firstGroup(const core::Regex& pattern, const QString& text) {
    const auto match = pattern.firstMatch(text);
    return match ? group(*match, 1) : std::nullopt;
}

std::optional<QString> upper(std::optional<QString> text) {
    if (text)
        *text = text->toUpper();
    return text;
}

std::optional<QString> firstCodeOtherThan(const QStringList& codes, const std::optional<QString>& other) {
    for (const QString& code : codes) {
        if (!other || code != *other)
            return code;
    }
    return std::nullopt;
}

QString clockText(int hour, int minute) {
    return u"%1:%2"_s.arg(hour, 2, 10, QChar(u'0')).arg(minute, 2, 10, QChar(u'0'));
}

}  // namespace

const QHash<QString, FlightFinder::Airport>& FlightFinder::airports() {
    static const QHash<QString, Airport> table{
        {u"LHR"_s, {u"London"_s, u"London Heathrow"_s}},
        {u"LGW"_s, {u"London"_s, u"London Gatwick"_s}},
        {u"STN"_s, {u"London"_s, u"London Stansted"_s}},
        {u"LTN"_s, {u"London"_s, u"London Luton"_s}},
        {u"LCY"_s, {u"London"_s, u"London City"_s}},
        {u"MAN"_s, {u"Manchester"_s, u"Manchester"_s}},
        {u"EDI"_s, {u"Edinburgh"_s, u"Edinburgh"_s}},
        {u"GLA"_s, {u"Glasgow"_s, u"Glasgow"_s}},
        {u"BHX"_s, {u"Birmingham"_s, u"Birmingham"_s}},
        {u"BRS"_s, {u"Bristol"_s, u"Bristol"_s}},
        {u"DUB"_s, {u"Dublin"_s, u"Dublin"_s}},
        {u"CDG"_s, {u"Paris"_s, u"Paris Charles de Gaulle"_s}},
        {u"ORY"_s, {u"Paris"_s, u"Paris Orly"_s}},
        {u"AMS"_s, {u"Amsterdam"_s, u"Amsterdam Schiphol"_s}},
        {u"FRA"_s, {u"Frankfurt"_s, u"Frankfurt"_s}},
        {u"MUC"_s, {u"Munich"_s, u"Munich"_s}},
        {u"BER"_s, {u"Berlin"_s, u"Berlin Brandenburg"_s}},
        {u"ZRH"_s, {u"Zurich"_s, u"Zurich"_s}},
        {u"GVA"_s, {u"Geneva"_s, u"Geneva"_s}},
        {u"VIE"_s, {u"Vienna"_s, u"Vienna"_s}},
        {u"BRU"_s, {u"Brussels"_s, u"Brussels"_s}},
        {u"MAD"_s, {u"Madrid"_s, u"Madrid Barajas"_s}},
        {u"BCN"_s, {u"Barcelona"_s, u"Barcelona El Prat"_s}},
        {u"LIS"_s, {u"Lisbon"_s, u"Lisbon"_s}},
        {u"OPO"_s, {u"Porto"_s, u"Porto"_s}},
        {u"FCO"_s, {u"Rome"_s, u"Rome Fiumicino"_s}},
        {u"MXP"_s, {u"Milan"_s, u"Milan Malpensa"_s}},
        {u"LIN"_s, {u"Milan"_s, u"Milan Linate"_s}},
        {u"VCE"_s, {u"Venice"_s, u"Venice Marco Polo"_s}},
        {u"NAP"_s, {u"Naples"_s, u"Naples"_s}},
        {u"ATH"_s, {u"Athens"_s, u"Athens"_s}},
        {u"IST"_s, {u"Istanbul"_s, u"Istanbul"_s}},
        {u"CPH"_s, {u"Copenhagen"_s, u"Copenhagen"_s}},
        {u"ARN"_s, {u"Stockholm"_s, u"Stockholm Arlanda"_s}},
        {u"OSL"_s, {u"Oslo"_s, u"Oslo Gardermoen"_s}},
        {u"HEL"_s, {u"Helsinki"_s, u"Helsinki"_s}},
        {u"WAW"_s, {u"Warsaw"_s, u"Warsaw Chopin"_s}},
        {u"PRG"_s, {u"Prague"_s, u"Prague"_s}},
        {u"BUD"_s, {u"Budapest"_s, u"Budapest"_s}},
        {u"TIA"_s, {u"Tirana"_s, u"Tirana"_s}},
        {u"PRN"_s, {u"Pristina"_s, u"Pristina"_s}},
        {u"SKP"_s, {u"Skopje"_s, u"Skopje"_s}},
        {u"KEF"_s, {u"Reykjavik"_s, u"Keflavik"_s}},
        {u"NCE"_s, {u"Nice"_s, u"Nice Côte d'Azur"_s}},
        {u"PMI"_s, {u"Palma"_s, u"Palma de Mallorca"_s}},
        {u"AGP"_s, {u"Malaga"_s, u"Malaga"_s}},
        {u"ALC"_s, {u"Alicante"_s, u"Alicante"_s}},
        {u"FAO"_s, {u"Faro"_s, u"Faro"_s}},
        {u"SPU"_s, {u"Split"_s, u"Split"_s}},
        {u"DBV"_s, {u"Dubrovnik"_s, u"Dubrovnik"_s}},
        {u"JFK"_s, {u"New York"_s, u"New York JFK"_s}},
        {u"EWR"_s, {u"Newark"_s, u"Newark Liberty"_s}},
        {u"LGA"_s, {u"New York"_s, u"New York LaGuardia"_s}},
        {u"BOS"_s, {u"Boston"_s, u"Boston Logan"_s}},
        {u"ORD"_s, {u"Chicago"_s, u"Chicago O'Hare"_s}},
        {u"LAX"_s, {u"Los Angeles"_s, u"Los Angeles"_s}},
        {u"SFO"_s, {u"San Francisco"_s, u"San Francisco"_s}},
        {u"SEA"_s, {u"Seattle"_s, u"Seattle-Tacoma"_s}},
        {u"MIA"_s, {u"Miami"_s, u"Miami"_s}},
        {u"ATL"_s, {u"Atlanta"_s, u"Atlanta"_s}},
        {u"DFW"_s, {u"Dallas"_s, u"Dallas/Fort Worth"_s}},
        {u"DEN"_s, {u"Denver"_s, u"Denver"_s}},
        {u"IAD"_s, {u"Washington"_s, u"Washington Dulles"_s}},
        {u"YYZ"_s, {u"Toronto"_s, u"Toronto Pearson"_s}},
        {u"YUL"_s, {u"Montreal"_s, u"Montréal-Trudeau"_s}},
        {u"YVR"_s, {u"Vancouver"_s, u"Vancouver"_s}},
        {u"MEX"_s, {u"Mexico City"_s, u"Mexico City"_s}},
        {u"DXB"_s, {u"Dubai"_s, u"Dubai"_s}},
        {u"DOH"_s, {u"Doha"_s, u"Doha Hamad"_s}},
        {u"AUH"_s, {u"Abu Dhabi"_s, u"Abu Dhabi"_s}},
        {u"SIN"_s, {u"Singapore"_s, u"Singapore Changi"_s}},
        {u"HKG"_s, {u"Hong Kong"_s, u"Hong Kong"_s}},
        {u"NRT"_s, {u"Tokyo"_s, u"Tokyo Narita"_s}},
        {u"HND"_s, {u"Tokyo"_s, u"Tokyo Haneda"_s}},
        {u"ICN"_s, {u"Seoul"_s, u"Seoul Incheon"_s}},
        {u"BKK"_s, {u"Bangkok"_s, u"Bangkok Suvarnabhumi"_s}},
        {u"SYD"_s, {u"Sydney"_s, u"Sydney"_s}},
        {u"MEL"_s, {u"Melbourne"_s, u"Melbourne"_s}},
        {u"AKL"_s, {u"Auckland"_s, u"Auckland"_s}},
        {u"DEL"_s, {u"Delhi"_s, u"Delhi"_s}},
        {u"BOM"_s, {u"Mumbai"_s, u"Mumbai"_s}},
        {u"CPT"_s, {u"Cape Town"_s, u"Cape Town"_s}},
        {u"JNB"_s, {u"Johannesburg"_s, u"Johannesburg"_s}},
        {u"GRU"_s, {u"São Paulo"_s, u"São Paulo Guarulhos"_s}},
        {u"EZE"_s, {u"Buenos Aires"_s, u"Buenos Aires Ezeiza"_s}},
    };
    return table;
}

QStringList FlightFinder::knownCodes(const QString& text) {
    QStringList codes;
    for (const core::RegexMatch& match : shared().code.allMatches(text)) {
        const QString code = match.captured();
        if (airports().contains(code) && !codes.contains(code))
            codes.append(code);
    }
    return codes;
}

std::optional<QString> FlightFinder::cityAfter(const QString& code, const QStringList& lines) {
    if (code.isEmpty())
        return std::nullopt;
    for (const QString& line : lines) {
        const qsizetype at = line.indexOf(code);
        if (at < 0)
            continue;
        QString rest = line.mid(at + code.size());
        rest.replace(u',', u' ').replace(u'(', u' ');
        const QStringList pieces = rest.split(u' ', Qt::SkipEmptyParts);
        if (pieces.isEmpty())
            continue;
        const QString& first = pieces.front();
        if (core::chars::characterCount(first) >= 3 && core::chars::letters(first) == first)
            return TitleCleanup::titleCaseIfShouting(first);
    }
    return std::nullopt;
}

std::optional<FlightDetails> FlightFinder::findFlight(const QStringList& lines, const std::vector<TimeHit>& timeHits) {
    const QString text = lines.join(u'\n');
    if (!shared().boardingContext.matches(text))
        return std::nullopt;

    FlightDetails flight;
    if (const auto match = shared().flightNumber.firstMatch(text))
        flight.number = match->captured(1).toUpper() + u' ' + match->captured(2);

    for (const core::RegexMatch& match : shared().iataPair.allMatches(text)) {
        if (airports().contains(match.captured(1)) || airports().contains(match.captured(2))) {
            flight.origin = match.captured(1);
            flight.destination = match.captured(2);
            break;
        }
    }
    if (!flight.origin || !flight.destination) {
        flight.origin = firstGroup(shared().from, text);
        flight.destination = firstGroup(shared().to, text);
        const QStringList codes = knownCodes(text);
        if (!flight.origin)
            flight.origin = firstCodeOtherThan(codes, flight.destination);
        if (!flight.destination)
            flight.destination = firstCodeOtherThan(codes, flight.origin);
    }
    const bool routeComplete = flight.origin && flight.destination;

    const QString lower = text.toLower();
    if (!flight.number) {
        if (!routeComplete && !lower.contains(u"boarding pass"))
            return std::nullopt;
        for (const core::RegexMatch& match : shared().bareFlight.allMatches(text)) {
            if (!shared().notAirline.contains(match.captured(1))) {
                flight.number = match.captured(1) + u' ' + match.captured(2);
                break;
            }
        }
        if (!flight.number)
            return std::nullopt;
    }
    if (!routeComplete && !lower.contains(u"boarding"))
        return std::nullopt;

    if (flight.origin) {
        if (const auto it = airports().constFind(*flight.origin); it != airports().cend())
            flight.originName = it->name;
    }
    if (flight.destination) {
        const auto it = airports().constFind(*flight.destination);
        flight.destinationCity = it != airports().cend() ? std::optional(it->city) : cityAfter(*flight.destination, lines);
    }
    flight.gate = upper(firstGroup(shared().gate, text));
    flight.seat = upper(firstGroup(shared().seat, text));
    flight.terminal = upper(firstGroup(shared().terminal, text));

    QString numberWithoutSpaces = *flight.number;
    numberWithoutSpaces.remove(u' ');
    for (const core::RegexMatch& match : shared().booking.allMatches(text)) {
        const QString code = match.captured(1).toUpper();
        if (shared().notBookingCodes.contains(code) || !core::chars::containsLetter(code))
            continue;
        if (code != numberWithoutSpaces) {
            flight.bookingRef = code;
            break;
        }
    }

    const auto firstTime = [&timeHits](auto accepts) -> std::optional<QString> {
        const auto it = std::find_if(timeHits.cbegin(), timeHits.cend(), accepts);
        return it == timeHits.cend() ? std::nullopt : std::optional(clockText(it->hour, it->minute));
    };
    flight.departure = firstTime([](const TimeHit& t) { return t.label == u"Departs"_s; });
    if (!flight.departure)
        flight.departure = firstTime([](const TimeHit& t) { return !t.label.has_value(); });
    flight.arrival = firstTime([](const TimeHit& t) { return t.label == u"Arrives"_s; });
    return flight;
}

}  // namespace imageimport
