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

class PopoverMainView;

// The one widget the popover panel hosts. For now it shows the main screen
// (PopoverMainView) and names the screen of any other route in place of the
// screen itself, on the popover's surface; it reports the height of
// what it shows, also when that changes on the same screen, so that the panel
// fits it.
class PopoverRootView : public QWidget {
    Q_OBJECT

public:
    explicit PopoverRootView(app::AppEnvironment& environment, QWidget* parent = nullptr);

protected:
    bool event(QEvent* event) override;
    void paintEvent(QPaintEvent* event) override;

private:
    void showRoute(const app::PopoverRoute& route);
    void fitContent();

    app::AppEnvironment& m_env;
    QWidget* m_content;
    PopoverMainView* m_main;
    // The name of a screen not built yet.
    QWidget* m_names;
    design::TextLine* m_title;
    design::TextLine* m_subtitle;
};

}  // namespace popover
