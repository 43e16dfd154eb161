#pragma once

#include <QWidget>

namespace design {
class ODButton;
}

namespace editor {

// What the editor shows for an event that no longer exists (deleted elsewhere
// while the popover was open): Back, and the sentence that says so.
class MissingEventView : public QWidget {
    Q_OBJECT

public:
    explicit MissingEventView(QWidget* parent = nullptr);

    static QString message();
    design::ODButton* backButton() const { return m_back; }

signals:
    void backClicked();

private:
    design::ODButton* m_back;
};

}  // namespace editor
