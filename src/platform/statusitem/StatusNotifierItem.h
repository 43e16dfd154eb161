#pragma once

#include "platform/statusitem/StatusItem.h"

#include <QDBusConnection>

class QDBusServiceWatcher;

namespace platform {

class StatusNotifierItemAdaptor;

// The tray item as a StatusNotifierItem on the session bus: an icon image, the
// title as a text label (the XAyatanaLabel extension, which panels that draw
// text show beside the icon), a tooltip, and Activate(x, y), which tells where
// the item was clicked. Registers with the StatusNotifierWatcher, and again
// whenever a watcher appears (panels often start after the applications).
class StatusNotifierItem : public StatusItem {
    Q_OBJECT

public:
    explicit StatusNotifierItem(QObject* parent = nullptr);
    StatusNotifierItem(const QDBusConnection& bus, QObject* parent = nullptr);
    ~StatusNotifierItem() override;

    static QString watcherService();

    void setContent(const StatusItemContent& content) override;
    const StatusItemContent& content() const override { return m_content; }
    // Panels do not tell where an item stands; only a click says.
    std::optional<QRectF> geometry() const override { return std::nullopt; }

    // Exported on the bus (false without a session bus).
    bool isExported() const { return m_exported; }
    // A watcher has taken the item.
    bool isRegistered() const { return m_registered; }
    // Some program serves the watcher on the bus now (asks the bus).
    bool isWatcherPresent() const;
    QString serviceName() const { return m_serviceName; }

signals:
    // Also after the first answer of a watcher, whatever it is.
    void registeredChanged(bool registered);

private:
    friend class StatusNotifierItemAdaptor;
    void registerWithWatcher();
    void setRegistered(bool registered);
    void clicked(int x, int y);
    void announce(const StatusItemContent& before);

    QDBusConnection m_bus;
    StatusNotifierItemAdaptor* m_adaptor = nullptr;
    QDBusServiceWatcher* m_watcher = nullptr;
    StatusItemContent m_content;
    QString m_serviceName;
    bool m_exported = false;
    bool m_registered = false;
    bool m_answered = false;
    // Answers to an older registration call are ignored.
    quint64 m_registration = 0;
};

}  // namespace platform
