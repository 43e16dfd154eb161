#pragma once

#include <QWidget>

namespace design {
class FieldBackground;
class ODIconButton;
class TextLine;
}  // namespace design

namespace settings {

class HotKeyRecorderModel;
class KeyCapture;
class RecorderFace;

// The 180-pixel shortcut field of one global shortcut: the stored shortcut as
// keycaps (or "Record shortcut"), a round reset or cancel button beside it, and
// a line for why a key was refused, or why the stored shortcut does nothing. A
// click records: while it does, every key press of the application comes here
// and nowhere else.
class HotKeyRecorder : public QWidget {
    Q_OBJECT

public:
    static constexpr int kFieldWidth = 180;

    // Takes the model.
    explicit HotKeyRecorder(HotKeyRecorderModel* model, QWidget* parent = nullptr);
    ~HotKeyRecorder() override;

    HotKeyRecorderModel& model() const { return *m_model; }
    // The line that says why a key was refused, or why the stored shortcut
    // does nothing. The host lays it out under the field, where it keeps its
    // room while it is empty.
    design::TextLine* messageLine() const { return m_message; }

    QSize sizeHint() const override;
    QSize minimumSizeHint() const override { return sizeHint(); }

protected:
    void hideEvent(QHideEvent* event) override;

private:
    void refresh();
    void setCapturing(bool capturing);

    HotKeyRecorderModel* m_model;
    RecorderFace* m_face;
    design::ODIconButton* m_accessory;
    design::FieldBackground* m_field;
    design::TextLine* m_message;
    KeyCapture* m_capture = nullptr;
};

}  // namespace settings
