#pragma once

#include <QPointer>
#include <QWidget>

#include <functional>

class QVariantAnimation;

namespace app {

class ZoomFadeEffect;

// The popover's window: a frameless tool window of fixed width whose height
// follows the height its content reports, between a minimum and the maximum
// the screen leaves under the tray. Opens with a short fade and zoom out of the
// point under the tray item and closes with a short fade; hidden, never
// destroyed, between openings. Placement is the status-item controller's.
class PopoverPanel : public QWidget {
    Q_OBJECT

public:
    // Takes what makes the root widget of the popover's content, which fills the panel. The content is made when
    // first asked for, or else as soon as the event loop runs: making it is the largest part of the application's
    // start, and the tray item goes out to the panel first (its registration was queued before), while no input
    // can reach the popover before the content is made.
    explicit PopoverPanel(std::function<QWidget*()> makeRoot);
    ~PopoverPanel() override;

    QWidget* root();

    // Called after every frame change setContentHeight() makes.
    std::function<void()> onSizeChange;
    double maxContentHeight() const { return m_maxContentHeight; }
    void setMaxContentHeight(double height) { m_maxContentHeight = height; }
    // From the start of the closing fade until it finished or an opening cancelled it.
    bool isAnimatingClose() const { return m_isAnimatingClose; }

    // Resizes to the content height within the limits, keeping the top edge;
    // a change within the tolerance does nothing.
    void setContentHeight(double height);
    // `anchorX` is where, across the panel, the opening grows out of.
    void animateOpen(double anchorX);
    // `completion` runs once the fade has finished, unless an opening came first.
    void animateClose(double anchorX, std::function<void()> completion);

    // Whether openings and closings animate; by default while a compositor can
    // blend the window (without one a fade would only flicker).
    void setAnimationPolicy(std::function<bool()> canAnimate) { m_canAnimate = std::move(canAnimate); }

protected:
    void resizeEvent(QResizeEvent* event) override;

private:
    void stopAnimation();
    void updateMask();
    ZoomFadeEffect* effect();

    std::function<QWidget*()> m_makeRoot;
    QWidget* m_root = nullptr;
    double m_maxContentHeight;
    bool m_isAnimatingClose = false;
    std::function<bool()> m_canAnimate;
    QPointer<QVariantAnimation> m_animation;
    bool m_masked = false;
};

}  // namespace app
