#include "model/CalendarStoreError.h"

#include <QStringList>

#include <utility>

namespace model {

QString CalendarStoreError::errorDescription() const {
    switch (m_case) {
        case Case::notAuthorized:
            return QStringLiteral("Orbitday doesn't have access to your calendars.");
        case Case::notFound:
            return QStringLiteral("That event no longer exists.");
        case Case::noWritableCalendar:
            return QStringLiteral("No calendar available that can be edited.");
    }
    return QString();
}

QString EditConflictError::errorDescription() const {
    static const std::pair<DraftField, const char*> kNames[] = {
        {DraftField::title, "the title"},       {DraftField::times, "the time"}, {DraftField::location, "the location"},
        {DraftField::notes, "the notes"},       {DraftField::url, "the video link"},
        {DraftField::calendar, "the calendar"}, {DraftField::alerts, "the alert"},
    };
    QStringList names;
    for (const auto& [field, name] : kNames) {
        if (m_fields.testFlag(field))
            names << QString::fromLatin1(name);
    }
    if (names.isEmpty())
        return platform::EventStoreError::defaultMessage(platform::EventStoreError::Code::Conflict);
    QString list = names.takeLast();
    if (!names.isEmpty())
        list = names.join(QStringLiteral(", ")) + QStringLiteral(" and ") + list;
    return QStringLiteral("Another program changed %1 of this event while you edited it. Save again to keep yours.")
        .arg(list);
}

}  // namespace model
