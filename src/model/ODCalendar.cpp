#include "model/ODCalendar.h"

#include "model/ValueHash.h"

namespace model {

size_t qHash(const ODCalendar& calendar, size_t hashSeed) noexcept {
    return ValueHasher(hashSeed)
        .add(calendar.id)
        .add(calendar.title)
        .add(calendar.color)
        .add(calendar.sourceTitle)
        .add(calendar.allowsModifications)
        .add(calendar.isSubscribed)
        .result();
}

}  // namespace model
