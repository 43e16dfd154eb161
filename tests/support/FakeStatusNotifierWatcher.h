#pragma once

#include <QDBusConnection>
#include <QDBusContext>
#include <QObject>
#include <QPointF>
#include <QStringList>
#include <QVariant>

#include <optional>

class QDBusServiceWatcher;

namespace testsupport {

// The tray's side of the StatusNotifierItem protocol, served on a session-bus
// connection of its own: takes registrations, forgets an item whose program
// left the bus, and reads and clicks the items the way a panel does.
class FakeStatusNotifierWatcher : public QObject, protected QDBusContext {
    Q_OBJECT
    Q_CLASSINFO("D-Bus Interface", "org.kde.StatusNotifierWatcher")
    Q_PROPERTY(QStringList RegisteredStatusNotifierItems READ registeredItems)
    Q_PROPERTY(bool IsStatusNotifierHostRegistered READ isHostRegistered)
    Q_PROPERTY(int ProtocolVersion READ protocolVersion)

public:
    // Starts serving at once unless `serve` is false (then start() does).
    explicit FakeStatusNotifierWatcher(bool serve = true, QObject* parent = nullptr);
    ~FakeStatusNotifierWatcher() override;

    bool start();
    bool isServing() const { return m_serving; }

    // "<bus name>/<object path>" of each registered item, oldest first.
    QStringList registeredItems() const { return m_items; }
    bool isHostRegistered() const { return true; }
    int protocolVersion() const { return 0; }

    // Waits (running the event loop) until an item has registered. A whole app
    // starting beside a parallel build can take several seconds to get there.
    bool waitForItem(int timeoutMs = 15000) const;
    // A property of the newest item's org.kde.StatusNotifierItem interface.
    QVariant itemProperty(const QString& name) const;
    QString label() const;
    // The title of the item's ToolTip structure.
    QString toolTipTitle() const;
    // The size of the item's first IconPixmap image; empty without one.
    QSize iconSize() const;
    // Calls the item's Activate(x, y), or another of its clicks (SecondaryActivate, ContextMenu), and waits for
    // the answer.
    bool activate(int x, int y, const QString& method = QStringLiteral("Activate")) const;

public slots:
    void RegisterStatusNotifierItem(const QString& service);
    void RegisterStatusNotifierHost(const QString& service);

signals:
    void StatusNotifierItemRegistered(const QString& item);
    void StatusNotifierItemUnregistered(const QString& item);
    void StatusNotifierHostRegistered();

private:
    QString itemService() const;
    QString itemPath() const;

    void forgetItemsOf(const QString& service);

    QDBusConnection m_bus;
    QDBusServiceWatcher* m_owners = nullptr;
    QStringList m_items;
    bool m_serving = false;
};

}  // namespace testsupport
