#pragma once

#include "imageimport/flow/ImageImportInput.h"

#include <QObject>
#include <QPointer>

#include <functional>

class QKeyEvent;
class QWidget;

namespace app {
struct AppEnvironment;
}

namespace imageimport {

class ImageDropZone;

// Lets images be dropped on the popover, on every screen that allows it (not while
// calendar access is unanswered or denied). The root and every widget in it take
// file and image drags (text fields keep dragged text); the drop zone over them
// only paints what a drop would do. A drag that leaves clears the zone on the next
// turn of the event loop.
class ImageDropTarget final : public QObject {
    Q_OBJECT

public:
    ImageDropTarget(app::AppEnvironment& environment, QWidget* root);

    ImageDropHover hover() const { return m_hover; }
    ImageDropZone* zone() const { return m_zone; }
    bool enabled() const;

    // Tells assistive technologies what a drop would do.
    std::function<void(const QString&)> announce;

protected:
    bool eventFilter(QObject* watched, QEvent* event) override;

private:
    bool takesDrag(QObject* watched, QEvent* event) const;
    void setHover(ImageDropHover hover);

    app::AppEnvironment& m_env;
    QWidget* m_root;
    ImageDropZone* m_zone;
    ImageDropHover m_hover = ImageDropHover::none;
    // The widget whose drag this is; its leaving ends the drag unless another enters.
    QPointer<QWidget> m_dragTarget;
    bool m_leaving = false;
};

// Ctrl+V in the popover with an image on the clipboard starts an import, unless a
// text field has the focus and the clipboard holds text as well.
class ImagePasteKey final : public QObject {
    Q_OBJECT

public:
    ImagePasteKey(app::AppEnvironment& environment, QWidget* panel);

protected:
    bool eventFilter(QObject* watched, QEvent* event) override;

private:
    bool handle(QKeyEvent* event);

    app::AppEnvironment& m_env;
    QWidget* m_panel;
};

}  // namespace imageimport
