#include "design/widgets/TimeField.h"

#include "core/DateFormat.h"
#include "design/values/Theme.h"
#include "design/widgets/FieldFrame.h"
#include "design/widgets/KitWidget.h"
#include "design/widgets/ODFont.h"
#include "design/widgets/Painting.h"

#include <QFontMetricsF>
#include <QKeyEvent>
#include <QMouseEvent>
#include <QPainter>
#include <QRegularExpression>

#include <algorithm>
#include <cmath>

using namespace Qt::Literals::StringLiterals;

namespace design {

namespace {

constexpr qreal kSidePadding = 8;
constexpr qreal kPartPadding = 2;
constexpr qreal kPartRadius = 4;

QFont digitsFont() {
    return ODFont::body(13, FontWeight::semibold);
}

// The pattern's letters outside quoted literals, each field once, in order.
QString fieldLetters(const QString& pattern) {
    QString letters;
    bool quoted = false;
    for (const QChar c : pattern) {
        if (c == u'\'') {
            quoted = !quoted;
            continue;
        }
        if (!quoted && c.isLetter() && !letters.contains(c))
            letters += c;
    }
    return letters;
}

}  // namespace

TimeField::TimeField(QWidget* parent) : QWidget(parent) {
    setFocusPolicy(Qt::StrongFocus);
    setSizePolicy(QSizePolicy::Fixed, QSizePolicy::Fixed);
    setCursor(Qt::IBeamCursor);
    setAccessibleRole(this, QAccessible::SpinBox);
    followAppearance(this);
    readLocale();
    setDate(m_date);
}

void TimeField::readLocale() {
    const QString pattern = core::DateFormat::bestPattern(u"jmm"_s);
    const QString letters = fieldLetters(pattern);
    m_twelveHours = letters.contains(u'h') || letters.contains(u'K');
    m_padHour = pattern.contains(u"HH"_s) || pattern.contains(u"hh"_s) || pattern.contains(u"kk"_s) ||
                pattern.contains(u"KK"_s);
    // What stands between the hour and the minute, as the locale writes it.
    const qsizetype hour = pattern.indexOf(QRegularExpression(u"[HhKk]"_s));
    const qsizetype minute = pattern.indexOf(u'm');
    if (hour >= 0 && minute > hour) {
        qsizetype end = hour;
        while (end < minute && QStringLiteral("HhKk").contains(pattern[end]))
            ++end;
        const QString between = pattern.mid(end, minute - end).remove(u'\'');
        if (!between.isEmpty())
            m_separator = between;
    }
    m_parts.clear();
    for (const QChar c : letters) {
        if (QStringLiteral("HhKk").contains(c))
            m_parts.push_back(Part::hour);
        else if (c == u'm')
            m_parts.push_back(Part::minute);
        else if (c == u'a' && m_twelveHours)
            m_parts.push_back(Part::meridiem);
    }
    if (m_parts.empty())
        m_parts = {Part::hour, Part::minute};
    const std::optional<core::DateFormat> mark = core::DateFormat::fromPattern(u"a"_s);
    const core::Calendar utc(core::TimeZone::utc(), core::Locale::current());
    m_amSymbol = mark ? mark->format(*utc.date({.year = 2001, .month = 1, .day = 1, .hour = 9})) : u"AM"_s;
    m_pmSymbol = mark ? mark->format(*utc.date({.year = 2001, .month = 1, .day = 1, .hour = 21})) : u"PM"_s;
}

void TimeField::setCalendar(const core::Calendar& calendar) {
    m_calendar = calendar;
    setDate(m_date);
}

void TimeField::setDate(core::Date date) {
    m_date = date;
    const int hour = m_calendar.component(core::CalendarUnit::Hour, date);
    const int minute = m_calendar.component(core::CalendarUnit::Minute, date);
    // A screen that shows back what was just typed (perhaps on another day)
    // must not forget the digit before it: "1" then "1" is 11.
    if (hour != m_hour || minute != m_minute)
        m_typed.clear();
    m_hour = hour;
    m_minute = minute;
    announce();
    updateGeometry();
    update();
}

QString TimeField::partText(Part part) const {
    switch (part) {
        case Part::hour: {
            const int shown = m_twelveHours ? (m_hour % 12 == 0 ? 12 : m_hour % 12) : m_hour;
            return m_padHour ? QStringLiteral("%1").arg(shown, 2, 10, QLatin1Char('0')) : QString::number(shown);
        }
        case Part::minute:
            return QStringLiteral("%1").arg(m_minute, 2, 10, QLatin1Char('0'));
        case Part::meridiem:
            return m_hour < 12 ? m_amSymbol : m_pmSymbol;
    }
    return {};
}

QString TimeField::separatorBefore(size_t index) const {
    if (index == 0)
        return {};
    const Part before = m_parts[index - 1];
    const Part part = m_parts[index];
    if (before == Part::hour && part == Part::minute)
        return m_separator;
    return u" "_s;
}

QString TimeField::text() const {
    QString shown;
    for (size_t i = 0; i < m_parts.size(); ++i)
        shown += separatorBefore(i) + partText(m_parts[i]);
    return shown;
}

std::vector<std::pair<TimeField::Part, QRectF>> TimeField::partRects() const {
    const QFontMetricsF metrics(digitsFont());
    std::vector<std::pair<Part, QRectF>> rects;
    qreal x = kSidePadding;
    for (size_t i = 0; i < m_parts.size(); ++i) {
        x += metrics.horizontalAdvance(separatorBefore(i));
        // Two digits' room, so that the field keeps its width while typing.
        const qreal width = std::max(metrics.horizontalAdvance(partText(m_parts[i])),
                                     m_parts[i] == Part::meridiem ? 0 : metrics.horizontalAdvance(u"00"_s));
        rects.emplace_back(m_parts[i], QRectF(x, 0, width, height()));
        x += width;
    }
    return rects;
}

QSize TimeField::sizeHint() const {
    const QFontMetricsF metrics(digitsFont());
    qreal width = 2 * kSidePadding;
    for (size_t i = 0; i < m_parts.size(); ++i)
        width += metrics.horizontalAdvance(separatorBefore(i)) +
                 std::max(metrics.horizontalAdvance(partText(m_parts[i])),
                          m_parts[i] == Part::meridiem ? 0 : metrics.horizontalAdvance(u"00"_s));
    return QSize(static_cast<int>(std::ceil(width)), kHeight);
}

void TimeField::selectPart(std::optional<Part> part) {
    m_selected = part;
    m_typed.clear();
    update();
}

std::optional<core::Date> TimeField::dateAt(int hour, int minute) const {
    return m_calendar.dateBySettingTime(hour, minute, 0, m_calendar.startOfDay(m_date));
}

bool TimeField::exists(int hour, int minute) const {
    const std::optional<core::Date> date = dateAt(hour, minute);
    return date && m_calendar.component(core::CalendarUnit::Hour, *date) == hour &&
           m_calendar.component(core::CalendarUnit::Minute, *date) == minute;
}

void TimeField::setTime(int hour, int minute) {
    m_date = dateAt(hour, minute).value_or(m_date);
    // A time the day skips became the next one that exists: show that.
    m_hour = m_calendar.component(core::CalendarUnit::Hour, m_date);
    m_minute = m_calendar.component(core::CalendarUnit::Minute, m_date);
    announce();
    update();
    emit dateEdited(m_date);
}

void TimeField::typeDigit(int digit) {
    if (!m_selected || *m_selected == Part::meridiem)
        return;
    const bool hour = *m_selected == Part::hour;
    const int largest = hour ? (m_twelveHours ? 12 : 23) : 59;
    int value = QString(m_typed + QString::number(digit)).toInt();
    if (value > largest || m_typed.size() >= 2) {
        m_typed.clear();
        value = digit;
    }
    m_typed += QString::number(digit);
    if (hour) {
        int hour24 = value;
        if (m_twelveHours) {
            const bool pm = m_hour >= 12;
            hour24 = (value == 0 ? 0 : value % 12) + (pm ? 12 : 0);
        }
        setTime(hour24, m_minute);
    } else {
        setTime(m_hour, value);
    }
    // No further digit could follow: on to the next part.
    if (value * 10 > largest || m_typed.size() >= 2)
        moveSelection(1);
}

void TimeField::step(int by) {
    if (!m_selected)
        return;
    const auto wrap = [](int value, int count) { return (value % count + count) % count; };
    switch (*m_selected) {
        case Part::hour: {
            // Over a time the day skips (the spring-forward hour) the step goes
            // on to the next hour that exists, down as well as up.
            int hour = wrap(m_hour + by, 24);
            for (int tries = 1; tries < 24 && !exists(hour, m_minute); ++tries)
                hour = wrap(hour + by, 24);
            setTime(hour, m_minute);
            break;
        }
        case Part::minute: {
            int minute = wrap(m_minute + by, 60);
            for (int tries = 1; tries < 60 && !exists(m_hour, minute); ++tries)
                minute = wrap(minute + by, 60);
            setTime(m_hour, minute);
            break;
        }
        case Part::meridiem:
            setTime((m_hour + 12) % 24, m_minute);
            break;
    }
    m_typed.clear();
}

bool TimeField::moveSelection(int by) {
    const auto at = m_selected ? std::find(m_parts.begin(), m_parts.end(), *m_selected) : m_parts.end();
    const int index =
        at == m_parts.end() ? (by > 0 ? -1 : static_cast<int>(m_parts.size())) : int(at - m_parts.begin());
    const int next = index + by;
    if (next < 0 || next >= static_cast<int>(m_parts.size()))
        return false;
    selectPart(m_parts[static_cast<size_t>(next)]);
    return true;
}

void TimeField::announce() {
    setAccessibleName(u"Time"_s);
    setAccessibleValue(this, text());
}

void TimeField::paintEvent(QPaintEvent*) {
    QPainter painter(this);
    painter.setRenderHint(QPainter::Antialiasing);
    FieldBackground::paint(painter, QRectF(rect()), hasFocus(), false);
    painter.setFont(digitsFont());
    const QFontMetricsF metrics(digitsFont());
    const auto rects = partRects();
    for (size_t i = 0; i < rects.size(); ++i) {
        const auto& [part, area] = rects[i];
        const QString separator = separatorBefore(i);
        painter.setPen(toQColor(Theme::text2()));
        painter.drawText(QRectF(area.left() - metrics.horizontalAdvance(separator), 0,
                                metrics.horizontalAdvance(separator), height()),
                         Qt::AlignCenter, separator);
        const bool selected = hasFocus() && m_selected == part;
        if (selected)
            Shape::rounded(kPartRadius)
                .fill(painter, area.adjusted(-kPartPadding, 4, kPartPadding, -4), toQColor(Theme::flame()));
        painter.setPen(selected ? toQColor(Theme::onAccent()) : toQColor(Theme::text()));
        // An hour of one digit stands by its separator, the room for a second
        // one before it.
        const Qt::Alignment align = part == Part::hour && m_parts.size() > i + 1 && m_parts[i + 1] == Part::minute
                                        ? Qt::AlignRight | Qt::AlignVCenter
                                        : Qt::AlignCenter;
        painter.drawText(area, align, partText(part));
    }
}

void TimeField::mousePressEvent(QMouseEvent* event) {
    setFocus(Qt::MouseFocusReason);
    std::optional<Part> hit;
    qreal nearest = 1e9;
    for (const auto& [part, area] : partRects()) {
        const qreal distance = std::abs(area.center().x() - event->position().x());
        if (distance < nearest) {
            nearest = distance;
            hit = part;
        }
    }
    selectPart(hit);
}

void TimeField::keyPressEvent(QKeyEvent* event) {
    const QString typed = event->text();
    if (typed.size() == 1 && typed[0].isDigit() && typed[0].digitValue() >= 0) {
        typeDigit(typed[0].digitValue());
        return;
    }
    if (m_selected == Part::meridiem && typed.size() == 1) {
        const QChar letter = typed[0].toLower();
        const auto initial = [](const QString& mark) { return mark.isEmpty() ? QChar() : mark.at(0).toLower(); };
        if (letter == initial(m_amSymbol) && m_hour >= 12)
            setTime(m_hour - 12, m_minute);
        else if (letter == initial(m_pmSymbol) && m_hour < 12)
            setTime(m_hour + 12, m_minute);
        return;
    }
    switch (event->key()) {
        case Qt::Key_Up:
            step(1);
            return;
        case Qt::Key_Down:
            step(-1);
            return;
        case Qt::Key_Left:
            moveSelection(-1);
            return;
        case Qt::Key_Right:
            moveSelection(1);
            return;
        default:
            QWidget::keyPressEvent(event);
    }
}

bool TimeField::focusNextPrevChild(bool next) {
    // Tab goes through the parts first, then on to the next control.
    if (moveSelection(next ? 1 : -1))
        return true;
    return QWidget::focusNextPrevChild(next);
}

void TimeField::focusInEvent(QFocusEvent* event) {
    QWidget::focusInEvent(event);
    if (!m_selected)
        selectPart(event->reason() == Qt::BacktabFocusReason ? m_parts.back() : m_parts.front());
    update();
}

void TimeField::focusOutEvent(QFocusEvent* event) {
    QWidget::focusOutEvent(event);
    selectPart(std::nullopt);
}

}  // namespace design
