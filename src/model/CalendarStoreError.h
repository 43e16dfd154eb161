#pragma once

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

inline size_t qHash(const CalendarStoreError& error, size_t hashSeed = 0) noexcept {
    return ::qHash(static_cast<int>(error.errorCase()), hashSeed);
}

}  // namespace model
