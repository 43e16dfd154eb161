#include "model/MeetingLink.h"

#include "core/Regex.h"
#include "model/ValueHash.h"

#include <utility>
#include <vector>

namespace model {

namespace {

// Everything up to white space, an angle bracket or a double quote belongs to the link;
// trailing punctuation is trimmed afterwards.
#define ORBITDAY_TAIL "[^\\s<>\"]"

// The patterns of the services, in table order; `other` has none.
std::optional<QString> patternFor(MeetingProvider provider) {
    switch (provider) {
        case MeetingProvider::zoom:
            return QStringLiteral("https?://([a-z0-9-]+\\.)?(zoom\\.us|zoomgov\\.com)/(j|my|w|s|wc)/" ORBITDAY_TAIL
                                  "+");
        case MeetingProvider::googleMeet:
            return QStringLiteral("https?://meet\\.google\\.com/[a-z0-9-]+" ORBITDAY_TAIL "*");
        case MeetingProvider::teams:
            return QStringLiteral("https?://teams\\.(microsoft|live)\\.com/(l/meetup-join|meet)/" ORBITDAY_TAIL "+");
        case MeetingProvider::webex:
            return QStringLiteral("https?://([a-z0-9-]+\\.)?webex\\.com/" ORBITDAY_TAIL "+");
        case MeetingProvider::goToMeeting:
            return QStringLiteral(
                "https?://(global\\.gotomeeting\\.com/join|meet\\.goto\\.com|app\\.goto\\.com/meeting)/" ORBITDAY_TAIL
                "+");
        case MeetingProvider::whereby:
            return QStringLiteral("https?://(www\\.)?whereby\\.com/" ORBITDAY_TAIL "+");
        case MeetingProvider::jitsi:
            return QStringLiteral("https?://meet\\.jit\\.si/" ORBITDAY_TAIL "+");
        case MeetingProvider::chime:
            return QStringLiteral("https?://(app\\.)?chime\\.aws/" ORBITDAY_TAIL "+");
        case MeetingProvider::slack:
            return QStringLiteral("https?://app\\.slack\\.com/huddle/" ORBITDAY_TAIL "+");
        case MeetingProvider::discord:
            return QStringLiteral("https?://(www\\.)?(discord\\.gg/|discord\\.com/channels/)" ORBITDAY_TAIL "+");
        case MeetingProvider::faceTime:
            return QStringLiteral("https?://facetime\\.apple\\.com/join" ORBITDAY_TAIL "+");
        case MeetingProvider::skype:
            return QStringLiteral("https?://join\\.skype\\.com/" ORBITDAY_TAIL "+");
        case MeetingProvider::around:
            return QStringLiteral("https?://(meet\\.)?around\\.co/" ORBITDAY_TAIL "+");
        case MeetingProvider::other:
            break;
    }
    return std::nullopt;
}

#undef ORBITDAY_TAIL

using CompiledTable = std::vector<std::pair<MeetingProvider, core::Regex>>;

// Built once, under the guard of a function-local static; read-only afterwards.
const CompiledTable& compiled() {
    static const CompiledTable table = [] {
        CompiledTable result;
        for (MeetingProvider provider : kAllMeetingProviders) {
            const auto pattern = patternFor(provider);
            if (!pattern) {
                continue;
            }
            core::Regex regex(*pattern, core::Regex::Option::CaseInsensitive);
            if (regex.isValid()) {
                result.emplace_back(provider, std::move(regex));
            }
        }
        return result;
    }();
    return table;
}

bool isTrimmed(QChar c) {
    return c == u'.' || c == u',' || c == u';' || c == u')' || c == u'>' || c == u']';
}

}  // namespace

QString rawValue(MeetingProvider provider) {
    switch (provider) {
        case MeetingProvider::zoom:
            return QStringLiteral("zoom");
        case MeetingProvider::googleMeet:
            return QStringLiteral("googleMeet");
        case MeetingProvider::teams:
            return QStringLiteral("teams");
        case MeetingProvider::webex:
            return QStringLiteral("webex");
        case MeetingProvider::goToMeeting:
            return QStringLiteral("goToMeeting");
        case MeetingProvider::whereby:
            return QStringLiteral("whereby");
        case MeetingProvider::jitsi:
            return QStringLiteral("jitsi");
        case MeetingProvider::chime:
            return QStringLiteral("chime");
        case MeetingProvider::slack:
            return QStringLiteral("slack");
        case MeetingProvider::discord:
            return QStringLiteral("discord");
        case MeetingProvider::faceTime:
            return QStringLiteral("faceTime");
        case MeetingProvider::skype:
            return QStringLiteral("skype");
        case MeetingProvider::around:
            return QStringLiteral("around");
        case MeetingProvider::other:
            return QStringLiteral("other");
    }
    return QStringLiteral("other");
}

std::optional<MeetingProvider> meetingProviderFromRawValue(const QString& value) {
    for (MeetingProvider provider : kAllMeetingProviders) {
        if (rawValue(provider) == value) {
            return provider;
        }
    }
    return std::nullopt;
}

QString displayName(MeetingProvider provider) {
    switch (provider) {
        case MeetingProvider::zoom:
            return QStringLiteral("Zoom");
        case MeetingProvider::googleMeet:
            return QStringLiteral("Google Meet");
        case MeetingProvider::teams:
            return QStringLiteral("Teams");
        case MeetingProvider::webex:
            return QStringLiteral("Webex");
        case MeetingProvider::goToMeeting:
            return QStringLiteral("GoTo Meeting");
        case MeetingProvider::whereby:
            return QStringLiteral("Whereby");
        case MeetingProvider::jitsi:
            return QStringLiteral("Jitsi");
        case MeetingProvider::chime:
            return QStringLiteral("Chime");
        case MeetingProvider::slack:
            return QStringLiteral("Slack Huddle");
        case MeetingProvider::discord:
            return QStringLiteral("Discord");
        case MeetingProvider::faceTime:
            return QStringLiteral("FaceTime");
        case MeetingProvider::skype:
            return QStringLiteral("Skype");
        case MeetingProvider::around:
            return QStringLiteral("Around");
        case MeetingProvider::other:
            return QStringLiteral("Meeting");
    }
    return QStringLiteral("Meeting");
}

bool MeetingLink::isWebLink() const {
    const QString scheme = url.scheme().toLower();
    return url.isValid() && (scheme == QStringLiteral("https") || scheme == QStringLiteral("http"));
}

size_t qHash(const MeetingLink& link, size_t hashSeed) noexcept {
    return ValueHasher(hashSeed).add(rawValue(link.provider)).add(link.url).result();
}

std::optional<MeetingLink> MeetingLinkDetector::detect(const QString& text) {
    std::optional<core::TextRange> kept;
    MeetingProvider keptProvider = MeetingProvider::other;
    for (const auto& [provider, regex] : compiled()) {
        const auto match = regex.firstMatch(text);
        if (!match) {
            continue;
        }
        const core::TextRange range = match->range();
        // At an equal offset the earlier service of the table keeps the match.
        if (!kept || range.location < kept->location) {
            kept = range;
            keptProvider = provider;
        }
    }
    if (!kept || !kept->isValid() || kept->end() > text.size()) {
        return std::nullopt;
    }
    QStringView matched = QStringView(text).sliced(kept->location, kept->length);
    while (!matched.isEmpty() && isTrimmed(matched.front())) {
        matched = matched.sliced(1);
    }
    while (!matched.isEmpty() && isTrimmed(matched.back())) {
        matched.chop(1);
    }
    const QUrl url(matched.toString(), QUrl::StrictMode);
    if (matched.isEmpty() || !url.isValid()) {
        return std::nullopt;
    }
    return MeetingLink{keptProvider, url};
}

std::optional<MeetingLink> MeetingLinkDetector::detect(const std::optional<QUrl>& url,
                                                       const std::optional<QString>& location,
                                                       const std::optional<QString>& notes) {
    std::vector<QString> candidates;
    if (url) {
        candidates.push_back(url->toString(QUrl::FullyEncoded));
    }
    if (location) {
        candidates.push_back(*location);
    }
    if (notes) {
        candidates.push_back(*notes);
    }
    for (const QString& text : candidates) {
        if (text.isEmpty()) {
            continue;
        }
        if (auto link = detect(text)) {
            return link;
        }
    }
    return std::nullopt;
}

}  // namespace model
