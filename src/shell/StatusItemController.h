#pragma once

#include "core/ClockTimer.h"

#include <QElapsedTimer>
#include <QObject>
#include <QPointF>
#include <QRectF>

#include <functional>
#include <optional>

namespace platform {
class StatusItem;
class SystemAppearance;
}  // namespace platform

namespace app {

struct AppEnvironment;
class PopoverPanel;

// The tray item and the popover hanging under it. Keeps the item's title,
// icon, tooltip and accessible name current (refreshed on each minute, when
// the watched settings or the events change, and after a wake-up or a day
// change), and opens and closes the popover: on a click on the item, for the
// application state's callbacks and the hot key. While the popover is open,
// the application losing activation closes it and Escape steps back or closes.
class StatusItemController : public QObject {
    Q_OBJECT

public:
    // Takes what makes the popover's root widget (see PopoverPanel); the item and the desktop's appearance, whose
    // scheme the tray symbol follows, must outlive the controller.
    StatusItemController(AppEnvironment& environment, platform::StatusItem& item,
                         const platform::SystemAppearance& desktop, std::function<QWidget*()> makeRoot,
                         QObject* parent = nullptr);
    ~StatusItemController() override;

    // Opens the popover, or presents it again.
    void showPopover();
    // Closes the popover when it is showing (open and not already fading out).
    void closePopover();
    // Closes the popover when it is showing, opens it otherwise (also while it
    // fades out: the opening cancels the fade).
    void togglePopover();
    bool isShowingPopover() const;

    PopoverPanel& panel() const { return *m_panel; }
    void updateButton();
    // The tray item's place: the point last clicked, else what the tray says.
    std::optional<QRectF> anchor() const;

protected:
    bool eventFilter(QObject* watched, QEvent* event) override;

private:
    void scheduleMinuteTimer();
    void onActivated(std::optional<QPointF> at);
    void onContentHeightChange();
    void onApplicationStateChanged(Qt::ApplicationState state);
    void positionPanel(bool keepX);
    double iconAnchorX() const;
    void installMonitors();
    void removeMonitors();
    void handleEscape();

    AppEnvironment& m_env;
    platform::StatusItem& m_item;
    const platform::SystemAppearance& m_desktop;
    PopoverPanel* m_panel;
    core::ClockTimer m_minuteTimer;
    bool m_isApplyingHeight = false;
    bool m_monitoring = false;
    // The panel took the keyboard during this opening: only then does losing
    // the activation mean a click elsewhere (and not the late news of an
    // earlier closing).
    bool m_panelActivated = false;
    std::optional<QPointF> m_lastClick;
    // Set when losing activation closed the popover: the click on the tray item
    // that took the activation away must not open it again at once.
    QElapsedTimer m_closedByDeactivation;
};

}  // namespace app
