#pragma once

#include "platform/eventstore/PlatformTypes.h"
#include "platform/eventstore/vdir/VdirCatalog.h"

namespace platform::vdir {

// What every event made of an item carries alike: its file's revision and its series' rules.
struct PlatformItemValues {
    QString revision;
    QList<PlatformRecurrenceRule> recurrenceRules;
};

// Makes the values of items read one after another, the items of a file together. What one item shares with the
// one before is made once, and their events share it: the items of a file share its revision, and a file of many
// one-event series often gives each the same rule.
class PlatformItemValuesMaker {
public:
    explicit PlatformItemValuesMaker(core::TimeZone floatingZone);

    PlatformItemValues valuesOf(const VdirItem& item);

private:
    const QList<PlatformRecurrenceRule>& rulesOf(const IcsComponent& master);

    core::TimeZone m_floating;
    std::optional<VdirFileStamp> m_revisionStamp;
    QString m_revision;
    // The rules last mapped, and the start they were mapped for.
    std::vector<QByteArray> m_ruleTexts;
    std::optional<IcsTime> m_ruleStart;
    QList<PlatformRecurrenceRule> m_rules;
};

// The platform's view of one occurrence of an item.
PlatformEvent makePlatformEvent(const VdirItem& item, const VdirCollection& collection, const IcsOccurrence& occurrence,
                                const core::TimeZone& floatingZone);
PlatformEvent makePlatformEvent(const VdirItem& item, const VdirCollection& collection, const IcsOccurrence& occurrence,
                                const core::TimeZone& floatingZone, const PlatformItemValues& values);
// Moves `event` to another occurrence of the same component.
void placeAtOccurrence(PlatformEvent& event, const IcsOccurrence& occurrence);

// The platform's view of a to-do; due dates with a zone are given as wall time in `floatingZone`.
PlatformReminder makePlatformReminder(const VdirItem& item, const VdirCollection& collection,
                                      const core::TimeZone& floatingZone);

// Whether a to-do is still open: not completed and not cancelled.
bool isIncomplete(const IcsComponent& todo);

}  // namespace platform::vdir
