#include "editor/EventEditForm.h"

#include "core/TimeZone.h"
#include "design/values/ODFormat.h"
#include "design/values/Theme.h"
#include "design/widgets/CalendarChip.h"
#include "design/widgets/CappedHeightView.h"
#include "design/widgets/FieldChoiceButton.h"
#include "design/widgets/FieldFrame.h"
#include "design/widgets/Hairline.h"
#include "design/widgets/ODButton.h"
#include "design/widgets/ODFont.h"
#include "design/widgets/TextLine.h"
#include "editor/AttendeeListView.h"
#include "editor/EditorFooter.h"
#include "editor/EditorPopover.h"
#include "editor/EditorRows.h"
#include "editor/EditorSpan.h"
#include "editor/EditorTexts.h"
#include "editor/EventEditorModel.h"
#include "editor/TimeRows.h"
#include "state/AppEnvironment.h"
#include "state/AppState.h"
#include "store/CalendarStore.h"

#include <QApplication>
#include <QHBoxLayout>
#include <QPointer>
#include <QScrollArea>
#include <QVBoxLayout>

#include <algorithm>
#include <functional>

using namespace Qt::Literals::StringLiterals;

namespace editor {

using design::FontWeight;
using design::Theme;

namespace {

QVBoxLayout* section(QWidget* owner, QMargins margins, int spacing) {
    auto* layout = new QVBoxLayout(owner);
    layout->setContentsMargins(margins);
    layout->setSpacing(spacing);
    return layout;
}

// A menu entry's action. The menu may outlive the editor (the route changed while
// it was open), and then changes nothing.
template <class Change>
std::function<void()> change(EventEditorModel& model, Change apply) {
    return [model = QPointer<EventEditorModel>(&model), apply] {
        if (model)
            apply(*model);
    };
}

}  // namespace

EventEditForm::EventEditForm(EventEditorModel& model, app::AppEnvironment& environment, QWidget* parent)
    : QWidget(parent),
      m_model(model),
      m_env(environment),
      m_column(new design::CappedHeightView(this)),
      m_presentMenu([](const std::vector<design::PopupMenuItem>& items) { design::PopupMenu::show(items); }) {
    setObjectName(u"EventEditForm"_s);
    auto* layout = new QVBoxLayout(this);
    layout->setContentsMargins(0, 0, 0, 0);
    layout->addWidget(m_column);

    auto* body = new QWidget;
    QVBoxLayout* stack = section(body, QMargins(), 0);
    stack->addWidget(buildTop());
    stack->addWidget(new design::Hairline(Qt::Horizontal, body));
    stack->addWidget(buildDetails());
    stack->addWidget(new design::Hairline(Qt::Horizontal, body));
    stack->addWidget(buildNotes());

    m_footer = new EditorFooter(model.readOnly(), !model.isNew());
    // Tab goes from field to field (see tabChain), never into the frame that scrolls them.
    m_column->scrollArea()->setFocusPolicy(Qt::NoFocus);
    m_column->setMiddle(body);
    m_column->setBottom(m_footer);
    m_column->setMaxHeight(m_env.appState.popoverMaxHeight());
    connect(&m_env.appState, &app::AppState::popoverMaxHeightChanged, m_column,
            &design::CappedHeightView::setMaxHeight);
    connect(m_column, &design::CappedHeightView::wantedHeightChanged, this, [this] { updateGeometry(); });

    connect(m_footer, &EditorFooter::saveRequested, &model, &EventEditorModel::save);
    connect(m_footer, &EditorFooter::deleteRequested, &model, &EventEditorModel::requestDelete);
    connect(m_footer, &EditorFooter::closeRequested, &model, &EventEditorModel::close);
    connect(&model, &EventEditorModel::errorTextChanged, this, [this] { m_footer->setError(m_model.errorText()); });
    m_footer->setError(model.errorText());

    connect(&model, &EventEditorModel::draftChanged, this, [this] {
        refreshHeader();
        refreshChoices();
    });
    connect(&model, &EventEditorModel::recurrenceChanged, this, &EventEditForm::refreshChoices);
    // The chip names the calendar as the store now knows it.
    connect(&m_env.store, &store::CalendarStore::calendarsChanged, this, &EventEditForm::refreshHeader);
    refreshHeader();
    refreshChoices();
}

QWidget* EventEditForm::buildTop() {
    auto* top = new QWidget;
    QVBoxLayout* layout = section(top, QMargins(16, 14, 16, 10), 8);

    auto* header = new QHBoxLayout;
    header->setContentsMargins(0, 0, 0, 0);
    m_back = new design::ODButton(QString(), u"chevron.left"_s, design::ODButtonKind::ghost,
                                  design::ODButtonSize::small, false, top);
    m_chip = new design::CalendarChip(top);
    header->addWidget(m_back);
    header->addStretch(1);
    header->addWidget(m_chip);
    layout->addLayout(header);
    // Back leaves without saving, as Cancel does.
    connect(m_back, &QAbstractButton::clicked, &m_model, &EventEditorModel::close);
    connect(m_chip, &QAbstractButton::clicked, this, [this] { showMenu(calendarMenu()); });

    m_title = new TitleField(m_model, top);
    layout->addWidget(m_title);
    layout->addSpacing(2);

    m_time = new TimeRows(m_model, top);
    layout->addWidget(m_time);

    m_repeat = new design::FieldChoiceButton(QString(), u"chevron.right"_s);
    m_repeat->setAccessibleName(u"Repeat"_s);
    m_repeat->setEnabled(!m_model.readOnly());
    connect(m_repeat, &QAbstractButton::clicked, this, [this] { showMenu(repeatMenu()); });
    layout->addWidget(formRow(u"repeat"_s, m_repeat, top));
    return top;
}

QWidget* EventEditForm::buildDetails() {
    auto* details = new QWidget;
    m_details = section(details, QMargins(16, 10, 16, 10), 8);
    m_location = new LocationRow(m_model, m_env.workspace);
    m_details->addWidget(formRow(u"mappin.and.ellipse"_s, m_location, details));
    m_video = new VideoRow(m_model, m_env.workspace);
    m_details->addWidget(formRow(u"video"_s, m_video, details));
    m_alert = new design::FieldChoiceButton(QString(), u"chevron.up.chevron.down"_s);
    m_alert->setAccessibleName(u"Alert"_s);
    m_alert->setEnabled(!m_model.readOnly());
    connect(m_alert, &QAbstractButton::clicked, this, [this] { showMenu(alertMenu()); });
    m_details->addWidget(formRow(u"bell"_s, m_alert, details));
    if (const std::optional<model::ODEvent>& event = m_model.event(); event && !event->allPeople().empty()) {
        const std::vector<model::ODAttendee> people = event->allPeople();
        m_attendees = new AttendeesRow(people);
        // The list opens above its row, the last of the form's details, where it has the room.
        m_attendeeList = new EditorPopover(
            this, [people] { return new AttendeeListView(people); }, [this] { m_model.setShowAttendees(false); },
            EditorPopover::Side::above);
        connect(m_attendees, &QAbstractButton::clicked, this,
                [this] { m_model.setShowAttendees(!m_model.showAttendees()); });
        connect(&m_model, &EventEditorModel::showAttendeesChanged, m_attendees, [this] {
            m_attendees->setShowsFocused(m_model.showAttendees());
            m_attendeeList->sync(m_model.showAttendees(), m_attendees);
        });
        m_details->addWidget(formRow(u"person.2"_s, m_attendees, details));
    }
    return details;
}

QWidget* EventEditForm::buildNotes() {
    auto* notes = new QWidget;
    QVBoxLayout* layout = section(notes, QMargins(16, 10, 16, 10), 6);
    auto* label = new design::TextLine(u"NOTES"_s, design::ODFont::body(11, FontWeight::bold), Theme::text(), notes);
    label->setTracking(0.8);
    layout->addWidget(label);
    m_notes = new NotesField(m_model, notes);
    layout->addWidget(m_notes);
    return notes;
}

void EventEditForm::refreshHeader() {
    // The day as this computer's clock has it, whatever zone the event keeps.
    m_back->setTitle(design::ODFormat::format(m_model.draft().start, u"EEEdMMM"_s, core::TimeZone::current()));
    const std::optional<model::ODCalendar> calendar = m_model.calendar();
    m_chip->setCalendar(calendar ? std::optional(calendar->color) : std::nullopt, m_model.calendarTitle());
    m_chip->setChangeable(m_model.canChangeCalendar());
}

design::AnchoredPopover* EventEditForm::attendeeList() const {
    return m_attendeeList ? m_attendeeList->popover() : nullptr;
}

void EventEditForm::refreshChoices() {
    m_repeat->setChoice(texts::recurrenceTitle(m_model.recurrence()));
    m_alert->setChoice(m_model.alertLabel());
}

std::vector<design::PopupMenuItem> EventEditForm::calendarMenu() const {
    std::vector<design::PopupMenuItem> items;
    const std::optional<QString>& current = m_model.draft().calendarID;
    for (const model::ODCalendar& calendar : m_env.store.writableCalendars()) {
        const QString id = calendar.id;
        items.push_back({calendar.title, calendar.color, current == id, false,
                         change(m_model, [id](EventEditorModel& model) { model.setCalendarID(id); })});
    }
    return items;
}

std::vector<design::PopupMenuItem> EventEditForm::repeatMenu() const {
    std::vector<design::PopupMenuItem> items;
    for (const model::RecurrenceOption option : model::kAllRecurrenceOptions)
        items.push_back({texts::recurrenceTitle(option), std::nullopt, option == m_model.recurrence(), false,
                         change(m_model, [option](EventEditorModel& model) { model.setRecurrence(option); })});
    return items;
}

std::vector<design::PopupMenuItem> EventEditForm::alertMenu() const {
    std::vector<design::PopupMenuItem> items;
    const std::optional<double> current = m_model.currentAlert();
    for (const std::optional<double> offset : texts::kAlertOptions)
        items.push_back({texts::alertTitle(offset, m_model.draft().isAllDay), std::nullopt, offset == current, false,
                         change(m_model, [offset](EventEditorModel& model) { model.chooseAlert(offset); })});
    return items;
}

void EventEditForm::setMenuPresenter(std::function<void(const std::vector<design::PopupMenuItem>&)> presenter) {
    m_presentMenu = std::move(presenter);
}

void EventEditForm::showMenu(const std::vector<design::PopupMenuItem>& items) {
    m_presentMenu(items);
}

std::vector<QWidget*> EventEditForm::tabChain() const {
    // The widgets of the form in the order they were placed, which is its order
    // top to bottom and, within a row, left to right.
    std::vector<QWidget*> chain;
    const std::function<void(const QWidget*)> visit = [&](const QWidget* widget) {
        for (QObject* object : widget->children()) {
            auto* child = qobject_cast<QWidget*>(object);
            if (child == nullptr || child->isWindow() || !child->isVisibleTo(this) || !child->isEnabled())
                continue;
            if ((child->focusPolicy() & Qt::TabFocus) && child->focusProxy() == nullptr)
                chain.push_back(child);
            visit(child);
        }
    };
    visit(this);
    return chain;
}

bool EventEditForm::focusNextPrevChild(bool next) {
    // The toolkit's chain follows the order in which widgets joined the window,
    // which rows built into loose widgets, then moved in, and rows built anew
    // (the time rows) shuffle.
    const std::vector<QWidget*> chain = tabChain();
    if (chain.empty())
        return QWidget::focusNextPrevChild(next);
    const QWidget* focused = QApplication::focusWidget();
    const auto at = std::find_if(chain.begin(), chain.end(), [focused](const QWidget* widget) {
        return widget == focused || (focused != nullptr && widget->isAncestorOf(focused));
    });
    const auto count = static_cast<std::ptrdiff_t>(chain.size());
    std::ptrdiff_t index = next ? 0 : count - 1;
    if (at != chain.end())
        index = ((at - chain.begin()) + (next ? 1 : -1) + count) % count;
    QWidget* target = chain[static_cast<size_t>(index)];
    target->setFocus(next ? Qt::TabFocusReason : Qt::BacktabFocusReason);
    if (m_column->scrollArea()->isAncestorOf(target))
        m_column->scrollArea()->ensureWidgetVisible(target);
    return true;
}

int EventEditForm::heightForWidth(int width) const {
    return m_column->heightForWidth(width);
}

QSize EventEditForm::sizeHint() const {
    return m_column->sizeHint();
}

}  // namespace editor
