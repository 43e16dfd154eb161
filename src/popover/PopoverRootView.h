#pragma once

#include "state/PopoverRoute.h"

#include <QEasingCurve>
#include <QPointer>
#include <QWidget>

class QVariantAnimation;

namespace app {
struct AppEnvironment;
}
namespace imageimport {
class ImageDropTarget;
}

namespace popover {

class UndoToast;
class UndoToastModel;

// The one widget the popover panel hosts. It shows the screen of the route,
// corrected for calendar access (effectiveRoute), made anew whenever that
// changes so that no screen keeps state from an earlier visit; holds it at the
// popover's width and its natural height, and reports that height whenever it
// changes so that the panel fits it. It draws the panel's surface, its rounded
// corners (which clip every screen) and its border over everything, and floats
// the undo toast over the main screen after every undoable change.
class PopoverRootView : public QWidget {
    Q_OBJECT

public:
    static constexpr int kWidth = 364;
    static constexpr int kCornerRadius = 16;

    explicit PopoverRootView(app::AppEnvironment& environment, QWidget* parent = nullptr);
    ~PopoverRootView() override;

    // The route whose screen shows now.
    app::PopoverRoute shownRoute() const { return m_shown; }
    QWidget* screen() const { return m_screen; }
    UndoToast* toast() const { return m_toast; }
    UndoToastModel& toastModel() const { return *m_toastModel; }

    // Takes images dropped on the popover; its drop zone is laid over the whole
    // popover, above the screens and the toast and under the border.
    imageimport::ImageDropTarget& dropTarget() const { return *m_dropTarget; }

    // The popover's width and its screen's height.
    QSize sizeHint() const override;

protected:
    bool event(QEvent* event) override;
    void paintEvent(QPaintEvent* event) override;
    void resizeEvent(QResizeEvent* event) override;

private:
    class Frame;

    void showRoute();
    QWidget* makeScreen(const app::PopoverRoute& route);
    void fitContent();
    // Shows the toast as the model has it now, without motion.
    void updateToast();
    void bringToastIn(const QString& label);
    void takeToastOut();
    void moveToast(qreal to, QEasingCurve::Type easing);
    void placeToast();
    void stackOverlays();

    app::AppEnvironment& m_env;
    app::PopoverRoute m_shown;
    QPointer<QWidget> m_screen;
    UndoToastModel* m_toastModel;
    UndoToast* m_toast;
    // 0 hidden … 1 in place.
    QVariantAnimation* m_toastMotion;
    qreal m_toastPresence = 0;
    imageimport::ImageDropTarget* m_dropTarget;
    Frame* m_frame;
};

}  // namespace popover
