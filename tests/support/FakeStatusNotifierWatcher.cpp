#include "FakeStatusNotifierWatcher.h"

#include "EventLoop.h"
#include "platform/statusitem/StatusNotifierTypes.h"

#include <QDBusInterface>
#include <QDBusMessage>
#include <QDBusReply>
#include <QDBusServiceWatcher>
#include <QDBusVariant>
#include <QSize>

namespace testsupport {

namespace {

const QString kService = QStringLiteral("org.kde.StatusNotifierWatcher");
const QString kPath = QStringLiteral("/StatusNotifierWatcher");
const QString kItemInterface = QStringLiteral("org.kde.StatusNotifierItem");
const QString kConnectionName = QStringLiteral("fake-status-notifier-watcher");

}  // namespace

FakeStatusNotifierWatcher::FakeStatusNotifierWatcher(bool serve, QObject* parent)
    : QObject(parent), m_bus(QDBusConnection::connectToBus(QDBusConnection::SessionBus, kConnectionName)) {
    platform::sni::registerTypes();
    m_owners = new QDBusServiceWatcher(QString(), m_bus, QDBusServiceWatcher::WatchForUnregistration, this);
    connect(m_owners, &QDBusServiceWatcher::serviceUnregistered, this, &FakeStatusNotifierWatcher::forgetItemsOf);
    if (serve)
        start();
}

FakeStatusNotifierWatcher::~FakeStatusNotifierWatcher() {
    if (m_serving) {
        m_bus.unregisterService(kService);
        m_bus.unregisterObject(kPath);
    }
    QDBusConnection::disconnectFromBus(kConnectionName);
}

bool FakeStatusNotifierWatcher::start() {
    if (m_serving)
        return true;
    m_serving = m_bus.registerObject(kPath, this, QDBusConnection::ExportAllSlots | QDBusConnection::ExportAllSignals |
                                                      QDBusConnection::ExportAllProperties) &&
                m_bus.registerService(kService);
    return m_serving;
}

void FakeStatusNotifierWatcher::RegisterStatusNotifierItem(const QString& service) {
    // A bare object path names an object of the caller's own connection.
    const QString item = service.startsWith(u'/') ? message().service() + service
                                                  : service + QStringLiteral("/StatusNotifierItem");
    m_items.removeAll(item);
    m_items << item;
    m_owners->addWatchedService(item.section(u'/', 0, 0));
    emit StatusNotifierItemRegistered(item);
}

void FakeStatusNotifierWatcher::forgetItemsOf(const QString& service) {
    m_owners->removeWatchedService(service);
    for (const QString& item : QStringList(m_items)) {
        if (item.section(u'/', 0, 0) == service) {
            m_items.removeAll(item);
            emit StatusNotifierItemUnregistered(item);
        }
    }
}

void FakeStatusNotifierWatcher::RegisterStatusNotifierHost(const QString&) {
    emit StatusNotifierHostRegistered();
}

bool FakeStatusNotifierWatcher::waitForItem(int timeoutMs) const {
    return waitUntil([this] { return !m_items.isEmpty(); }, timeoutMs);
}

QString FakeStatusNotifierWatcher::itemService() const {
    return m_items.isEmpty() ? QString() : m_items.last().section(u'/', 0, 0);
}

QString FakeStatusNotifierWatcher::itemPath() const {
    return m_items.isEmpty() ? QString() : u'/' + m_items.last().section(u'/', 1);
}

QVariant FakeStatusNotifierWatcher::itemProperty(const QString& name) const {
    QDBusMessage get = QDBusMessage::createMethodCall(itemService(), itemPath(),
                                                      QStringLiteral("org.freedesktop.DBus.Properties"),
                                                      QStringLiteral("Get"));
    get << kItemInterface << name;
    const QDBusMessage reply = m_bus.call(get, QDBus::BlockWithGui, 5000);
    if (reply.type() != QDBusMessage::ReplyMessage || reply.arguments().isEmpty())
        return {};
    return reply.arguments().first().value<QDBusVariant>().variant();
}

QString FakeStatusNotifierWatcher::label() const {
    return itemProperty(QStringLiteral("XAyatanaLabel")).toString();
}

QString FakeStatusNotifierWatcher::toolTipTitle() const {
    const QVariant value = itemProperty(QStringLiteral("ToolTip"));
    if (!value.canConvert<QDBusArgument>())
        return {};
    platform::sni::ToolTip toolTip;
    value.value<QDBusArgument>() >> toolTip;
    return toolTip.title;
}

QSize FakeStatusNotifierWatcher::iconSize() const {
    const QVariant value = itemProperty(QStringLiteral("IconPixmap"));
    if (!value.canConvert<QDBusArgument>())
        return {};
    platform::sni::ImageList images;
    value.value<QDBusArgument>() >> images;
    return images.isEmpty() ? QSize() : QSize(images.first().width, images.first().height);
}

bool FakeStatusNotifierWatcher::activate(int x, int y, const QString& method) const {
    QDBusMessage call = QDBusMessage::createMethodCall(itemService(), itemPath(), kItemInterface, method);
    call << x << y;
    return m_bus.call(call, QDBus::BlockWithGui, 5000).type() == QDBusMessage::ReplyMessage;
}

}  // namespace testsupport
