#include "design/widgets/Avatar.h"

#include "design/values/AvatarPalette.h"
#include "design/widgets/KitWidget.h"
#include "design/widgets/ODFont.h"
#include "design/widgets/Painting.h"

#include <QHBoxLayout>
#include <QPainter>
#include <QTextBoundaryFinder>

#include <cmath>

namespace design {

namespace {

constexpr qreal kTextPerSize = 0.4;

// The first `count` user-perceived characters.
QString firstCharacters(const QString& text, int count) {
    QTextBoundaryFinder finder(QTextBoundaryFinder::Grapheme, text);
    qsizetype end = 0;
    for (int i = 0; i < count; ++i) {
        const qsizetype next = finder.toNextBoundary();
        if (next < 0)
            break;
        end = next;
    }
    return text.left(end);
}

}  // namespace

AvatarCircle::AvatarCircle(const model::ODAttendee& attendee, qreal size, bool dimmed, QWidget* parent)
    : QWidget(parent), m_attendee(attendee), m_size(size), m_dimmed(dimmed) {
    odSquare(this, static_cast<int>(std::ceil(size)));
    setAccessibleRole(this, QAccessible::Graphic);
    setAccessibleName(attendee.name);
    followAppearance(this);
}

QSize AvatarCircle::sizeHint() const {
    const int side = static_cast<int>(std::ceil(m_size));
    return QSize(side, side);
}

QString AvatarCircle::label(const model::ODAttendee& attendee) {
    // Upper-casing can lengthen the initials ("ß" becomes "SS"): cut after it.
    const QString initials = firstCharacters(attendee.initials(), 2);
    return initials.isEmpty() ? QStringLiteral("?") : initials;
}

QColor AvatarCircle::fill(const model::ODAttendee& attendee, bool dimmed) {
    return toQColor(dimmed ? Theme::subtle() : AvatarPalette::color(attendee.name));
}

void AvatarCircle::paint(QPainter& painter, const QRectF& square, const model::ODAttendee& attendee, bool dimmed) {
    Shape::circle().fill(painter, square, fill(attendee, dimmed));
    painter.save();
    painter.setFont(ODFont::body(kTextPerSize * std::min(square.width(), square.height()), FontWeight::bold));
    painter.setPen(toQColor(Theme::onAccent()));
    painter.drawText(square, Qt::AlignCenter | Qt::TextSingleLine, label(attendee));
    painter.restore();
}

void AvatarCircle::paintEvent(QPaintEvent*) {
    QPainter painter(this);
    painter.setRenderHint(QPainter::Antialiasing);
    paint(painter, odSquare(QRectF(rect()), m_size), m_attendee, m_dimmed);
}

AvatarStack::AvatarStack(const std::vector<model::ODAttendee>& attendees, int max, qreal size, QWidget* parent)
    : QWidget(parent), m_row(new QHBoxLayout(this)), m_max(max), m_size(size) {
    m_row->setContentsMargins(0, 0, 0, 0);
    m_row->setSpacing(kSpacing);
    m_row->setSizeConstraint(QLayout::SetFixedSize);
    setAccessibleRole(this, QAccessible::Grouping);
    setAttendees(attendees);
}

void AvatarStack::setAttendees(const std::vector<model::ODAttendee>& attendees) {
    qDeleteAll(m_avatars);
    m_avatars.clear();
    const size_t shown = std::min(attendees.size(), static_cast<size_t>(std::max(0, m_max)));
    for (size_t i = 0; i < shown; ++i) {
        const model::ODAttendee& attendee = attendees[i];
        auto* avatar = new AvatarCircle(attendee, m_size, attendee.status == model::ParticipantStatus::declined, this);
        m_row->addWidget(avatar, 0, Qt::AlignVCenter);
        m_avatars << avatar;
    }
}

}  // namespace design
