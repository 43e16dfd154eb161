#include "alerts/MeetingCardView.h"

#include "core/Clock.h"
#include "design/widgets/Avatar.h"
#include "design/widgets/Keycap.h"
#include "design/widgets/KitWidget.h"
#include "design/widgets/ODButton.h"
#include "design/widgets/ODFont.h"
#include "design/widgets/ODIconButton.h"
#include "design/widgets/Painting.h"
#include "design/widgets/PlainButton.h"
#include "design/widgets/Symbols.h"
#include "design/widgets/TextBlock.h"
#include "design/widgets/TextLine.h"
#include "platform/workspace/Workspace.h"
#include "state/AppSettings.h"

#include <QFontMetricsF>
#include <QHBoxLayout>
#include <QPainter>
#include <QVBoxLayout>

#include <cmath>

namespace alerts {

using namespace Qt::Literals::StringLiterals;
using design::FontWeight;
using design::Theme;

namespace {

constexpr int kPadding = 14;
constexpr int kRowSpacing = 12;
constexpr qreal kCornerRadius = 16;

constexpr int kHeaderSpacing = 8;
constexpr qreal kHeaderTracking = 0.8;

constexpr int kCountdownSpacing = 14;
constexpr int kCountdownSide = 84;
constexpr qreal kCountdownRadius = 18;
constexpr qreal kClockSize = 30;
constexpr qreal kClockLeastScale = 0.6;
// Kept free inside the tile either side of the clock.
constexpr qreal kClockInset = 4;
constexpr int kDetailsSpacing = 4;
constexpr int kTitleLines = 2;
constexpr int kPeopleSpacing = 6;
constexpr int kPeopleTopPadding = 2;
constexpr int kMostAvatars = 3;
constexpr qreal kAvatarSize = 20;

constexpr qreal kJoinSpacing = 8;
constexpr qreal kJoinDiscSide = 22;
constexpr qreal kJoinSymbolSize = 11;
constexpr qreal kJoinTextSize = 16;

constexpr int kFooterSpacing = 8;
constexpr qreal kCopyLinkDiameter = 30;
constexpr qreal kDismissDiameter = 24;

QFont clockFont(qreal size) {
    return design::ODFont::display(size);
}

}  // namespace

// The clock on its flame tile, shrunk (down to 0.6 of its size) until it fits.
class CountdownTile final : public QWidget {
public:
    explicit CountdownTile(QWidget* parent) : QWidget(parent) {
        design::odSquare(this, kCountdownSide);
        design::setAccessibleRole(this, QAccessible::StaticText);
        design::followAppearance(this);
    }

    void set(const QString& clock, const QString& accessibleName) {
        if (clock == m_clock && accessibleName == this->accessibleName())
            return;
        m_clock = clock;
        setAccessibleName(accessibleName);
        update();
    }
    QString clock() const { return m_clock; }

    // The size the clock is drawn at in a tile of this width.
    static qreal fittedSize(const QString& clock, qreal tileWidth) {
        const qreal room = tileWidth - 2 * kClockInset;
        const qreal natural = QFontMetricsF(clockFont(kClockSize)).horizontalAdvance(clock);
        if (natural <= room)
            return kClockSize;
        return std::max(kClockSize * kClockLeastScale, std::floor(kClockSize * room / natural));
    }

protected:
    void paintEvent(QPaintEvent*) override {
        QPainter painter(this);
        painter.setRenderHint(QPainter::Antialiasing);
        design::Shape::rounded(kCountdownRadius).fill(painter, rect(), design::toQColor(Theme::flame()));
        const QFont font = clockFont(fittedSize(m_clock, width()));
        const QRectF room = QRectF(rect()).adjusted(kClockInset, 0, -kClockInset, 0);
        painter.setFont(font);
        painter.setPen(design::toQColor(Theme::onAccent()));
        painter.drawText(room, Qt::AlignCenter | Qt::TextSingleLine,
                         QFontMetricsF(font).elidedText(m_clock, Qt::ElideRight, room.width()));
    }

private:
    QString m_clock;
};

// "Join" on the accent, with the provider's glyph on a light disc before it
// and the join shortcut's keycap after it.
class JoinMeetingButton final : public design::ODStyledButton {
public:
    explicit JoinMeetingButton(QWidget* parent)
        : ODStyledButton(design::ODButtonStyle(design::ODButtonKind::primary, design::ODButtonSize::large), parent) {
        setFullWidth(true);
    }

    void set(const QString& symbol, const QString& name, const std::optional<QString>& shortcut,
             const QString& hint) {
        setToolTip(design::plainToolTip(name));
        setAccessibleName(name);
        setAccessibleDescription(hint);
        if (symbol == m_symbol && shortcut == m_shortcut)
            return;
        m_symbol = symbol;
        m_shortcut = shortcut;
        labelChanged();
    }
    std::optional<QString> shortcut() const { return m_shortcut; }

protected:
    QSizeF labelSize() const override {
        const QFontMetricsF text(textFont());
        qreal width = kJoinDiscSide + kJoinSpacing + text.horizontalAdvance(joinText());
        qreal height = std::max(kJoinDiscSide, text.height());
        if (m_shortcut) {
            const QSizeF keycap = design::AccentKeycap::sizeFor(*m_shortcut);
            width += kJoinSpacing + keycap.width();
            height = std::max(height, keycap.height());
        }
        return QSizeF(width, height);
    }

    void paintLabel(QPainter& painter, const QRectF& labelRect, const QColor& color) const override {
        const QSizeF natural = labelSize();
        qreal x = labelRect.center().x() - natural.width() / 2;
        const qreal middle = labelRect.center().y();
        const QRectF disc(x, middle - kJoinDiscSide / 2, kJoinDiscSide, kJoinDiscSide);
        design::Shape::circle().fill(painter, disc, design::toQColor(Theme::onAccent()));
        design::Symbols::paint(painter, disc, m_symbol, design::toQColor(Theme::flame()), kJoinSymbolSize,
                               FontWeight::bold);
        x += kJoinDiscSide + kJoinSpacing;
        const QFontMetricsF metrics(textFont());
        painter.save();
        painter.setFont(textFont());
        painter.setPen(color);
        painter.drawText(QRectF(x, labelRect.top(), metrics.horizontalAdvance(joinText()) + 1, labelRect.height()),
                         Qt::AlignLeft | Qt::AlignVCenter | Qt::TextSingleLine, joinText());
        painter.restore();
        if (!m_shortcut)
            return;
        x += metrics.horizontalAdvance(joinText()) + kJoinSpacing;
        const QSizeF keycap = design::AccentKeycap::sizeFor(*m_shortcut);
        design::AccentKeycap::paint(painter, QRectF(QPointF(x, middle - keycap.height() / 2), keycap), *m_shortcut);
    }

private:
    static QString joinText() { return u"Join"_s; }
    static QFont textFont() { return design::ODFont::body(kJoinTextSize, FontWeight::bold); }

    QString m_symbol;
    std::optional<QString> m_shortcut;
};

MeetingCardView::MeetingCardView(app::AppSettings& settings, platform::Workspace& workspace, QWidget* parent)
    : QWidget(parent), m_settings(settings), m_workspace(workspace) {
    design::followAppearance(this);
    design::setAccessibleRole(this, QAccessible::AlertMessage);
    setFixedWidth(kWidth);
    // Nested layouts rather than widgets round the title: a longer title
    // changes the card's height at once, hidden or shown.
    auto* column = new QVBoxLayout(this);
    column->setContentsMargins(kPadding, kPadding, kPadding, kPadding);
    column->setSpacing(kRowSpacing);
    column->addLayout(makeHeader());
    column->addLayout(makeCountdownRow());
    m_join = new JoinMeetingButton(this);
    connect(m_join, &QAbstractButton::clicked, this, [this] {
        if (m_actions.join)
            m_actions.join();
    });
    column->addWidget(m_join);
    column->addLayout(makeFooter());

    connect(&m_tick, &core::ClockTimer::timeout, this, &MeetingCardView::refresh);
    // The keycap and the hint follow the shortcut at once, not at the next tick.
    connect(&m_settings, &app::AppSettings::hotKeyJoinMeetingChanged, this, &MeetingCardView::refresh);
}

MeetingCardView::~MeetingCardView() = default;

QLayout* MeetingCardView::makeHeader() {
    auto* row = new QHBoxLayout();
    row->setSpacing(kHeaderSpacing);
    // The kit tile's own look: the flame symbol on its faint tile.
    row->addWidget(new design::SymbolTile({.symbol = u"calendar"_s}, this));
    m_header = new design::TextLine(QString(), design::ODFont::body(11, FontWeight::bold), Theme::flame(), this);
    m_header->setTracking(kHeaderTracking);
    row->addWidget(m_header);
    row->addStretch(1);
    m_dismiss = new design::ODIconButton(u"xmark"_s, kDismissDiameter, u"Dismiss"_s, this);
    m_dismiss->setToolTip(u"Dismiss"_s);
    connect(m_dismiss, &QAbstractButton::clicked, this, [this] {
        if (m_actions.close)
            m_actions.close();
    });
    row->addWidget(m_dismiss);
    return row;
}

QLayout* MeetingCardView::makeCountdownRow() {
    auto* row = new QHBoxLayout();
    row->setSpacing(kCountdownSpacing);
    m_countdown = new CountdownTile(this);
    row->addWidget(m_countdown, 0, Qt::AlignVCenter);

    // Centred beside the tile when shorter than it.
    auto* details = new QVBoxLayout();
    details->setSpacing(kDetailsSpacing);
    details->addStretch(1);
    m_title = new design::TextBlock(QString(), design::ODFont::display(21), Theme::text(), this);
    m_title->setMaximumLines(kTitleLines);
    details->addWidget(m_title);
    m_timeLine = new design::TextLine(QString(), design::ODFont::body(12, FontWeight::medium), Theme::text2(), this);
    details->addWidget(m_timeLine);
    // A widget of its own, not a layout: an empty layout would leave the
    // column no width at all, where a hidden widget leaves the column alone.
    m_people = new QWidget(this);
    auto* people = new QHBoxLayout(m_people);
    people->setContentsMargins(0, kPeopleTopPadding, 0, 0);
    people->setSpacing(kPeopleSpacing);
    m_avatars = new design::AvatarStack({}, kMostAvatars, kAvatarSize, m_people);
    people->addWidget(m_avatars, 0, Qt::AlignVCenter);
    m_invited =
        new design::TextLine(QString(), design::ODFont::body(11, FontWeight::medium), Theme::text2(), m_people);
    people->addWidget(m_invited, 1, Qt::AlignVCenter);
    details->addWidget(m_people);
    details->addStretch(1);
    row->addLayout(details, 1);
    return row;
}

QLayout* MeetingCardView::makeFooter() {
    m_footer = new QHBoxLayout();
    m_footer->setSpacing(kFooterSpacing);
    m_remind = new design::ODButton(u"Remind at start"_s, u"bell"_s, design::ODButtonKind::ghost,
                                    design::ODButtonSize::medium, true, this);
    m_snooze = new design::ODButton(u"5 min"_s, u"alarm"_s, design::ODButtonKind::ghost, design::ODButtonSize::medium,
                                    true, this);
    m_copyLink = new design::ODIconButton(u"link"_s, kCopyLinkDiameter, u"Copy meeting link"_s, this);
    m_copyLink->setToolTip(u"Copy meeting link"_s);
    connect(m_remind, &QAbstractButton::clicked, this, [this] {
        if (m_actions.remindAtStart)
            m_actions.remindAtStart();
    });
    connect(m_snooze, &QAbstractButton::clicked, this, [this] {
        if (m_actions.snooze)
            m_actions.snooze();
    });
    connect(m_copyLink, &QAbstractButton::clicked, this, [this] {
        if (m_event.meeting)
            m_workspace.copyToClipboard(m_event.meeting->url.toString(QUrl::FullyEncoded));
    });
    return m_footer;
}

void MeetingCardView::setEvent(const model::ODEvent& event, MeetingCardActions actions) {
    m_event = event;
    m_actions = std::move(actions);
    m_title->setText(event.title);
    m_title->setToolTip(design::plainToolTip(event.title));
    const std::vector<model::ODAttendee> people = event.allPeople();
    m_avatars->setAttendees(people);
    refresh();
}

void MeetingCardView::refresh() {
    const core::Date now = core::Date::now();
    m_face = MeetingCardFace::make(m_event, now, m_settings.hotKeyJoinMeeting());
    // A card nobody sees arms nothing; it catches up when it is shown again.
    if (isVisible())
        m_tick.startAt(MeetingCardFace::nextChange(m_event.start, now));
    else
        m_tick.stop();

    m_header->setText(m_face.header);
    m_countdown->set(m_face.clockText, m_face.clockAccessibleName);
    m_timeLine->setText(m_face.timeText);
    m_invited->setText(m_face.invited);
    m_people->setVisible(!m_face.invited.isEmpty());
    m_join->set(m_face.joinGlyph, m_face.joinName, m_face.joinShortcut, m_face.joinHint);
    m_join->setVisible(m_face.offersJoin);
    m_copyLink->setVisible(m_face.offersCopyLink);

    // Before the start "5 min" shares the row with "Remind at start", the room
    // left over shared evenly; after it, it keeps its own width in the middle
    // of the room beside the link button.
    if (m_remind->isHidden() != !m_face.offersRemindAtStart || m_footer->count() == 0) {
        while (m_footer->count() > 0)
            delete m_footer->takeAt(0);
        m_remind->setVisible(m_face.offersRemindAtStart);
        m_snooze->setFullWidth(m_face.offersRemindAtStart);
        if (m_face.offersRemindAtStart) {
            m_footer->addWidget(m_remind);
            m_footer->addWidget(m_snooze);
        } else {
            m_footer->addStretch(1);
            m_footer->addWidget(m_snooze);
            m_footer->addStretch(1);
        }
        m_footer->addWidget(m_copyLink);
    }
    layout()->activate();
}

void MeetingCardView::showEvent(QShowEvent* event) {
    QWidget::showEvent(event);
    refresh();
}

void MeetingCardView::hideEvent(QHideEvent* event) {
    QWidget::hideEvent(event);
    m_tick.stop();
}

QAbstractButton* MeetingCardView::joinButton() const {
    return m_join;
}

QAbstractButton* MeetingCardView::remindAtStartButton() const {
    return m_remind;
}

QAbstractButton* MeetingCardView::snoozeButton() const {
    return m_snooze;
}

QAbstractButton* MeetingCardView::copyLinkButton() const {
    return m_copyLink;
}

QAbstractButton* MeetingCardView::dismissButton() const {
    return m_dismiss;
}

QSize MeetingCardView::sizeHint() const {
    // The title's lines, and so the card's height, follow from the fixed width.
    return QSize(kWidth, heightForWidth(kWidth));
}

void MeetingCardView::paintEvent(QPaintEvent*) {
    QPainter painter(this);
    painter.setRenderHint(QPainter::Antialiasing);
    const design::Shape card = design::Shape::rounded(kCornerRadius);
    card.fill(painter, rect(), design::toQColor(Theme::surface()));
    card.strokeBorder(painter, rect(), design::toQColor(Theme::line()), 1);
}

}  // namespace alerts
