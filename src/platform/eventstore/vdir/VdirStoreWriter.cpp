#include "platform/eventstore/vdir/VdirStoreWriter.h"

#include "core/Log.h"
#include "platform/eventstore/vdir/IcsFileParser.h"
#include "platform/eventstore/vdir/IcsPreflight.h"
#include "platform/eventstore/vdir/IcsRuleText.h"
#include "platform/eventstore/vdir/IcsRuleWriter.h"
#include "platform/eventstore/vdir/IcsText.h"
#include "platform/eventstore/vdir/VdirEventStore.h"

#include <QUuid>

#include <algorithm>
#include <cmath>

namespace platform::vdir {
namespace {

using Code = EventStoreError::Code;

qint64 wholeSeconds(core::Date date) {
    return static_cast<qint64>(std::trunc(date.secondsSince1970()));
}
qint64 nowSeconds() {
    return wholeSeconds(core::Date::now());
}

[[noreturn]] void fail(Code code) {
    throw EventStoreError::withDefaultMessage(code);
}

QByteArray newUid() {
    return QUuid::createUuid().toString(QUuid::WithoutBraces).toUtf8();
}

std::optional<QString> urlText(const std::optional<QUrl>& url) {
    if (!url) {
        return std::nullopt;
    }
    return url->toString();
}

QList<AlarmTime> alarmTimes(const std::vector<PlatformAlarm>& alarms) {
    QList<AlarmTime> times;
    for (const PlatformAlarm& alarm : alarms) {
        AlarmTime time;
        if (alarm.absoluteDate) {
            time.at = wholeSeconds(*alarm.absoluteDate);
        } else {
            time.offset = static_cast<qint64>(std::llround(alarm.relativeOffset));
        }
        times.append(time);
    }
    return times;
}

QString calendarIdOf(const std::optional<PlatformCalendar>& calendar) {
    return calendar ? calendar->calendarIdentifier : QString();
}

bool timesDiffer(const PlatformEvent& a, const PlatformEvent& b) {
    return a.startDate != b.startDate || a.endDate != b.endDate || a.isAllDay != b.isAllDay || a.timeZone != b.timeZone;
}

// The zone timed values are written in. A new event without one gets the
// user's zone, as new events do on the platform; nullopt keeps a floating
// event floating.
std::optional<core::TimeZone> zoneFor(const PlatformEvent& event, bool isNew) {
    if (event.timeZone || !isNew) {
        return event.timeZone;
    }
    return core::TimeZone::current();
}

// Copies what the caller changed (`wanted` against `current`, both as read)
// onto one component; fields it did not change stay exactly as the file has them.
void applyChangedFields(icalcomponent* target, const PlatformEvent& wanted, const PlatformEvent* current) {
    if (!current || wanted.title != current->title) {
        setTextProperty(target, ICAL_SUMMARY_PROPERTY, wanted.title);
    }
    if (!current || wanted.location != current->location) {
        setTextProperty(target, ICAL_LOCATION_PROPERTY, wanted.location);
    }
    if (!current || wanted.notes != current->notes) {
        setTextProperty(target, ICAL_DESCRIPTION_PROPERTY, wanted.notes);
    }
    if (!current || wanted.url != current->url) {
        setUrl(target, urlText(wanted.url));
    }
    if (current ? wanted.availability != current->availability : wanted.availability == Availability::Free) {
        setTransparent(target, wanted.availability == Availability::Free);
    }
    if (current ? wanted.alarms != current->alarms : !wanted.alarms.empty()) {
        replaceAlarms(target, alarmTimes(wanted.alarms));
    }
}

QList<QByteArray> ruleTexts(const QList<PlatformRecurrenceRule>& rules, IcsEditor::StartKind kind) {
    QList<QByteArray> texts;
    for (const PlatformRecurrenceRule& rule : rules) {
        texts.append(rruleText(rule, kind, core::TimeZone::current()));
    }
    return texts;
}

// Start and end for a series whose occurrence `current` becomes `wanted`,
// when the series itself starts at `seriesStart`: the same shift, and the
// wanted length. All-day shifts are kept at midday so that a day of 23 or 25
// hours cannot move them to another date.
std::pair<qint64, qint64> shiftedTimes(qint64 seriesStart, const PlatformEvent& wanted, const PlatformEvent& current) {
    const qint64 wantedStart = wholeSeconds(*wanted.startDate);
    const qint64 wantedEnd = wholeSeconds(wanted.endDate.value_or(*wanted.startDate));
    if (!current.startDate || seriesStart == wholeSeconds(*current.startDate)) {
        return {wantedStart, wantedEnd};
    }
    qint64 start = seriesStart + (wantedStart - wholeSeconds(*current.startDate));
    if (wanted.isAllDay) {
        start += 12 * 3600;
    }
    return {start, start + (wantedEnd - wantedStart)};
}

}  // namespace

IcsEditor VdirStoreWriter::editorFor(icalcomponent* calendar) {
    return IcsEditor(calendar, core::TimeZone::current(), [this](const QString& tzid, icalcomponent* vtimezone) {
        return m_zones.resolve(tzid, vtimezone);
    });
}

VdirStoreWriter::OpenFile VdirStoreWriter::open(const VdirCatalog& catalog, const VdirItem& item,
                                                const QString& revision) {
    OpenFile file;
    file.path = catalog.path(item);
    const QString& path = file.path;
    if (m_files.isStaged(path)) {
        const std::optional<QByteArray> staged = m_files.stagedContent(path);
        if (!staged) {
            fail(Code::NotFound);
        }
        file.original = *staged;
    } else {
        const std::optional<Etag> remembered = Etag::fromString(revision.isEmpty() ? item.etag() : revision);
        const auto refuse = [&path] {
            core::log(QStringLiteral("refusing to write %1: it changed on disk since it was read").arg(path));
            fail(Code::Conflict);
        };
        // Changed or gone since the caller read it: never overwrite what we did not see, nor read it.
        if (!remembered || !m_files.isCurrent(path, *remembered)) {
            refuse();
        }
        const std::optional<FileSnapshot> snapshot = readSnapshot(path);
        if (!snapshot || !m_files.isCurrent(path, *remembered)) {
            refuse();
        }
        file.original = snapshot->content;
        file.expected = *remembered;
    }
    prepareLibical();
    const IcsPreflight preflight = preflightIcs(file.original);
    if (!preflight.problem.isEmpty()) {
        fail(Code::InvalidItem);
    }
    // Reading and writing a calendar of thousands of events to change one held the main thread for a long time.
    file.cut = IcsItemCut::of(file.original, item.uid().toUtf8());
    if (file.cut) {
        file.original = file.cut->calendar();
    }
    file.kept = IcsKeptLines(file.original);
    file.tree.reset(icalparser_parse_string(file.kept.marked().constData()));
    if (!file.tree || icalcomponent_isa(file.tree.get()) != ICAL_VCALENDAR_COMPONENT) {
        fail(Code::InvalidItem);
    }
    forgetEmptyTextProperties(file.tree.get());
    restoreRulesWithBothEnds(file.tree.get());
    file.kept.noteUnchanged(file.tree.get());
    return file;
}

const VdirCollection& VdirStoreWriter::writableCollection(VdirEventStore& store, const QString& calendarIdentifier,
                                                          EntityType kind) {
    const VdirCollection* collection = store.catalog().collectionById(calendarIdentifier);
    if (collection == nullptr) {
        fail(Code::InvalidItem);
    }
    // Filed into the other kind of collection, an item would turn a reminder list into a calendar (or the
    // reverse) for every reader of the folder.
    if (kind == EntityType::Event ? !collection->isEventCalendar() : !collection->isReminderList()) {
        throw EventStoreError::wrongKindOfCalendar();
    }
    if (!collection->folder.writable || !collection->calendar.allowsContentModifications) {
        fail(Code::ReadOnly);
    }
    return *collection;
}

std::pair<PlatformEvent, const VdirItem*> VdirStoreWriter::changeTarget(VdirEventStore& store,
                                                                        const QString& eventIdentifier,
                                                                        const std::optional<core::Date>& occurrenceDate) {
    const std::optional<PlatformEvent> current =
        occurrenceDate ? store.event(eventIdentifier, *occurrenceDate) : store.event(eventIdentifier);
    const VdirItem* item = store.catalog().item(eventIdentifier);
    if (!current || item == nullptr) {
        fail(Code::NotFound);
    }
    if (item->readOnly) {
        fail(Code::ReadOnly);
    }
    writableCollection(store, calendarIdOf(current->calendar), EntityType::Event);
    return {*current, item};
}

void VdirStoreWriter::stage(OpenFile& file, bool keepFile) {
    m_itemWrites.remove(file.path);
    // A file is cut only where it holds other items.
    if (!keepFile && !file.cut) {
        m_overlaid.insert(file.path);
        m_files.stageRemove(file.path, file.expected);
        m_toShow.emplace_back(file.path, std::nullopt);
        return;
    }
    QByteArray text = file.kept.write(file.tree.get());
    if (file.cut) {
        std::optional<IcsItemCut::Put> put = file.cut->putBack(text);
        if (!put) {
            fail(Code::Other);
        }
        // A zone definition added may change how the file's other items read their times.
        if (!put->addsZones) {
            m_itemWrites.insert(file.path, VdirItemWrite{VdirFileCache::digestOf(file.cut->file()), put->file,
                                                         QString::fromUtf8(file.cut->uid()),
                                                         put->keepsItem ? std::optional(text) : std::nullopt});
        }
        text = std::move(put->file);
    }
    m_overlaid.insert(file.path);
    m_files.stageReplace(file.path, text, file.expected);
    m_toShow.emplace_back(file.path, std::move(text));
}

QString VdirStoreWriter::stageNew(QString folder, const QByteArray& uid, icalcomponent* calendar,
                                  const IcsKeptLines& kept) {
    QByteArray text = kept.write(calendar);
    const QString path = m_files.stageCreate(folder, QString::fromUtf8(uid), text);
    m_overlaid.insert(path);
    m_toShow.emplace_back(path, std::move(text));
    return path;
}

void VdirStoreWriter::finish(VdirEventStore& store, bool commitNow) {
    // Parsing the staged texts (a calendar file may hold thousands of events) and rebuilding the index for
    // them is only worth it when they are to be read before the commit.
    std::vector<std::pair<QString, std::optional<QByteArray>>> toShow = std::exchange(m_toShow, {});
    if (!commitNow) {
        for (auto& [path, text] : toShow)
            store.catalog().stage(path, std::move(text));
        return;
    }
    try {
        commit(store);
    } catch (const EventStoreError&) {
        // A change meant to be written at once must not linger as if saved:
        // the store shows the files as they are, and a later commit cannot
        // write it behind the caller's back.
        m_files.reset();
        m_overlaid.clear();
        store.catalog().clearStaged();
        store.reloadNow();
        throw;
    }
}

QString VdirStoreWriter::identifierOf(VdirEventStore& store, const QString& path, const QByteArray& uid) const {
    const QString text = QString::fromUtf8(uid);
    QString inAnotherFile;
    for (const VdirItem& item : store.catalog().items()) {
        if (item.uid() == text) {
            if (store.catalog().path(item) == path) {
                return store.catalog().identifier(item);
            }
            inAnotherFile = store.catalog().identifier(item);
        }
    }
    // A commit takes another name when the UID's one was taken meanwhile.
    return inAnotherFile;
}

std::optional<QString> VdirStoreWriter::moveDestination(VdirEventStore& store, const PlatformEvent& event,
                                                        const PlatformEvent& current) {
    const QString wanted = calendarIdOf(event.calendar);
    // A calendar that no longer exists leaves the event where it is.
    if (wanted.isEmpty() || wanted == calendarIdOf(current.calendar) ||
        store.catalog().collectionById(wanted) == nullptr) {
        return std::nullopt;
    }
    return writableCollection(store, wanted, EntityType::Event).folder.path;
}

QString VdirStoreWriter::stageEdited(VdirEventStore& store, OpenFile& file, IcsEditor& editor, const QByteArray& uid,
                                     const QString& identifier, const std::optional<QString>& destination,
                                     bool commitNow) {
    if (!destination) {
        stage(file, true);
        finish(store, commitNow);
        return identifier;
    }
    IcsTree moved = editor.copyItem(uid);
    const bool keepFile = editor.removeItem(uid);
    stage(file, keepFile);
    const QString path = stageNew(*destination, uid, moved.get(), file.kept);
    finish(store, commitNow);
    return identifierOf(store, path, uid);
}

void VdirStoreWriter::commit(VdirEventStore& store) {
    if (m_overlaid.isEmpty() && !m_files.hasChanges()) {
        return;
    }
    // A failed commit drops them: a retry reads its files back whole.
    const QHash<QString, VdirItemWrite> itemWrites = std::exchange(m_itemWrites, {});
    QStringList paths = m_files.commit();
    for (auto it = itemWrites.cbegin(); it != itemWrites.cend(); ++it) {
        if (paths.contains(it.key())) {
            store.catalog().expectWrite(it.key(), it.value());
        }
    }
    // A staged creation may have been written under another name, or removed again before the commit.
    for (const QString& path : std::as_const(m_overlaid)) {
        if (!paths.contains(path)) {
            paths.append(path);
        }
    }
    m_overlaid.clear();
    store.reloadFiles(paths);
}

void VdirStoreWriter::reset(VdirEventStore& store) {
    m_files.reset();
    m_itemWrites.clear();
    m_overlaid.clear();
    m_toShow.clear();
    store.catalog().clearStaged();
    store.catalog().clear();
    store.reloadNow();
}

PlatformEvent VdirStoreWriter::saveEvent(VdirEventStore& store, const PlatformEvent& event, Span span, bool commitNow) {
    const AuthorizationStatus access = store.authorizationStatus(EntityType::Event);
    if (access != AuthorizationStatus::FullAccess && access != AuthorizationStatus::WriteOnly) {
        fail(Code::AccessDenied);
    }
    if (!event.startDate) {
        fail(Code::InvalidItem);
    }
    const qint64 now = nowSeconds();

    if (event.eventIdentifier.isEmpty()) {
        (void)store.calendars(EntityType::Event);  // loads the catalog
        const VdirCollection& collection = writableCollection(store, calendarIdOf(event.calendar), EntityType::Event);
        const QByteArray uid = newUid();
        IcsTree tree = newCalendarWith(ICAL_VEVENT_COMPONENT, uid, now);
        IcsEditor editor = editorFor(tree.get());
        icalcomponent* master = editor.master(uid);
        applyChangedFields(master, event, nullptr);
        editor.setTimes(master, wholeSeconds(*event.startDate), wholeSeconds(event.endDate.value_or(*event.startDate)),
                        event.isAllDay, zoneFor(event, true));
        if (event.hasRecurrenceRules()) {
            editor.setRecurrenceRules(uid, ruleTexts(event.recurrenceRules, editor.startKind(uid)));
        }
        const QString path = stageNew(collection.folder.path, uid, tree.get(), IcsKeptLines());
        finish(store, commitNow);
        const QString identifier = identifierOf(store, path, uid);
        if (auto saved = store.event(identifier, *event.startDate)) {
            return *saved;
        }
        if (auto first = store.event(identifier)) {
            return *first;
        }
        // Write-only access cannot read the event back; it was saved all the same.
        PlatformEvent saved = event;
        saved.eventIdentifier = identifier;
        saved.calendarItemIdentifier = identifier;
        saved.calendarItemExternalIdentifier = QString::fromUtf8(uid);
        saved.occurrenceDate = event.startDate;
        return saved;
    }

    const auto [current, item] =
        changeTarget(store, event.eventIdentifier, event.occurrenceDate.value_or(*event.startDate));
    OpenFile file = open(store.catalog(), *item, event.revision);
    IcsEditor editor = editorFor(file.tree.get());
    // Staging rebuilds the catalog: nothing of `item` is used after it.
    const QByteArray uid = item->uid().toUtf8();
    const QString identifier = store.catalog().identifier(*item);
    const int collectionIndex = item->collectionIndex;
    const qint64 occurrence = wholeSeconds(*current.occurrenceDate);
    const bool timesChanged = timesDiffer(event, current);
    const bool rulesChanged = event.recurrenceRules != current.recurrenceRules;
    icalcomponent* master = editor.master(uid);

    if (!editor.isRecurring(uid)) {
        icalcomponent* target = master != nullptr ? master : editor.overridesOf(uid).value(0);
        if (target == nullptr) {
            fail(Code::NotFound);
        }
        applyChangedFields(target, event, &current);
        if (timesChanged) {
            editor.setTimes(target, wholeSeconds(*event.startDate),
                            wholeSeconds(event.endDate.value_or(*event.startDate)), event.isAllDay,
                            zoneFor(event, false));
        }
        if (rulesChanged) {
            editor.setRecurrenceRules(uid, ruleTexts(event.recurrenceRules, editor.startKind(uid)));
        }
        if (timesChanged || rulesChanged) {
            raiseSequence(target);
        }
        touch(target, now);
        const QString savedIdentifier =
            stageEdited(store, file, editor, uid, identifier, moveDestination(store, event, current), commitNow);
        if (auto saved = store.event(savedIdentifier, *event.startDate)) {
            return *saved;
        }
        if (auto first = store.event(savedIdentifier)) {
            return *first;
        }
        fail(Code::NotFound);
    }

    if (span == Span::ThisEvent) {
        icalcomponent* target = editor.ensureOverride(uid, occurrence, now);
        if (target == nullptr) {
            fail(Code::NotFound);
        }
        applyChangedFields(target, event, &current);
        if (timesChanged) {
            editor.setTimes(target, wholeSeconds(*event.startDate),
                            wholeSeconds(event.endDate.value_or(*event.startDate)), event.isAllDay,
                            zoneFor(event, false));
            raiseSequence(target);
        }
        touch(target, now);
        stage(file, true);
        finish(store, commitNow);
        if (auto saved = store.event(identifier, core::Date(static_cast<double>(occurrence)))) {
            return *saved;
        }
        fail(Code::NotFound);
    }

    // This and the following occurrences: the whole series from its first
    // occurrence, else a new series split off at this one.
    const bool wholeSeries = !editor.hasOccurrenceBefore(uid, occurrence);
    IcsTree rest;
    QByteArray seriesUid = uid;
    IcsEditor* seriesEditor = &editor;
    std::optional<IcsEditor> restEditor;
    if (!wholeSeries) {
        seriesUid = newUid();
        rest = editor.splitSeries(uid, occurrence, seriesUid, now);
        if (!rest) {
            fail(Code::NotFound);
        }
        restEditor.emplace(editorFor(rest.get()));
        seriesEditor = &*restEditor;
    }
    icalcomponent* seriesMaster = seriesEditor->master(seriesUid);
    if (seriesMaster == nullptr) {
        fail(Code::NotFound);
    }
    icalcomponent* detached = seriesEditor->findOverride(seriesUid, occurrence);
    applyChangedFields(seriesMaster, event, &current);
    if (detached != nullptr) {
        applyChangedFields(detached, event, &current);
    }
    if (timesChanged) {
        const qint64 seriesStart =
            seriesEditor->instantOf(icalcomponent_get_first_property(seriesMaster, ICAL_DTSTART_PROPERTY));
        const auto [start, end] = shiftedTimes(seriesStart, event, current);
        seriesEditor->setSeriesTimes(seriesUid, start, end, event.isAllDay, zoneFor(event, false));
        if (detached != nullptr) {
            seriesEditor->setTimes(detached, wholeSeconds(*event.startDate),
                                   wholeSeconds(event.endDate.value_or(*event.startDate)), event.isAllDay,
                                   zoneFor(event, false));
        }
    }
    if (rulesChanged) {
        seriesEditor->setRecurrenceRules(seriesUid,
                                         ruleTexts(event.recurrenceRules, seriesEditor->startKind(seriesUid)));
    }
    if (timesChanged || rulesChanged) {
        raiseSequence(seriesMaster);
        if (detached != nullptr && timesChanged) {
            raiseSequence(detached);
        }
    }
    // Split off, the series that was ends sooner.
    if (rest && master != nullptr) {
        raiseSequence(master);
    }
    touch(seriesMaster, now);
    const std::optional<QString> destination = moveDestination(store, event, current);
    QString seriesIdentifier;
    if (rest) {
        const QString folder =
            destination.value_or(store.catalog().collections()[static_cast<size_t>(collectionIndex)].folder.path);
        stage(file, true);
        const QString restPath = stageNew(folder, seriesUid, rest.get(), file.kept);
        finish(store, commitNow);
        seriesIdentifier = identifierOf(store, restPath, seriesUid);
    } else {
        seriesIdentifier = stageEdited(store, file, editor, uid, identifier, destination, commitNow);
    }
    if (auto saved = store.event(seriesIdentifier, *event.startDate)) {
        return *saved;
    }
    if (auto first = store.event(seriesIdentifier)) {
        return *first;
    }
    fail(Code::NotFound);
}

void VdirStoreWriter::removeEvent(VdirEventStore& store, const PlatformEvent& event, Span span, bool commitNow) {
    const AuthorizationStatus access = store.authorizationStatus(EntityType::Event);
    if (access != AuthorizationStatus::FullAccess && access != AuthorizationStatus::WriteOnly) {
        fail(Code::AccessDenied);
    }
    if (event.eventIdentifier.isEmpty()) {
        fail(Code::NotFound);
    }
    const auto [current, item] =
        changeTarget(store, event.eventIdentifier, event.occurrenceDate ? event.occurrenceDate : event.startDate);
    OpenFile file = open(store.catalog(), *item, event.revision);
    IcsEditor editor = editorFor(file.tree.get());
    const QByteArray uid = item->uid().toUtf8();
    const qint64 occurrence = wholeSeconds(*current.occurrenceDate);
    const qint64 now = nowSeconds();

    bool keepFile = true;
    if (!editor.isRecurring(uid) || (span == Span::FutureEvents && !editor.hasOccurrenceBefore(uid, occurrence))) {
        keepFile = editor.removeItem(uid);
    } else {
        if (span == Span::ThisEvent) {
            editor.excludeOccurrence(uid, occurrence, now);
        } else {
            editor.endSeriesBefore(uid, occurrence, now);
        }
        // The series repeats otherwise from now on.
        if (icalcomponent* master = editor.master(uid)) {
            raiseSequence(master);
        }
    }
    stage(file, keepFile);
    finish(store, commitNow);
}

std::optional<StoredItem> VdirStoreWriter::storedItem(const VdirEventStore& store,
                                                     const QString& eventIdentifier) const {
    const VdirItem* item = store.catalog().item(eventIdentifier);
    if (item == nullptr) {
        return std::nullopt;
    }
    const QString path = store.catalog().path(*item);
    if (m_files.isStaged(path)) {
        return std::nullopt;
    }
    try {
        if (std::optional<FileSnapshot> snapshot = readSnapshot(path)) {
            return StoredItem{eventIdentifier, path, std::move(snapshot->content), snapshot->etag.toString()};
        }
    } catch (const WriteError&) {
    }
    return std::nullopt;
}

PlatformEvent VdirStoreWriter::restoreItem(VdirEventStore& store, const StoredItem& stored, bool commitNow) {
    const AuthorizationStatus access = store.authorizationStatus(EntityType::Event);
    if (access != AuthorizationStatus::FullAccess && access != AuthorizationStatus::WriteOnly) {
        fail(Code::AccessDenied);
    }
    const QString& path = stored.place;
    const std::optional<Etag> copied = Etag::fromString(stored.revision);
    const QString folder = splitPath(path).first;
    const auto& collections = store.catalog().collections();
    const auto collection = std::find_if(collections.begin(), collections.end(),
                                         [&](const VdirCollection& c) { return c.folder.path == folder; });
    if (!copied || collection == collections.end()) {
        fail(Code::NotFound);
    }
    writableCollection(store, collection->calendar.calendarIdentifier, EntityType::Event);
    if (m_files.isStaged(path)) {
        fail(Code::Conflict);
    }
    if (Etag::ofFile(path)) {
        // The file as this store's own writes left it, or another program's change since would be lost.
        if (!m_files.isCurrent(path, *copied)) {
            core::log(QStringLiteral("refusing to put back %1: it changed on disk since").arg(path));
            fail(Code::Conflict);
        }
        m_files.stageReplace(path, stored.content, *copied);
    } else {
        // Gone with its file, the item may have been made again elsewhere since.
        if (store.catalog().item(stored.eventIdentifier) != nullptr) {
            fail(Code::Conflict);
        }
        m_files.stageCreateAt(path, stored.content);
    }
    m_itemWrites.remove(path);
    m_overlaid.insert(path);
    m_toShow.emplace_back(path, stored.content);
    finish(store, commitNow);
    if (auto restored = store.event(stored.eventIdentifier)) {
        return *restored;
    }
    fail(Code::NotFound);
}

PlatformReminder VdirStoreWriter::saveReminder(VdirEventStore& store, const PlatformReminder& reminder,
                                               bool commitNow) {
    if (store.authorizationStatus(EntityType::Reminder) != AuthorizationStatus::FullAccess) {
        fail(Code::AccessDenied);
    }
    const qint64 now = nowSeconds();
    const auto completedAt = [&] { return reminder.completionDate ? wholeSeconds(*reminder.completionDate) : now; };
    const auto apply = [&](IcsEditor& editor, icalcomponent* todo, const PlatformReminder* current) {
        if (!current || reminder.title != current->title) {
            setTextProperty(todo, ICAL_SUMMARY_PROPERTY, reminder.title);
        }
        if (!current || reminder.notes != current->notes) {
            setTextProperty(todo, ICAL_DESCRIPTION_PROPERTY, reminder.notes);
        }
        if (!current || reminder.url != current->url) {
            setUrl(todo, urlText(reminder.url));
        }
        if (!current || reminder.priority != current->priority) {
            setPriority(todo, reminder.priority);
        }
        if (!current || reminder.dueDateComponents != current->dueDateComponents) {
            editor.setDue(todo, reminder.dueDateComponents);
        }
        if (current ? reminder.alarms != current->alarms : !reminder.alarms.empty()) {
            replaceAlarms(todo, alarmTimes(reminder.alarms));
        }
        if (current ? reminder.isCompleted != current->isCompleted : reminder.isCompleted) {
            setTodoCompleted(todo, reminder.isCompleted, completedAt());
        } else if (!current) {
            setTodoCompleted(todo, false, now);
        }
        touch(todo, now);
    };

    if (reminder.calendarItemIdentifier.isEmpty()) {
        std::optional<PlatformCalendar> list = reminder.calendar;
        if (!list || store.catalog().collectionById(list->calendarIdentifier) == nullptr) {
            list = store.defaultCalendarForNewReminders();
        }
        if (!list) {
            fail(Code::InvalidItem);
        }
        const VdirCollection& collection = writableCollection(store, list->calendarIdentifier, EntityType::Reminder);
        const QByteArray uid = newUid();
        IcsTree tree = newCalendarWith(ICAL_VTODO_COMPONENT, uid, now);
        IcsEditor editor = editorFor(tree.get());
        apply(editor, editor.master(uid), nullptr);
        const QString path = stageNew(collection.folder.path, uid, tree.get(), IcsKeptLines());
        finish(store, commitNow);
        const QString identifier = identifierOf(store, path, uid);
        if (auto saved = store.calendarItem(identifier); saved && std::holds_alternative<PlatformReminder>(*saved)) {
            return std::get<PlatformReminder>(*saved);
        }
        fail(Code::Other);
    }

    const std::optional<PlatformCalendarItem> found = store.calendarItem(reminder.calendarItemIdentifier);
    const VdirItem* item = store.catalog().item(reminder.calendarItemIdentifier);
    if (!found || !std::holds_alternative<PlatformReminder>(*found) || item == nullptr) {
        fail(Code::NotFound);
    }
    const PlatformReminder& current = std::get<PlatformReminder>(*found);
    if (item->readOnly) {
        fail(Code::ReadOnly);
    }
    writableCollection(store, calendarIdOf(current.calendar), EntityType::Reminder);
    OpenFile file = open(store.catalog(), *item, reminder.revision);
    IcsEditor editor = editorFor(file.tree.get());
    icalcomponent* todo = editor.master(item->uid().toUtf8());
    if (todo == nullptr) {
        fail(Code::NotFound);
    }
    apply(editor, todo, &current);
    const QString identifier = store.catalog().identifier(*item);
    stage(file, true);
    finish(store, commitNow);
    if (auto saved = store.calendarItem(identifier); saved && std::holds_alternative<PlatformReminder>(*saved)) {
        return std::get<PlatformReminder>(*saved);
    }
    fail(Code::NotFound);
}

void VdirStoreWriter::removeReminder(VdirEventStore& store, const PlatformReminder& reminder, bool commitNow) {
    if (store.authorizationStatus(EntityType::Reminder) != AuthorizationStatus::FullAccess) {
        fail(Code::AccessDenied);
    }
    const std::optional<PlatformCalendarItem> found = store.calendarItem(reminder.calendarItemIdentifier);
    const VdirItem* item = store.catalog().item(reminder.calendarItemIdentifier);
    if (!found || !std::holds_alternative<PlatformReminder>(*found) || item == nullptr) {
        fail(Code::NotFound);
    }
    if (item->readOnly) {
        fail(Code::ReadOnly);
    }
    writableCollection(store, calendarIdOf(std::get<PlatformReminder>(*found).calendar), EntityType::Reminder);
    OpenFile file = open(store.catalog(), *item, reminder.revision);
    IcsEditor editor = editorFor(file.tree.get());
    const bool keepFile = editor.removeItem(item->uid().toUtf8());
    stage(file, keepFile);
    finish(store, commitNow);
}

}  // namespace platform::vdir
