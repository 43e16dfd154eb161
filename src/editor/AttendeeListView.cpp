#include "editor/AttendeeListView.h"

#include "design/values/Theme.h"
#include "design/widgets/Avatar.h"
#include "design/widgets/CappedHeightView.h"
#include "design/widgets/FieldFrame.h"
#include "design/widgets/FocusRing.h"
#include "design/widgets/KitWidget.h"
#include "design/widgets/ODFont.h"
#include "design/widgets/Painting.h"
#include "design/widgets/SymbolView.h"
#include "design/widgets/Symbols.h"
#include "design/widgets/TextLine.h"
#include "editor/AttendeeSummary.h"
#include "state/PlatformWords.h"

#include <QFontMetricsF>
#include <QHBoxLayout>
#include <QPainter>
#include <QVBoxLayout>

#include <cmath>

using namespace Qt::Literals::StringLiterals;

namespace editor {

using design::FontWeight;
using design::ODFont;
using design::Theme;

namespace {

constexpr qreal kMarkSize = 11;
constexpr int kMarkSpacing = 4;
constexpr int kAvatarSize = 24;
constexpr int kScrollBarRoom = 10;

QFont markFont() {
    return ODFont::body(kMarkSize, FontWeight::semibold);
}

}  // namespace

StatusMark::StatusMark(model::ParticipantStatus status, QWidget* parent) : QWidget(parent), m_status(status) {
    setSizePolicy(QSizePolicy::Fixed, QSizePolicy::Fixed);
    design::setAccessibleRole(this, QAccessible::StaticText);
    setAccessibleName(attendees::statusStyle(status).label);
    design::followAppearance(this);
}

QSize StatusMark::sizeHint() const {
    const qreal symbol = design::Symbols::boxSide(kMarkSize);
    const QFontMetricsF metrics(markFont());
    const qreal width = symbol + kMarkSpacing + metrics.horizontalAdvance(attendees::statusStyle(m_status).label);
    return QSize(static_cast<int>(std::ceil(width)), static_cast<int>(std::ceil(std::max(symbol, metrics.height()))));
}

void StatusMark::paintEvent(QPaintEvent*) {
    // Styled on every paint: "No reply" is in a colour of the appearance.
    const attendees::StatusStyle style = attendees::statusStyle(m_status);
    const QColor color = design::toQColor(style.color);
    QPainter painter(this);
    painter.setRenderHint(QPainter::Antialiasing);
    const qreal side = design::Symbols::boxSide(kMarkSize);
    design::Symbols::paint(painter, QRectF(0, (height() - side) / 2, side, side), style.symbol, color, kMarkSize,
                           FontWeight::semibold);
    painter.setFont(markFont());
    painter.setPen(color);
    painter.drawText(QRectF(side + kMarkSpacing, 0, width() - side - kMarkSpacing, height()),
                     Qt::AlignLeft | Qt::AlignVCenter | Qt::TextSingleLine, style.label);
}

AttendeeRow::AttendeeRow(const model::ODAttendee& attendee, QWidget* parent) : QWidget(parent) {
    const bool dimmed = attendees::isDimmed(attendee);
    auto* layout = new QHBoxLayout(this);
    layout->setContentsMargins(0, 5, 0, 5);
    layout->setSpacing(10);
    m_avatar = new design::AvatarCircle(attendee, kAvatarSize, dimmed, this);
    layout->addWidget(m_avatar);

    const QString name = attendee.isCurrentUser ? attendee.name + u" (you)"_s : attendee.name;
    m_name = new design::TextLine(name, ODFont::body(13, FontWeight::medium), dimmed ? Theme::text2() : Theme::text(),
                                  this);
    m_name->setToolTip(design::plainToolTip(attendee.email.value_or(attendee.name)));
    m_name->setSizePolicy(QSizePolicy::Ignored, QSizePolicy::Preferred);
    layout->addWidget(m_name, 1);
    layout->addSpacing(6);

    if (attendee.isOrganizer) {
        m_organizer =
            new design::TextLine(u"Organizer"_s, ODFont::body(10, FontWeight::semibold), Theme::text3(), this);
        m_organizer->setSizePolicy(QSizePolicy::Fixed, QSizePolicy::Preferred);
        layout->addWidget(m_organizer);
    }
    m_status = new StatusMark(attendees::shownStatus(attendee), this);
    layout->addWidget(m_status);
}

AttendeeListView::AttendeeListView(const std::vector<model::ODAttendee>& attendees, QWidget* parent)
    : QWidget(parent), m_list(new design::CappedHeightView(this)) {
    setObjectName(u"AttendeeListView"_s);
    setFixedWidth(kWidth);
    design::followAppearance(this);
    auto* layout = new QVBoxLayout(this);
    layout->setContentsMargins(kPadding, kPadding, kPadding, kPadding);
    layout->setSpacing(0);

    auto* header = new QHBoxLayout;
    header->setContentsMargins(0, 0, 0, 8);
    header->setSpacing(8);
    m_count = new design::TextLine(QString::number(attendees.size()) + u" INVITED"_s,
                                   ODFont::body(11, FontWeight::bold), Theme::text(), this);
    m_count->setTracking(0.8);
    m_summary = new design::TextLine(attendees::summary(attendees), ODFont::body(11, FontWeight::medium),
                                     Theme::text3(), this);
    header->addWidget(m_count);
    header->addStretch(1);
    header->addWidget(m_summary);
    layout->addLayout(header);

    auto* rows = new QWidget;
    auto* rowStack = new QVBoxLayout(rows);
    // Room for the scroll bar, which floats over the rows' right edge.
    rowStack->setContentsMargins(0, 0, attendees.size() > kVisibleRows ? kScrollBarRoom : 0, 0);
    rowStack->setSpacing(0);
    for (const model::ODAttendee& attendee : attendees) {
        auto* row = new AttendeeRow(attendee, rows);
        rowStack->addWidget(row);
        m_rows.append(row);
    }
    m_list->setMiddle(rows);
    // As high as the first nine rows; the others scroll into view.
    int visible = 0;
    for (int index = 0; index < std::min<int>(kVisibleRows, static_cast<int>(m_rows.size())); ++index)
        visible += m_rows[index]->sizeHint().height();
    m_list->setMaxHeight(visible);
    layout->addWidget(m_list);

    auto* footer = new QHBoxLayout;
    footer->setContentsMargins(0, 8, 0, 0);
    footer->setSpacing(6);
    footer->addStretch(1);
    footer->addWidget(new design::SymbolView(u"info.circle"_s, 11, FontWeight::regular, Theme::text3(), this));
    footer->addWidget(new design::TextLine(u"Invite people from "_s + app::words::yourCalendarApp(),
                                           ODFont::body(11, FontWeight::regular), Theme::text3(), this));
    footer->addStretch(1);
    layout->addLayout(footer);
}

QSize AttendeeListView::sizeHint() const {
    return QSize(kWidth, QWidget::sizeHint().height());
}

AttendeesRow::AttendeesRow(const std::vector<model::ODAttendee>& attendees, QWidget* parent)
    : QAbstractButton(parent) {
    setFocusPolicy(Qt::TabFocus);
    setSizePolicy(QSizePolicy::Expanding, QSizePolicy::Fixed);
    design::setAccessibleRole(this, QAccessible::ButtonDropDown);
    setAccessibleName(u"Attendees"_s);
    design::followAppearance(this);
    design::odFocusRing(this, design::Shape::rounded(design::FieldBox::kCornerRadius));

    auto* layout = new QHBoxLayout(this);
    QMargins padding = design::FieldBox::kPadding;
    // The avatars reach a little further left than a field's text would.
    padding.setLeft(padding.left() - 4);
    layout->setContentsMargins(padding);
    layout->setSpacing(8);
    auto* avatars = new design::AvatarStack(attendees, kAvatars, kAvatarSize, this);
    m_summary = new design::TextLine(attendees::rowSummary(attendees), ODFont::body(12, FontWeight::medium),
                                     Theme::text2(), this);
    m_summary->setSizePolicy(QSizePolicy::Ignored, QSizePolicy::Preferred);
    auto* chevron = new design::SymbolView(u"chevron.right"_s, 10, FontWeight::bold, Theme::text3(), this);
    layout->addWidget(avatars);
    layout->addWidget(m_summary, 1);
    layout->addSpacing(4);
    layout->addWidget(chevron);
    for (QWidget* part : {static_cast<QWidget*>(avatars), static_cast<QWidget*>(m_summary), static_cast<QWidget*>(chevron)})
        part->setAttribute(Qt::WA_TransparentForMouseEvents);
    design::setAccessibleValue(this, m_summary->text());
}

void AttendeesRow::setShowsFocused(bool focused) {
    if (m_focused == focused)
        return;
    m_focused = focused;
    update();
}

void AttendeesRow::paintEvent(QPaintEvent*) {
    QPainter painter(this);
    painter.setRenderHint(QPainter::Antialiasing);
    design::FieldBox::paint(painter, QRectF(rect()), design::toQColor(Theme::fillSoft()), m_focused);
}

void AttendeesRow::keyPressEvent(QKeyEvent* event) {
    if (design::clickOnReturn(this, event))
        return;
    QAbstractButton::keyPressEvent(event);
}

}  // namespace editor
