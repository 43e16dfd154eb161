#pragma once

#include "platform/statusitem/StatusItem.h"

#include <memory>

class QSystemTrayIcon;

namespace platform {

class StatusNotifierItem;

// The tray item on this desktop: the StatusNotifierItem while a watcher has
// taken it, otherwise the toolkit's tray icon (the older system-tray protocol,
// which shows only an image: the title then goes into its tooltip). A watcher
// that appears later takes over from the tray icon.
class TrayStatusItem : public StatusItem {
    Q_OBJECT

public:
    explicit TrayStatusItem(QObject* parent = nullptr);
    ~TrayStatusItem() override;

    void setContent(const StatusItemContent& content) override;
    const StatusItemContent& content() const override;
    std::optional<QRectF> geometry() const override;

    StatusNotifierItem& notifierItem() const { return *m_notifier; }
    bool isUsingTrayIcon() const;

private:
    // The watcher's answer: false (or no watcher) shows the tray icon instead.
    void useTrayIcon(bool watcherTookItem);
    void applyToTrayIcon();

    std::unique_ptr<StatusNotifierItem> m_notifier;
    std::unique_ptr<QSystemTrayIcon> m_trayIcon;
};

}  // namespace platform
