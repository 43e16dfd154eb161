#pragma once

#include "core/Date.h"

#include <QString>
#include <QWidget>

#include <optional>

namespace app {
struct AppEnvironment;
}

namespace editor {

class EventEditForm;
class EventEditorModel;
class MissingEventView;
class RecurringPromptOverlay;

// The event editor screen, made by the popover for an event to edit or a new
// one. It loads when it first comes on screen and takes the Escape key while it
// is shown (the model decides what Escape closes). Then it shows the form, or
// what says the event no longer exists; the question about a repeating event
// is laid over the form, which takes no input meanwhile.
class EventEditView : public QWidget {
    Q_OBJECT

public:
    EventEditView(app::AppEnvironment& environment, std::optional<QString> eventID,
                  std::optional<core::Date> initialStart, QWidget* parent = nullptr);
    ~EventEditView() override;

    EventEditorModel& model() const { return *m_model; }
    // Null until the first showing has loaded the model; then the one that shows.
    EventEditForm* form() const { return m_form; }
    MissingEventView* missingView() const { return m_missing; }
    RecurringPromptOverlay* promptOverlay() const { return m_prompt; }

    bool hasHeightForWidth() const override { return true; }
    int heightForWidth(int width) const override;
    QSize sizeHint() const override;

protected:
    void showEvent(QShowEvent* event) override;
    void hideEvent(QHideEvent* event) override;
    void resizeEvent(QResizeEvent* event) override;

private:
    void build();
    void showPrompt();

    app::AppEnvironment& m_env;
    EventEditorModel* m_model;
    QWidget* m_content = nullptr;
    EventEditForm* m_form = nullptr;
    MissingEventView* m_missing = nullptr;
    RecurringPromptOverlay* m_prompt;
};

}  // namespace editor
