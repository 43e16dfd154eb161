#pragma once

#include "model/Drafts.h"
#include "platform/eventstore/EventStoreError.h"

#include <QHashFunctions>

namespace model {

// What the calendar store's own checks throw; the platform's refusals arrive as
// platform::EventStoreError. Both are platform::LocalizedError.
class CalendarStoreError : public platform::LocalizedError {
public:
    enum class Case { notAuthorized, notFound, noWritableCalendar };

    explicit CalendarStoreError(Case errorCase) : m_case(errorCase) {}

    static CalendarStoreError notAuthorized() { return CalendarStoreError(Case::notAuthorized); }
    static CalendarStoreError notFound() { return CalendarStoreError(Case::notFound); }
    static CalendarStoreError noWritableCalendar() { return CalendarStoreError(Case::noWritableCalendar); }

    Case errorCase() const { return m_case; }
    QString errorDescription() const override;

    bool operator==(const CalendarStoreError& other) const { return m_case == other.m_case; }

private:
    Case m_case;
};

// A save found fields that the user changed changed elsewhere too since they were read, to other values; it wrote
// nothing. `current` is the event as it now is.
class EditConflictError : public platform::LocalizedError {
public:
    EditConflictError(DraftFields fields, EventDraft current) : m_fields(fields), m_current(std::move(current)) {}

    DraftFields fields() const { return m_fields; }
    const EventDraft& current() const { return m_current; }
    QString errorDescription() const override;

private:
    DraftFields m_fields;
    EventDraft m_current;
};

inline size_t qHash(const CalendarStoreError& error, size_t hashSeed = 0) noexcept {
    return ::qHash(static_cast<int>(error.errorCase()), hashSeed);
}

}  // namespace model
