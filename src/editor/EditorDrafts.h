#pragma once

#include "core/Date.h"
#include "model/Drafts.h"

#include <QString>
#include <QUrl>

#include <optional>

namespace editor {

// The draft a new event starts from, in the current calendar. A start with a time
// of day is kept; today's midnight becomes the next whole hour after now, another
// day's midnight 09:00 of that day. One hour long, untitled, without calendar.
model::EventDraft newDraft(core::Date start);

// What the editor's link field makes of its text.
namespace link {

// Whether the text begins with a scheme of its own ("mailto:", "tel:", "https:"):
// a letter, then letters, digits, "+", "-" or ".", then a ":" not followed by a
// digit, so that "example.com:8080/x" is a host with a port, not a scheme.
bool hasScheme(const QString& text);
// The text as a URL, strictly parsed; nothing for an empty text or one that is no URL.
std::optional<QUrl> parse(const QString& text);
// The text trimmed, with "https://" in front when it has no scheme, as a URL.
struct Normalized {
    std::optional<QUrl> url;
    // The trimmed text is not empty, yet forms no URL.
    bool invalid = false;
};
Normalized normalize(const QString& text);
// The text a URL is shown as in the field.
QString displayText(const std::optional<QUrl>& url);

}  // namespace link

}  // namespace editor
