#include "popover/MonthHeaderView.h"

#include "design/widgets/KitWidget.h"
#include "design/widgets/ODButton.h"
#include "design/widgets/ODFont.h"
#include "design/widgets/ODIconButton.h"
#include "design/widgets/Painting.h"
#include "popover/MonthNavigation.h"
#include "state/AppSettings.h"
#include "state/AppState.h"

#include <QFontMetricsF>
#include <QHBoxLayout>
#include <QPainter>

#include <cmath>

namespace popover {

using namespace Qt::Literals::StringLiterals;

namespace {

constexpr qreal kButtonDiameter = 28;
constexpr qreal kTodayDimmedOpacity = 0.9;
// The row's spacing of 6 either side of a spacer of at least 8: the title shrinks
// before it comes closer to the buttons than that.
constexpr int kTitleGap = 6 + 8 + 6;

}  // namespace

MonthTitle::MonthTitle(QWidget* parent) : QWidget(parent) {
    design::setAccessibleRole(this, QAccessible::Heading);
    design::followAppearance(this);
    setSizePolicy(QSizePolicy::Expanding, QSizePolicy::Preferred);
}

void MonthTitle::setTitle(const QString& month, const QString& year) {
    if (month == m_month && year == m_year)
        return;
    m_month = month;
    m_year = year;
    setAccessibleName(month + u" "_s + year);
    updateGeometry();
    update();
}

qreal MonthTitle::naturalWidth(qreal size) const {
    const QFontMetricsF metrics(design::ODFont::display(size));
    return metrics.horizontalAdvance(m_month) + kGap + metrics.horizontalAdvance(m_year);
}

qreal MonthTitle::fittedSize() const {
    const qreal full = naturalWidth(kFontSize);
    if (full <= width() || full <= 0)
        return kFontSize;
    // Text width grows with the size, so the size that fits is found by scaling;
    // whole pixel sizes are tried downwards as fonts take whole sizes.
    for (qreal size = std::floor(kFontSize * width() / full); size >= kFontSize * kSmallestScale; --size)
        if (naturalWidth(size) <= width())
            return size;
    return std::ceil(kFontSize * kSmallestScale);
}

QSize MonthTitle::sizeHint() const {
    return QSize(static_cast<int>(std::ceil(naturalWidth(kFontSize))),
                 static_cast<int>(std::ceil(QFontMetricsF(design::ODFont::display(kFontSize)).height())));
}

QSize MonthTitle::minimumSizeHint() const {
    return QSize(0, sizeHint().height());
}

void MonthTitle::paintEvent(QPaintEvent*) {
    QPainter painter(this);
    const QFont font = design::ODFont::display(fittedSize());
    const QFontMetricsF metrics(font);
    painter.setFont(font);
    // Both texts stand on one baseline, centred in the height the full size takes.
    const qreal baseline = (height() - metrics.height()) / 2 + metrics.ascent();
    const qreal room = width();
    const QString month = metrics.elidedText(m_month, Qt::ElideRight, room);
    painter.setPen(design::toQColor(design::Theme::text()));
    painter.drawText(QPointF(0, baseline), month);
    // Cut short at the end: the year goes first, then the month.
    const qreal yearLeft = metrics.horizontalAdvance(month) + kGap;
    if (month != m_month || yearLeft >= room)
        return;
    const QString year = metrics.elidedText(m_year, Qt::ElideRight, room - yearLeft);
    if (year.isEmpty() || year == u"\u2026"_s)
        return;
    painter.setPen(design::toQColor(design::Theme::year()));
    painter.drawText(QPointF(yearLeft, baseline), year);
}

MonthHeaderView::MonthHeaderView(app::AppState& appState, app::AppSettings& settings, QWidget* parent)
    : QWidget(parent),
      m_appState(appState),
      m_settings(settings),
      m_title(new MonthTitle(this)),
      m_previous(new design::ODIconButton(u"chevron.left"_s, kButtonDiameter, u"Previous month"_s, this)),
      m_today(new design::ODButton(u"Today"_s, std::nullopt, design::ODButtonKind::ghost, design::ODButtonSize::medium,
                                   false, this)),
      m_next(new design::ODIconButton(u"chevron.right"_s, kButtonDiameter, u"Next month"_s, this)) {
    auto* buttons = new QHBoxLayout;
    buttons->setSpacing(6);
    buttons->addWidget(m_previous, 0, Qt::AlignVCenter);
    buttons->addWidget(m_today, 0, Qt::AlignVCenter);
    buttons->addWidget(m_next, 0, Qt::AlignVCenter);
    auto* layout = new QHBoxLayout(this);
    layout->setContentsMargins(16, 14, 16, 8);
    layout->setSpacing(0);
    layout->addWidget(m_title, 1, Qt::AlignVCenter);
    layout->addSpacing(kTitleGap);
    layout->addLayout(buttons);

    m_previous->setToolTip(u"Previous month"_s);
    m_next->setToolTip(u"Next month"_s);
    m_today->setToolTip(u"Go to today (T)"_s);
    m_today->setAccessibleDescription(u"Shortcut: T"_s);

    connect(m_previous, &QAbstractButton::clicked, this,
            [this] { MonthNavigation::shiftMonth(-1, m_appState, m_settings); });
    connect(m_next, &QAbstractButton::clicked, this, [this] { MonthNavigation::shiftMonth(1, m_appState, m_settings); });
    connect(m_today, &QAbstractButton::clicked, this, [this] { m_appState.goToToday(); });
    connect(&m_appState, &app::AppState::displayedMonthChanged, this, &MonthHeaderView::refresh);
    connect(&m_appState, &app::AppState::selectedDateChanged, this, &MonthHeaderView::refresh);
    connect(&m_settings, &app::AppSettings::firstWeekdayChanged, this, &MonthHeaderView::refresh);
    refresh();
}

void MonthHeaderView::showEvent(QShowEvent* event) {
    // Today may have moved on while the popover was closed.
    refresh();
    QWidget::showEvent(event);
}

void MonthHeaderView::refresh() {
    const core::Date month = m_appState.displayedMonth();
    m_title->setTitle(MonthNavigation::monthTitle(month), MonthNavigation::yearTitle(month));
    const bool showingToday = MonthNavigation::isShowingToday(m_appState, m_settings, core::Date::now());
    m_today->setEnabled(!showingToday);
    m_today->setOpacity(showingToday ? kTodayDimmedOpacity : 1.0);
}

}  // namespace popover
