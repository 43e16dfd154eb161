#pragma once

#include <QHashFunctions>
#include <QString>
#include <QUrl>

#include <array>
#include <optional>

namespace model {

// The online-meeting services whose links are recognised.
enum class MeetingProvider {
    zoom,
    googleMeet,
    teams,
    webex,
    goToMeeting,
    whereby,
    jitsi,
    chime,
    slack,
    discord,
    faceTime,
    skype,
    around,
    other,
};

inline constexpr std::array kAllMeetingProviders{
    MeetingProvider::zoom,        MeetingProvider::googleMeet, MeetingProvider::teams,    MeetingProvider::webex,
    MeetingProvider::goToMeeting, MeetingProvider::whereby,    MeetingProvider::jitsi,    MeetingProvider::chime,
    MeetingProvider::slack,       MeetingProvider::discord,    MeetingProvider::faceTime, MeetingProvider::skype,
    MeetingProvider::around,      MeetingProvider::other};

QString rawValue(MeetingProvider provider);
// Exactly the raw values, case-sensitive.
std::optional<MeetingProvider> meetingProviderFromRawValue(const QString& rawValue);
QString displayName(MeetingProvider provider);

struct MeetingLink {
    MeetingProvider provider = MeetingProvider::other;
    QUrl url;

    // Whether the link may be handed to the desktop to open: a web address, which
    // is all the meeting-link search finds. Anything else, read from a calendar
    // file, is refused.
    bool isWebLink() const;

    bool operator==(const MeetingLink&) const = default;
};

size_t qHash(const MeetingLink& link, size_t hashSeed = 0) noexcept;

// Finds an online-meeting link in event text. Pure; callable from any thread.
class MeetingLinkDetector {
public:
    MeetingLinkDetector() = delete;

    // The link that starts earliest in the text, whichever service it belongs to.
    static std::optional<MeetingLink> detect(const QString& text);
    // The first link found searching the URL, then the location, then the notes.
    static std::optional<MeetingLink> detect(const std::optional<QUrl>& url, const std::optional<QString>& location,
                                             const std::optional<QString>& notes);
};

}  // namespace model
