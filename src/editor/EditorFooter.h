#pragma once

#include <QString>
#include <QWidget>

#include <optional>

namespace design {
class KeycapButton;
class ODButton;
class TextBlock;
}  // namespace design

namespace editor {

// The bottom bar of the editor on the sunken surface: the last error, then Delete,
// Cancel and Save ("Add event" for a new one), or, for an event whose calendar
// allows no changes, "Read-only calendar" and Close. Ctrl+Return saves, as the
// keycap on Save shows with the Return key alone.
class EditorFooter : public QWidget {
    Q_OBJECT

public:
    EditorFooter(bool readOnly, bool existingEvent, QWidget* parent = nullptr);

    void setError(const std::optional<QString>& error);
    // The error line, shown while there is an error.
    design::TextBlock* errorLine() const { return m_error; }
    bool showsError() const;
    // Those the footer shows: null for the others.
    design::ODButton* deleteButton() const { return m_delete; }
    design::ODButton* cancelButton() const { return m_cancel; }
    design::KeycapButton* saveButton() const { return m_save; }
    design::ODButton* closeButton() const { return m_close; }

signals:
    void saveRequested();
    void deleteRequested();
    void closeRequested();

protected:
    void paintEvent(QPaintEvent* event) override;

private:
    QWidget* m_errorRow;
    design::TextBlock* m_error;
    design::ODButton* m_delete = nullptr;
    design::ODButton* m_cancel = nullptr;
    design::KeycapButton* m_save = nullptr;
    design::ODButton* m_close = nullptr;
};

}  // namespace editor
