#pragma once

#include <QObject>
#include <QPointer>
#include <QWidget>

#include <functional>

namespace design {
class AnchoredPopover;
}

namespace editor {

// One of the editor's pop-overs over the model's flag for it: shown below its
// anchor (or above it) while the flag is set, closed when it is cleared, and the flag cleared
// when the user closes the pop-over (a click outside, Escape). Its content is
// made anew at each opening, for the draft as it is then.
class EditorPopover : public QObject {
    Q_OBJECT

public:
    enum class Side { below, above };

    EditorPopover(QWidget* owner, std::function<QWidget*()> makeContent, std::function<void()> clearFlag,
                  Side side = Side::below);
    ~EditorPopover() override;

    // Open below (or above) `anchor` while `shown` (and there is an anchor), else closed.
    void sync(bool shown, QWidget* anchor);
    // Null while closed.
    design::AnchoredPopover* popover() const;

private:
    void close();

    QWidget* m_owner;
    std::function<QWidget*()> m_makeContent;
    std::function<void()> m_clearFlag;
    Side m_side;
    QPointer<design::AnchoredPopover> m_popover;
};

}  // namespace editor
