#include "platform/statusitem/StatusNotifierItem.h"

#include "platform/statusitem/StatusNotifierTypes.h"

#include <QCoreApplication>
#include <QDBusAbstractAdaptor>
#include <QDBusConnectionInterface>
#include <QDBusMessage>
#include <QDBusMetaType>
#include <QDBusPendingCallWatcher>
#include <QDBusServiceWatcher>
#include <QVariantMap>

namespace platform {

namespace {

const QString kItemInterface = QStringLiteral("org.kde.StatusNotifierItem");
const QString kItemPath = QStringLiteral("/StatusNotifierItem");
const QString kWatcherPath = QStringLiteral("/StatusNotifierWatcher");
const QString kWatcherInterface = QStringLiteral("org.kde.StatusNotifierWatcher");

}  // namespace

namespace sni {

void registerTypes() {
    static const bool done = [] {
        qDBusRegisterMetaType<Image>();
        qDBusRegisterMetaType<ImageList>();
        qDBusRegisterMetaType<ToolTip>();
        return true;
    }();
    (void)done;
}

ImageList toImageList(const std::vector<StatusIcon>& icons) {
    ImageList images;
    for (const StatusIcon& icon : icons) {
        if (icon.isNull() || icon.pixels.size() != static_cast<size_t>(icon.width) * static_cast<size_t>(icon.height))
            continue;
        Image image{icon.width, icon.height, QByteArray()};
        image.argb.reserve(static_cast<qsizetype>(icon.pixels.size() * 4));
        for (const std::uint32_t pixel : icon.pixels) {
            image.argb.append(static_cast<char>((pixel >> 24) & 0xff));
            image.argb.append(static_cast<char>((pixel >> 16) & 0xff));
            image.argb.append(static_cast<char>((pixel >> 8) & 0xff));
            image.argb.append(static_cast<char>(pixel & 0xff));
        }
        images << image;
    }
    return images;
}

StatusIcon fromImage(const Image& image) {
    StatusIcon icon;
    const qsizetype count = static_cast<qsizetype>(image.width) * image.height;
    if (image.width <= 0 || image.height <= 0 || image.argb.size() != count * 4)
        return icon;
    icon.width = image.width;
    icon.height = image.height;
    icon.pixels.reserve(static_cast<size_t>(count));
    const auto* bytes = reinterpret_cast<const unsigned char*>(image.argb.constData());
    for (qsizetype i = 0; i < count; ++i) {
        const unsigned char* p = bytes + i * 4;
        icon.pixels.push_back((std::uint32_t{p[0]} << 24) | (std::uint32_t{p[1]} << 16) | (std::uint32_t{p[2]} << 8) |
                              std::uint32_t{p[3]});
    }
    return icon;
}

}  // namespace sni

// The org.kde.StatusNotifierItem interface of the item's object.
class StatusNotifierItemAdaptor : public QDBusAbstractAdaptor {
    Q_OBJECT
    Q_CLASSINFO("D-Bus Interface", "org.kde.StatusNotifierItem")
    Q_PROPERTY(QString Category READ category)
    Q_PROPERTY(QString Id READ id)
    Q_PROPERTY(QString Title READ title)
    Q_PROPERTY(QString Status READ status)
    Q_PROPERTY(int WindowId READ windowId)
    Q_PROPERTY(QString IconName READ iconName)
    Q_PROPERTY(platform::sni::ImageList IconPixmap READ iconPixmap)
    Q_PROPERTY(QString OverlayIconName READ emptyName)
    Q_PROPERTY(platform::sni::ImageList OverlayIconPixmap READ noImages)
    Q_PROPERTY(QString AttentionIconName READ emptyName)
    Q_PROPERTY(platform::sni::ImageList AttentionIconPixmap READ noImages)
    Q_PROPERTY(QString AttentionMovieName READ emptyName)
    Q_PROPERTY(platform::sni::ToolTip ToolTip READ toolTip)
    Q_PROPERTY(bool ItemIsMenu READ itemIsMenu)
    Q_PROPERTY(QString XAyatanaLabel READ label)
    Q_PROPERTY(QString XAyatanaLabelGuide READ label)

public:
    explicit StatusNotifierItemAdaptor(StatusNotifierItem* item) : QDBusAbstractAdaptor(item), m_item(item) {}

    QString category() const { return QStringLiteral("ApplicationStatus"); }
    QString id() const { return QStringLiteral("orbitday"); }
    QString title() const { return m_item->m_content.accessibleName; }
    QString status() const { return QStringLiteral("Active"); }
    int windowId() const { return 0; }
    QString emptyName() const { return {}; }
    QString iconName() const { return m_item->m_content.iconName; }
    sni::ImageList iconPixmap() const { return sni::toImageList(m_item->m_content.icons); }
    sni::ImageList noImages() const { return {}; }
    sni::ToolTip toolTip() const { return {QString(), {}, m_item->m_content.toolTip, QString()}; }
    // The item has no menu (and so no Menu property): every click is an activation.
    bool itemIsMenu() const { return false; }
    // The guide is the text panels reserve room for: the label itself.
    QString label() const { return m_item->m_content.title; }

public slots:
    void Activate(int x, int y) { m_item->clicked(x, y); }
    void SecondaryActivate(int x, int y) { m_item->clicked(x, y); }
    void ContextMenu(int x, int y) { m_item->clicked(x, y); }
    void Scroll(int /*delta*/, const QString& /*orientation*/) {}

signals:
    void NewTitle();
    void NewIcon();
    void NewToolTip();
    void NewStatus(const QString& status);
    void XAyatanaNewLabel(const QString& label, const QString& guide);

private:
    StatusNotifierItem* m_item;
};

StatusNotifierItem::StatusNotifierItem(QObject* parent) : StatusNotifierItem(QDBusConnection::sessionBus(), parent) {}

StatusNotifierItem::StatusNotifierItem(const QDBusConnection& bus, QObject* parent) : StatusItem(parent), m_bus(bus) {
    sni::registerTypes();
    m_adaptor = new StatusNotifierItemAdaptor(this);
    if (!m_bus.isConnected())
        return;
    static int instances = 0;
    m_serviceName = QStringLiteral("org.kde.StatusNotifierItem-%1-%2")
                        .arg(QCoreApplication::applicationPid())
                        .arg(++instances);
    m_exported = m_bus.registerObject(kItemPath, this, QDBusConnection::ExportAdaptors) &&
                 m_bus.registerService(m_serviceName);
    if (!m_exported)
        return;

    m_watcher = new QDBusServiceWatcher(watcherService(), m_bus,
                                        QDBusServiceWatcher::WatchForOwnerChange, this);
    connect(m_watcher, &QDBusServiceWatcher::serviceOwnerChanged, this,
            [this](const QString&, const QString&, const QString& newOwner) {
                if (newOwner.isEmpty())
                    setRegistered(false);
                else
                    registerWithWatcher();
            });
    // Made known to the panel once the event loop runs: by then the application
    // has finished starting (content set, hot keys grabbed), so the item works
    // from the moment a user can see it.
    QMetaObject::invokeMethod(this, &StatusNotifierItem::registerWithWatcher, Qt::QueuedConnection);
}

StatusNotifierItem::~StatusNotifierItem() {
    if (m_exported) {
        m_bus.unregisterService(m_serviceName);
        m_bus.unregisterObject(kItemPath);
    }
}

QString StatusNotifierItem::watcherService() {
    return QStringLiteral("org.kde.StatusNotifierWatcher");
}

void StatusNotifierItem::registerWithWatcher() {
    QDBusMessage call =
        QDBusMessage::createMethodCall(watcherService(), kWatcherPath, kWatcherInterface,
                                       QStringLiteral("RegisterStatusNotifierItem"));
    call << m_serviceName;
    const quint64 attempt = ++m_registration;
    auto* pending = new QDBusPendingCallWatcher(m_bus.asyncCall(call), this);
    connect(pending, &QDBusPendingCallWatcher::finished, this, [this, attempt](QDBusPendingCallWatcher* answer) {
        answer->deleteLater();
        if (attempt == m_registration)
            setRegistered(!answer->isError());
    });
}

bool StatusNotifierItem::isWatcherPresent() const {
    return m_exported && m_bus.interface() && m_bus.interface()->isServiceRegistered(watcherService()).value();
}

void StatusNotifierItem::setRegistered(bool registered) {
    if (registered == m_registered && m_answered)
        return;
    m_answered = true;
    m_registered = registered;
    emit registeredChanged(registered);
}

void StatusNotifierItem::clicked(int x, int y) {
    // Panels that do not know where the click was send (0, 0).
    if (x == 0 && y == 0)
        emit activated(std::nullopt);
    else
        emit activated(QPointF(x, y));
}

void StatusNotifierItem::setContent(const StatusItemContent& content) {
    if (content == m_content)
        return;
    const StatusItemContent before = m_content;
    m_content = content;
    announce(before);
}

void StatusNotifierItem::announce(const StatusItemContent& before) {
    if (!m_exported)
        return;
    // Panels listen either to the item's own New* signals or to PropertiesChanged.
    QVariantMap changed;
    if (m_content.title != before.title) {
        changed.insert(QStringLiteral("XAyatanaLabel"), m_content.title);
        changed.insert(QStringLiteral("XAyatanaLabelGuide"), m_content.title);
        emit m_adaptor->XAyatanaNewLabel(m_content.title, m_content.title);
    }
    if (m_content.icons != before.icons || m_content.iconName != before.iconName) {
        changed.insert(QStringLiteral("IconName"), m_content.iconName);
        changed.insert(QStringLiteral("IconPixmap"), QVariant::fromValue(m_adaptor->iconPixmap()));
        emit m_adaptor->NewIcon();
    }
    if (m_content.toolTip != before.toolTip) {
        changed.insert(QStringLiteral("ToolTip"), QVariant::fromValue(m_adaptor->toolTip()));
        emit m_adaptor->NewToolTip();
    }
    if (m_content.accessibleName != before.accessibleName) {
        changed.insert(QStringLiteral("Title"), m_content.accessibleName);
        emit m_adaptor->NewTitle();
    }
    if (changed.isEmpty())
        return;
    QDBusMessage signal = QDBusMessage::createSignal(kItemPath, QStringLiteral("org.freedesktop.DBus.Properties"),
                                                     QStringLiteral("PropertiesChanged"));
    signal << kItemInterface << changed << QStringList();
    m_bus.send(signal);
}

}  // namespace platform

QDBusArgument& operator<<(QDBusArgument& argument, const platform::sni::Image& image) {
    argument.beginStructure();
    argument << image.width << image.height << image.argb;
    argument.endStructure();
    return argument;
}

const QDBusArgument& operator>>(const QDBusArgument& argument, platform::sni::Image& image) {
    argument.beginStructure();
    argument >> image.width >> image.height >> image.argb;
    argument.endStructure();
    return argument;
}

QDBusArgument& operator<<(QDBusArgument& argument, const platform::sni::ToolTip& toolTip) {
    argument.beginStructure();
    argument << toolTip.iconName << toolTip.images << toolTip.title << toolTip.text;
    argument.endStructure();
    return argument;
}

const QDBusArgument& operator>>(const QDBusArgument& argument, platform::sni::ToolTip& toolTip) {
    argument.beginStructure();
    argument >> toolTip.iconName >> toolTip.images >> toolTip.title >> toolTip.text;
    argument.endStructure();
    return argument;
}

#include "StatusNotifierItem.moc"
