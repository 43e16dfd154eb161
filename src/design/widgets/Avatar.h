#pragma once

#include "model/ODAttendee.h"

#include <QList>
#include <QWidget>

#include <vector>

class QHBoxLayout;

namespace design {

// A person as a coloured circle with their initials; the colour comes from their
// name (AvatarPalette), or is the neutral grey when dimmed.
class AvatarCircle : public QWidget {
    Q_OBJECT

public:
    AvatarCircle(const model::ODAttendee& attendee, qreal size, bool dimmed = false, QWidget* parent = nullptr);

    const model::ODAttendee& attendee() const { return m_attendee; }
    bool isDimmed() const { return m_dimmed; }

    QSize sizeHint() const override;

    // The first two characters of the initials, or "?" when there are none.
    static QString label(const model::ODAttendee& attendee);
    static QColor fill(const model::ODAttendee& attendee, bool dimmed);
    static void paint(QPainter& painter, const QRectF& square, const model::ODAttendee& attendee, bool dimmed);

protected:
    void paintEvent(QPaintEvent* event) override;

private:
    model::ODAttendee m_attendee;
    qreal m_size;
    bool m_dimmed;
};

// The first `max` people of a list as avatars side by side, 4 apart; those who
// declined are dimmed. The rest are left out, with no counter.
class AvatarStack : public QWidget {
    Q_OBJECT

public:
    static constexpr int kSpacing = 4;

    AvatarStack(const std::vector<model::ODAttendee>& attendees, int max, qreal size, QWidget* parent = nullptr);

    void setAttendees(const std::vector<model::ODAttendee>& attendees);
    QList<AvatarCircle*> avatars() const { return m_avatars; }

private:
    QHBoxLayout* m_row;
    int m_max;
    qreal m_size;
    QList<AvatarCircle*> m_avatars;
};

}  // namespace design
