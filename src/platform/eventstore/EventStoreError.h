#pragma once

#include <QByteArray>
#include <QString>

#include <exception>
#include <utility>

namespace platform {

// An error whose text is meant for the user. Every error a store operation
// throws derives from it, so a screen can catch this one type and show the text.
class LocalizedError : public std::exception {
public:
    virtual QString errorDescription() const = 0;
    const char* what() const noexcept override;

private:
    mutable QByteArray m_what;
};

// What the calendar database reports when it refuses a read or a change.
class EventStoreError : public LocalizedError {
public:
    enum class Code {
        AccessDenied,  // no permission for this kind of item
        NotFound,      // the item (or its calendar) is gone
        ReadOnly,      // the calendar or the item cannot be changed
        Conflict,      // the item changed underneath since it was read
        InvalidItem,   // the item cannot be saved as it is (no calendar, no start, ...)
        WriteFailed,   // the storage refused the write (disk full, permissions, ...)
        Other,
    };

    EventStoreError(Code code, QString message) : m_code(code), m_message(std::move(message)) {}

    Code code() const { return m_code; }
    QString errorDescription() const override { return m_message; }

    // The standard text of each code, for stores with nothing more precise to say.
    static QString defaultMessage(Code code);
    static EventStoreError withDefaultMessage(Code code) { return EventStoreError(code, defaultMessage(code)); }
    // An event into a reminder list, or a reminder into an event calendar.
    static EventStoreError wrongKindOfCalendar();

private:
    Code m_code;
    QString m_message;
};

}  // namespace platform
