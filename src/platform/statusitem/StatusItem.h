#pragma once

#include <QObject>
#include <QPointF>
#include <QRectF>
#include <QString>

#include <cstdint>
#include <optional>
#include <vector>

namespace platform {

// An image for the tray: 32-bit ARGB pixels, not premultiplied, row after row.
struct StatusIcon {
    int width = 0;
    int height = 0;
    std::vector<std::uint32_t> pixels;

    bool isNull() const { return width <= 0 || height <= 0; }
    bool operator==(const StatusIcon&) const = default;
};

// Everything the tray item shows; set as a whole so that a panel never shows a
// new title with an old icon.
struct StatusItemContent {
    // The text beside the icon. Panels that draw no text show the icon alone.
    QString title;
    // The same image at the sizes the panel may pick from, smallest first.
    std::vector<StatusIcon> icons;
    // A themed icon that panels may show instead of `icon`, drawn in the panel's
    // own colours; empty: the image alone.
    QString iconName;
    // Empty: no tooltip.
    QString toolTip;
    // What assistive technologies and item lists call the item.
    QString accessibleName;

    bool operator==(const StatusItemContent&) const = default;
};

// The application's item in the desktop's tray (the panel's notification area).
class StatusItem : public QObject {
    Q_OBJECT

public:
    using QObject::QObject;
    ~StatusItem() override = default;

    virtual void setContent(const StatusItemContent& content) = 0;
    virtual const StatusItemContent& content() const = 0;
    // The item's rectangle on screen, in logical pixels, where the tray says.
    virtual std::optional<QRectF> geometry() const = 0;

signals:
    // The item was clicked (any button: the item has no menu). `at` is the point
    // clicked, in screen pixels, when the panel says.
    void activated(std::optional<QPointF> at);
};

}  // namespace platform
