#pragma once

#include "design/widgets/FieldFrame.h"

#include <QString>
#include <QWidget>

namespace design {
class ODButton;
class SymbolButton;
class SymbolView;
class TextArea;
class TextField;
}  // namespace design
namespace platform {
class Workspace;
}

namespace editor {

class EventEditorModel;

// A row of the editor's form: the symbol's tile, then the content, 10 apart.
QWidget* formRow(const QString& symbol, QWidget* content, QWidget* parent = nullptr);
inline constexpr int kFormRowSpacing = 10;
// Where a form row's content starts, from the row's left edge.
int formRowContentLeft();

// The event's title, large, in its own rounded field whose border shows the
// keyboard focus. Return in it saves.
class TitleField : public design::FieldFrame {
    Q_OBJECT

public:
    static constexpr qreal kCornerRadius = 12;

    TitleField(EventEditorModel& model, QWidget* parent = nullptr);

    design::TextField* field() const { return m_field; }

private:
    EventEditorModel& m_model;
    design::TextField* m_field;
};

// The place of the event, and a link that shows it on the map when it is a place
// (a meeting address typed there gets the video row's Join instead).
class LocationRow : public QWidget {
    Q_OBJECT

public:
    LocationRow(EventEditorModel& model, platform::Workspace& workspace, QWidget* parent = nullptr);

    design::TextField* field() const { return m_field; }
    design::SymbolButton* mapButton() const { return m_map; }

private:
    void refresh();

    EventEditorModel& m_model;
    design::TextField* m_field;
    design::SymbolButton* m_map;
};

// The event's link, and Join when a meeting link is found in it, the place or
// the notes.
class VideoRow : public QWidget {
    Q_OBJECT

public:
    VideoRow(EventEditorModel& model, platform::Workspace& workspace, QWidget* parent = nullptr);

    design::TextField* field() const { return m_field; }
    design::SymbolView* meetingMark() const { return m_mark; }
    design::ODButton* joinButton() const { return m_join; }

private:
    void refresh();

    EventEditorModel& m_model;
    design::TextField* m_field;
    design::SymbolView* m_mark;
    design::ODButton* m_join;
};

// The notes, three lines high whatever their length (longer ones scroll), with
// "Add notes" written in while there are none. A text of only spaces is kept as
// typed; an emptied one is no notes.
class NotesField : public design::FieldBox {
    Q_OBJECT

public:
    NotesField(EventEditorModel& model, QWidget* parent = nullptr);

    design::TextArea* editor() const { return m_editor; }
    bool showsPlaceholder() const;

private:
    void refresh();
    void fill(const QString& notes);
    // The box's text with its line breaks as "\n" and its no-break spaces kept.
    QString shownText() const;
    void takeEdit();

    EventEditorModel& m_model;
    design::TextArea* m_editor;
    bool m_filling = false;
    // The notes the box was last filled with, and what it then showed: the box spells some texts its own way
    // (a line break for CR LF), which is no edit of them.
    QString m_filledFrom;
    QString m_shownAs;
};

}  // namespace editor
