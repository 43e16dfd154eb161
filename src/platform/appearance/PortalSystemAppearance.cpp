#include "platform/appearance/PortalSystemAppearance.h"

#include "core/Log.h"

#include <QDBusArgument>
#include <QDBusError>
#include <QDBusMessage>
#include <QDBusMetaType>
#include <QDBusPendingCallWatcher>
#include <QDBusPendingReply>
#include <QEvent>
#include <QGuiApplication>
#include <QMap>
#include <QPalette>

namespace platform {

namespace {

const QString kService = QStringLiteral("org.freedesktop.portal.Desktop");
const QString kPath = QStringLiteral("/org/freedesktop/portal/desktop");
const QString kInterface = QStringLiteral("org.freedesktop.portal.Settings");
const QString kAppearance = QStringLiteral("org.freedesktop.appearance");
const QString kGnomeInterface = QStringLiteral("org.gnome.desktop.interface");

// The portal's enumerations: 0 is "no preference" throughout.
constexpr unsigned kPrefersDark = 1;
constexpr unsigned kPrefersLight = 2;
constexpr unsigned kHighContrast = 1;
constexpr unsigned kReducedMotion = 1;

using SettingsMap = QMap<QString, QVariantMap>;

QVariant unwrap(QVariant value) {
    // A value may come wrapped in one or more variants.
    for (int depth = 0; depth < 4 && value.metaType() == QMetaType::fromType<QDBusVariant>(); ++depth)
        value = qvariant_cast<QDBusVariant>(value).variant();
    return value;
}

std::optional<unsigned> enumValue(const QVariant& value) {
    switch (value.typeId()) {
        case QMetaType::UChar:
        case QMetaType::UShort:
        case QMetaType::UInt:
        case QMetaType::ULongLong:
        case QMetaType::Short:
        case QMetaType::Int:
        case QMetaType::LongLong: {
            bool ok = false;
            const qulonglong number = value.toULongLong(&ok);
            if (ok && number <= 0xFFFFFFFFu)
                return static_cast<unsigned>(number);
            return std::nullopt;
        }
        default:
            return std::nullopt;
    }
}

std::optional<bool> boolValue(const QVariant& value) {
    if (value.typeId() == QMetaType::Bool)
        return value.toBool();
    return std::nullopt;
}

bool paletteLooksDark() {
    if (qGuiApp == nullptr)
        return false;
    return QGuiApplication::palette().color(QPalette::Window).lightness() < 128;
}

}  // namespace

PortalSystemAppearance::PortalSystemAppearance(QObject* parent)
    : PortalSystemAppearance(QDBusConnection::sessionBus(), parent) {}

PortalSystemAppearance::PortalSystemAppearance(const QDBusConnection& bus, QObject* parent)
    : SystemAppearance(parent), m_bus(bus) {
    qDBusRegisterMetaType<SettingsMap>();
    // The bus connects a slot only when it knows each of its argument types by name, and
    // nothing else makes the variant known: without this, changes would never arrive.
    qRegisterMetaType<QDBusVariant>();
    m_state = computeState();
    if (QCoreApplication::instance() != nullptr)
        QCoreApplication::instance()->installEventFilter(this);
    if (!m_bus.isConnected())
        return;
    if (!m_bus.connect(kService, kPath, kInterface, QStringLiteral("SettingChanged"), this,
                       SLOT(onSettingChanged(QString, QString, QDBusVariant))))
        core::log(QStringLiteral("cannot follow the desktop's appearance: ") + m_bus.lastError().message());
    requestAll();
}

void PortalSystemAppearance::requestAll() {
    QDBusMessage call = QDBusMessage::createMethodCall(kService, kPath, kInterface, QStringLiteral("ReadAll"));
    call << QStringList{kAppearance, kGnomeInterface};
    // Asynchronous: a portal that is slow to start must not hold up the application.
    auto* watcher = new QDBusPendingCallWatcher(m_bus.asyncCall(call), this);
    connect(watcher, &QDBusPendingCallWatcher::finished, this, [this](QDBusPendingCallWatcher* finished) {
        finished->deleteLater();
        const QDBusPendingReply<SettingsMap> reply = *finished;
        if (reply.isError())
            return;  // no portal: the palette decides
        const SettingsMap settings = reply.value();
        for (auto space = settings.cbegin(); space != settings.cend(); ++space)
            for (auto entry = space->cbegin(); entry != space->cend(); ++entry)
                take(space.key(), entry.key(), entry.value());
        publish();
    });
}

void PortalSystemAppearance::onSettingChanged(const QString& nameSpace, const QString& key,
                                              const QDBusVariant& value) {
    take(nameSpace, key, value.variant());
    publish();
}

void PortalSystemAppearance::take(const QString& nameSpace, const QString& key, const QVariant& rawValue) {
    const QVariant value = unwrap(rawValue);
    if (nameSpace == kAppearance) {
        if (key == QLatin1String("color-scheme"))
            m_colorScheme = enumValue(value);
        else if (key == QLatin1String("contrast"))
            m_contrast = enumValue(value);
        else if (key == QLatin1String("reduced-motion"))
            m_reducedMotion = enumValue(value);
    } else if (nameSpace == kGnomeInterface && key == QLatin1String("enable-animations")) {
        m_enableAnimations = boolValue(value);
    }
}

bool PortalSystemAppearance::eventFilter(QObject* watched, QEvent* event) {
    if (watched == QCoreApplication::instance() && event->type() == QEvent::ApplicationPaletteChange)
        publish();
    return SystemAppearance::eventFilter(watched, event);
}

SystemAppearance::State PortalSystemAppearance::computeState() const {
    State state;
    if (m_colorScheme == kPrefersDark)
        state.isDark = true;
    else if (m_colorScheme == kPrefersLight)
        state.isDark = false;
    else
        state.isDark = paletteLooksDark();
    state.increaseContrast = m_contrast == kHighContrast;
    if (m_reducedMotion == kReducedMotion)
        state.reduceMotion = true;
    else
        state.reduceMotion = m_enableAnimations.has_value() && !*m_enableAnimations;
    return state;
}

void PortalSystemAppearance::publish() {
    const State next = computeState();
    if (next == m_state)
        return;
    m_state = next;
    emit changed();
}

}  // namespace platform
