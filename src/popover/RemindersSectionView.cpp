#include "popover/RemindersSectionView.h"

#include "core/Clock.h"
#include "core/ClockTimer.h"
#include "design/values/SymbolTable.h"
#include "design/values/Theme.h"
#include "design/widgets/FocusRing.h"
#include "design/widgets/Hairline.h"
#include "design/widgets/KitWidget.h"
#include "design/widgets/ODButton.h"
#include "design/widgets/ODFont.h"
#include "design/widgets/Painting.h"
#include "design/widgets/SectionHeader.h"
#include "design/widgets/Symbols.h"
#include "design/widgets/TextBlock.h"
#include "design/widgets/TextLine.h"
#include "design/widgets/Tilt.h"
#include "platform/workspace/Workspace.h"
#include "popover/DueReminders.h"
#include "popover/ReminderCompletions.h"
#include "state/PlatformWords.h"
#include "state/PopoverActions.h"
#include "store/CalendarStore.h"

#include <QFocusEvent>
#include <QFontMetricsF>
#include <QHBoxLayout>
#include <QPainter>
#include <QPixmap>
#include <QVBoxLayout>
#include <QVariantAnimation>

#include <algorithm>
#include <cmath>
#include <functional>

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
// Showing more or fewer rows.
constexpr int kExpandMs = 180;
// A completion taking its row away, and the celebration coming and going.
constexpr int kCompletionMs = 300;
// The show-more text starts under the reminder titles, which begin past the
// room the rows keep for their checkbox's focus ring.
constexpr qreal kMoreIndent = ReminderRow::kRingRoom + ReminderRow::kBox + ReminderRow::kGap;

bool reduceMotion() {
    return Theme::appearance().reduceMotion;
}

// Moves a value from `from` to `to` over `ms` on the ease-out curve that all
// the section's motion uses; the motion belongs to `owner` and ends with it.
QVariantAnimation* ease(QObject* owner, int ms, qreal from, qreal to, const std::function<void(qreal)>& apply) {
    auto* animation = new QVariantAnimation(owner);
    animation->setStartValue(from);
    animation->setEndValue(to);
    animation->setDuration(ms);
    animation->setEasingCurve(QEasingCurve::OutCubic);
    QObject::connect(animation, &QVariantAnimation::valueChanged, owner,
                     [apply](const QVariant& value) { apply(value.toReal()); });
    apply(from);
    animation->start(QAbstractAnimation::DeleteWhenStopped);
    return animation;
}

// The height of something that is only partly in yet.
int partOf(int height, qreal presence) {
    return static_cast<int>(std::lround(height * presence));
}

// The box layout, at any depth under `layout`, that holds `widget`, and where.
QBoxLayout* boxHolding(QLayout& layout, const QWidget& widget, int& index) {
    for (int i = 0; i < layout.count(); ++i) {
        QLayoutItem* item = layout.itemAt(i);
        if (item->widget() == &widget) {
            index = i;
            return qobject_cast<QBoxLayout*>(&layout);
        }
        if (QLayout* inner = item->layout())
            if (QBoxLayout* found = boxHolding(*inner, widget, index))
                return found;
    }
    return nullptr;
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

    // Fades the row in from nothing over that long, growing to its height.
    void comeIn(int ms) {
        if (m_arrival)
            m_arrival->stop();
        m_arrival = ease(this, ms, 0, 1, [this](qreal presence) {
            m_presence = presence;
            updateGeometry();
            update();
        });
    }

    QSize sizeHint() const override {
        return QSize(static_cast<int>(std::ceil(kTile + kGap + QFontMetricsF(lineFont()).horizontalAdvance(line()))),
                     partOf(naturalHeight(), m_presence));
    }

protected:
    void paintEvent(QPaintEvent*) override {
        QPainter painter(this);
        painter.setRenderHint(QPainter::Antialiasing);
        painter.setOpacity(m_presence);
        // Drawn at its full height from the top, so that coming in it is uncovered rather than squeezed.
        const qreal height = naturalHeight();
        const QRectF tile(ReminderRow::kRingRoom, (height - kTile) / 2, kTile, kTile);
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
        const qreal top = (height - (titleMetrics.height() + 1 + lineMetrics.height())) / 2;
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
    static int naturalHeight() {
        const qreal texts = QFontMetricsF(titleFont()).height() + 1 + QFontMetricsF(lineFont()).height();
        return static_cast<int>(std::ceil(std::max(kTile, texts) + 2 * kPadding));
    }

    qreal m_presence = 1;
    QPointer<QVariantAnimation> m_arrival;
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

// A picture of a piece as it was before a change took it away, left in its
// place: it fades while the room it took closes, so that what comes after
// moves up smoothly instead of jumping. The piece itself is gone at once, so
// nothing can click, focus or read what is only a picture.
class RemindersSectionView::Afterimage final : public QWidget {
public:
    explicit Afterimage(QWidget& piece)
        : QWidget(piece.parentWidget()), m_picture(piece.grab()), m_size(piece.size()) {
        design::makeOverlay(this);
        setSizePolicy(QSizePolicy::Fixed, QSizePolicy::Fixed);
    }

    // Takes the piece's place in the box layout that holds it, or else over
    // the parent, still hidden.
    void takePlaceOf(QWidget& piece) {
        int index = -1;
        QBoxLayout* box = parentWidget()->layout() ? boxHolding(*parentWidget()->layout(), piece, index) : nullptr;
        if (box) {
            box->insertWidget(index, this, 0, box->itemAt(index)->alignment());
        } else {
            m_loose = true;
            setGeometry(piece.geometry());
            raise();
        }
    }

    // Shows, fades out over `ms` and goes.
    void fadeOut(int ms) {
        show();
        QVariantAnimation* fade = ease(this, ms, 1, 0, [this](qreal presence) { setPresence(presence); });
        connect(fade, &QVariantAnimation::finished, this, [this] {
            hide();
            deleteLater();
        });
    }

    QSize sizeHint() const override { return QSize(m_size.width(), partOf(m_size.height(), m_presence)); }
    QSize minimumSizeHint() const override { return sizeHint(); }

protected:
    void paintEvent(QPaintEvent*) override {
        QPainter painter(this);
        painter.setOpacity(m_presence);
        painter.drawPixmap(0, 0, m_picture);
    }

private:
    void setPresence(qreal presence) {
        m_presence = presence;
        if (m_loose)
            resize(sizeHint());
        updateGeometry();
        update();
    }

    QPixmap m_picture;
    QSize m_size;
    qreal m_presence = 1;
    // Over the parent rather than in a layout: its own height closes.
    bool m_loose = false;
};

RemindersSectionView::RemindersSectionView(store::CalendarStore& store, ReminderCompletions& completions,
                                           platform::Workspace& workspace, QWidget* parent)
    : QWidget(parent),
      m_store(store),
      m_completions(completions),
      m_workspace(workspace),
      m_celebrationEnd(std::make_unique<core::ClockTimer>()) {
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
        rebuild(kExpandMs);
    });

    connect(&m_store, &store::CalendarStore::remindersChanged, this, [this] {
        // A completion shows what it changed once it is over, as one motion:
        // the row going, and the celebration coming when it was the last.
        if (!m_completions.isCompleting())
            rebuild();
    });
    connect(&m_store, &store::CalendarStore::reminderAccessChanged, this, [this] { rebuild(); });
    // Ticks only move the ticked row itself; completions and the celebration
    // take pieces away and bring others.
    connect(&m_completions, &ReminderCompletions::changed, this, [this] { rebuild(kCompletionMs); });
    connect(&m_completions, &ReminderCompletions::lastCompleted, this, [this] {
        m_celebrating = true;
        m_celebrationEnd->startAt(core::Clock::current().now() + kCelebration);
    });
    connect(m_celebrationEnd.get(), &core::ClockTimer::timeout, this, [this] {
        m_celebrating = false;
        rebuild(kCompletionMs);
    });
    rebuild();
}

RemindersSectionView::~RemindersSectionView() = default;

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
                                              : u"Turn on "_s + app::words::privacySwitch() + u" in "_s + app::words::privacyRemindersPath() +
                                                    u"."_s);
    m_accessButton->setTitle(undetermined ? u"Allow"_s : u"Open Settings"_s);
    m_accessButton->setToolTip(m_accessButton->title());
    m_accessButton->setButtonStyle(design::ODButtonStyle(
        undetermined ? design::ODButtonKind::primary : design::ODButtonKind::ghost, design::ODButtonSize::small));
    m_accessRow->setAccessibleName(m_accessTitle->text());
}

void RemindersSectionView::rebuild(int motionMs) {
    const int motion = isVisible() && !reduceMotion() ? motionMs : 0;
    const bool fullAccess = m_store.reminderAccess() == model::AccessStatus::fullAccess;
    const std::vector<model::ODReminder> due =
        DueReminders::items(m_store.reminders(), core::Clock::current().now(), core::Calendar::current());
    const int count = static_cast<int>(due.size());
    const bool shown = !fullAccess || !due.empty() || m_celebrating;
    const bool allDone = shown && fullAccess && due.empty();
    const bool more = shown && fullAccess && DueReminders::hasMoreButton(count);
    std::vector<model::ODReminder> listed;
    if (shown && fullAccess)
        listed.assign(due.begin(), due.begin() + DueReminders::visibleCount(count, m_expanded));
    const std::vector<Afterimage*> afterimages =
        motion > 0 ? leaveAfterimages(shown, allDone, more, listed) : std::vector<Afterimage*>{};

    // What goes is hidden before anything is shown: showing a widget lays out
    // its ancestors at once, and the section is to be measured as it was or as
    // it will be, never half way between.
    if (!shown) {
        setVisible(false);
        for (Afterimage* image : afterimages)
            image->fadeOut(motion);
        if (!afterimages.empty())
            m_afterimage = afterimages.front();
        return;
    }
    // Back before the picture of its going has faded.
    delete m_afterimage.data();
    if (fullAccess)
        m_accessRow->hide();
    if (!allDone)
        m_allDone->hide();
    if (!more)
        m_more->hide();
    placeRows(listed, motion);

    m_header->setTrailingText(fullAccess ? DueReminders::countText(count) : QString());
    if (!fullAccess)
        updateAccessRow();
    static_cast<ShowMoreButton*>(m_more)->setState(count, m_expanded);

    for (Afterimage* image : afterimages)
        image->fadeOut(motion);
    if (!fullAccess)
        m_accessRow->show();
    if (allDone) {
        if (motion > 0 && m_allDone->isHidden())
            static_cast<AllDoneRow*>(m_allDone)->comeIn(motion);
        m_allDone->show();
    }
    for (ReminderRow* row : std::as_const(m_rows))
        row->show();
    if (more)
        m_more->show();
    setVisible(true);
}

std::vector<RemindersSectionView::Afterimage*> RemindersSectionView::leaveAfterimages(bool shown, bool allDone, bool more,
                                                                const std::vector<model::ODReminder>& listed) {
    std::vector<QWidget*> going;
    if (!shown) {
        going.push_back(this);
    } else {
        if (!allDone)
            going.push_back(m_allDone);
        for (auto it = m_rows.cbegin(); it != m_rows.cend(); ++it)
            if (std::none_of(listed.begin(), listed.end(), [&](const auto& item) { return item.id == it.key(); }))
                going.push_back(it.value());
        if (!more)
            going.push_back(m_more);
    }
    std::erase_if(going, [](const QWidget* piece) { return !piece->isVisible() || piece->isWindow(); });
    // Every picture is taken before any of them takes its place, so that each
    // shows the section as it was.
    std::vector<Afterimage*> pictures;
    for (QWidget* piece : going)
        pictures.push_back(new Afterimage(*piece));
    for (size_t i = 0; i < going.size(); ++i)
        pictures[i]->takePlaceOf(*going[i]);
    return pictures;
}

void RemindersSectionView::placeRows(const std::vector<model::ODReminder>& listed, int motionMs) {
    const core::Date now = core::Clock::current().now();
    QHash<QString, ReminderRow*> kept;
    for (const model::ODReminder& reminder : listed)
        if (ReminderRow* row = m_rows.take(reminder.id))
            kept.insert(reminder.id, row);
    // Later, not now: the row going may be the one whose click got us here.
    for (ReminderRow* gone : std::as_const(m_rows)) {
        m_rowLayout->removeWidget(gone);
        gone->hide();
        gone->deleteLater();
    }
    m_rows.clear();

    // Kept rows keep their place and their focus; the pictures of rows going
    // stay between them.
    int next = 0;
    for (const model::ODReminder& reminder : listed) {
        ReminderRow* row = kept.value(reminder.id);
        if (row == nullptr) {
            row = new ReminderRow(m_body);
            connect(row, &QAbstractButton::clicked, this, [this, row] { m_completions.toggle(row->reminder()); });
            if (motionMs > 0)
                row->comeIn(motionMs);
        }
        row->setReminder(reminder, now);
        row->setTicked(m_completions.isChecked(reminder.id));
        int index = m_rowLayout->indexOf(row);
        if (index < next) {
            if (index >= 0) {
                m_rowLayout->removeWidget(row);
                --next;
            }
            m_rowLayout->insertWidget(next, row);
            index = next;
        }
        next = index + 1;
        m_rows.insert(reminder.id, row);
    }
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
    m_animation = ease(this, kTickMs, m_tick, target, [this](qreal tick) {
        m_tick = tick;
        update();
    });
}

void ReminderRow::setPresence(qreal presence) {
    if (presence == m_presence)
        return;
    m_presence = presence;
    updateGeometry();
    update();
}

void ReminderRow::comeIn(int motionMs) {
    if (m_arrival)
        m_arrival->stop();
    m_arrival = ease(this, motionMs, 0, 1, [this](qreal presence) { setPresence(presence); });
}

void ReminderRow::updateAccessibility() {
    setAccessibleName(m_reminder.title + u", "_s + m_dueLabel);
    design::setAccessibleValue(this, m_ticked ? u"completed"_s : u"not completed"_s);
}

int ReminderRow::naturalHeight() {
    const qreal line = std::max({kBox, QFontMetricsF(ODFont::body(14)).height(),
                                 QFontMetricsF(ODFont::body(12, FontWeight::semibold)).height()});
    return static_cast<int>(std::ceil(line)) + 2 * kRowPadding;
}

QSize ReminderRow::sizeHint() const {
    return QSize(2 * kRingRoom + static_cast<int>(kBox + kGap) + 120, partOf(naturalHeight(), m_presence));
}

QSize ReminderRow::minimumSizeHint() const {
    return QSize(2 * kRingRoom + static_cast<int>(kBox + kGap), sizeHint().height());
}

void ReminderRow::paintEvent(QPaintEvent*) {
    QPainter painter(this);
    painter.setRenderHint(QPainter::Antialiasing);
    painter.setOpacity(m_presence);
    const qreal t = m_tick;
    // Drawn at its full height from the top, so that coming in it is uncovered rather than squeezed.
    const qreal height = naturalHeight();
    const QRectF box(kRingRoom, (height - kBox) / 2, kBox, kBox);
    const design::Shape boxShape = design::Shape::rounded(5);
    if (m_keyboardFocus && hasFocus())
        design::FocusRing::paint(painter, box, boxShape);

    painter.setOpacity(m_presence * (1 - (1 - kTickedOpacity) * t));
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
    painter.drawText(QRectF(right - dueWidth - 1, 0, dueWidth + 1, height), Qt::AlignRight | Qt::AlignVCenter,
                     m_dueLabel);

    const QFont titleFont = ODFont::body(14);
    const QFontMetricsF metrics(titleFont);
    const qreal left = box.right() + kGap;
    const qreal room = std::max<qreal>(0, right - dueWidth - 8 - left);
    const QString title = metrics.elidedText(m_reminder.title, Qt::ElideRight, room);
    const QColor titleColor = mix(toQColor(Theme::text()), toQColor(Theme::text2()), t);
    painter.setFont(titleFont);
    painter.setPen(titleColor);
    const QRectF titleRect(left, 0, room, height);
    painter.drawText(titleRect, Qt::AlignLeft | Qt::AlignVCenter, title);
    if (t > 0) {
        // The strike-through runs across the title as drawn, through the middle of its small letters.
        const qreal baseline = (height - metrics.height()) / 2 + metrics.ascent();
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
