#include "platform/eventstore/vdir/VdirEventStore.h"

#include "core/Log.h"
#include "platform/eventstore/vdir/VdirEventMapping.h"
#include "platform/eventstore/vdir/VdirFileWrites.h"
#include "platform/eventstore/vdir/VdirJournal.h"
#include "platform/privacy/Privacy.h"

#include <QFileInfo>
#include <QFutureWatcher>
#include <QPointer>
#include <QStandardPaths>
#include <QtConcurrent/QtConcurrentRun>

#include <algorithm>
#include <cmath>
#include <mutex>
#include <utility>

namespace platform::vdir {

namespace {

// How far ahead a series' first occurrence is looked for.
constexpr double kFirstOccurrenceHorizon = 10.0 * 366 * 86400;

// However many events a file holds, it brings at most this many occurrences to one query, or forty for each hour of
// the window if that is more (the app's window only grows while it runs). A busy calendar has a few dozen events a
// day; a file that brings hundreds of thousands to three months (each costs the main thread a value of its own)
// holds the app up for seconds.
size_t mostOccurrencesFromOneFile(double windowSeconds) {
    constexpr size_t kMostOccurrences = 100000;
    constexpr double kMostPerHour = 40;
    return std::max(kMostOccurrences, static_cast<size_t>(std::clamp(windowSeconds / 3600.0 * kMostPerHour, 0.0, 1e9)));
}

qint64 wholeSeconds(core::Date date) {
    return static_cast<qint64>(std::trunc(date.secondsSince1970()));
}

}  // namespace

// The files whose series ran out of work or that brought more events than they may: each is named once in the log,
// whichever thread read it.
class OverworkedFiles {
public:
    void say(const QString& path) {
        const std::lock_guard lock(m_mutex);
        if (m_paths.contains(path))
            return;
        m_paths.insert(path);
        core::log(QStringLiteral("%1: its events ask for too much work or are too many; some are left out").arg(path));
    }
    bool contains(const QString& path) {
        const std::lock_guard lock(m_mutex);
        return m_paths.contains(path);
    }
    bool isEmpty() {
        const std::lock_guard lock(m_mutex);
        return m_paths.isEmpty();
    }

private:
    std::mutex m_mutex;
    QSet<QString> m_paths;
};

namespace {

// Some of the items of a read: the ranges of whole files that hold them, and the items wanted of those files (in
// the list's order).
struct ItemSelection {
    std::vector<std::pair<size_t, size_t>> ranges;
    std::vector<const VdirItem*> wanted;
};

std::vector<PlatformEvent> occurrencesIn(const std::vector<VdirCollection>& collections,
                                         const std::vector<VdirItem>& items, core::Date start, core::Date end,
                                         const std::optional<QStringList>& calendarIdentifiers,
                                         const core::TimeZone& floating, OverworkedFiles& overworked,
                                         const ItemSelection* only = nullptr) {
    std::vector<bool> wanted(collections.size(), !calendarIdentifiers);
    if (calendarIdentifiers) {
        for (size_t i = 0; i < collections.size(); ++i)
            wanted[i] = calendarIdentifiers->contains(collections[i].calendar.calendarIdentifier);
    }
    // Occurrences are ordered while they are small; the platform values are built once, in their final place.
    struct Found {
        const VdirItem* item;
        IcsOccurrence occurrence;
        int series = -1;  // in `series` when the occurrence is one of several of its master
        int values = 0;   // in `itemValues`
    };
    std::vector<Found> found;
    // Made while the items of each file come together, so that what they have alike is made once.
    PlatformItemValuesMaker valuesMaker(floating);
    std::vector<PlatformItemValues> itemValues;
    // The occurrences of a series share its master's values: they are made once and copied, so that its texts are
    // read, its rules mapped and its revision spelled once, and the copies share their strings.
    struct Series {
        std::optional<PlatformEvent> values;
        size_t occurrencesLeft = 0;
    };
    std::vector<Series> series;
    std::vector<IcsOccurrence> occurrences;
    // The items of a file come one after another; they share the file's allowance and its share of the events.
    const VdirItem* fileItem = nullptr;
    IcsWorkAllowance allowance;
    const size_t mostFromOneFile = mostOccurrencesFromOneFile(end - start);
    size_t fromFile = 0;
    const auto sayIfOverworked = [&] {
        if (fileItem && (allowance.exhausted() || fromFile >= mostFromOneFile))
            overworked.say(itemPath(*fileItem, collections[static_cast<size_t>(fileItem->collectionIndex)]));
    };
    const auto read = [&](const VdirItem& item) {
        if (item.kind != IcsComponent::Kind::Event || !wanted[static_cast<size_t>(item.collectionIndex)])
            return;
        if (!fileItem || item.file != fileItem->file) {
            sayIfOverworked();
            fileItem = &item;
            allowance = {};
            fromFile = 0;
        }
        if (fromFile >= mostFromOneFile)
            return;
        occurrences.clear();
        expandSeries(item.series, start, end, floating, occurrences, &allowance);
        fromFile += occurrences.size();
        if (occurrences.empty() || (only && !std::binary_search(only->wanted.begin(), only->wanted.end(), &item)))
            return;
        const int values = static_cast<int>(itemValues.size());
        itemValues.push_back(valuesMaker.valuesOf(item));
        const IcsComponent* master = item.series.master;
        const auto fromMaster = static_cast<size_t>(std::count_if(
            occurrences.begin(), occurrences.end(), [&](const IcsOccurrence& o) { return o.component == master; }));
        const int shared = fromMaster > 1 ? static_cast<int>(series.size()) : -1;
        if (shared >= 0)
            series.push_back({std::nullopt, fromMaster});
        for (const IcsOccurrence& o : occurrences)
            found.push_back({&item, o, o.component == master ? shared : -1, values});
    };
    if (only) {
        for (const auto& [first, last] : only->ranges)
            std::for_each(items.begin() + static_cast<qsizetype>(first), items.begin() + static_cast<qsizetype>(last),
                          read);
    } else {
        std::for_each(items.begin(), items.end(), read);
    }
    sayIfOverworked();
    std::stable_sort(found.begin(), found.end(),
                     [](const Found& a, const Found& b) { return a.occurrence.start < b.occurrence.start; });
    std::vector<PlatformEvent> result;
    result.reserve(found.size());
    for (const Found& f : found) {
        const VdirCollection& collection = collections[static_cast<size_t>(f.item->collectionIndex)];
        const PlatformItemValues& values = itemValues[static_cast<size_t>(f.values)];
        if (f.series < 0) {
            result.push_back(makePlatformEvent(*f.item, collection, f.occurrence, floating, values));
            continue;
        }
        Series& s = series[static_cast<size_t>(f.series)];
        if (!s.values)
            s.values = makePlatformEvent(*f.item, collection, f.occurrence, floating, values);
        result.push_back(--s.occurrencesLeft == 0 ? std::move(*s.values) : *s.values);
        placeAtOccurrence(result.back(), f.occurrence);
    }
    return result;
}

}  // namespace

namespace {

// What the store reads of its folders first, on whichever thread: the catalog, and the folders cleared of
// temporaries that writes cut short left behind.
std::unique_ptr<VdirCatalog> readFolders(const QString& root) {
    auto catalog = std::make_unique<VdirCatalog>(root);
    catalog->reload();
    for (const VdirCollection& collection : catalog->collections())
        removeStaleTemporaries(collection.folder.path);
    return catalog;
}

}  // namespace

VdirEventStore::VdirEventStore(Privacy& privacy, QString root, FirstRead firstRead, QObject* parent)
    : EventStore(parent),
      m_privacy(privacy),
      m_catalog(std::make_unique<VdirCatalog>(root)),
      m_overworked(std::make_shared<OverworkedFiles>()),
      m_writer(root) {
    // A change cut short last time is settled before anything of it is read.
    VdirJournal::recover(root);
    connect(&m_watcher, &VdirFolderWatcher::changed, this, [this] { readFolderChanges(); });
    if (firstRead == FirstRead::Now) {
        m_catalog = readFolders(root);
        m_loaded = true;
        watchFolders();
        return;
    }
    m_firstRead = new QFutureWatcher<std::unique_ptr<VdirCatalog>>(this);
    connect(m_firstRead, &QFutureWatcherBase::finished, this, &VdirEventStore::advanceFirstRead);
    m_firstRead->setFuture(QtConcurrent::run(readFolders, root));
}

VdirEventStore::~VdirEventStore() = default;

QString VdirEventStore::defaultRoot() {
    return QStandardPaths::writableLocation(QStandardPaths::GenericDataLocation) +
           QStringLiteral("/orbitday/calendars");
}

void VdirEventStore::advanceFirstRead() {
    if (!m_firstRead)
        return;
    if (m_catchingUp) {
        finishFirstRead(false);
        return;
    }
    // Nothing was watched while the folders were read: a rescan after the watches are set finds what changed
    // meanwhile, reading only those files. With tens of thousands of files the rescan alone takes a tenth of a
    // second, so it runs on the worker too, over the catalog no reader sees yet.
    auto read = std::make_shared<std::unique_ptr<VdirCatalog>>(m_firstRead->future().takeResult());
    watchFoldersOf(**read);
    m_catchingUp = true;
    m_firstRead->setFuture(QtConcurrent::run([read] {
        (*read)->reload();
        return std::move(*read);
    }));
}

void VdirEventStore::finishBackgroundReads() {
    finishFirstRead(true);
    if (m_rescan)
        takeOverRescan(true);
}

void VdirEventStore::finishFirstRead(bool waited) {
    if (!m_firstRead)
        return;
    m_firstRead->waitForFinished();
    // The empty catalog was never indexed (version 0) and the read one was: the version grows, so whatever was
    // read from the empty one is read again.
    m_catalog = m_firstRead->future().takeResult();
    // Called from its own signal too.
    std::exchange(m_firstRead, nullptr)->deleteLater();
    const bool caughtUp = std::exchange(m_catchingUp, false);
    m_loaded = true;
    watchFolders();
    // A change asked for before the rescan could start waits no longer for it.
    if (!caughtUp) {
        m_catalog->reload();
        watchFolders();
    }
    if (std::exchange(m_changedWhileReading, false))
        readFolderChanges(waited);
    emit changed();
}

void VdirEventStore::rescanInBackground() {
    m_rescan = new QFutureWatcher<Rescan>(this);
    connect(m_rescan, &QFutureWatcherBase::finished, this, [this] { takeOverRescan(false); });
    // Shared, not moved in: the worker's function is copied.
    auto catalog = std::make_shared<std::unique_ptr<VdirCatalog>>(m_catalog->copy());
    m_rescan->setFuture(QtConcurrent::run([catalog] {
        Rescan rescan;
        rescan.changed = (*catalog)->reload();
        rescan.catalog = std::move(*catalog);
        return rescan;
    }));
}

void VdirEventStore::takeOverRescan(bool waited) {
    if (!m_rescan)
        return;
    m_rescan->waitForFinished();
    Rescan rescan = m_rescan->future().takeResult();
    // Its finished() may still be on its way when the rescan was waited for.
    m_rescan->disconnect(this);
    std::exchange(m_rescan, nullptr)->deleteLater();
    // Nothing of the app's changed the catalog while the copy was read (each change waits for the rescan), and what
    // others changed meanwhile stays with the watch: the copy takes the place of the catalog whole.
    m_catalog = std::move(rescan.catalog);
    m_rescannedChanges = m_rescannedChanges || rescan.changed;
    const QStringList watchedBefore = m_watcher.folders();
    watchFolders();
    // Files written into a folder the rescan found new were not watched for until now.
    const QSet<QString> watched(watchedBefore.begin(), watchedBefore.end());
    const QStringList folders = m_watcher.folders();
    const bool unwatchedFolders =
        std::any_of(folders.begin(), folders.end(), [&](const QString& folder) { return !watched.contains(folder); });
    if (std::exchange(m_rescanAgain, false) || unwatchedFolders) {
        if (!waited) {
            // What it reads is published with what was read already, once.
            rescanInBackground();
            return;
        }
        m_rescannedChanges = m_catalog->reload() || m_rescannedChanges;
        watchFolders();
    }
    if (std::exchange(m_changedWhileReading, false))
        readFolderChanges(waited);
    if (std::exchange(m_rescannedChanges, false))
        emit changed();
}

void VdirEventStore::reloadNow() {
    // The first read sees what is there when it ends; a rescan under way is followed by another.
    if (m_firstRead)
        return;
    if (m_rescan) {
        m_rescanAgain = true;
        return;
    }
    const bool wasLoaded = m_loaded;
    const bool changed = m_catalog->reload();
    m_loaded = true;
    watchFolders();
    if (changed && wasLoaded)
        emit this->changed();
}

void VdirEventStore::watchFolders() {
    watchFoldersOf(*m_catalog);
}

void VdirEventStore::watchFoldersOf(const VdirCatalog& catalog) {
    QStringList folders = catalog.folders();
    if (!catalog.rootExists()) {
        // Watch the nearest existing ancestor so that the folder's creation is noticed.
        QString ancestor = catalog.root();
        while (!ancestor.isEmpty() && !QFileInfo(ancestor).isDir())
            ancestor = QFileInfo(ancestor).path() == ancestor ? QString() : QFileInfo(ancestor).path();
        if (!ancestor.isEmpty())
            folders << ancestor;
    }
    m_watcher.setFolders(folders);
}

void VdirEventStore::reloadFiles(const QStringList& paths) {
    const std::optional<bool> changed = m_loaded ? m_catalog->refresh(paths) : std::nullopt;
    if (!changed)
        reloadNow();
    else if (*changed)
        emit this->changed();
}

void VdirEventStore::readFolderChanges(bool here) {
    // The changes stay with the watch until the catalog they apply to is the store's.
    if (m_firstRead || m_rescan) {
        m_changedWhileReading = true;
        return;
    }
    // A first sync brings thousands of files at once: parsing them here would hold the app up for as long.
    constexpr qsizetype kMostFilesReadHere = 200;
    const std::optional<QStringList> files = m_watcher.takeChangedFiles();
    // Any other file of a collection's folder is its metadata (its name, colour, kind): only a rescan reads them.
    const auto isItemFile = [](const QString& path) { return isItemFileName(path.section(QLatin1Char('/'), -1)); };
    const bool onlyItemFiles = files && std::all_of(files->begin(), files->end(), isItemFile);
    if (onlyItemFiles && (here || files->size() <= kMostFilesReadHere))
        reloadFiles(*files);
    else if (here || !m_loaded)
        reloadNow();
    else
        rescanInBackground();
}

void VdirEventStore::ensureLoaded() const {
    // The watches report every change; where they cannot (no inotify, no watches left), each read looks itself.
    if (!m_firstRead && (!m_loaded || !m_watcher.isComplete()))
        const_cast<VdirEventStore*>(this)->reloadNow();
}

AuthorizationStatus VdirEventStore::authorizationStatus(EntityType entity) const {
    return m_privacy.authorizationStatus(entity);
}

bool VdirEventStore::hasAccess(EntityType entity) const {
    return m_privacy.authorizationStatus(entity) == AuthorizationStatus::FullAccess;
}

void VdirEventStore::requestFullAccess(EntityType entity, AccessCompletion completion) {
    QPointer<VdirEventStore> self(this);
    m_privacy.requestAccess(entity,
                            [self, completion = std::move(completion)](bool granted, std::optional<QString> error) {
                                if (self && granted)
                                    self->reloadNow();
                                completion(granted, std::move(error));
                            });
}

std::vector<PlatformCalendar> VdirEventStore::calendars(EntityType entity) const {
    std::vector<PlatformCalendar> result;
    if (!hasAccess(entity))
        return result;
    ensureLoaded();
    for (const VdirCollection& c : m_catalog->collections()) {
        if (entity == EntityType::Event ? c.isEventCalendar() : c.isReminderList())
            result.push_back(c.calendar);
    }
    return result;
}

std::optional<PlatformCalendar> VdirEventStore::calendar(const QString& calendarIdentifier) const {
    if (!hasAccess(EntityType::Event) && !hasAccess(EntityType::Reminder))
        return std::nullopt;
    ensureLoaded();
    const VdirCollection* c = m_catalog->collectionById(calendarIdentifier);
    if (!c || !hasAccess(c->isEventCalendar() ? EntityType::Event : EntityType::Reminder))
        return std::nullopt;
    return c->calendar;
}

std::optional<PlatformCalendar> VdirEventStore::defaultCalendarForNewEvents() const {
    for (const PlatformCalendar& c : calendars(EntityType::Event))
        if (c.allowsContentModifications)
            return c;
    return std::nullopt;
}

std::optional<PlatformCalendar> VdirEventStore::defaultCalendarForNewReminders() const {
    for (const PlatformCalendar& c : calendars(EntityType::Reminder))
        if (c.allowsContentModifications)
            return c;
    return std::nullopt;
}

std::vector<PlatformEvent> VdirEventStore::events(core::Date start, core::Date end,
                                                  const std::optional<QStringList>& calendarIdentifiers) const {
    if (!hasAccess(EntityType::Event) || (calendarIdentifiers && calendarIdentifiers->isEmpty()))
        return {};
    ensureLoaded();
    return occurrencesIn(m_catalog->collections(), m_catalog->items(), start, end, calendarIdentifiers,
                         core::TimeZone::current(), *m_overworked);
}

QFuture<std::vector<PlatformEvent>> VdirEventStore::fetchEvents(
    core::Date start, core::Date end, const std::optional<QStringList>& calendarIdentifiers) const {
    if (!hasAccess(EntityType::Event) || (calendarIdentifiers && calendarIdentifiers->isEmpty()))
        return QtFuture::makeReadyFuture(std::vector<PlatformEvent>{});
    ensureLoaded();
    return QtConcurrent::run([snapshot = m_catalog->snapshot(), start, end, calendarIdentifiers,
                              floating = core::TimeZone::current(), overworked = m_overworked] {
        return occurrencesIn(*snapshot.collections, *snapshot.items, start, end, calendarIdentifiers, floating,
                             *overworked);
    });
}

std::optional<PlatformEvent> VdirEventStore::firstOccurrence(const VdirItem& item) const {
    const core::TimeZone floating = core::TimeZone::current();
    const IcsComponent& main = item.main();
    auto single = singleOccurrence(main, floating);
    if (!single)
        return std::nullopt;
    const core::Date from = single->start - 2 * 86400.0;
    std::vector<IcsOccurrence> occurrences;
    // Usually the first year holds it; only a series whose early occurrences are all excluded needs more.
    expandSeries(item.series, from, from + 366 * 86400.0, floating, occurrences);
    if (occurrences.empty())
        expandSeries(item.series, from, from + kFirstOccurrenceHorizon, floating, occurrences);
    if (occurrences.empty())
        return std::nullopt;
    const auto first =
        std::min_element(occurrences.begin(), occurrences.end(),
                         [](const IcsOccurrence& a, const IcsOccurrence& b) { return a.start < b.start; });
    return makePlatformEvent(item, m_catalog->collections()[static_cast<size_t>(item.collectionIndex)], *first,
                             floating);
}

std::optional<PlatformEvent> VdirEventStore::occurrenceOf(const VdirItem& item, core::Date occurrenceDate) const {
    const core::TimeZone floating = core::TimeZone::current();
    const VdirCollection& collection = m_catalog->collections()[static_cast<size_t>(item.collectionIndex)];
    const qint64 wanted = wholeSeconds(occurrenceDate);
    std::vector<IcsOccurrence> occurrences;
    // A detached occurrence may have moved anywhere: look at the overrides first, then at the series around the date.
    for (const IcsComponent* o : item.series.overrides) {
        IcsSeries only;
        only.master = item.series.master;
        only.overrides = {o};
        auto single = singleOccurrence(*o, floating);
        if (!single)
            continue;
        occurrences.clear();
        expandSeries(only, single->start - 1, single->end + 1, floating, occurrences);
        for (const IcsOccurrence& occurrence : occurrences)
            if (occurrence.isDetached && wholeSeconds(occurrence.occurrenceDate) == wanted)
                return makePlatformEvent(item, collection, occurrence, floating);
    }
    occurrences.clear();
    expandSeries(item.series, occurrenceDate - 2 * 86400.0, occurrenceDate + 2 * 86400.0, floating, occurrences);
    for (const IcsOccurrence& occurrence : occurrences)
        if (wholeSeconds(occurrence.occurrenceDate) == wanted)
            return makePlatformEvent(item, collection, occurrence, floating);
    return std::nullopt;
}

std::optional<PlatformEvent> VdirEventStore::event(const QString& eventIdentifier) const {
    if (!hasAccess(EntityType::Event))
        return std::nullopt;
    ensureLoaded();
    const VdirItem* item = m_catalog->item(eventIdentifier);
    if (!item || item->kind != IcsComponent::Kind::Event)
        return std::nullopt;
    return firstOccurrence(*item);
}

std::optional<PlatformEvent> VdirEventStore::event(const QString& eventIdentifier, core::Date occurrenceDate) const {
    if (!hasAccess(EntityType::Event))
        return std::nullopt;
    ensureLoaded();
    const VdirItem* item = m_catalog->item(eventIdentifier);
    if (!item || item->kind != IcsComponent::Kind::Event)
        return std::nullopt;
    return occurrenceOf(*item, occurrenceDate);
}

std::optional<PlatformCalendarItem> VdirEventStore::calendarItem(const QString& calendarItemIdentifier) const {
    ensureLoaded();
    const VdirItem* item = m_catalog->item(calendarItemIdentifier);
    if (!item)
        return std::nullopt;
    if (item->kind == IcsComponent::Kind::Event) {
        if (auto e = event(calendarItemIdentifier))
            return PlatformCalendarItem(std::move(*e));
        return std::nullopt;
    }
    if (!hasAccess(EntityType::Reminder))
        return std::nullopt;
    return PlatformCalendarItem(makePlatformReminder(
        *item, m_catalog->collections()[static_cast<size_t>(item->collectionIndex)], core::TimeZone::current()));
}

void VdirEventStore::fetchIncompleteReminders(const std::optional<QStringList>& calendarIdentifiers,
                                              RemindersCompletion completion) {
    using Result = std::optional<std::vector<PlatformReminder>>;
    auto* watcher = new QFutureWatcher<Result>(this);
    connect(watcher, &QFutureWatcher<Result>::finished, this, [watcher, completion = std::move(completion)] {
        completion(watcher->result());
        watcher->deleteLater();
    });
    if (!hasAccess(EntityType::Reminder)) {
        watcher->setFuture(QtConcurrent::run([] { return Result(std::vector<PlatformReminder>{}); }));
        return;
    }
    ensureLoaded();
    // The worker gets its own copies: the catalog may be rebuilt on this thread meanwhile.
    struct Job {
        std::vector<VdirItem> items;
        std::vector<VdirCollection> collections;
    };
    auto job = std::make_shared<Job>();
    job->collections = m_catalog->collections();
    for (const VdirItem& item : m_catalog->items()) {
        if (item.kind != IcsComponent::Kind::Todo)
            continue;
        const auto& calendar = job->collections[static_cast<size_t>(item.collectionIndex)].calendar;
        if (calendarIdentifiers && !calendarIdentifiers->contains(calendar.calendarIdentifier))
            continue;
        job->items.push_back(item);
    }
    const core::TimeZone floating = core::TimeZone::current();
    watcher->setFuture(QtConcurrent::run([job, floating] {
        std::vector<PlatformReminder> reminders;
        for (const VdirItem& item : job->items) {
            if (!isIncomplete(item.main()))
                continue;
            reminders.push_back(
                makePlatformReminder(item, job->collections[static_cast<size_t>(item.collectionIndex)], floating));
        }
        return Result(std::move(reminders));
    }));
}

std::vector<PlatformEvent> VdirEventStore::eventsOfItems(core::Date start, core::Date end,
                                                        const std::optional<QStringList>& calendarIdentifiers,
                                                        const QSet<QString>& eventIdentifiers) const {
    if (!hasAccess(EntityType::Event) || (calendarIdentifiers && calendarIdentifiers->isEmpty()))
        return {};
    ensureLoaded();
    // Whole files are read, as a full read does: the items of a file share its allowance of work and of events.
    const std::vector<VdirItem>& items = m_catalog->items();
    std::vector<size_t> positions;
    for (const QString& identifier : eventIdentifiers)
        if (const VdirItem* item = m_catalog->item(identifier))
            positions.push_back(static_cast<size_t>(item - items.data()));
    std::sort(positions.begin(), positions.end());
    ItemSelection only;
    for (const size_t position : positions) {
        only.wanted.push_back(&items[position]);
        if (!only.ranges.empty() && position < only.ranges.back().second)
            continue;
        size_t first = position;
        size_t last = position + 1;
        while (first > 0 && items[first - 1].file == items[position].file)
            --first;
        while (last < items.size() && items[last].file == items[position].file)
            ++last;
        only.ranges.emplace_back(first, last);
    }
    return occurrencesIn(m_catalog->collections(), items, start, end, calendarIdentifiers, core::TimeZone::current(),
                         *m_overworked, &only);
}

std::optional<QStringList> VdirEventStore::changedItemsSince(quint64 version) const {
    ensureLoaded();
    std::optional<QStringList> changed = m_catalog->changedSince(version);
    // Which events of a file that asks for too much work are shown depends on all of its items.
    const auto mayLeaveOut = [this](const QString& identifier) {
        const VdirItem* item = m_catalog->item(identifier);
        return !item || m_overworked->contains(m_catalog->path(*item));
    };
    if (changed && !m_overworked->isEmpty() && std::any_of(changed->begin(), changed->end(), mayLeaveOut))
        return std::nullopt;
    return changed;
}

std::optional<quint64> VdirEventStore::contentVersion() const {
    ensureLoaded();
    return m_catalog->version();
}

void VdirEventStore::refreshSources() {
    // The first read reads every file anyway.
    if (m_firstRead)
        return;
    // The files are read again over the catalog as it is now.
    finishBackgroundReads();
    m_catalog->clear();
    reloadNow();
}

}  // namespace platform::vdir
