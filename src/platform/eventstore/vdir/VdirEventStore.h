#pragma once

#include "platform/eventstore/EventStore.h"
#include "platform/eventstore/vdir/VdirCatalog.h"
#include "platform/eventstore/vdir/VdirFolderWatcher.h"
#include "platform/eventstore/vdir/VdirStoreWriter.h"

#include <QFutureWatcher>
#include <QSet>

#include <memory>

namespace platform {
class Privacy;
}

namespace platform::vdir {

class OverworkedFiles;

// The calendar store over a vdir folder: one folder per calendar or reminder list, one .ics file per item,
// optionally grouped in account folders. Reads come from parsed files kept in memory and refreshed from the
// files that changed; changes on disk are noticed through folder watches.
class VdirEventStore : public EventStore {
    Q_OBJECT

public:
    // When the folders are read first. In the background, the store answers as an empty one (access unchanged)
    // until the read ends, then publishes through changed(); a change asked meanwhile waits for the read.
    enum class FirstRead { Now, InBackground };

    explicit VdirEventStore(Privacy& privacy, QString root = defaultRoot(), FirstRead firstRead = FirstRead::Now,
                            QObject* parent = nullptr);
    ~VdirEventStore() override;

    // $XDG_DATA_HOME/orbitday/calendars
    static QString defaultRoot();

    AuthorizationStatus authorizationStatus(EntityType entity) const override;
    void requestFullAccess(EntityType entity, AccessCompletion completion) override;

    std::vector<PlatformCalendar> calendars(EntityType entity) const override;
    std::optional<PlatformCalendar> calendar(const QString& calendarIdentifier) const override;
    std::optional<PlatformCalendar> defaultCalendarForNewEvents() const override;
    std::optional<PlatformCalendar> defaultCalendarForNewReminders() const override;

    std::vector<PlatformEvent> events(core::Date start, core::Date end,
                                      const std::optional<QStringList>& calendarIdentifiers) const override;
    QFuture<std::vector<PlatformEvent>> fetchEvents(
        core::Date start, core::Date end, const std::optional<QStringList>& calendarIdentifiers) const override;
    std::optional<PlatformEvent> event(const QString& eventIdentifier) const override;
    std::optional<PlatformEvent> event(const QString& eventIdentifier, core::Date occurrenceDate) const override;
    std::optional<PlatformCalendarItem> calendarItem(const QString& calendarItemIdentifier) const override;

    PlatformEvent saveEvent(const PlatformEvent& event, Span span, bool commit) override;
    void removeEvent(const PlatformEvent& event, Span span, bool commit) override;
    std::optional<StoredItem> storedItem(const QString& eventIdentifier) const override;
    PlatformEvent restoreItem(const StoredItem& item, bool commit) override;

    void fetchIncompleteReminders(const std::optional<QStringList>& calendarIdentifiers,
                                  RemindersCompletion completion) override;
    PlatformReminder saveReminder(const PlatformReminder& reminder, bool commit) override;
    void removeReminder(const PlatformReminder& reminder, bool commit) override;

    void commit() override;
    void reset() override;
    void refreshSources() override;
    std::optional<quint64> contentVersion() const override;
    bool isLoading() const override { return m_firstRead != nullptr; }
    std::optional<QStringList> changedItemsSince(quint64 version) const override;
    std::vector<PlatformEvent> eventsOfItems(core::Date start, core::Date end,
                                             const std::optional<QStringList>& calendarIdentifiers,
                                             const QSet<QString>& eventIdentifiers) const override;

    // For the writing side: the parsed items and their files.
    VdirCatalog& catalog() { return *m_catalog; }
    const VdirCatalog& catalog() const { return *m_catalog; }
    // Rescans now (while a rescan runs in the background: once more after it); emits changed() when anything a
    // reader sees changed.
    void reloadNow();
    // Reads these files again (after writing them) without rescanning the folders, unless only a rescan can tell
    // what became of them; emits changed() when anything a reader sees changed.
    void reloadFiles(const QStringList& paths);

private:
    // What a rescan on a worker made: the catalog as the folders are now, and whether a reader would see a change.
    struct Rescan {
        std::unique_ptr<VdirCatalog> catalog;
        bool changed = false;
    };

    // Ends the first read and a rescan in the background if they still run, waiting for them. Every change the app
    // makes comes here first: it is made over the files as they are now, and no read begun earlier is handed over
    // after it.
    void finishBackgroundReads();
    // Ends the first read if it still runs, waiting for it (`waited`) or from its own signal.
    void finishFirstRead(bool waited);
    // Rescans the folders on a worker, over a copy of the catalog: readers see the one they have until the copy is
    // handed over, in one step, by takeOverRescan().
    void rescanInBackground();
    // Makes the rescan's catalog the store's (waiting for it when `waited`); then looks at what the watch reported
    // meanwhile, and rescans again for folders that were not watched while it read.
    void takeOverRescan(bool waited);
    // The first read's worker is done: with the folders read, it looks again for what changed meanwhile; with that,
    // the read is finished.
    void advanceFirstRead();
    bool hasAccess(EntityType entity) const;
    void watchFolders();
    void watchFoldersOf(const VdirCatalog& catalog);
    // What the folder watch reported: the files it names are read again, or the folders rescanned. Many files, or a
    // rescan, are read in the background unless `here`.
    void readFolderChanges(bool here = false);
    // Reads the folders when nothing was read yet, or when they cannot be watched.
    void ensureLoaded() const;
    std::optional<PlatformEvent> occurrenceOf(const VdirItem& item, core::Date occurrenceDate) const;
    std::optional<PlatformEvent> firstOccurrence(const VdirItem& item) const;

    Privacy& m_privacy;
    // Replaced once by the catalog a first read in the background made: until then this one, never read, is empty.
    std::unique_ptr<VdirCatalog> m_catalog;
    VdirFolderWatcher m_watcher;
    bool m_loaded = false;
    // The first read while it runs (a child). The worker reads a catalog of its own, dropped if the store is gone.
    QFutureWatcher<std::unique_ptr<VdirCatalog>>* m_firstRead = nullptr;
    // The first read's worker is looking again for what changed while the folders were read.
    bool m_catchingUp = false;
    // The watch reported changes during the first read or a rescan in the background, which it still holds.
    bool m_changedWhileReading = false;
    // The rescan on a worker while it runs (a child); its catalog is dropped if the store is gone.
    QFutureWatcher<Rescan>* m_rescan = nullptr;
    // A rescan was asked for while one ran: it may have listed the folders before the change.
    bool m_rescanAgain = false;
    // What the rescans handed over since changed() was last emitted changed what a reader sees.
    bool m_rescannedChanges = false;
    // Shared with the readers on other threads, which may outlive the store.
    std::shared_ptr<OverworkedFiles> m_overworked;

    // Writing side: staged changes and the writes of saveEvent() and the rest.
    VdirStoreWriter m_writer;
};

}  // namespace platform::vdir
