#include "editor/EditorPopover.h"

#include "design/widgets/AnchoredPopover.h"

namespace editor {

EditorPopover::EditorPopover(QWidget* owner, std::function<QWidget*()> makeContent, std::function<void()> clearFlag,
                             Side side)
    : QObject(owner),
      m_owner(owner),
      m_makeContent(std::move(makeContent)),
      m_clearFlag(std::move(clearFlag)),
      m_side(side) {}

EditorPopover::~EditorPopover() {
    close();
}

design::AnchoredPopover* EditorPopover::popover() const {
    return m_popover;
}

void EditorPopover::sync(bool shown, QWidget* anchor) {
    if (!shown || !anchor) {
        close();
        return;
    }
    if (m_popover && m_popover->anchor() == anchor)
        return;
    close();
    m_popover = new design::AnchoredPopover(m_makeContent(), m_owner);
    connect(m_popover, &design::AnchoredPopover::dismissed, this, [this] {
        close();
        m_clearFlag();
    });
    if (m_side == Side::above)
        m_popover->showAbove(anchor);
    else
        m_popover->showBelow(anchor);
}

void EditorPopover::close() {
    if (!m_popover)
        return;
    // Late: the pop-over may be what is closing now.
    design::AnchoredPopover* popover = m_popover;
    m_popover = nullptr;
    popover->hide();
    popover->deleteLater();
}

}  // namespace editor
