#include "imageimport/flow/ImageDropTarget.h"

#include "imageimport/flow/ImageDropZone.h"
#include "imageimport/flow/ImageImportSession.h"
#include "imageimport/flow/ImportKeys.h"
#include "state/AppEnvironment.h"
#include "state/AppState.h"

#include <QApplication>
#include <QClipboard>
#include <QDropEvent>
#include <QKeyEvent>
#include <QLineEdit>
#include <QMimeData>
#include <QPlainTextEdit>
#include <QTextEdit>
#include <QWidget>

using namespace Qt::Literals::StringLiterals;

namespace imageimport {

namespace {

// Text dragged over a field that takes drops is the field's: only files and images
// are the import's wherever they are dragged.
bool isTextForField(const QMimeData& mime) {
    return mime.hasText() && !mime.hasUrls() && ImageImportInput::dropHover(mime) != ImageDropHover::image;
}

}  // namespace

ImageDropTarget::ImageDropTarget(app::AppEnvironment& environment, QWidget* root)
    : QObject(root), m_env(environment), m_root(root), m_zone(new ImageDropZone(root)) {
    m_zone->hide();
    root->setAcceptDrops(true);
    // Qt hands a drag to the innermost widget under it that takes drops, and text
    // fields take them by default: the drags of the whole popover pass through here.
    qApp->installEventFilter(this);
}

bool ImageDropTarget::enabled() const {
    return importDropsApply(m_env.appState, m_env.store);
}

void ImageDropTarget::setHover(ImageDropHover hover) {
    m_hover = hover;
    m_zone->setAccepts(hover == ImageDropHover::image);
    m_zone->setGeometry(m_root->rect());
    m_zone->setShown(hover != ImageDropHover::none);
    if (hover != ImageDropHover::none)
        m_zone->raise();
}

bool ImageDropTarget::takesDrag(QObject* watched, QEvent* event) const {
    auto* widget = qobject_cast<QWidget*>(watched);
    if (!widget || (widget != m_root && !m_root->isAncestorOf(widget)))
        return false;
    if (event->type() == QEvent::DragLeave)
        return widget == m_dragTarget;
    if (widget == m_root)
        return true;
    const QMimeData* mime = static_cast<QDropEvent*>(event)->mimeData();
    return enabled() && mime && !isTextForField(*mime);
}

bool ImageDropTarget::eventFilter(QObject* watched, QEvent* event) {
    const QEvent::Type type = event->type();
    if (type != QEvent::DragEnter && type != QEvent::DragMove && type != QEvent::DragLeave && type != QEvent::Drop)
        return false;
    if (!takesDrag(watched, event))
        return false;
    switch (type) {
        case QEvent::DragEnter: {
            auto* enter = static_cast<QDragEnterEvent*>(event);
            if (!enabled()) {
                enter->ignore();
                return true;
            }
            m_dragTarget = static_cast<QWidget*>(watched);
            // From one widget of the popover to another the drag leaves the first just
            // before it enters the next: the same drag goes on, shown and told once.
            const bool goesOn = m_leaving && m_hover != ImageDropHover::none;
            m_leaving = false;
            setHover(ImageImportInput::dropHover(*enter->mimeData()));
            // The drop may come in a moment: its reading gets ready meanwhile.
            if (m_hover == ImageDropHover::image)
                m_env.appState.imageImport().prepareReading();
            if (announce && !goesOn)
                announce(m_hover == ImageDropHover::image ? u"Drop image to create an event"_s
                                                          : u"Only images can be dropped here"_s);
            // Taken either way, so that a refused drag still shows why over the popover.
            enter->acceptProposedAction();
            return true;
        }
        case QEvent::DragMove: {
            auto* move = static_cast<QDragMoveEvent*>(event);
            if (enabled() && m_hover == ImageDropHover::image) {
                move->setDropAction(Qt::CopyAction);
                move->accept();
            } else {
                move->ignore();
            }
            return true;
        }
        case QEvent::DragLeave:
            m_dragTarget = nullptr;
            m_leaving = true;
            QMetaObject::invokeMethod(
                this,
                [this] {
                    if (!m_leaving)
                        return;
                    m_leaving = false;
                    setHover(ImageDropHover::none);
                },
                Qt::QueuedConnection);
            return true;
        case QEvent::Drop: {
            auto* drop = static_cast<QDropEvent*>(event);
            const bool take = enabled() && m_hover == ImageDropHover::image;
            m_dragTarget = nullptr;
            m_leaving = false;
            setHover(ImageDropHover::none);
            if (!take) {
                drop->ignore();
                return true;
            }
            drop->setDropAction(Qt::CopyAction);
            drop->accept();
            // Several items dropped: the first is imported.
            if (const std::optional<ImageImportInput> input = ImageImportInput::fromDrop(*drop->mimeData()))
                m_env.appState.imageImport().begin(*input);
            return true;
        }
        default: return false;
    }
}

ImagePasteKey::ImagePasteKey(app::AppEnvironment& environment, QWidget* panel)
    : QObject(panel), m_env(environment), m_panel(panel) {
    qApp->installEventFilter(this);
}

bool ImagePasteKey::eventFilter(QObject* watched, QEvent* event) {
    // A text field claims Ctrl+V before it sees the press: the claim is answered here.
    if (event->type() != QEvent::ShortcutOverride && event->type() != QEvent::KeyPress)
        return false;
    auto* widget = qobject_cast<QWidget*>(watched);
    if (!widget || widget->window() != m_panel || !m_panel->isActiveWindow())
        return false;
    auto* key = static_cast<QKeyEvent*>(event);
    if (key->key() != Qt::Key_V || (key->modifiers() & ~Qt::KeypadModifier) != Qt::ControlModifier)
        return false;
    if (event->type() == QEvent::ShortcutOverride) {
        // Ours: the field must not take it as a paste of its own.
        if (handle(key)) {
            key->accept();
            return true;
        }
        return false;
    }
    return handle(key);
}

bool ImagePasteKey::handle(QKeyEvent* event) {
    if (!importKeysApply(m_env.appState, m_env.store))
        return false;
    const QMimeData* clipboard = QGuiApplication::clipboard()->mimeData();
    if (!clipboard || !ImageImportInput::pasteboardHasImage(*clipboard))
        return false;
    QWidget* focus = QApplication::focusWidget();
    const bool editing = qobject_cast<QLineEdit*>(focus) || qobject_cast<QTextEdit*>(focus) ||
                         qobject_cast<QPlainTextEdit*>(focus);
    if (editing && clipboard->hasText())
        return false;
    if (event->type() == QEvent::ShortcutOverride)
        return true;
    // A held Ctrl+V repeats many times a second: each would start the import again.
    if (event->isAutoRepeat())
        return true;
    ImageImportSession& import = m_env.appState.imageImport();
    // A large image takes its owner long to hand over: the import reads it, not this thread.
    const std::optional<ImageImportInput> input = import.readsClipboard() ? ImageImportInput::fromClipboard(*clipboard)
                                                                          : ImageImportInput::fromPasteboard(*clipboard);
    if (!input)
        return false;
    import.begin(*input);
    return true;
}

}  // namespace imageimport
