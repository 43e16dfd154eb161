#include "editor/EventEditView.h"

#include "design/widgets/CappedHeightView.h"
#include "editor/EventEditForm.h"
#include "editor/EventEditorModel.h"
#include "editor/MissingEventView.h"
#include "editor/RecurringPromptView.h"
#include "state/AppEnvironment.h"

#include <QVBoxLayout>

using namespace Qt::Literals::StringLiterals;

namespace editor {

EventEditView::EventEditView(app::AppEnvironment& environment, std::optional<QString> eventID,
                             std::optional<core::Date> initialStart, QWidget* parent)
    : QWidget(parent),
      m_env(environment),
      m_model(new EventEditorModel(std::move(eventID), initialStart, environment.store, environment.appState,
                                   environment.settings, this)),
      m_prompt(new RecurringPromptOverlay(this)) {
    setObjectName(u"EventEditView"_s);
    auto* layout = new QVBoxLayout(this);
    layout->setContentsMargins(0, 0, 0, 0);
    layout->setSpacing(0);

    connect(m_model, &EventEditorModel::loadedChanged, this, &EventEditView::build);
    connect(m_model, &EventEditorModel::promptChanged, this, &EventEditView::showPrompt);
    connect(m_prompt, &RecurringPromptOverlay::chosen, m_model, &EventEditorModel::choosePromptSpan);
    connect(m_prompt, &RecurringPromptOverlay::cancelled, m_model, &EventEditorModel::cancelPrompt);
}

EventEditView::~EventEditView() = default;

void EventEditView::build() {
    if (m_content != nullptr)
        return;
    if (m_model->isMissing()) {
        m_missing = new MissingEventView(this);
        connect(m_missing, &MissingEventView::backClicked, m_model, &EventEditorModel::close);
        m_content = m_missing;
    } else {
        m_form = new EventEditForm(*m_model, m_env, this);
        m_content = m_form;
    }
    layout()->addWidget(m_content);
    // Shown now, not on a later turn of the loop: the popover measures this screen
    // as soon as it has come on screen and loaded.
    m_content->show();
    m_prompt->raise();
    updateGeometry();
}

void EventEditView::showPrompt() {
    if (m_form != nullptr)
        m_form->setEnabled(!m_model->prompt());
    if (!m_model->prompt()) {
        m_prompt->dismiss();
        return;
    }
    m_prompt->present(m_model->promptActionTitle(), m_model->draft().title, m_model->originalRecurrence());
}

int EventEditView::heightForWidth(int width) const {
    return m_content != nullptr ? design::wantedHeight(*m_content, width) : 0;
}

QSize EventEditView::sizeHint() const {
    return m_content != nullptr ? m_content->sizeHint() : QSize(0, 0);
}

void EventEditView::showEvent(QShowEvent* event) {
    m_model->appear();
    QWidget::showEvent(event);
}

void EventEditView::hideEvent(QHideEvent* event) {
    m_model->disappear();
    QWidget::hideEvent(event);
}

void EventEditView::resizeEvent(QResizeEvent* event) {
    m_prompt->setGeometry(rect());
    QWidget::resizeEvent(event);
}

}  // namespace editor
