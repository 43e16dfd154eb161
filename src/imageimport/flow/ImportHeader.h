#pragma once

#include <QWidget>

namespace app {
class AppState;
}

namespace imageimport {

// The strip over the image import's screens: the flow's badge and title, and an
// "esc" key that leaves for the main screen. The review screen puts it at its top.
class ImportHeader final : public QWidget {
    Q_OBJECT

public:
    explicit ImportHeader(app::AppState& appState, QWidget* parent = nullptr);

    QWidget* closeButton() const { return m_close; }

private:
    QWidget* m_close;
};

}  // namespace imageimport
