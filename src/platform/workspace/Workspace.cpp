#include "platform/workspace/Workspace.h"

namespace platform {

namespace {

const QLatin1String kMapSearchBase("https://www.openstreetmap.org/search?query=");
const QLatin1String kOwnScheme("orbitday");
const QLatin1String kPrivacyHost("privacy-settings");
const QLatin1String kCalendarsPane("/calendars");
const QLatin1String kRemindersPane("/reminders");

}  // namespace

std::optional<QUrl> mapSearchURL(const QString& place) {
    // Every byte outside the unreserved set is escaped, so "&", "#" or "+" in a
    // place name stay part of the search instead of ending it.
    const QUrl url(kMapSearchBase + QString::fromLatin1(QUrl::toPercentEncoding(place)), QUrl::StrictMode);
    if (!url.isValid())
        return std::nullopt;
    return url;
}

QUrl privacySettingsURL(EntityType entity) {
    QUrl url;
    url.setScheme(kOwnScheme);
    url.setHost(kPrivacyHost);
    url.setPath(entity == EntityType::Event ? kCalendarsPane : kRemindersPane);
    return url;
}

bool isOwnAddress(const QUrl& url) {
    return url.scheme() == kOwnScheme;
}

std::optional<EntityType> privacySettingsPane(const QUrl& url) {
    if (!isOwnAddress(url) || url.host() != kPrivacyHost)
        return std::nullopt;
    if (url.path() == kCalendarsPane)
        return EntityType::Event;
    if (url.path() == kRemindersPane)
        return EntityType::Reminder;
    return std::nullopt;
}

}  // namespace platform
