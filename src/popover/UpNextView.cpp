#include "popover/UpNextView.h"

#include "core/Clock.h"
#include "design/values/SymbolTable.h"
#include "design/widgets/FocusRing.h"
#include "design/widgets/KitWidget.h"
#include "design/widgets/ODButton.h"
#include "design/widgets/ODFont.h"
#include "design/widgets/Painting.h"
#include "design/widgets/SectionHeader.h"
#include "design/widgets/Symbols.h"
#include "design/widgets/TextLine.h"
#include "popover/AllDayPill.h"
#include "popover/DayAgenda.h"
#include "popover/EmptyStateView.h"
#include "popover/EventRowView.h"
#include "popover/PopoverFormat.h"
#include "state/AppSettings.h"
#include "state/AppState.h"
#include "store/CalendarStore.h"

#include <QFontMetricsF>
#include <QKeyEvent>
#include <QPainter>
#include <QVBoxLayout>
#include <QVariantAnimation>

#include <cmath>

namespace popover {

using namespace Qt::Literals::StringLiterals;

namespace {

constexpr int kSpacing = 2;
constexpr QMargins kMargins(8, 4, 8, 12);
constexpr QMargins kHeaderMargins(8, 12, 8, 6);
constexpr QMargins kEmptyDayMargins(6, 4, 6, 4);
constexpr QMargins kPromptMargins(16, 22, 16, 22);
constexpr QMargins kNoteMargins(8, 6, 8, 0);
constexpr int kEmptyDaySpacing = 14;
constexpr qreal kEarlierOpacity = 0.45;
constexpr int kEarlierFadeMilliseconds = 180;
// Making a row takes a good part of a millisecond: a busy day's hundred rows are made this many at a time, one
// turn of the event loop after another.
constexpr int kPiecesMadeAtOnce = 24;

QSize ceilSize(const QSizeF& size) {
    return QSize(static_cast<int>(std::ceil(size.width() - 0.01)), static_cast<int>(std::ceil(size.height() - 0.01)));
}

QString dayKey(const AgendaSection& section) {
    return QString::number(section.date.secondsSince1970(), 'f', 0);
}

// A plain-looking button of the agenda: focusable by Tab, Return clicks it,
// the focus ring follows its shape.
class AgendaButton : public QAbstractButton {
public:
    AgendaButton(design::Shape shape, QWidget* parent) : QAbstractButton(parent) {
        setFocusPolicy(Qt::TabFocus);
        setSizePolicy(QSizePolicy::Expanding, QSizePolicy::Fixed);
        design::followAppearance(this);
        design::odFocusRing(this, shape);
    }

protected:
    void keyPressEvent(QKeyEvent* event) override {
        if (!design::clickOnReturn(this, event))
            QAbstractButton::keyPressEvent(event);
    }
};

// "Next: Title" and when it starts, on a rounded tile, offered by an empty day.
class NextEventButton final : public AgendaButton {
public:
    static constexpr qreal kPadding = 10;
    static constexpr qreal kSpacing = 8;
    static constexpr qreal kMinimumGap = 8;
    static constexpr qreal kBarWidth = 4;

    explicit NextEventButton(QWidget* parent) : AgendaButton(design::Shape::rounded(10), parent) {
        setAccessibleDescription(u"Opens event details"_s);
    }

    const model::ODEvent& event() const { return m_event; }
    QString label() const { return u"Next: "_s + m_event.title; }
    QString timeText() const { return m_time; }

    void setEvent(const model::ODEvent& event) {
        if (event == m_event)
            return;
        m_event = event;
        m_time = DayAgenda::nextEventTime(event);
        setAccessibleName(label() + u", "_s + m_time);
        setToolTip(design::plainToolTip(m_event.title));
        updateGeometry();
        update();
    }

    QSize sizeHint() const override {
        const QFontMetricsF title(titleFont());
        const QFontMetricsF time(timeFont());
        return ceilSize(QSizeF(2 * kPadding + kBarWidth + 3 * kSpacing + title.horizontalAdvance(label()) + kMinimumGap +
                                   time.horizontalAdvance(m_time),
                               2 * kPadding + std::max(title.height(), time.height())));
    }

protected:
    void paintEvent(QPaintEvent*) override {
        QPainter painter(this);
        painter.setRenderHint(QPainter::Antialiasing);
        design::Shape::rounded(10).fill(painter, rect(), design::toQColor(design::Theme::menuItem()));
        const QRectF content = QRectF(rect()).adjusted(kPadding, kPadding, -kPadding, -kPadding);
        design::Shape::capsule().fill(painter, QRectF(content.topLeft(), QSizeF(kBarWidth, content.height())),
                                      design::toQColor(m_event.color));
        const QFontMetricsF time(timeFont());
        const qreal timeWidth = std::min(time.horizontalAdvance(m_time), content.width() / 2);
        painter.setFont(timeFont());
        painter.setPen(design::toQColor(design::Theme::text2()));
        painter.drawText(QRectF(content.right() - timeWidth, content.top(), timeWidth + 1, content.height()),
                         Qt::AlignRight | Qt::AlignVCenter | Qt::TextSingleLine,
                         time.elidedText(m_time, Qt::ElideRight, timeWidth + 1));
        const qreal titleLeft = content.left() + kBarWidth + kSpacing;
        const qreal titleRoom = content.right() - timeWidth - 2 * kSpacing - kMinimumGap - titleLeft;
        const QFontMetricsF title(titleFont());
        painter.setFont(titleFont());
        painter.setPen(design::toQColor(design::Theme::text()));
        painter.drawText(QRectF(titleLeft, content.top(), std::max<qreal>(titleRoom, 0) + 1, content.height()),
                         Qt::AlignLeft | Qt::AlignVCenter | Qt::TextSingleLine,
                         title.elidedText(label(), Qt::ElideRight, std::max<qreal>(titleRoom, 0)));
    }

private:
    static QFont titleFont() { return design::ODFont::body(13, design::FontWeight::semibold); }
    static QFont timeFont() { return design::ODFont::body(11, design::FontWeight::medium); }

    model::ODEvent m_event;
    QString m_time;
};

// The line that stands for the events already over: "3 earlier" and their
// titles while closed, "Hide" while open.
class EarlierButton final : public AgendaButton {
public:
    static constexpr qreal kChevronSize = 10;
    static constexpr qreal kChevronFrame = 12;
    static constexpr qreal kSpacing = 8;
    static constexpr QMarginsF kPadding{10, 5, 10, 5};

    explicit EarlierButton(QWidget* parent) : AgendaButton(design::Shape::rounded(8), parent) {}

    bool isExpanded() const { return m_expanded; }
    QString countText() const { return DayAgenda::earlierCount(m_count); }
    QString detailText() const { return m_expanded ? u"Hide"_s : m_titles; }

    void setState(int count, QString titles, bool expanded) {
        m_count = count;
        m_titles = std::move(titles);
        m_expanded = expanded;
        const QString label = DayAgenda::earlierAccessibleLabel(count, expanded);
        setAccessibleName(label);
        setToolTip(label);
        update();
    }

    QSize sizeHint() const override {
        const QFontMetricsF count(countFont());
        return ceilSize(QSizeF(kPadding.left() + kChevronFrame + kSpacing + count.horizontalAdvance(countText()) +
                                   kSpacing + kPadding.right(),
                               kPadding.top() + std::max({count.height(), QFontMetricsF(titlesFont()).height(),
                                                          design::Symbols::boxSide(kChevronSize)}) +
                                   kPadding.bottom()));
    }

protected:
    void paintEvent(QPaintEvent*) override {
        QPainter painter(this);
        painter.setRenderHint(QPainter::Antialiasing);
        const QRectF content = QRectF(rect()).marginsRemoved(kPadding);
        design::Symbols::paint(painter, QRectF(content.left(), content.top(), kChevronFrame, content.height()),
                               m_expanded ? u"chevron.down"_s : u"chevron.right"_s,
                               design::toQColor(design::Theme::text2()), kChevronSize, design::FontWeight::bold);
        qreal x = content.left() + kChevronFrame + kSpacing;
        const QFontMetricsF count(countFont());
        painter.setFont(countFont());
        painter.setPen(design::toQColor(design::Theme::text2()));
        const QString countLabel = countText();
        painter.drawText(QRectF(x, content.top(), content.right() - x + 1, content.height()),
                         Qt::AlignLeft | Qt::AlignVCenter | Qt::TextSingleLine, countLabel);
        x += count.horizontalAdvance(countLabel) + kSpacing;
        const qreal room = content.right() - x;
        if (room <= 0)
            return;
        const QFont font = m_expanded ? countFont() : titlesFont();
        painter.setFont(font);
        painter.setPen(m_expanded ? design::toQColor(design::Theme::sky()) : design::toQColor(design::Theme::textFaint()));
        painter.drawText(QRectF(x, content.top(), room + 1, content.height()),
                         Qt::AlignLeft | Qt::AlignVCenter | Qt::TextSingleLine,
                         QFontMetricsF(font).elidedText(detailText(), Qt::ElideRight, room));
    }

private:
    static QFont countFont() { return design::ODFont::body(13, design::FontWeight::semibold); }
    static QFont titlesFont() { return design::ODFont::body(12); }

    int m_count = 0;
    QString m_titles;
    bool m_expanded = false;
};

// A short line of text under a section's events.
class NoteLine final : public QWidget {
public:
    explicit NoteLine(QWidget* parent)
        : QWidget(parent), m_line(new design::TextLine(QString(), design::ODFont::body(13), design::Theme::text2(), this)) {
        auto* layout = new QHBoxLayout(this);
        layout->setContentsMargins(kNoteMargins);
        layout->addWidget(m_line);
        setSizePolicy(QSizePolicy::Expanding, QSizePolicy::Fixed);
    }

    QString text() const { return m_line->text(); }
    void setText(const QString& text) {
        if (text != m_line->text())
            m_line->setText(text);
    }

private:
    design::TextLine* m_line;
};

// A day without events: the empty state, and the next event below when there is one.
class EmptyDay final : public QWidget {
public:
    EmptyDay(const AgendaSection& section, QWidget* parent)
        : QWidget(parent),
          m_state(new EmptyStateView(u"sun.max"_s, design::Theme::amber(), DayAgenda::emptyTitle(section.kind),
                                     PopoverFormat::emptyDayCopy(section.date), design::Theme::ink(), nullptr, this)),
          m_next(new NextEventButton(this)) {
        auto* layout = new QVBoxLayout(this);
        layout->setContentsMargins(kEmptyDayMargins);
        layout->setSpacing(kEmptyDaySpacing);
        layout->addWidget(m_state);
        layout->addWidget(m_next);
        m_next->hide();
    }

    NextEventButton* next() const { return m_next; }

    void setNext(const std::optional<model::ODEvent>& event) {
        if (event)
            m_next->setEvent(*event);
        m_next->setVisible(event.has_value());
    }

private:
    EmptyStateView* m_state;
    NextEventButton* m_next;
};

}  // namespace

UpNextView::UpNextView(store::CalendarStore& store, app::AppState& appState, app::AppSettings& settings,
                       platform::Workspace& workspace, QWidget* parent)
    : QWidget(parent),
      m_store(store),
      m_appState(appState),
      m_settings(settings),
      m_workspace(workspace),
      m_layout(new QVBoxLayout(this)) {
    m_layout->setSpacing(kSpacing);
    setSizePolicy(QSizePolicy::Preferred, QSizePolicy::Fixed);

    connect(&m_tick, &core::ClockTimer::timeout, this, &UpNextView::rebuild);
    // A reload announces access, calendars and events one after the other: the
    // agenda is drawn once, from all of them.
    for (auto signal : {&store::CalendarStore::eventsChanged, &store::CalendarStore::calendarsChanged})
        connect(&m_store, signal, this, &UpNextView::scheduleRebuild);
    // Access is announced at every reload, the popover's opening among them, mostly unchanged.
    connect(&m_store, &store::CalendarStore::eventAccessChanged, this, [this] {
        if (m_store.eventAccess() != m_drawnAccess)
            scheduleRebuild();
    });
    connect(&m_settings, &app::AppSettings::enabledCalendarIDsChanged, this, &UpNextView::rebuild);
    m_selectedDate = m_appState.selectedDate();
    connect(&m_appState, &app::AppState::selectedDateChanged, this, [this](core::Date date) {
        // Every newly selected day starts with its earlier events folded away; the
        // same day chosen again (Today on today, its own cell) is no new day.
        if (date == m_selectedDate)
            return;
        m_selectedDate = date;
        m_showEarlier = false;
        rebuild();
    });
    rebuild();
}

UpNextView::~UpNextView() = default;

void UpNextView::setShowEarlier(bool show) {
    if (show == m_showEarlier)
        return;
    m_showEarlier = show;
    m_fadeInEarlier = show && !design::Theme::appearance().reduceMotion;
    rebuild();
    m_fadeInEarlier = false;
}

EventRowView* UpNextView::highlightedRow() const {
    for (QWidget* widget : m_pieces) {
        auto* row = qobject_cast<EventRowView*>(widget);
        if (row != nullptr && row->input().isHighlighted)
            return row;
    }
    return nullptr;
}

void UpNextView::showEvent(QShowEvent* event) {
    // The popover may have been closed for hours; within the minute it was drawn in, every change it shows has
    // redrawn it already.
    if (DayAgenda::minuteOf(core::Date::now()) != m_now)
        rebuild();
    QWidget::showEvent(event);
}

void UpNextView::scheduleRebuild() {
    if (m_rebuildPending)
        return;
    m_rebuildPending = true;
    QMetaObject::invokeMethod(
        this,
        [this] {
            m_rebuildPending = false;
            m_fadeInEarlier = std::exchange(m_fadeInLeftPieces, false);
            rebuild();
            m_fadeInEarlier = false;
        },
        Qt::QueuedConnection);
}

void UpNextView::scheduleTick() {
    m_tick.startAt(DayAgenda::nextMinute(core::Date::now()));
}

template <class T, class Make>
T* UpNextView::piece(const QString& key, Pieces& old, Make make, bool* created) {
    T* widget = nullptr;
    if (const auto it = old.find(key); it != old.end()) {
        widget = dynamic_cast<T*>(it.value());
        if (widget != nullptr)
            old.erase(it);
    }
    if (created != nullptr)
        *created = widget == nullptr;
    if (widget == nullptr) {
        // Once the turn's share is made, nothing more is: what is made later comes later in the Tab order too.
        if (m_piecesToMake == 0) {
            m_piecesLeft = true;
            return nullptr;
        }
        --m_piecesToMake;
        widget = make();
    }
    m_pieces.insert(key, widget);
    m_layout->addWidget(widget);
    widget->show();
    return widget;
}

void UpNextView::rebuild() {
    m_now = DayAgenda::minuteOf(core::Date::now());
    m_drawnAccess = m_store.eventAccess();
    scheduleTick();
    const core::Calendar calendar;

    m_piecesToMake = kPiecesMadeAtOnce;
    m_piecesLeft = false;
    Pieces old = std::exchange(m_pieces, {});
    while (QLayoutItem* item = m_layout->takeAt(0))
        delete item;

    m_noCalendars = DayAgenda::noCalendarsEnabled(m_store, m_settings);
    if (m_noCalendars) {
        m_sections.clear();
        m_layout->setContentsMargins(0, 0, 0, 0);
        addNoCalendarsPrompt(old);
    } else {
        m_sections = DayAgenda::sections(m_appState.selectedDate(), m_store, m_now, calendar);
        m_layout->setContentsMargins(kMargins);
        for (const AgendaSection& section : m_sections)
            addSection(section, old);
    }

    // Pieces no longer shown go once the event that led here is over: one of
    // them may be the button being clicked.
    for (QWidget* widget : std::as_const(old)) {
        widget->hide();
        widget->deleteLater();
    }
    if (m_piecesLeft)
        makeLeftPieces();
}

void UpNextView::makeLeftPieces() {
    // The rows of an earlier group being opened fade in wherever their turn falls.
    m_fadeInLeftPieces = m_fadeInLeftPieces || m_fadeInEarlier;
    scheduleRebuild();
}

void UpNextView::addNoCalendarsPrompt(Pieces& old) {
    piece<EmptyStateView>(u"no-calendars"_s, old, [this] {
        auto* choose = new design::ODButton(u"Choose calendars"_s, u"calendar"_s, design::ODButtonKind::secondary,
                                            design::ODButtonSize::medium, false);
        connect(choose, &QAbstractButton::clicked, this, [this] {
            if (m_appState.onClosePopover)
                m_appState.onClosePopover();
            if (m_appState.onOpenSettings)
                m_appState.onOpenSettings(app::SettingsTab::calendars);
        });
        const QString symbol = design::SymbolTable::hasSymbol(u"calendar.badge.minus"_s) ? u"calendar.badge.minus"_s
                                                                                         : u"calendar"_s;
        auto* prompt = new EmptyStateView(
            symbol, design::Theme::fillSoft(), u"No calendars switched on"_s,
            u"Orbitday only shows calendars you pick. Turn a few on and the month fills right up."_s,
            design::Theme::text2(), choose, this);
        prompt->setContentsMargins(kPromptMargins);
        return prompt;
    });
}

void UpNextView::addSection(const AgendaSection& section, Pieces& old) {
    const QString day = dayKey(section);
    auto* header = piece<design::SectionHeader>(u"header|"_s + day, old, [this] {
        auto* made = new design::SectionHeader(QString(), this);
        made->setContentsMargins(kHeaderMargins);
        return made;
    });
    if (header != nullptr) {
        header->setTitle(DayAgenda::headerTitle(section, m_now, core::Calendar()));
        const QString date = PopoverFormat::day(section.date);
        if (auto* trailing = qobject_cast<design::TextLine*>(header->trailing());
            trailing == nullptr || trailing->text() != date)
            header->setTrailingText(date);
    }

    if (section.isEmpty()) {
        addEmptyDay(section, old);
        return;
    }

    for (const model::ODEvent& event : section.allDay) {
        auto* pill = piece<AllDayPill>(u"pill|"_s + day + u"|"_s + event.id, old, [&] {
            auto* made = new AllDayPill(event, section.date, this);
            connect(made, &QAbstractButton::clicked, this, [this, made] { openEvent(made->event().id); });
            return made;
        });
        if (pill != nullptr)
            pill->setEvent(event, section.date);
    }

    if (!section.earlier.empty())
        addEarlier(section, old);

    for (const model::ODEvent& event : section.timed) {
        const auto overlaps = section.overlaps.constFind(event.id);
        const EventRowInput input{event, m_now, section.highlightID == event.id,
                                  overlaps != section.overlaps.cend() ? std::optional(*overlaps) : std::nullopt,
                                  section.overlapped.contains(event.id)};
        bool created = false;
        addRow(u"row|"_s + day + u"|"_s + event.id, input, old, created);
    }

    if (const auto note = DayAgenda::trailingNote(section))
        if (auto* line = piece<NoteLine>(u"note|"_s + day, old, [this] { return new NoteLine(this); }))
            line->setText(*note);
}

EventRowView* UpNextView::addRow(const QString& key, const EventRowInput& input, Pieces& old, bool& created) {
    auto* row = piece<EventRowView>(key, old, [&] { return new EventRowView(input, m_appState, m_workspace, this); },
                                    &created);
    if (row != nullptr)
        row->setInput(input);
    return row;
}

void UpNextView::addEarlier(const AgendaSection& section, Pieces& old) {
    const QString day = dayKey(section);
    auto* button = piece<EarlierButton>(u"earlier|"_s + day, old, [this] {
        auto* made = new EarlierButton(this);
        connect(made, &QAbstractButton::clicked, this, [this] { setShowEarlier(!m_showEarlier); });
        return made;
    });
    if (button != nullptr)
        button->setState(static_cast<int>(section.earlier.size()), DayAgenda::earlierTitles(section.earlier),
                         m_showEarlier);
    if (!m_showEarlier)
        return;
    // Rows of events that are over are measured against the moment they are drawn.
    const core::Date wallClock = core::Date::now();
    for (const model::ODEvent& event : section.earlier) {
        bool created = false;
        EventRowView* row = addRow(u"earlier-row|"_s + day + u"|"_s + event.id,
                                   EventRowInput{event, wallClock, false, std::nullopt, false}, old, created);
        if (row == nullptr)
            continue;
        if (!created || !m_fadeInEarlier) {
            row->setOpacity(kEarlierOpacity);
            continue;
        }
        auto* fade = new QVariantAnimation(row);
        fade->setStartValue(0.0);
        fade->setEndValue(kEarlierOpacity);
        fade->setDuration(kEarlierFadeMilliseconds);
        fade->setEasingCurve(QEasingCurve::OutCubic);
        connect(fade, &QVariantAnimation::valueChanged, row, [row](const QVariant& value) {
            row->setOpacity(value.toReal());
        });
        row->setOpacity(0);
        fade->start(QAbstractAnimation::DeleteWhenStopped);
    }
}

void UpNextView::addEmptyDay(const AgendaSection& section, Pieces& old) {
    const QString key = u"empty|"_s + dayKey(section) + u"|"_s + QString::number(static_cast<int>(section.kind));
    auto* empty = piece<EmptyDay>(key, old, [&] {
        auto* made = new EmptyDay(section, this);
        connect(made->next(), &QAbstractButton::clicked, this, [this, made] { openEvent(made->next()->event().id); });
        return made;
    });
    if (empty != nullptr)
        empty->setNext(DayAgenda::nextEvent(section, m_now, m_store, core::Calendar()));
}

void UpNextView::openEvent(const QString& id) {
    m_appState.setRoute(app::PopoverRoute::eventEdit(id));
}

}  // namespace popover
