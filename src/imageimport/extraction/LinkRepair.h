#pragma once

#include <QString>

namespace imageimport {

// Text recognition confuses a few shapes inside links: "|" or "I" for "l", "o" for
// "0" beside digits in a host name, "rn" for "m". A join button that opens a wrong
// host is worse than none, so a recognised meeting link is mended where the mended
// word is a meeting service's link. Pure; callable from any thread.
class LinkRepair {
public:
    LinkRepair() = delete;

    // The text with each link-like word mended where mending makes it a meeting
    // service's link, or where its host held an "o" among digits. Other words, and
    // links that no mending makes a meeting's, stay as they were read.
    static QString repairMeetingLinks(const QString& text);
};

}  // namespace imageimport
