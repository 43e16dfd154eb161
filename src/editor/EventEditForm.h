#pragma once

#include "design/widgets/PopupMenu.h"

#include <QWidget>

#include <functional>
#include <vector>

class QVBoxLayout;

namespace app {
struct AppEnvironment;
}
namespace design {
class AnchoredPopover;
class CalendarChip;
class CappedHeightView;
class FieldChoiceButton;
class ODButton;
class TextLine;
}  // namespace design

namespace editor {

class AttendeesRow;
class EditorFooter;
class EditorPopover;
class EventEditorModel;
class LocationRow;
class NotesField;
class TimeRows;
class TitleField;
class VideoRow;

// The editor's form over its model, top to bottom: the header (back to the
// day, the calendar chip), the title, the time rows, the repetition; the place,
// the video link, the alert and the people invited; the notes; the footer. Only the middle scrolls when
// the popover is too short for the whole. Every control hands its input to the
// model and shows what the model then holds.
class EventEditForm : public QWidget {
    Q_OBJECT

public:
    EventEditForm(EventEditorModel& model, app::AppEnvironment& environment, QWidget* parent = nullptr);

    design::ODButton* backButton() const { return m_back; }
    design::CalendarChip* calendarChip() const { return m_chip; }
    TitleField* titleField() const { return m_title; }
    TimeRows* timeRows() const { return m_time; }
    design::FieldChoiceButton* repeatButton() const { return m_repeat; }
    LocationRow* locationRow() const { return m_location; }
    VideoRow* videoRow() const { return m_video; }
    design::FieldChoiceButton* alertButton() const { return m_alert; }
    // Null for a new event and for one without attendees.
    AttendeesRow* attendeesRow() const { return m_attendees; }
    // The list of the people invited, while it is open.
    design::AnchoredPopover* attendeeList() const;
    NotesField* notesField() const { return m_notes; }
    EditorFooter* footer() const { return m_footer; }

    // What the chip, the repeat row and the alert row offer when clicked.
    std::vector<design::PopupMenuItem> calendarMenu() const;
    std::vector<design::PopupMenuItem> repeatMenu() const;
    std::vector<design::PopupMenuItem> alertMenu() const;

    // How a menu is shown: at the pointer, until it closes. Tests may look instead.
    void setMenuPresenter(std::function<void(const std::vector<design::PopupMenuItem>&)> presenter);

    // What Tab goes through, in order: every control that takes it and is shown
    // and enabled now, the form top to bottom. Tab past the last comes back to the first.
    std::vector<QWidget*> tabChain() const;

    bool hasHeightForWidth() const override { return true; }
    int heightForWidth(int width) const override;
    QSize sizeHint() const override;

protected:
    bool focusNextPrevChild(bool next) override;

private:
    QWidget* buildTop();
    QWidget* buildDetails();
    QWidget* buildNotes();
    void refreshHeader();
    void refreshChoices();
    void showMenu(const std::vector<design::PopupMenuItem>& items);

    EventEditorModel& m_model;
    app::AppEnvironment& m_env;
    design::CappedHeightView* m_column;
    design::ODButton* m_back = nullptr;
    design::CalendarChip* m_chip = nullptr;
    TitleField* m_title = nullptr;
    TimeRows* m_time = nullptr;
    design::FieldChoiceButton* m_repeat = nullptr;
    LocationRow* m_location = nullptr;
    VideoRow* m_video = nullptr;
    design::FieldChoiceButton* m_alert = nullptr;
    QVBoxLayout* m_details = nullptr;
    AttendeesRow* m_attendees = nullptr;
    EditorPopover* m_attendeeList = nullptr;
    NotesField* m_notes = nullptr;
    EditorFooter* m_footer = nullptr;
    std::function<void(const std::vector<design::PopupMenuItem>&)> m_presentMenu;
};

}  // namespace editor
