#pragma once

#include "model/ODAttendee.h"

#include <QAbstractButton>
#include <QList>
#include <QWidget>

#include <vector>

namespace design {
class AvatarCircle;
class CappedHeightView;
class TextLine;
}  // namespace design

namespace editor {

class EventEditorModel;

// One person's answer: its symbol and words in the answer's colour.
class StatusMark : public QWidget {
    Q_OBJECT

public:
    explicit StatusMark(model::ParticipantStatus status, QWidget* parent = nullptr);

    model::ParticipantStatus status() const { return m_status; }
    QSize sizeHint() const override;

protected:
    void paintEvent(QPaintEvent* event) override;

private:
    model::ParticipantStatus m_status;
};

// One invited person: avatar, name (with " (you)"), the organizer's mark and the answer.
class AttendeeRow : public QWidget {
    Q_OBJECT

public:
    explicit AttendeeRow(const model::ODAttendee& attendee, QWidget* parent = nullptr);

    design::AvatarCircle* avatar() const { return m_avatar; }
    design::TextLine* name() const { return m_name; }
    // None for a person who is not the organizer.
    design::TextLine* organizerMark() const { return m_organizer; }
    StatusMark* statusMark() const { return m_status; }

private:
    design::AvatarCircle* m_avatar;
    design::TextLine* m_name;
    design::TextLine* m_organizer = nullptr;
    StatusMark* m_status;
};

// The people invited to an event, as the attendees row's pop-over lists them:
// how many and how they answered, one row each (nine rows high, scrolling from the
// tenth), and where to invite more. It offers no change.
class AttendeeListView : public QWidget {
    Q_OBJECT

public:
    static constexpr int kWidth = 300;
    static constexpr int kPadding = 14;
    static constexpr int kVisibleRows = 9;

    explicit AttendeeListView(const std::vector<model::ODAttendee>& attendees, QWidget* parent = nullptr);

    design::TextLine* countLine() const { return m_count; }
    design::TextLine* summaryLine() const { return m_summary; }
    QList<AttendeeRow*> rows() const { return m_rows; }
    design::CappedHeightView* list() const { return m_list; }

    QSize sizeHint() const override;

private:
    design::TextLine* m_count;
    design::TextLine* m_summary;
    design::CappedHeightView* m_list;
    QList<AttendeeRow*> m_rows;
};

// The form's row for the people invited: the first three avatars and how many
// said yes or no. It opens the list, also for a read-only event.
class AttendeesRow : public QAbstractButton {
    Q_OBJECT

public:
    static constexpr int kAvatars = 3;
    static constexpr qreal kAvatarSize = 22;

    explicit AttendeesRow(const std::vector<model::ODAttendee>& attendees, QWidget* parent = nullptr);

    design::TextLine* summaryLine() const { return m_summary; }
    // Drawn with the focused border while the list is open.
    void setShowsFocused(bool focused);
    bool showsFocused() const { return m_focused; }

protected:
    void paintEvent(QPaintEvent* event) override;
    void keyPressEvent(QKeyEvent* event) override;

private:
    design::TextLine* m_summary;
    bool m_focused = false;
};

}  // namespace editor
