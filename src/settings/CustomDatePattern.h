#pragma once

#include "core/Date.h"

#include <QString>

#include <optional>

namespace app {
class AppSettings;
}

namespace settings {

// A typed pattern as it would be stored: without white space at either end
// (a pasted pattern may bring a line break along).
QString trimmedPattern(const QString& typed);
// Whether the typed pattern may be used: not blank, and one the date formatter takes.
bool canUsePattern(const QString& typed);
// The date at `now` in the pattern as typed, white space kept (an empty one
// shows the default); nullopt for a pattern the formatter refuses.
std::optional<QString> patternPreview(const QString& typed, core::Date now);
// Stores the typed pattern and makes it the date format in use; false, and
// nothing written, for a pattern that cannot be used.
bool useCustomPattern(app::AppSettings& settings, const QString& typed);

}  // namespace settings
