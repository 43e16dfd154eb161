#include "design/widgets/TimeCard.h"

#include "design/values/Theme.h"
#include "design/widgets/ODFont.h"
#include "design/widgets/ODSwitch.h"
#include "design/widgets/QuickChoiceRow.h"
#include "design/widgets/TextLine.h"
#include "design/widgets/TimeField.h"

#include <QHBoxLayout>
#include <QVBoxLayout>

using namespace Qt::Literals::StringLiterals;

namespace design {

TimeCard::TimeCard(Options options, QWidget* parent)
    : QWidget(parent), m_options(options), m_field(new TimeField(this)), m_quick(new QuickChoiceRow(this)) {
    auto* column = new QVBoxLayout(this);
    column->setContentsMargins(kPadding, kPadding, kPadding, kPadding);
    m_quick->setMaximumRowWidth(kMaximumWidth - 2 * kPadding);
    column->setSpacing(10);
    if (m_options.allDaySwitch) {
        m_switchRow = new QWidget(this);
        auto* row = new QHBoxLayout(m_switchRow);
        row->setContentsMargins(0, 0, 0, 0);
        row->setSpacing(0);
        m_switch = new ODSwitch(false, m_switchRow);
        m_switch->setAccessibleName(u"All day"_s);
        row->addWidget(m_switch);
        row->addWidget(new TextLine(u"All day"_s, ODFont::body(12, FontWeight::medium), Theme::text(), m_switchRow));
        row->addStretch(1);
        column->addWidget(m_switchRow);
        connect(m_switch, &QAbstractButton::clicked, this, &TimeCard::allDayToggled);
    }
    column->addWidget(m_field, 0, Qt::AlignLeft);
    column->addWidget(m_quick);
    connect(m_field, &TimeField::dateEdited, this, &TimeCard::timeEdited);
    connect(m_quick, &QuickChoiceRow::chosen, this, [this](int index) {
        if (index >= 0 && static_cast<size_t>(index) < m_times.size())
            emit quickTimeChosen(m_times[static_cast<size_t>(index)]);
    });
    setFocusProxy(m_switch != nullptr ? static_cast<QWidget*>(m_switch) : m_field);
}

void TimeCard::setCalendar(const core::Calendar& calendar) {
    m_calendar = calendar;
    m_field->setCalendar(calendar);
    setQuickTimes(m_times);
}

void TimeCard::setAllDay(bool allDay) {
    m_allDay = allDay;
    if (m_switch != nullptr)
        m_switch->setOn(allDay);
    showParts();
}

void TimeCard::setTime(core::Date time) {
    m_field->setDate(time);
}

void TimeCard::setQuickTimes(const std::vector<core::Date>& times) {
    m_times = times;
    m_quick->setChoices(QuickChoiceRow::timeTitles(times, m_calendar.timeZone()));
    showParts();
}

void TimeCard::showParts() {
    m_field->setVisible(!m_allDay);
    m_quick->setVisible(!m_allDay || m_options.quickTimesWhileAllDay);
}

}  // namespace design
