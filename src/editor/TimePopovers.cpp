#include "editor/TimePopovers.h"

#include "design/values/ODFormat.h"
#include "design/values/Theme.h"
#include "design/widgets/MonthPicker.h"
#include "design/widgets/ODFont.h"
#include "design/widgets/QuickChoiceRow.h"
#include "design/widgets/SymbolView.h"
#include "design/widgets/TextLine.h"
#include "design/widgets/TimeField.h"
#include "editor/EditorSpan.h"
#include "editor/EditorTexts.h"
#include "editor/EventEditorModel.h"

#include <QHBoxLayout>
#include <QVBoxLayout>

#include <algorithm>

using namespace Qt::Literals::StringLiterals;

namespace editor {

using design::FontWeight;
using design::Theme;

namespace {

constexpr int kInset = 12;
constexpr int kSpacing = 10;

QVBoxLayout* popoverStack(QWidget* owner) {
    auto* stack = new QVBoxLayout(owner);
    stack->setContentsMargins(kInset, kInset, kInset, kInset);
    stack->setSpacing(kSpacing);
    return stack;
}

}  // namespace

TitledTimeField::TitledTimeField(const QString& title, QWidget* parent)
    : QWidget(parent),
      m_title(new design::TextLine(title.toUpper(), design::ODFont::body(9, FontWeight::bold), Theme::text3(), this)),
      m_field(new design::TimeField(this)) {
    m_title->setTracking(0.6);
    m_field->setAccessibleName(title);
    auto* column = new QVBoxLayout(this);
    column->setContentsMargins(0, 0, 0, 0);
    column->setSpacing(2);
    column->addWidget(m_title);
    column->addWidget(m_field);
}

SameDayPopover::SameDayPopover(EventEditorModel& model, QWidget* parent)
    : QWidget(parent), m_model(model), m_month(new design::MonthPicker(this)) {
    QVBoxLayout* stack = popoverStack(this);
    stack->addWidget(m_month);
    connect(m_month, &design::MonthPicker::datePicked, &model, &EventEditorModel::moveDay);
    if (!model.draft().isAllDay) {
        auto* times = new QHBoxLayout;
        times->setSpacing(kSpacing);
        m_start = new TitledTimeField(u"Start"_s, this);
        m_end = new TitledTimeField(u"End"_s, this);
        times->addWidget(m_start);
        // The arrow points from field to field, so it stands level with the fields, not their titles.
        auto* arrow = new design::SymbolView(u"arrow.right"_s, 11, FontWeight::regular, Theme::text3(), this);
        const int belowArrow = (m_start->field()->sizeHint().height() - arrow->sizeHint().height()) / 2;
        auto* arrowColumn = new QVBoxLayout;
        arrowColumn->setContentsMargins(0, 0, 0, std::max(0, belowArrow));
        arrowColumn->addStretch(1);
        arrowColumn->addWidget(arrow);
        times->addLayout(arrowColumn);
        times->addWidget(m_end);
        times->addStretch(1);
        stack->addLayout(times);
        connect(m_start->field(), &design::TimeField::dateEdited, &model, &EventEditorModel::setStartKeepingDuration);
        connect(m_end->field(), &design::TimeField::dateEdited, &model, &EventEditorModel::setEnd);

        m_lengths = new design::QuickChoiceRow(this);
        QStringList titles;
        for (const int minutes : texts::kQuickLengths)
            titles << design::ODFormat::duration(minutes * 60.0);
        m_lengths->setChoices(titles);
        stack->addWidget(m_lengths);
        connect(m_lengths, &design::QuickChoiceRow::chosen, &model, [this](int index) {
            m_model.setLengthInMinutes(texts::kQuickLengths[static_cast<size_t>(index)]);
        });
    }
    connect(&model, &EventEditorModel::draftChanged, this, &SameDayPopover::refresh);
    refresh();
}

void SameDayPopover::refresh() {
    const model::EventDraft& draft = m_model.draft();
    const core::Calendar calendar = m_model.editingCalendar();
    m_month->setCalendar(calendar);
    m_month->setDate(draft.start);
    if (!m_start)
        return;
    for (TitledTimeField* field : {m_start, m_end})
        field->field()->setCalendar(calendar);
    m_start->field()->setDate(draft.start);
    m_end->field()->setDate(draft.end);
    std::optional<int> current;
    for (size_t i = 0; i < texts::kQuickLengths.size(); ++i)
        if (texts::kQuickLengths[i] == m_model.lengthInMinutes())
            current = static_cast<int>(i);
    QStringList titles = m_lengths->titles();
    m_lengths->setChoices(titles, current);
}

EndpointPopover::EndpointPopover(EventEditorModel& model, bool isStart, QWidget* parent)
    : QWidget(parent), m_model(model), m_isStart(isStart), m_month(new design::MonthPicker(this)) {
    QVBoxLayout* stack = popoverStack(this);
    stack->addWidget(m_month);
    connect(m_month, &design::MonthPicker::datePicked, this, &EndpointPopover::pick);
    if (!model.draft().isAllDay) {
        m_time = new design::TimeField(this);
        m_time->setAccessibleName(isStart ? u"Start time"_s : u"End time"_s);
        stack->addWidget(m_time, 0, Qt::AlignLeft);
        connect(m_time, &design::TimeField::dateEdited, this, &EndpointPopover::pick);
    }
    connect(&model, &EventEditorModel::draftChanged, this, &EndpointPopover::refresh);
    refresh();
}

void EndpointPopover::pick(core::Date moment) {
    if (m_isStart)
        m_model.setStartKeepingDuration(moment);
    else
        m_model.chooseEnd(moment);
}

void EndpointPopover::refresh() {
    const model::EventDraft& draft = m_model.draft();
    const core::Calendar calendar = m_model.editingCalendar();
    const core::Date shown = m_isStart ? draft.start : span::shownEnd(draft);
    m_month->setCalendar(calendar);
    // No end before the start.
    m_month->setMinimumDate(m_isStart ? std::nullopt : std::optional(draft.start));
    m_month->setDate(shown);
    if (m_time) {
        m_time->setCalendar(calendar);
        m_time->setDate(shown);
    }
}

}  // namespace editor
