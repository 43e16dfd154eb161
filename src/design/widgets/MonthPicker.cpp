#include "design/widgets/MonthPicker.h"

#include "core/Clock.h"
#include "design/values/CalendarGrid.h"
#include "design/values/ODFormat.h"
#include "design/values/Theme.h"
#include "design/widgets/KitWidget.h"
#include "design/widgets/ODFont.h"
#include "design/widgets/ODIconButton.h"
#include "design/widgets/Painting.h"

#include <QKeyEvent>
#include <QMouseEvent>
#include <QPainter>
#include <QVBoxLayout>

using namespace Qt::Literals::StringLiterals;

namespace design {

namespace {

constexpr int kButtonDiameter = 22;
constexpr int kButtonGap = 4;
constexpr qreal kMarkDiameter = 24;

}  // namespace

MonthPicker::MonthPicker(QWidget* parent)
    : QWidget(parent),
      m_previous(new ODIconButton(u"chevron.left"_s, kButtonDiameter, u"Previous month"_s, this)),
      m_next(new ODIconButton(u"chevron.right"_s, kButtonDiameter, u"Next month"_s, this)) {
    setFocusPolicy(Qt::StrongFocus);
    setAccessibleRole(this, QAccessible::Table);
    m_previous->setSymbolStyle(10, FontWeight::bold);
    m_next->setSymbolStyle(10, FontWeight::bold);
    m_previous->setToolTip(u"Previous month"_s);
    m_next->setToolTip(u"Next month"_s);
    connect(m_previous, &QAbstractButton::clicked, this, [this] { showAdjacentMonth(-1); });
    connect(m_next, &QAbstractButton::clicked, this, [this] { showAdjacentMonth(1); });
    followAppearance(this);
    showMonth(core::Clock::current().now());
}

void MonthPicker::setCalendar(const core::Calendar& calendar) {
    m_calendar = calendar;
    showMonth(m_date.value_or(m_month));
}

void MonthPicker::setDate(std::optional<core::Date> date) {
    m_date = date;
    if (date && !m_calendar.isDate(*date, m_month, core::CalendarUnit::Month))
        showMonth(*date);
    announce();
    update();
}

void MonthPicker::setMinimumDate(std::optional<core::Date> minimum) {
    m_minimum = minimum;
    update();
}

void MonthPicker::showMonth(core::Date dayInMonth) {
    const std::optional<core::DateInterval> month = m_calendar.dateInterval(core::CalendarUnit::Month, dayInMonth);
    m_month = month ? month->start : m_calendar.startOfDay(dayInMonth);
    m_days = CalendarGrid::days(m_month, m_calendar);
    announce();
    update();
}

void MonthPicker::showAdjacentMonth(int step) {
    if (const std::optional<core::Date> moved = m_calendar.dateByAdding(core::CalendarUnit::Month, step, m_month))
        showMonth(*moved);
}

QString MonthPicker::monthTitle() const {
    return ODFormat::format(m_month, u"MMMMy"_s, m_calendar.timeZone());
}

bool MonthPicker::isPickable(core::Date day) const {
    // A day is pickable while any of it lies at or after the least date.
    if (!m_minimum)
        return true;
    const core::Date next = m_calendar.dateByAdding(core::CalendarUnit::Day, 1, day).value_or(day + 86400);
    return next > *m_minimum;
}

void MonthPicker::pick(core::Date day) {
    if (!isPickable(day))
        return;
    core::Date picked = m_calendar.startOfDay(day);
    if (m_date) {
        const core::DateComponents time = m_calendar.components(*m_date);
        picked = m_calendar
                     .dateBySettingTime(time.hour.value_or(0), time.minute.value_or(0), time.second.value_or(0), picked)
                     .value_or(picked);
    }
    if (m_minimum)
        picked = std::max(picked, *m_minimum);
    setDate(picked);
    emit datePicked(picked);
}

QSize MonthPicker::sizeHint() const {
    return QSize(7 * kCellWidth, kHeaderHeight + kWeekdayHeight + CalendarGrid::kWeeks * kCellHeight);
}

int MonthPicker::gridLeft() const {
    return std::max(0, (width() - 7 * kCellWidth) / 2);
}

QRect MonthPicker::dayRect(int index) const {
    const int row = index / 7;
    const int column = index % 7;
    return QRect(gridLeft() + column * kCellWidth, kHeaderHeight + kWeekdayHeight + row * kCellHeight, kCellWidth,
                 kCellHeight);
}

void MonthPicker::resizeEvent(QResizeEvent* event) {
    QWidget::resizeEvent(event);
    layOutDays();
}

void MonthPicker::layOutDays() {
    const int right = gridLeft() + 7 * kCellWidth;
    const int top = (kHeaderHeight - kButtonDiameter) / 2;
    m_next->setGeometry(right - kButtonDiameter - 2, top, kButtonDiameter, kButtonDiameter);
    m_previous->setGeometry(right - 2 * kButtonDiameter - kButtonGap - 2, top, kButtonDiameter, kButtonDiameter);
}

void MonthPicker::announce() {
    setAccessibleName(monthTitle());
    setAccessibleValue(this, m_date ? ODFormat::format(*m_date, u"yMMMMEEEEd"_s, m_calendar.timeZone()) : QString());
}

void MonthPicker::paintEvent(QPaintEvent*) {
    QPainter painter(this);
    painter.setRenderHint(QPainter::Antialiasing);
    const int left = gridLeft();

    painter.setFont(ODFont::body(13, FontWeight::bold));
    painter.setPen(toQColor(Theme::text()));
    painter.drawText(QRect(left + 6, 0, 7 * kCellWidth - 2 * kButtonDiameter - 16, kHeaderHeight),
                     Qt::AlignLeft | Qt::AlignVCenter | Qt::TextSingleLine, monthTitle());

    painter.setFont(ODFont::body(10, FontWeight::semibold));
    painter.setPen(toQColor(Theme::text3()));
    const QStringList letters = CalendarGrid::weekdaySymbols(m_calendar);
    for (int column = 0; column < letters.size() && column < 7; ++column)
        painter.drawText(QRect(left + column * kCellWidth, kHeaderHeight, kCellWidth, kWeekdayHeight), Qt::AlignCenter,
                         letters[column]);

    const core::Date today = m_calendar.startOfDay(core::Clock::current().now());
    for (int i = 0; i < static_cast<int>(m_days.size()); ++i) {
        const core::Date day = m_days[static_cast<size_t>(i)];
        const QRectF cell(dayRect(i));
        const bool selected = m_date && m_calendar.isDateInSameDay(day, *m_date);
        const bool inMonth = m_calendar.isDate(day, m_month, core::CalendarUnit::Month);
        const bool isToday = day == today;
        QColor ink = toQColor(inMonth ? Theme::text() : Theme::text3());
        FontWeight weight = FontWeight::medium;
        if (!isPickable(day))
            ink = toQColor(Theme::textFaint());
        if (isToday) {
            ink = toQColor(Theme::flame());
            weight = FontWeight::bold;
        }
        if (selected) {
            Shape::circle().fill(painter, odSquare(cell, kMarkDiameter), toQColor(Theme::flame()));
            ink = toQColor(Theme::onAccent());
            weight = FontWeight::bold;
        }
        painter.setFont(ODFont::body(12, weight));
        painter.setPen(ink);
        painter.drawText(cell, Qt::AlignCenter, QString::number(m_calendar.component(core::CalendarUnit::Day, day)));
    }
}

void MonthPicker::mouseReleaseEvent(QMouseEvent* event) {
    for (int i = 0; i < static_cast<int>(m_days.size()); ++i) {
        if (dayRect(i).contains(event->position().toPoint())) {
            pick(m_days[static_cast<size_t>(i)]);
            return;
        }
    }
    QWidget::mouseReleaseEvent(event);
}

void MonthPicker::keyPressEvent(QKeyEvent* event) {
    int days = 0;
    switch (event->key()) {
        case Qt::Key_Left:
            days = -1;
            break;
        case Qt::Key_Right:
            days = 1;
            break;
        case Qt::Key_Up:
            days = -7;
            break;
        case Qt::Key_Down:
            days = 7;
            break;
        case Qt::Key_PageUp:
            showAdjacentMonth(-1);
            return;
        case Qt::Key_PageDown:
            showAdjacentMonth(1);
            return;
        default:
            QWidget::keyPressEvent(event);
            return;
    }
    const core::Date from = m_date.value_or(m_calendar.startOfDay(core::Clock::current().now()));
    if (const std::optional<core::Date> moved = m_calendar.dateByAdding(core::CalendarUnit::Day, days, from))
        pick(*moved);
}

PaddedMonthPicker makePaddedMonthPicker() {
    auto* card = new QWidget;
    auto* layout = new QVBoxLayout(card);
    layout->setContentsMargins(12, 12, 12, 12);
    auto* picker = new MonthPicker(card);
    layout->addWidget(picker);
    card->setFocusProxy(picker);
    return {card, picker};
}

}  // namespace design
