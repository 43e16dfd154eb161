#pragma once

#include "app/PopoverRoute.h"

#include <QWidget>

namespace app {
struct AppEnvironment;
}
namespace design {
class TextLine;
}

class QVBoxLayout;

namespace popover {

// The one widget the popover panel hosts. For now it shows the main screen's
// month header and grid, and names the screen of the current route (or the rest
// of the main screen) in place of the screen itself, on the popover's surface;
// it reports the height of what it shows so that the panel fits it.
class PopoverRootView : public QWidget {
    Q_OBJECT

public:
    explicit PopoverRootView(app::AppEnvironment& environment, QWidget* parent = nullptr);

protected:
    void paintEvent(QPaintEvent* event) override;

private:
    void showRoute(const app::PopoverRoute& route);

    app::AppEnvironment& m_env;
    QWidget* m_content;
    // The month header, the grid and the hairline under them: the main screen's top.
    QWidget* m_calendar;
    design::TextLine* m_title;
    design::TextLine* m_subtitle;
};

}  // namespace popover
