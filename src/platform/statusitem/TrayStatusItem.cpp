#include "platform/statusitem/TrayStatusItem.h"

#include "platform/statusitem/StatusNotifierItem.h"

#include <QIcon>
#include <QImage>
#include <QPixmap>
#include <QSystemTrayIcon>

namespace platform {

namespace {

QIcon toIcon(const std::vector<StatusIcon>& icons) {
    QIcon result;
    for (const StatusIcon& icon : icons) {
        if (icon.isNull())
            continue;
        QImage image(icon.width, icon.height, QImage::Format_ARGB32);
        for (int y = 0; y < icon.height; ++y) {
            auto* line = reinterpret_cast<QRgb*>(image.scanLine(y));
            for (int x = 0; x < icon.width; ++x)
                line[x] = icon.pixels[static_cast<size_t>(y) * static_cast<size_t>(icon.width) + static_cast<size_t>(x)];
        }
        result.addPixmap(QPixmap::fromImage(image));
    }
    return result;
}

}  // namespace

TrayStatusItem::TrayStatusItem(QObject* parent)
    : StatusItem(parent), m_notifier(std::make_unique<StatusNotifierItem>()) {
    connect(m_notifier.get(), &StatusItem::activated, this, &StatusItem::activated);
    connect(m_notifier.get(), &StatusNotifierItem::registeredChanged, this, &TrayStatusItem::useTrayIcon);
    // With a watcher on the bus its answer decides; without one, the tray icon
    // stands in at once. Creating the tray icon while a watcher runs would put a
    // second item into the panel.
    if (!m_notifier->isWatcherPresent())
        useTrayIcon(false);
}

TrayStatusItem::~TrayStatusItem() = default;

bool TrayStatusItem::isUsingTrayIcon() const {
    return m_trayIcon && m_trayIcon->isVisible();
}

void TrayStatusItem::useTrayIcon(bool watcherTookItem) {
    if (watcherTookItem) {
        if (m_trayIcon)
            m_trayIcon->hide();
        return;
    }
    if (!m_trayIcon) {
        m_trayIcon = std::make_unique<QSystemTrayIcon>();
        connect(m_trayIcon.get(), &QSystemTrayIcon::activated, this,
                [this](QSystemTrayIcon::ActivationReason reason) {
                    // The second click of a double click; the first was a click of its own.
                    if (reason != QSystemTrayIcon::DoubleClick)
                        emit activated(std::nullopt);
                });
    }
    applyToTrayIcon();
}

void TrayStatusItem::setContent(const StatusItemContent& content) {
    m_notifier->setContent(content);
    if (m_trayIcon && !m_notifier->isRegistered())
        applyToTrayIcon();
}

const StatusItemContent& TrayStatusItem::content() const {
    return m_notifier->content();
}

std::optional<QRectF> TrayStatusItem::geometry() const {
    if (!isUsingTrayIcon())
        return std::nullopt;
    const QRect rect = m_trayIcon->geometry();
    if (rect.isEmpty())
        return std::nullopt;
    return QRectF(rect);
}

void TrayStatusItem::applyToTrayIcon() {
    const StatusItemContent& content = m_notifier->content();
    // Shown once there is something to show.
    if (content.icons.empty())
        return;
    const QIcon image = toIcon(content.icons);
    m_trayIcon->setIcon(content.iconName.isEmpty() ? image : QIcon::fromTheme(content.iconName, image));
    // The tray icon cannot show text: its tooltip carries the title too.
    QString tip = content.title;
    if (!content.toolTip.isEmpty())
        tip += (tip.isEmpty() ? QString() : QStringLiteral("\n")) + content.toolTip;
    m_trayIcon->setToolTip(tip.toHtmlEscaped());
    m_trayIcon->show();
}

}  // namespace platform
