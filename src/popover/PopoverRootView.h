#pragma once

#include "app/PopoverRoute.h"

#include <QWidget>

namespace app {
struct AppEnvironment;
}
namespace design {
class TextLine;
}

namespace popover {

// The one widget the popover panel hosts. For now it names the screen of the
// current route in place of the screen itself, on the popover's surface, and
// reports the height of what it shows so that the panel fits it.
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
    design::TextLine* m_title;
    design::TextLine* m_subtitle;
};

}  // namespace popover
