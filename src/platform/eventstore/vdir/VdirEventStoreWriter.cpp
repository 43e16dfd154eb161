// Placeholder definitions until the writing side lands; each refuses the change without touching a file.
#include "platform/eventstore/vdir/VdirEventStore.h"

namespace platform::vdir {

namespace {

[[noreturn]] void refuse() {
    throw EventStoreError(EventStoreError::Code::ReadOnly, QStringLiteral("Changing calendars is not available yet."));
}

}  // namespace

PlatformEvent VdirEventStore::saveEvent(const PlatformEvent&, Span, bool) { refuse(); }

void VdirEventStore::removeEvent(const PlatformEvent&, Span, bool) { refuse(); }

PlatformReminder VdirEventStore::saveReminder(const PlatformReminder&, bool) { refuse(); }

void VdirEventStore::removeReminder(const PlatformReminder&, bool) { refuse(); }

void VdirEventStore::commit() {}

void VdirEventStore::reset() {
    m_catalog.clearStaged();
    m_catalog.clear();
    reloadNow();
}

}  // namespace platform::vdir
