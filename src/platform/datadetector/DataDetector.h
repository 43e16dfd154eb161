#pragma once

#include "core/Date.h"
#include "core/Regex.h"
#include "core/TimeZone.h"

#include <QFlags>
#include <QString>
#include <QUrl>

#include <optional>
#include <vector>

namespace platform {

// Finds structured data in free text, the way the system's data detectors do.
// Implementations are stateless: one instance may be used from several threads.
class DataDetector {
public:
    enum class Kind { link = 0x1, date = 0x2, address = 0x4 };
    Q_DECLARE_FLAGS(Kinds, Kind)

    struct Match {
        Kind kind = Kind::link;
        // In UTF-16 units of the searched text.
        core::TextRange range;
        // For a link: the address it stands for ("www.example.com" is
        // "http://www.example.com", an e-mail address a mailto: link).
        QUrl url;
        // For a date: the moment meant, and the zone it was written in when the text
        // names one (otherwise the moment is read in the current zone).
        std::optional<core::Date> date;
        std::optional<core::TimeZone> timeZone;

        bool operator==(const Match&) const = default;
    };

    virtual ~DataDetector() = default;

    // The matches of the asked kinds, in text order, none overlapping another.
    virtual std::vector<Match> matches(const QString& text, Kinds kinds) const = 0;
};

Q_DECLARE_OPERATORS_FOR_FLAGS(DataDetector::Kinds)

}  // namespace platform
