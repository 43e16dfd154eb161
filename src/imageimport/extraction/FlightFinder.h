#pragma once

#include "imageimport/extraction/ExtractionRecords.h"
#include "imageimport/extraction/ImageExtraction.h"

#include <QHash>
#include <QString>
#include <QStringList>

#include <optional>
#include <vector>

namespace imageimport {

// Reads a boarding pass, e-ticket or flight confirmation: flight number, route,
// airport and city names, times, terminal, gate, seat and booking reference.
class FlightFinder {
public:
    FlightFinder() = delete;

    struct Airport {
        QString city;
        QString name;
    };

    // Nothing when the text is not about a flight: it must speak of boarding, a gate,
    // a seat, a flight, a PNR or a terminal, and give a flight number with a route or
    // the word "boarding".
    static std::optional<FlightDetails> findFlight(const QStringList& lines, const std::vector<TimeHit>& timeHits);

    // The distinct airport codes of the table that the text writes in capitals, in
    // order of first appearance.
    static QStringList knownCodes(const QString& text);
    // The city printed after `code` on the first line where one follows it
    // ("OTP BUCHAREST (Henri Coanda)" gives "Bucharest").
    static std::optional<QString> cityAfter(const QString& code, const QStringList& lines);

    // Known airports by IATA code.
    static const QHash<QString, Airport>& airports();
};

}  // namespace imageimport
