#pragma once

#include "core/Regex.h"

#include <QString>
#include <QStringList>
#include <QUrl>

#include <optional>
#include <vector>

namespace platform {
class DataDetector;
}

namespace imageimport {

// The stated length of an event, its web links and a money amount. Stateless.
class FactFinders {
public:
    FactFinders() = delete;

    // Seconds, from the first "duration", "length", "lasts" or "for" followed by a
    // number of minutes or hours ("Duration: 90 min", "lasts 1.5 hours").
    static std::optional<double> findDuration(const QString& text);
    // The http and https links the detector finds, in order; none without a detector.
    static std::vector<QUrl> findLinks(const QString& text, const platform::DataDetector* detector);
    // The first amount on a line that speaks of paying ("Total due: £40.00"), else the
    // first amount; spaces removed ("$ 1,200" gives "$1,200").
    static std::optional<QString> findAmount(const QStringList& lines);

    // A currency sign before a whole number, or a number with two decimals before a
    // currency code. A bare number is never an amount.
    static const core::Regex& amountRe();
};

}  // namespace imageimport
