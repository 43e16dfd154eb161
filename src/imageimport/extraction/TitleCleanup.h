#pragma once

#include "core/Regex.h"
#include "imageimport/extraction/ExtractionRecords.h"

#include <QString>
#include <QStringList>

#include <optional>

namespace imageimport {

// Deadline phrases, labelled titles, and the tidiers that turn left-over text into
// a title or a name. Stateless.
class TitleCleanup {
public:
    TitleCleanup() = delete;

    // The deadline phrase of the text ("Payment due", "due by", "expires on"); one on
    // `preferLine` (the best date's line) wins over earlier ones.
    static std::optional<Trigger> findTrigger(const QStringList& lines, std::optional<int> preferLine);
    // The title of the first line that is a label and a title ("Subject: Team offsite").
    static std::optional<QString> labelledTitle(const QStringList& lines);
    // Text written all in capitals in title case ("NIGHT AT THE MUSEUM" gives "Night at
    // the Museum"); anything else, and short acronyms such as "BBC", as it is.
    static QString titleCaseIfShouting(const QString& text);
    // Label words ("Venue:", "doors", "at", "the" ...) and punctuation trimmed from both
    // ends of left-over text; the words inside stay.
    static QString cleanResidual(const QString& text);
    // Lower case for a phrase inside a sentence, keeping acronyms ("renew TV licence").
    static QString lowerFirstUnlessAcronym(const QString& text);
    // The kind of appointment the text speaks of ("consultation", "check-up"), if any.
    static std::optional<QString> appointmentNoun(const QString& text);

    // Deadline wording; group 1 is the phrase.
    static const core::Regex& triggerRe();
    // Words that count against a line as a title ("invoice", "dear", "passcode" ...).
    static const core::Regex& boilerplate();
};

}  // namespace imageimport
