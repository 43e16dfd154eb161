#include "shell/StatusIcons.h"

#include "design/values/Theme.h"
#include "design/widgets/ODFont.h"
#include "design/widgets/Painting.h"
#include "design/widgets/Symbols.h"

#include <QFontMetricsF>
#include <QPainter>

#include <cmath>

namespace app::statusicons {

namespace {

constexpr double kPillHeight = 16;
constexpr double kPillPadding = 7;
constexpr double kPillRadius = 5;
constexpr double kPillFontSize = 11;
constexpr double kSymbolSize = 16;
// Strong enough to lift the symbol off a panel of its own tone, faint enough to
// leave it its own weight on a panel of the other.
constexpr double kEdgeOpacity = 0.7;

}  // namespace

QImage pill(const QString& text, int leadingGap, qreal devicePixelRatio) {
    const QFont font = design::ODFont::system(kPillFontSize, design::FontWeight::semibold);
    const QFontMetricsF metrics(font);
    const double pillWidth = std::ceil(metrics.horizontalAdvance(text)) + 2 * kPillPadding;
    const QSizeF size(leadingGap + pillWidth, kPillHeight);

    QImage image((size * devicePixelRatio).toSize(), QImage::Format_ARGB32_Premultiplied);
    image.setDevicePixelRatio(devicePixelRatio);
    image.fill(Qt::transparent);
    QPainter painter(&image);
    painter.setRenderHint(QPainter::Antialiasing);
    painter.setRenderHint(QPainter::TextAntialiasing);
    const QRectF body(leadingGap, 0, pillWidth, kPillHeight);
    painter.setPen(Qt::NoPen);
    painter.setBrush(design::toQColor(design::Theme::flame()));
    painter.drawRoundedRect(body, kPillRadius, kPillRadius);
    painter.setFont(font);
    painter.setPen(Qt::white);
    painter.drawText(QRectF(body.left() + kPillPadding, 0, pillWidth - kPillPadding, kPillHeight),
                     Qt::AlignLeft | Qt::AlignVCenter | Qt::TextSingleLine, text);
    return image;
}

QImage calendarSymbol(bool darkDesktop, qreal devicePixelRatio) {
    const auto symbol = [devicePixelRatio](bool dark) {
        const core::Color text = design::Theme::text().resolve(design::Appearance{.isDark = dark});
        return design::Symbols::image(QStringLiteral("calendar"), design::toQColor(text), kSymbolSize,
                                      design::FontWeight::regular, devicePixelRatio);
    };
    const QImage ink = symbol(darkDesktop);
    const QImage edge = symbol(!darkDesktop);
    QImage image(ink.size(), QImage::Format_ARGB32_Premultiplied);
    image.setDevicePixelRatio(devicePixelRatio);
    image.fill(Qt::transparent);
    QPainter painter(&image);
    // The edge: the symbol in the other tone, a pixel out all round, under the ink.
    QImage spread(ink.size(), QImage::Format_ARGB32_Premultiplied);
    spread.setDevicePixelRatio(devicePixelRatio);
    spread.fill(Qt::transparent);
    {
        QPainter spreading(&spread);
        for (int dx = -1; dx <= 1; ++dx)
            for (int dy = -1; dy <= 1; ++dy)
                spreading.drawImage(QPointF(dx, dy), edge);
    }
    painter.setOpacity(kEdgeOpacity);
    painter.drawImage(QPointF(0, 0), spread);
    painter.setOpacity(1);
    painter.drawImage(QPointF(0, 0), ink);
    return image;
}

platform::StatusIcon toStatusIcon(const QImage& image) {
    platform::StatusIcon icon;
    if (image.isNull())
        return icon;
    const QImage plain = image.convertToFormat(QImage::Format_ARGB32);
    icon.width = plain.width();
    icon.height = plain.height();
    icon.pixels.reserve(static_cast<size_t>(icon.width) * static_cast<size_t>(icon.height));
    for (int y = 0; y < plain.height(); ++y) {
        const auto* line = reinterpret_cast<const QRgb*>(plain.constScanLine(y));
        icon.pixels.insert(icon.pixels.end(), line, line + plain.width());
    }
    return icon;
}

}  // namespace app::statusicons
