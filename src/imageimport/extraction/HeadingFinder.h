#pragma once

#include "imageimport/extraction/ExtractionRecords.h"
#include "imageimport/extraction/ImageExtraction.h"
#include "imageimport/extraction/LineScanner.h"
#include "quickadd/NLParser.h"

#include <QString>
#include <QStringList>

#include <optional>
#include <vector>

namespace platform {
class DataDetector;
}

namespace imageimport {

// Titles from the text itself: the most heading-like segment for an event, and an
// imperative title ("Pay water bill") for a deadline.
class HeadingFinder {
public:
    // `detector` may be null: links are then not removed from left-over text.
    HeadingFinder(const ExtractionContext& context, const platform::DataDetector* detector);

    struct Residual {
        QString text;
        // Whether a date, time, amount, link, the address or the venue was removed;
        // words only the quick-add parser knows do not count.
        bool hadTokens = false;
    };
    // A segment with every recognised fact removed and label words trimmed from its edges.
    Residual residual(const QString& text, const std::optional<Found>& address, const std::optional<Venue>& venue) const;

    // The segment that reads most like a title: short, large, near the top and near the
    // date, not boilerplate, a link or an address. Text in capitals comes back title-cased.
    std::optional<QString> heading(const std::vector<RecognizedLine>& lines, std::optional<int> dateLine,
                                   const std::optional<Found>& address, const std::optional<Venue>& venue) const;

    // A verb from the deadline wording ("Pay", "Submit", "Renew") and what is due, taken
    // from the trigger's own line or else from `heading`. `trigger.line` indexes `lines`.
    QString reminderTitle(const Trigger& trigger, const QString& heading, const QStringList& lines,
                          const std::optional<QString>& amount) const;

private:
    LineScanner m_scanner;
    // The current locale's numeric date order, unlike the line scanner's parser.
    quickadd::NLParser m_localeParser;
    const platform::DataDetector* m_detector;
};

}  // namespace imageimport
