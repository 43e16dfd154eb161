#pragma once

#include "platform/statusitem/StatusItem.h"

#include <QByteArray>
#include <QDBusArgument>
#include <QList>
#include <QMetaType>
#include <QString>

namespace platform::sni {

// One image as the StatusNotifierItem protocol carries it: (iiay), the pixels
// as ARGB32 in network byte order.
struct Image {
    int width = 0;
    int height = 0;
    QByteArray argb;
};
using ImageList = QList<Image>;

// (sa(iiay)ss): an icon name, images, a title and a longer text.
struct ToolTip {
    QString iconName;
    ImageList images;
    QString title;
    QString text;
};

// Registers the types with QtDBus; harmless to call again.
void registerTypes();

ImageList toImageList(const std::vector<StatusIcon>& icons);
StatusIcon fromImage(const Image& image);

}  // namespace platform::sni

QDBusArgument& operator<<(QDBusArgument& argument, const platform::sni::Image& image);
const QDBusArgument& operator>>(const QDBusArgument& argument, platform::sni::Image& image);
QDBusArgument& operator<<(QDBusArgument& argument, const platform::sni::ToolTip& toolTip);
const QDBusArgument& operator>>(const QDBusArgument& argument, platform::sni::ToolTip& toolTip);

Q_DECLARE_METATYPE(platform::sni::Image)
Q_DECLARE_METATYPE(platform::sni::ToolTip)
