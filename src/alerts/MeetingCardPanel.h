#pragma once

#include "alerts/MeetingCardPresenter.h"

#include <QPointer>
#include <QRectF>
#include <QWidget>

#include <functional>
#include <optional>

class QVariantAnimation;

namespace app {
class AppSettings;
}
namespace platform {
class Workspace;
}

namespace alerts {

class MeetingCardView;

// The window of the meeting card: frameless, above other windows, on every
// workspace, not taking the keyboard from the window the user types in until
// the user clicks it. It
// stands under the tray item (or in the top right corner), fades in and out
// where a compositor can blend it, and is kept, hidden, between cards.
class MeetingCardPanel : public QWidget, public MeetingCardPresenter {
    Q_OBJECT

public:
    static constexpr int kFadeInMs = 180;
    static constexpr int kFadeOutMs = 150;

    // `anchor` says where the tray item is, when it is known.
    MeetingCardPanel(app::AppSettings& settings, platform::Workspace& workspace,
                     std::function<std::optional<QRectF>()> anchor);
    ~MeetingCardPanel() override;

    void present(const model::ODEvent& event, MeetingCardActions actions) override;
    void withdraw() override;

    // Null until a card was first presented.
    MeetingCardView* card() const { return m_card; }
    // Shown and not fading out.
    bool isShowingCard() const { return isVisible() && !m_withdrawing; }

    // Whether cards fade; by default while a compositor blends the window and
    // motion is not reduced.
    void setAnimationPolicy(std::function<bool()> canAnimate) { m_canAnimate = std::move(canAnimate); }

protected:
    void resizeEvent(QResizeEvent* event) override;

private:
    void fitAndPlace();
    void fade(double to, int ms);
    void stopFade();
    void updateMask();

    app::AppSettings& m_settings;
    platform::Workspace& m_workspace;
    std::function<std::optional<QRectF>()> m_anchor;
    std::function<bool()> m_canAnimate;
    MeetingCardView* m_card = nullptr;
    QPointer<QVariantAnimation> m_fade;
    bool m_withdrawing = false;
};

}  // namespace alerts
