#include "popover/MonthGridView.h"

#include "core/Clock.h"
#include "design/widgets/CalendarMarks.h"
#include "design/widgets/FocusRing.h"
#include "design/widgets/KitWidget.h"
#include "design/widgets/ODFont.h"
#include "design/widgets/Painting.h"
#include "platform/haptics/Haptics.h"
#include "state/AppSettings.h"
#include "state/AppState.h"
#include "store/CalendarStore.h"

#include <QAbstractButton>
#include <QEnterEvent>
#include <QFontMetricsF>
#include <QKeyEvent>
#include <QPainter>
#include <QPointer>
#include <QVariantAnimation>

#include <cmath>

namespace popover {

using namespace Qt::Literals::StringLiterals;

namespace {

constexpr qreal kNumberSize = 18;
constexpr qreal kPlusSize = 7;
constexpr qreal kCellPadding = 2;
constexpr qreal kCellSpacing = 2;
constexpr int kRowPadding = 1;
constexpr int kHeaderPadding = 3;
constexpr qreal kMarkSpacing = 2;
constexpr qreal kMarkHeight = 4;
constexpr qreal kSinglePillWidth = 10;
constexpr qreal kPillWidth = 6;
constexpr qreal kDotSize = 4;
constexpr qreal kDotCapsulePadding = 4;
constexpr int kHoverMilliseconds = 120;

QFont numberFont() {
    return design::ODFont::display(kNumberSize);
}

QFont plusFont() {
    return design::ODFont::body(kPlusSize, design::FontWeight::bold);
}

QFont weekdayFont() {
    return design::ODFont::body(12, design::FontWeight::bold);
}

QFont weekColumnTitleFont() {
    return design::ODFont::body(11, design::FontWeight::semibold);
}

QFont weekNumberFont() {
    return design::ODFont::display(11);
}

qreal marksRowHeight() {
    return QFontMetricsF(plusFont()).height();
}

int cellHeight() {
    return static_cast<int>(std::ceil(kCellPadding + QFontMetricsF(numberFont()).height() + kCellSpacing +
                                      marksRowHeight() + kCellPadding));
}

QString plusText(int count) {
    return u"+"_s + QString::number(count);
}

}  // namespace

// One day of the grid: its number, its marks, and the selection, today and hover looks.
class DayCell final : public QAbstractButton {
public:
    DayCell(app::AppSettings& settings, platform::Haptics& haptics, QWidget* parent)
        : QAbstractButton(parent), m_settings(settings), m_haptics(haptics) {
        setFocusPolicy(Qt::TabFocus);
        setAttribute(Qt::WA_Hover);
        design::setAccessibleRole(this, QAccessible::Button);
        design::followAppearance(this);
        design::odFocusRing(this, design::Shape::rounded(MonthGridView::kCornerRadius));
        setAccessibleDescription(u"Shows this day's events"_s);
        m_hover.setDuration(kHoverMilliseconds);
        m_hover.setEasingCurve(QEasingCurve::OutQuad);
        connect(&m_hover, &QVariantAnimation::valueChanged, this, [this](const QVariant& value) {
            m_hoverAmount = value.toReal();
            update();
        });
    }

    const DayCellState& state() const { return m_state; }

    void setState(DayCellState state) {
        if (state == m_state)
            return;
        m_state = std::move(state);
        const QString label = m_state.accessibilityText();
        if (label != accessibleName())
            setAccessibleName(label);
        design::setAccessibleSelected(this, m_state.isSelected);
        update();
    }

protected:
    void enterEvent(QEnterEvent* event) override {
        if (m_settings.hoverHaptics())
            m_haptics.perform(platform::Haptics::Pattern::alignment);
        setHovered(true);
        QAbstractButton::enterEvent(event);
    }

    void leaveEvent(QEvent* event) override {
        setHovered(false);
        QAbstractButton::leaveEvent(event);
    }

    void keyPressEvent(QKeyEvent* event) override {
        if (!design::clickOnReturn(this, event))
            QAbstractButton::keyPressEvent(event);
    }

    void paintEvent(QPaintEvent*) override {
        QPainter painter(this);
        painter.setRenderHint(QPainter::Antialiasing);
        const QRectF shapeRect = QRectF(rect()).adjusted(1, 0, -1, 0);
        const design::Shape shape = design::Shape::rounded(MonthGridView::kCornerRadius);
        if (m_state.isSelected) {
            shape.fill(painter, shapeRect, design::toQColor(design::Theme::flame()));
        } else if (m_hoverAmount > 0) {
            QColor soft = design::toQColor(design::Theme::fillSoft());
            soft.setAlphaF(soft.alphaF() * static_cast<float>(m_hoverAmount));
            shape.fill(painter, shapeRect, soft);
        }
        if (m_state.isToday && !m_state.isSelected)
            shape.strokeBorder(painter, shapeRect, design::toQColor(design::Theme::flame()), 2);

        const QFontMetricsF numberMetrics(numberFont());
        const QRectF numberRect(0, kCellPadding, width(), numberMetrics.height());
        painter.setFont(numberFont());
        painter.setPen(numberColor());
        painter.drawText(numberRect, Qt::AlignHCenter | Qt::AlignVCenter, QString::number(m_state.day));

        const QRectF marksRect(0, numberRect.bottom() + kCellSpacing, width(), marksRowHeight());
        paintMarks(painter, marksRect);
    }

private:
    void setHovered(bool hovered) {
        const qreal target = hovered ? 1.0 : 0.0;
        m_hover.stop();
        if (design::Theme::appearance().reduceMotion) {
            m_hoverAmount = target;
            update();
            return;
        }
        m_hover.setStartValue(m_hoverAmount);
        m_hover.setEndValue(target);
        m_hover.start();
    }

    QColor numberColor() const {
        if (m_state.isSelected)
            return design::toQColor(design::Theme::onAccent());
        if (!m_state.isCurrentMonth)
            return design::toQColor(design::Theme::textFaint());
        if (m_state.isToday)
            return design::toQColor(design::Theme::flame());
        if (m_state.isPast)
            return design::toQColor(design::Theme::textPast());
        return design::toQColor(design::Theme::text());
    }

    // The marks side by side, centred in `row`: dots on a card-coloured capsule
    // for the selected day, pills otherwise; then the count of the rest.
    void paintMarks(QPainter& painter, const QRectF& row) const {
        const DayMarks marks = m_state.marks();
        if (marks.shown.empty())
            return;
        const bool dots = m_state.isSelected;
        const qreal markWidth = dots ? kDotSize : marks.shown.size() == 1 ? kSinglePillWidth : kPillWidth;
        const int count = static_cast<int>(marks.shown.size());
        qreal contentWidth = count * markWidth + (count - 1) * kMarkSpacing;
        const QFont font = plusFont();
        const QString plus = marks.overflow > 0 ? plusText(marks.overflow) : QString();
        const qreal plusWidth = plus.isEmpty() ? 0 : QFontMetricsF(font).horizontalAdvance(plus);
        if (!plus.isEmpty())
            contentWidth += kMarkSpacing + plusWidth;

        painter.save();
        qreal x = row.center().x() - contentWidth / 2;
        if (dots) {
            const QRectF capsule(x - kDotCapsulePadding, row.top(), contentWidth + 2 * kDotCapsulePadding,
                                 row.height());
            design::Shape::capsule().fill(painter, capsule, design::toQColor(design::Theme::card()));
        } else if (!m_state.isCurrentMonth || m_state.isPast) {
            painter.setOpacity(0.5);
        }
        const qreal markTop = row.center().y() - kMarkHeight / 2;
        for (const core::Color& color : marks.shown) {
            const QRectF mark(x, markTop, markWidth, kMarkHeight);
            if (dots)
                design::CalendarDot::paint(painter, mark, color, kDotSize);
            else
                design::CalendarPill::paint(painter, mark, color);
            x += markWidth + kMarkSpacing;
        }
        if (!plus.isEmpty()) {
            painter.setFont(font);
            painter.setPen(design::toQColor(dots ? design::Theme::text2() : design::Theme::text3()));
            painter.drawText(QRectF(x, row.top(), plusWidth + 1, row.height()), Qt::AlignLeft | Qt::AlignVCenter,
                             plus);
        }
        painter.restore();
    }

    app::AppSettings& m_settings;
    platform::Haptics& m_haptics;
    DayCellState m_state;
    QVariantAnimation m_hover;
    qreal m_hoverAmount = 0;
};

// The number of a week in front of its row.
class WeekNumberLabel final : public QWidget {
public:
    explicit WeekNumberLabel(QWidget* parent) : QWidget(parent) {
        design::setAccessibleRole(this, QAccessible::StaticText);
        design::followAppearance(this);
    }

    void setNumber(int number) {
        if (number == m_number)
            return;
        m_number = number;
        setAccessibleName(u"Week "_s + QString::number(number));
        update();
    }

protected:
    void paintEvent(QPaintEvent*) override {
        QPainter painter(this);
        painter.setFont(weekNumberFont());
        painter.setPen(design::toQColor(design::Theme::text3()));
        // Set 4 pixels lower than the middle of the row, closer to the day numbers' baseline.
        painter.drawText(QRectF(rect()).adjusted(0, 4, 0, 0), Qt::AlignCenter, QString::number(m_number));
    }

private:
    int m_number = -1;
};

MonthGridView::MonthGridView(store::CalendarStore& store, app::AppState& appState, app::AppSettings& settings,
                             platform::Haptics& haptics, QWidget* parent)
    : QWidget(parent), m_store(store), m_appState(appState), m_settings(settings), m_haptics(haptics) {
    design::followAppearance(this);
    for (int i = 0; i < MonthGridModel::kDays; ++i) {
        auto* cell = new DayCell(settings, haptics, this);
        connect(cell, &QAbstractButton::clicked, this, [this, cell] { select(cell->state().date); });
        m_cells.push_back(cell);
    }
    for (int row = 0; row < MonthGridModel::kWeeks; ++row)
        m_weekNumbers.push_back(new WeekNumberLabel(this));

    connect(&m_store, &store::CalendarStore::eventsChanged, this, &MonthGridView::refresh);
    connect(&m_appState, &app::AppState::selectedDateChanged, this, &MonthGridView::refresh);
    connect(&m_appState, &app::AppState::displayedMonthChanged, this, [this] {
        refresh();
        requestLoad();
    });
    connect(&m_settings, &app::AppSettings::showWeekNumbersChanged, this, [this] {
        refresh();
        layoutChildren();
        update();
    });
    // Another first weekday moves the shown days by up to six: they must be loaded too.
    connect(&m_settings, &app::AppSettings::firstWeekdayChanged, this, [this] {
        refresh();
        requestLoad();
    });
    refresh();
}

MonthGridView::~MonthGridView() = default;

QAbstractButton* MonthGridView::cell(int index) const {
    if (index < 0 || index >= static_cast<int>(m_cells.size()))
        return nullptr;
    return m_cells[static_cast<size_t>(index)];
}

void MonthGridView::refresh() {
    m_model = MonthGridModel::build(m_appState.displayedMonth(), m_appState.selectedDate(), m_store.events(),
                                    MonthGridModel::gridCalendar(m_settings), core::Date::now());
    for (size_t i = 0; i < m_cells.size() && i < m_model.cells.size(); ++i)
        m_cells[i]->setState(m_model.cells[i]);
    const bool weekNumbers = m_settings.showWeekNumbers();
    for (size_t row = 0; row < m_weekNumbers.size(); ++row) {
        m_weekNumbers[row]->setNumber(m_model.weekNumbers[row]);
        m_weekNumbers[row]->setVisible(weekNumbers);
    }
    update(QRect(0, 0, width(), headerHeight()));
}

void MonthGridView::requestLoad() {
    std::vector<core::Date> days;
    days.reserve(m_model.cells.size());
    for (const DayCellState& cell : m_model.cells)
        days.push_back(cell.date);
    const auto interval = MonthGridModel::loadInterval(days);
    if (!interval)
        return;
    // Asked on a later turn, never from inside the change that moved the month.
    const QPointer<store::CalendarStore> store(&m_store);
    QMetaObject::invokeMethod(
        this,
        [store, interval = *interval] {
            if (store)
                store->ensureLoaded(interval);
        },
        Qt::QueuedConnection);
}

void MonthGridView::select(core::Date date) {
    m_appState.setSelectedDate(date);
    const core::Calendar calendar = MonthGridModel::gridCalendar(m_settings);
    if (!calendar.isDate(date, m_appState.displayedMonth(), core::CalendarUnit::Month))
        m_appState.setDisplayedMonth(date);
}

int MonthGridView::headerHeight() const {
    return kHeaderPadding + static_cast<int>(std::ceil(QFontMetricsF(weekdayFont()).height())) + kHeaderPadding;
}

int MonthGridView::rowHeight() const {
    return kRowPadding + cellHeight() + kRowPadding;
}

QSize MonthGridView::sizeHint() const {
    return QSize(364, headerHeight() + MonthGridModel::kWeeks * rowHeight() + kBottomPadding);
}

QSize MonthGridView::minimumSizeHint() const {
    return QSize(2 * kSidePadding + kWeekColumnWidth + 7 * 30, sizeHint().height());
}

std::vector<int> MonthGridView::columnEdges() const {
    const int left = kSidePadding + (m_settings.showWeekNumbers() ? kWeekColumnWidth : 0);
    const int right = width() - kSidePadding;
    const double columnWidth = std::max(0, right - left) / 7.0;
    std::vector<int> edges;
    for (int i = 0; i <= 7; ++i)
        edges.push_back(left + static_cast<int>(std::lround(i * columnWidth)));
    return edges;
}

void MonthGridView::layoutChildren() {
    const std::vector<int> edges = columnEdges();
    const int top = headerHeight();
    const int row = rowHeight();
    for (int r = 0; r < MonthGridModel::kWeeks; ++r) {
        const int y = top + r * row;
        m_weekNumbers[static_cast<size_t>(r)]->setGeometry(kSidePadding, y, kWeekColumnWidth, row);
        for (int c = 0; c < 7; ++c) {
            const auto i = static_cast<size_t>(c);
            m_cells[static_cast<size_t>(7 * r + c)]->setGeometry(edges[i], y + kRowPadding, edges[i + 1] - edges[i],
                                                                 row - 2 * kRowPadding);
        }
    }
}

void MonthGridView::resizeEvent(QResizeEvent* event) {
    QWidget::resizeEvent(event);
    layoutChildren();
}

void MonthGridView::showEvent(QShowEvent* event) {
    QWidget::showEvent(event);
    if (!event->spontaneous())
        requestLoad();
}

void MonthGridView::paintEvent(QPaintEvent*) {
    QPainter painter(this);
    const QRectF header(0, kHeaderPadding, width(), headerHeight() - 2 * kHeaderPadding);
    if (m_settings.showWeekNumbers()) {
        painter.setFont(weekColumnTitleFont());
        painter.setPen(design::toQColor(design::Theme::text3()));
        painter.drawText(QRectF(kSidePadding, header.top(), kWeekColumnWidth, header.height()), Qt::AlignCenter,
                         u"Wk"_s);
    }
    painter.setFont(weekdayFont());
    painter.setPen(design::toQColor(design::Theme::text()));
    const std::vector<int> edges = columnEdges();
    for (int c = 0; c < 7 && c < m_model.weekdaySymbols.size(); ++c) {
        const auto i = static_cast<size_t>(c);
        painter.drawText(QRectF(edges[i], header.top(), edges[i + 1] - edges[i], header.height()), Qt::AlignCenter,
                         m_model.weekdaySymbols[c]);
    }
}

}  // namespace popover
