#include "popover/RemindersSectionView.h"

#include "app/PlatformWords.h"
#include "core/Clock.h"
#include "design/FocusRing.h"
#include "design/Hairline.h"
#include "design/KitWidget.h"
#include "design/ODButton.h"
#include "design/ODFont.h"
#include "design/Painting.h"
#include "design/SectionHeader.h"
#include "design/SymbolTable.h"
#include "design/Symbols.h"
#include "design/TextBlock.h"
#include "design/TextLine.h"
#include "design/Theme.h"
#include "design/Tilt.h"
#include "platform/workspace/Workspace.h"
#include "popover/DueReminders.h"
#include "popover/PopoverActions.h"
#include "popover/ReminderCompletions.h"
#include "store/CalendarStore.h"

#include <QFocusEvent>
#include <QFontMetricsF>
#include <QHBoxLayout>
#include <QPainter>
#include <QVBoxLayout>
#include <QVariantAnimation>

#include <cmath>

namespace popover {

using namespace Qt::Literals::StringLiterals;
using design::FontWeight;
using design::ODFont;
using design::Theme;
using design::toQColor;

namespace {

constexpr int kSidePadding = 16;
constexpr int kTopPadding = 14;
constexpr int kBottomPadding = 10;
constexpr int kHeaderGap = 6;
constexpr int kRowPadding = 5;
constexpr qreal kTickedOpacity = 0.55;
constexpr int kTickMs = 200;
// The show-more text starts under the reminder titles, which begin past the
// room the rows keep for their checkbox's focus ring.
constexpr qreal kMoreIndent = ReminderRow::kRingRoom + ReminderRow::kBox + ReminderRow::kGap;

bool reduceMotion() {
    return Theme::appearance().reduceMotion;
}

QColor mix(const QColor& from, const QColor& to, qreal t) {
    return QColor::fromRgbF(static_cast<float>(from.redF() + (to.redF() - from.redF()) * t),
                            static_cast<float>(from.greenF() + (to.greenF() - from.greenF()) * t),
                            static_cast<float>(from.blueF() + (to.blueF() - from.blueF()) * t),
                            static_cast<float>(from.alphaF() + (to.alphaF() - from.alphaF()) * t));
}

// "+2 more" with a chevron down, or "Show less" with one up.
class ShowMoreButton final : public QAbstractButton {
public:
    explicit ShowMoreButton(QWidget* parent) : QAbstractButton(parent) {
        setFocusPolicy(Qt::TabFocus);
        setCursor(Qt::PointingHandCursor);
        design::followAppearance(this);
        design::odFocusRing(this, design::Shape::rounded(6));
    }

    void setState(int count, bool expanded) {
        setText(DueReminders::moreButtonText(count, expanded));
        m_expanded = expanded;
        setAccessibleName(text());
        setToolTip(text());
        updateGeometry();
        update();
    }

    QSize sizeHint() const override {
        const QFontMetricsF metrics(labelFont());
        const qreal width = kMoreIndent + metrics.horizontalAdvance(text()) + kSymbolGap + symbolSide();
        return QSize(static_cast<int>(std::ceil(width)),
                     static_cast<int>(std::ceil(std::max(metrics.height(), symbolSide()) + 2 * kPadding)));
    }

protected:
    void paintEvent(QPaintEvent*) override {
        QPainter painter(this);
        painter.setRenderHint(QPainter::Antialiasing);
        if (isDown())
            painter.setOpacity(0.6);
        const QColor ink = toQColor(Theme::text2());
        const QFontMetricsF metrics(labelFont());
        painter.setFont(labelFont());
        painter.setPen(ink);
        const qreal textWidth = metrics.horizontalAdvance(text());
        painter.drawText(QRectF(kMoreIndent, 0, textWidth + 1, height()), Qt::AlignLeft | Qt::AlignVCenter, text());
        const QRectF symbol(kMoreIndent + textWidth + kSymbolGap, (height() - symbolSide()) / 2, symbolSide(),
                            symbolSide());
        design::Symbols::paint(painter, symbol, m_expanded ? u"chevron.up"_s : u"chevron.down"_s, ink, 9,
                               FontWeight::bold);
    }
    void keyPressEvent(QKeyEvent* event) override {
        if (!design::clickOnReturn(this, event))
            QAbstractButton::keyPressEvent(event);
    }

private:
    static constexpr qreal kPadding = 4;
    static constexpr qreal kSymbolGap = 6;
    static qreal symbolSide() { return design::Symbols::boxSide(9); }
    static QFont labelFont() { return ODFont::body(13, FontWeight::semibold); }

    bool m_expanded = false;
};

// The row shown for a moment after the last due reminder was completed.
class AllDoneRow final : public QWidget {
public:
    static constexpr qreal kTile = 26;

    explicit AllDoneRow(QWidget* parent) : QWidget(parent) {
        design::followAppearance(this);
        design::setAccessibleRole(this, QAccessible::StaticText);
        setAccessibleName(title() + u" "_s + line());
        setSizePolicy(QSizePolicy::Expanding, QSizePolicy::Fixed);
    }

    QSize sizeHint() const override {
        const qreal texts = QFontMetricsF(titleFont()).height() + 1 + QFontMetricsF(lineFont()).height();
        return QSize(static_cast<int>(std::ceil(kTile + kGap + QFontMetricsF(lineFont()).horizontalAdvance(line()))),
                     static_cast<int>(std::ceil(std::max(kTile, texts) + 2 * kPadding)));
    }

protected:
    void paintEvent(QPaintEvent*) override {
        QPainter painter(this);
        painter.setRenderHint(QPainter::Antialiasing);
        const QRectF tile(ReminderRow::kRingRoom, (height() - kTile) / 2, kTile, kTile);
        painter.save();
        design::odTilt(painter, tile, -4);
        design::Shape::rounded(8).fill(painter, tile, toQColor(Theme::green()));
        const QString symbol = design::SymbolTable::hasSymbol(u"party.popper"_s) ? u"party.popper"_s : u"checkmark"_s;
        design::Symbols::paint(painter, tile, symbol, toQColor(Theme::onAccent()), 12, FontWeight::semibold);
        painter.restore();

        const QFontMetricsF titleMetrics(titleFont());
        const QFontMetricsF lineMetrics(lineFont());
        const qreal left = tile.right() + kGap;
        const qreal room = std::max<qreal>(0, width() - left - ReminderRow::kRingRoom);
        const qreal top = (height() - (titleMetrics.height() + 1 + lineMetrics.height())) / 2;
        painter.setFont(titleFont());
        painter.setPen(toQColor(Theme::text()));
        painter.drawText(QRectF(left, top, room, titleMetrics.height()), Qt::AlignLeft | Qt::AlignVCenter,
                         titleMetrics.elidedText(title(), Qt::ElideRight, room));
        painter.setFont(lineFont());
        painter.setPen(toQColor(Theme::text2()));
        painter.drawText(QRectF(left, top + titleMetrics.height() + 1, room, lineMetrics.height()),
                         Qt::AlignLeft | Qt::AlignVCenter, lineMetrics.elidedText(line(), Qt::ElideRight, room));
    }

private:
    static constexpr qreal kGap = 10;
    static constexpr qreal kPadding = 4;
    static QString title() { return u"All done!"_s; }
    static QString line() { return u"Inbox of life: zero. Treat yourself to a coffee."_s; }
    static QFont titleFont() { return ODFont::body(13, FontWeight::semibold); }
    static QFont lineFont() { return ODFont::body(11.5); }
};

// The card that asks for access to reminders, or says where to switch it on.
class AccessCard final : public QWidget {
public:
    static constexpr int kPadding = 10;
    static constexpr qreal kTile = 28;

    explicit AccessCard(QWidget* parent) : QWidget(parent) { design::followAppearance(this); }

protected:
    void paintEvent(QPaintEvent*) override {
        QPainter painter(this);
        painter.setRenderHint(QPainter::Antialiasing);
        const QRectF card = QRectF(rect()).adjusted(ReminderRow::kRingRoom, 0, -ReminderRow::kRingRoom, 0);
        const design::Shape shape = design::Shape::rounded(12);
        shape.fill(painter, card, toQColor(Theme::card()));
        shape.strokeBorder(painter, card, toQColor(Theme::line()), 1);
        const QRectF tile(card.left() + kPadding, card.center().y() - kTile / 2, kTile, kTile);
        design::Shape::rounded(8).fill(painter, tile, toQColor(Theme::fillSoft()));
        design::Symbols::paint(painter, tile, u"checklist"_s, toQColor(Theme::text2()), 12, FontWeight::semibold);
    }
};

}  // namespace

// ---------------------------------------------------------------------------------------------

RemindersSectionView::RemindersSectionView(store::CalendarStore& store, ReminderCompletions& completions,
                                           platform::Workspace& workspace, QWidget* parent)
    : QWidget(parent), m_store(store), m_completions(completions), m_workspace(workspace) {
    setObjectName(u"RemindersSectionView"_s);
    auto* outer = new QVBoxLayout(this);
    outer->setContentsMargins(0, 0, 0, 0);
    outer->setSpacing(0);
    outer->addWidget(new design::Hairline(Qt::Horizontal, this));

    m_body = new QWidget(this);
    outer->addWidget(m_body);
    auto* body = new QVBoxLayout(m_body);
    const int side = kSidePadding - ReminderRow::kRingRoom;
    body->setContentsMargins(side, kTopPadding, side, kBottomPadding);
    body->setSpacing(0);

    m_header = new design::SectionHeader(u"Reminders"_s, m_body);
    m_header->setTrailingText(QString());
    m_header->setContentsMargins(ReminderRow::kRingRoom, 0, ReminderRow::kRingRoom, 0);
    body->addWidget(m_header);
    body->addSpacing(kHeaderGap);

    buildAccessRow(body);
    buildAllDoneRow(body);
    m_rowLayout = new QVBoxLayout;
    m_rowLayout->setContentsMargins(0, 0, 0, 0);
    m_rowLayout->setSpacing(0);
    body->addLayout(m_rowLayout);

    auto* more = new ShowMoreButton(m_body);
    m_more = more;
    body->addWidget(more, 0, Qt::AlignLeft);
    connect(more, &QAbstractButton::clicked, this, [this] {
        m_expanded = !m_expanded;
        rebuild();
    });

    connect(&m_store, &store::CalendarStore::remindersChanged, this, &RemindersSectionView::rebuild);
    connect(&m_store, &store::CalendarStore::reminderAccessChanged, this, &RemindersSectionView::rebuild);
    connect(&m_completions, &ReminderCompletions::changed, this, &RemindersSectionView::rebuild);
    rebuild();
}

void RemindersSectionView::buildAccessRow(QVBoxLayout* layout) {
    auto* card = new AccessCard(m_body);
    m_accessRow = card;
    auto* row = new QHBoxLayout(card);
    const int inset = ReminderRow::kRingRoom + AccessCard::kPadding;
    row->setContentsMargins(inset, AccessCard::kPadding, inset, AccessCard::kPadding);
    row->setSpacing(10);
    row->addSpacing(static_cast<int>(AccessCard::kTile));

    auto* texts = new QVBoxLayout;
    texts->setSpacing(1);
    m_accessTitle = new design::TextBlock(QString(), ODFont::body(13, FontWeight::semibold), Theme::text(), card);
    m_accessExplanation = new design::TextBlock(QString(), ODFont::body(11), Theme::text2(), card);
    texts->addWidget(m_accessTitle);
    texts->addWidget(m_accessExplanation);
    row->addLayout(texts, 1);
    row->addSpacing(8 - row->spacing());

    m_accessButton = new design::ODButton(QString(), std::nullopt, design::ODButtonKind::primary,
                                          design::ODButtonSize::small, false, card);
    row->addWidget(m_accessButton, 0, Qt::AlignVCenter);
    connect(m_accessButton, &QAbstractButton::clicked, this, [this] {
        if (m_store.reminderAccess() == model::AccessStatus::notDetermined)
            m_store.requestRemindersAccess();
        else
            m_workspace.open(PopoverActions::remindersPrivacyURL());
    });
    layout->addWidget(card);
}

void RemindersSectionView::buildAllDoneRow(QVBoxLayout* layout) {
    m_allDone = new AllDoneRow(m_body);
    layout->addWidget(m_allDone);
}

void RemindersSectionView::updateAccessRow() {
    const bool undetermined = m_store.reminderAccess() == model::AccessStatus::notDetermined;
    m_accessTitle->setText(undetermined ? u"Show today\u2019s to-dos here"_s : u"Reminders access is off"_s);
    m_accessExplanation->setText(undetermined ? u"Your reminders, under your events."_s
                                              : u"Turn on Orbitday in "_s + app::words::privacyRemindersPath() +
                                                    u"."_s);
    m_accessButton->setTitle(undetermined ? u"Allow"_s : u"Open Settings"_s);
    m_accessButton->setToolTip(m_accessButton->title());
    m_accessButton->setButtonStyle(design::ODButtonStyle(
        undetermined ? design::ODButtonKind::primary : design::ODButtonKind::ghost, design::ODButtonSize::small));
    m_accessRow->setAccessibleName(m_accessTitle->text());
}

void RemindersSectionView::rebuild() {
    const bool fullAccess = m_store.reminderAccess() == model::AccessStatus::fullAccess;
    const std::vector<model::ODReminder> due =
        DueReminders::items(m_store.reminders(), core::Clock::current().now(), core::Calendar::current());
    const bool celebrating = m_completions.isCelebrating();
    if (fullAccess && due.empty() && !celebrating) {
        setVisible(false);
        return;
    }

    m_header->setTrailingText(fullAccess ? DueReminders::countText(static_cast<int>(due.size())) : QString());
    m_accessRow->setVisible(!fullAccess);
    if (!fullAccess)
        updateAccessRow();
    m_allDone->setVisible(fullAccess && due.empty());
    showRows(fullAccess ? due : std::vector<model::ODReminder>{});
    const int count = static_cast<int>(due.size());
    m_more->setVisible(fullAccess && DueReminders::hasMoreButton(count));
    static_cast<ShowMoreButton*>(m_more)->setState(count, m_expanded);
    setVisible(true);
}

void RemindersSectionView::showRows(const std::vector<model::ODReminder>& due) {
    const int visible = DueReminders::visibleCount(static_cast<int>(due.size()), m_expanded);
    const core::Date now = core::Clock::current().now();
    QHash<QString, ReminderRow*> kept;
    for (int i = 0; i < visible; ++i) {
        const model::ODReminder& reminder = due[static_cast<size_t>(i)];
        ReminderRow* row = m_rows.take(reminder.id);
        if (row == nullptr) {
            row = new ReminderRow(m_body);
            connect(row, &QAbstractButton::clicked, this, [this, row] { m_completions.toggle(row->reminder()); });
        }
        row->setReminder(reminder, now);
        row->setTicked(m_completions.isChecked(reminder.id));
        // Kept rows keep their focus; the layout is only put in the new order.
        m_rowLayout->removeWidget(row);
        m_rowLayout->insertWidget(i, row);
        row->show();
        kept.insert(reminder.id, row);
    }
    // Later, not now: the row going may be the one whose click got us here.
    for (ReminderRow* gone : std::as_const(m_rows)) {
        m_rowLayout->removeWidget(gone);
        gone->hide();
        gone->deleteLater();
    }
    m_rows = kept;
}

std::vector<ReminderRow*> RemindersSectionView::rows() const {
    std::vector<ReminderRow*> shown;
    for (int i = 0; i < m_rowLayout->count(); ++i)
        if (auto* row = qobject_cast<ReminderRow*>(m_rowLayout->itemAt(i)->widget()))
            shown.push_back(row);
    return shown;
}

QAbstractButton* RemindersSectionView::moreButton() const {
    return m_more->isVisibleTo(this) ? m_more : nullptr;
}

QString RemindersSectionView::headerCount() const {
    auto* trailing = qobject_cast<design::TextLine*>(m_header->trailing());
    return trailing ? trailing->text() : QString();
}

bool RemindersSectionView::showsAllDone() const {
    return m_allDone->isVisibleTo(this);
}

bool RemindersSectionView::showsAccessRow() const {
    return m_accessRow->isVisibleTo(this);
}

// ---------------------------------------------------------------------------------------------

ReminderRow::ReminderRow(QWidget* parent) : QAbstractButton(parent) {
    setFocusPolicy(Qt::TabFocus);
    setSizePolicy(QSizePolicy::Expanding, QSizePolicy::Fixed);
    design::followAppearance(this);
}

void ReminderRow::setReminder(const model::ODReminder& reminder, core::Date now) {
    m_reminder = reminder;
    m_dueLabel = DueReminders::dueLabel(reminder, now);
    m_overdue = reminder.isOverdue(now);
    setToolTip(reminder.title.toHtmlEscaped());
    updateAccessibility();
    update();
}

void ReminderRow::setTicked(bool ticked) {
    if (ticked == m_ticked)
        return;
    m_ticked = ticked;
    updateAccessibility();
    const qreal target = ticked ? 1 : 0;
    if (m_animation)
        m_animation->stop();
    if (reduceMotion() || !isVisible()) {
        m_tick = target;
        update();
        return;
    }
    auto* animation = new QVariantAnimation(this);
    animation->setStartValue(m_tick);
    animation->setEndValue(target);
    animation->setDuration(kTickMs);
    animation->setEasingCurve(QEasingCurve::OutCubic);
    connect(animation, &QVariantAnimation::valueChanged, this, [this](const QVariant& value) {
        m_tick = value.toReal();
        update();
    });
    m_animation = animation;
    animation->start(QAbstractAnimation::DeleteWhenStopped);
}

void ReminderRow::updateAccessibility() {
    setAccessibleName(m_reminder.title + u", "_s + m_dueLabel);
    design::setAccessibleValue(this, m_ticked ? u"completed"_s : u"not completed"_s);
}

QSize ReminderRow::sizeHint() const {
    const qreal line = std::max({kBox, QFontMetricsF(ODFont::body(14)).height(),
                                 QFontMetricsF(ODFont::body(12, FontWeight::semibold)).height()});
    return QSize(2 * kRingRoom + static_cast<int>(kBox + kGap) + 120,
                 static_cast<int>(std::ceil(line)) + 2 * kRowPadding);
}

QSize ReminderRow::minimumSizeHint() const {
    return QSize(2 * kRingRoom + static_cast<int>(kBox + kGap), sizeHint().height());
}

void ReminderRow::paintEvent(QPaintEvent*) {
    QPainter painter(this);
    painter.setRenderHint(QPainter::Antialiasing);
    const qreal t = m_tick;
    const QRectF box(kRingRoom, (height() - kBox) / 2, kBox, kBox);
    const design::Shape boxShape = design::Shape::rounded(5);
    if (m_keyboardFocus && hasFocus())
        design::FocusRing::paint(painter, box, boxShape);

    painter.setOpacity(1 - (1 - kTickedOpacity) * t);
    const QColor checkBg = toQColor(Theme::checkBg());
    boxShape.fill(painter, box, mix(toQColor(Theme::card()), checkBg, t));
    boxShape.strokeBorder(painter, box, mix(toQColor(Theme::strokeStrong()), checkBg, t), 1.5);
    if (t > 0) {
        painter.save();
        painter.setOpacity(painter.opacity() * t);
        design::Symbols::paint(painter, box, u"checkmark"_s, toQColor(Theme::checkFg()), 10, FontWeight::heavy);
        painter.restore();
    }

    const QFont dueFont = ODFont::body(12, m_overdue ? FontWeight::semibold : FontWeight::medium);
    const QFontMetricsF dueMetrics(dueFont);
    const qreal dueWidth = dueMetrics.horizontalAdvance(m_dueLabel);
    const qreal right = width() - kRingRoom;
    painter.setFont(dueFont);
    painter.setPen(m_overdue ? toQColor(Theme::flame()) : toQColor(Theme::text3()));
    painter.drawText(QRectF(right - dueWidth - 1, 0, dueWidth + 1, height()), Qt::AlignRight | Qt::AlignVCenter,
                     m_dueLabel);

    const QFont titleFont = ODFont::body(14);
    const QFontMetricsF metrics(titleFont);
    const qreal left = box.right() + kGap;
    const qreal room = std::max<qreal>(0, right - dueWidth - 8 - left);
    const QString title = metrics.elidedText(m_reminder.title, Qt::ElideRight, room);
    const QColor titleColor = mix(toQColor(Theme::text()), toQColor(Theme::text2()), t);
    painter.setFont(titleFont);
    painter.setPen(titleColor);
    const QRectF titleRect(left, 0, room, height());
    painter.drawText(titleRect, Qt::AlignLeft | Qt::AlignVCenter, title);
    if (t > 0) {
        // The strike-through runs across the title as drawn, through the middle of its small letters.
        const qreal baseline = (height() - metrics.height()) / 2 + metrics.ascent();
        const qreal y = std::round(baseline - metrics.xHeight() / 2);
        QColor strike = toQColor(Theme::text2());
        strike.setAlphaF(static_cast<float>(t));
        painter.fillRect(QRectF(left, y, metrics.horizontalAdvance(title), 1), strike);
    }
}

void ReminderRow::keyPressEvent(QKeyEvent* event) {
    m_keyboardFocus = true;
    if (!design::clickOnReturn(this, event))
        QAbstractButton::keyPressEvent(event);
}

void ReminderRow::focusInEvent(QFocusEvent* event) {
    if (event->reason() != Qt::ActiveWindowFocusReason && event->reason() != Qt::PopupFocusReason)
        m_keyboardFocus = event->reason() != Qt::MouseFocusReason;
    QAbstractButton::focusInEvent(event);
    update();
}

void ReminderRow::focusOutEvent(QFocusEvent* event) {
    QAbstractButton::focusOutEvent(event);
    update();
}

}  // namespace popover
