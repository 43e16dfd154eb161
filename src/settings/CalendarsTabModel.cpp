#include "settings/CalendarsTabModel.h"

#include "core/Clock.h"
#include "core/Locale.h"
#include "state/AppSettings.h"
#include "state/PlatformWords.h"
#include "store/CalendarStore.h"

#include <QCollator>
#include <QLocale>

#include <algorithm>
#include <array>
#include <map>

namespace settings {

namespace {

bool containsAny(const QString& lowered, std::initializer_list<const char*> fragments) {
    return std::any_of(fragments.begin(), fragments.end(),
                       [&](const char* fragment) { return lowered.contains(QLatin1String(fragment)); });
}

bool isThisComputer(const QString& lowered) {
    return lowered.contains(QLatin1String("mac")) || lowered.contains(QLatin1String("local")) ||
           lowered.contains(app::words::onThisComputer().toLower());
}

QCollator caseBlindCollator() {
    QCollator collator{QLocale(core::Locale::current().name())};
    collator.setCaseSensitivity(Qt::CaseInsensitive);
    return collator;
}

}  // namespace

int accountRank(const QString& source) {
    const QString lowered = source.toLower();
    if (containsAny(lowered, {"icloud"}))
        return 0;
    if (containsAny(lowered, {"google", "gmail"}))
        return 1;
    if (containsAny(lowered, {"exchange", "outlook", "office"}))
        return 2;
    if (isThisComputer(lowered))
        return 4;
    if (containsAny(lowered, {"subscri", "other", "holiday"}))
        return 5;
    return 3;
}

QString accountSymbol(const QString& source) {
    const QString lowered = source.toLower();
    if (containsAny(lowered, {"icloud"}))
        return QStringLiteral("icloud");
    if (containsAny(lowered, {"google", "gmail", "exchange", "outlook"}))
        return QStringLiteral("briefcase");
    if (isThisComputer(lowered))
        return QStringLiteral("laptopcomputer");
    if (containsAny(lowered, {"subscri", "holiday"}))
        return QStringLiteral("dot.radiowaves.left.and.right");
    return QStringLiteral("person.crop.circle");
}

QString otherAccountName() {
    return QStringLiteral("Other");
}

std::vector<CalendarGroup> groupCalendars(const std::vector<model::ODCalendar>& calendars) {
    std::vector<CalendarGroup> groups;
    QHash<QString, size_t> indexOf;
    for (const model::ODCalendar& calendar : calendars) {
        const QString key = calendar.sourceTitle.isEmpty() ? otherAccountName() : calendar.sourceTitle;
        const auto found = indexOf.constFind(key);
        if (found == indexOf.constEnd()) {
            indexOf.insert(key, groups.size());
            groups.push_back({key, {calendar}});
        } else {
            groups[*found].calendars.push_back(calendar);
        }
    }
    const QCollator collator = caseBlindCollator();
    std::stable_sort(groups.begin(), groups.end(), [&](const CalendarGroup& a, const CalendarGroup& b) {
        const int rankA = accountRank(a.source);
        const int rankB = accountRank(b.source);
        return rankA != rankB ? rankA < rankB : collator.compare(a.source, b.source) < 0;
    });
    for (CalendarGroup& group : groups) {
        std::stable_sort(group.calendars.begin(), group.calendars.end(),
                         [&](const model::ODCalendar& a, const model::ODCalendar& b) {
                             return collator.compare(a.title, b.title) < 0;
                         });
    }
    return groups;
}

QHash<QString, int> upcomingCounts(const std::vector<model::ODEvent>& events, core::Date now) {
    QHash<QString, int> counts;
    for (const model::ODEvent& event : events) {
        if (event.end > now)
            ++counts[event.calendarID];
    }
    return counts;
}

CalendarsTabModel::CalendarsTabModel(store::CalendarStore& store, app::AppSettings& settings, QObject* parent)
    : QObject(parent), m_store(store), m_settings(settings) {
    for (auto signal : {&store::CalendarStore::calendarsChanged, &store::CalendarStore::eventsChanged,
                        &store::CalendarStore::eventAccessChanged})
        connect(&store, signal, this, &CalendarsTabModel::changed);
    for (auto signal : {&app::AppSettings::enabledCalendarIDsChanged, &app::AppSettings::defaultCalendarIDChanged})
        connect(&settings, signal, this, &CalendarsTabModel::changed);
}

std::vector<model::ODCalendar> CalendarsTabModel::writable() const {
    return m_store.writableCalendars();
}

std::optional<QString> CalendarsTabModel::resolvedDefault() const {
    return m_store.calendarForNewEvents({m_settings.defaultCalendarID()});
}

void CalendarsTabModel::chooseDefault(const QString& calendarID) {
    m_settings.setDefaultCalendarID(calendarID);
}

bool CalendarsTabModel::hasCalendars() const {
    return !m_store.calendars().empty();
}

std::vector<CalendarGroup> CalendarsTabModel::groups() const {
    return groupCalendars(m_store.calendars());
}

QHash<QString, int> CalendarsTabModel::upcoming() const {
    return upcomingCounts(m_store.events(), core::Clock::current().now());
}

bool CalendarsTabModel::isOn(const QString& calendarID) const {
    const auto& enabled = m_settings.enabledCalendarIDs();
    return !enabled || enabled->contains(calendarID);
}

void CalendarsTabModel::setOn(const QString& calendarID, bool on) {
    QStringList all;
    for (const model::ODCalendar& calendar : m_store.calendars())
        all << calendar.id;
    m_settings.setCalendar(calendarID, on, all);
}

bool CalendarsTabModel::isReading() const {
    return m_store.isLoading();
}

QString CalendarsTabModel::emptyText() const {
    // "No calendars found." would be wrong for the seconds a large folder takes.
    if (m_store.eventAccess() == model::AccessStatus::fullAccess)
        return isReading() ? QString() : QStringLiteral("No calendars found.");
    return QStringLiteral("Orbitday needs Calendar access to list your calendars.");
}

QString CalendarsTabModel::footerText() {
    return QStringLiteral("Accounts are the folders of Orbitday's calendar folder. Orbitday reads and writes only those files.");
}

}  // namespace settings
