#include "platform/eventstore/vdir/VdirEventStore.h"

namespace platform::vdir {

PlatformEvent VdirEventStore::saveEvent(const PlatformEvent& event, Span span, bool commit) {
    finishBackgroundReads();
    return m_writer.saveEvent(*this, event, span, commit);
}

void VdirEventStore::removeEvent(const PlatformEvent& event, Span span, bool commit) {
    finishBackgroundReads();
    m_writer.removeEvent(*this, event, span, commit);
}

std::optional<StoredItem> VdirEventStore::storedItem(const QString& eventIdentifier) const {
    if (!hasAccess(EntityType::Event))
        return std::nullopt;
    ensureLoaded();
    return m_writer.storedItem(*this, eventIdentifier);
}

PlatformEvent VdirEventStore::restoreItem(const StoredItem& item, bool commit) {
    finishBackgroundReads();
    return m_writer.restoreItem(*this, item, commit);
}

PlatformReminder VdirEventStore::saveReminder(const PlatformReminder& reminder, bool commit) {
    finishBackgroundReads();
    return m_writer.saveReminder(*this, reminder, commit);
}

void VdirEventStore::removeReminder(const PlatformReminder& reminder, bool commit) {
    finishBackgroundReads();
    m_writer.removeReminder(*this, reminder, commit);
}

void VdirEventStore::commit() {
    finishBackgroundReads();
    m_writer.commit(*this);
}

void VdirEventStore::reset() {
    finishBackgroundReads();
    m_writer.reset(*this);
}

}  // namespace platform::vdir
