#include "StoreBackends.h"

#include "../platform/eventstore/vdir/VdirFixture.h"
#include "platform/eventstore/FakeEventStore.h"
#include "platform/eventstore/vdir/VdirCatalog.h"
#include "platform/eventstore/vdir/VdirEventStore.h"
#include "platform/privacy/FakePrivacy.h"

#include <QFile>

#include <algorithm>

namespace storetest {
namespace {

using platform::EntityType;

class FakeBackend : public StoreBackend {
public:
    platform::EventStore& eventStore() override { return m_ek; }

    platform::PlatformCalendar addCalendar(EntityType entity, const QString& title) override {
        const platform::PlatformCalendar calendar = m_ek.addCalendar(entity, title);
        if (entity == EntityType::Event && !m_ek.defaultCalendarForNewEvents())
            m_ek.setDefaultCalendarForNewEvents(calendar.calendarIdentifier);
        if (entity == EntityType::Reminder && !m_ek.defaultCalendarForNewReminders())
            m_ek.setDefaultCalendarForNewReminders(calendar.calendarIdentifier);
        return calendar;
    }
    platform::PlatformEvent addEvent(const platform::PlatformEvent& event) override { return m_ek.addEvent(event); }
    platform::PlatformReminder addReminder(const platform::PlatformReminder& reminder) override {
        return m_ek.addReminder(reminder);
    }
    void setCalendarWritable(const QString& calendarIdentifier, bool writable) override {
        m_ek.setCalendarAllowsModifications(calendarIdentifier, writable);
    }
    void setAccess(EntityType entity, platform::AuthorizationStatus status) override {
        m_ek.setAuthorizationStatus(entity, status);
    }
    int storedEventCount() override { return static_cast<int>(m_ek.committedEvents().size()); }
    int storedReminderCount() override { return static_cast<int>(m_ek.committedReminders().size()); }

private:
    platform::FakeEventStore m_ek;
};

class VdirBackend : public StoreBackend {
public:
    VdirBackend() : m_ek(m_privacy, m_vdir.root) {}
    ~VdirBackend() override {
        for (const QString& calendarIdentifier : std::as_const(m_readOnly))
            setCalendarWritable(calendarIdentifier, true);
    }

    platform::EventStore& eventStore() override { return m_ek; }

    // Folders are named in the order they are added, so that the store's default
    // (its first writable calendar) is the first one added.
    platform::PlatformCalendar addCalendar(EntityType entity, const QString& title) override {
        const QString folder = QStringLiteral("%1-%2").arg(++m_folders, 2, 10, QLatin1Char('0')).arg(title.toLower());
        m_vdir.write(folder + QStringLiteral("/displayname"), title.toUtf8());
        m_vdir.write(folder + QStringLiteral("/components"),
                     entity == EntityType::Event ? QByteArray("VEVENT") : QByteArray("VTODO"));
        m_ek.reloadNow();
        return *m_ek.calendar(folder);
    }
    platform::PlatformEvent addEvent(const platform::PlatformEvent& event) override {
        return m_ek.saveEvent(event, platform::Span::ThisEvent, true);
    }
    platform::PlatformReminder addReminder(const platform::PlatformReminder& reminder) override {
        return m_ek.saveReminder(reminder, true);
    }
    void setCalendarWritable(const QString& calendarIdentifier, bool writable) override {
        QFile::setPermissions(m_vdir.path(calendarIdentifier),
                              QFileDevice::ReadOwner | QFileDevice::ExeOwner |
                                  (writable ? QFileDevice::WriteOwner : QFileDevice::Permissions()));
        if (writable)
            m_readOnly.removeAll(calendarIdentifier);
        else
            m_readOnly << calendarIdentifier;
        m_ek.reloadNow();
    }
    void setAccess(EntityType entity, platform::AuthorizationStatus status) override {
        m_privacy.setStatus(entity, status);
    }
    int storedEventCount() override { return countOnDisk(platform::vdir::IcsComponent::Kind::Event); }
    int storedReminderCount() override { return countOnDisk(platform::vdir::IcsComponent::Kind::Todo); }

private:
    int countOnDisk(platform::vdir::IcsComponent::Kind kind) const {
        platform::vdir::VdirCatalog disk(m_vdir.root);
        disk.reload();
        return static_cast<int>(std::count_if(disk.items().begin(), disk.items().end(),
                                              [kind](const auto& item) { return item.kind == kind; }));
    }

    vdirtest::TempVdir m_vdir;
    platform::FakePrivacy m_privacy;
    int m_folders = 0;
    QStringList m_readOnly;
    platform::vdir::VdirEventStore m_ek;
};

}  // namespace

BackendKind fakeBackend() {
    return {"Fake", [] { return std::unique_ptr<StoreBackend>(std::make_unique<FakeBackend>()); }};
}

BackendKind vdirBackend() {
    return {"CalendarFiles", [] { return std::unique_ptr<StoreBackend>(std::make_unique<VdirBackend>()); }};
}

}  // namespace storetest
