#include "design/widgets/Symbols.h"

#include "core/Log.h"
#include "design/values/SymbolTable.h"

#include <QFile>
#include <QHash>
#include <QPainter>
#include <QPixmap>
#include <QPixmapCache>
#include <QSet>
#include <QSvgRenderer>

#include <cmath>

namespace design {

namespace {

// The drawings fill about three quarters of their square, so a square a quarter
// larger than the text size makes a glyph about as tall as the text.
constexpr qreal kBoxPerSize = 1.25;
// The bundled drawings are on a 24-unit grid.
constexpr qreal kGrid = 24.0;

// Stroke thickness as a share of the text size, as the weights of a text face
// thicken their stems.
qreal strokePerSize(FontWeight weight) {
    switch (weight) {
        case FontWeight::ultraLight:
            return 0.035;
        case FontWeight::thin:
            return 0.05;
        case FontWeight::light:
            return 0.07;
        case FontWeight::regular:
            return 0.09;
        case FontWeight::medium:
            return 0.105;
        case FontWeight::semibold:
            return 0.12;
        case FontWeight::bold:
            return 0.14;
        case FontWeight::heavy:
            return 0.16;
        case FontWeight::black:
            return 0.18;
    }
    return 0.09;
}

SymbolSource sourceFor(const QString& name) {
    if (const auto source = SymbolTable::source(name))
        return *source;
    static QSet<QString> reported;
    if (!reported.contains(name)) {
        reported.insert(name);
        core::log(QStringLiteral("no symbol named \"%1\": drawing a neutral glyph").arg(name));
    }
    return SymbolTable::fallback();
}

const QByteArray& drawing(const QString& path) {
    static QHash<QString, QByteArray> loaded;
    auto it = loaded.find(path);
    if (it == loaded.end()) {
        QFile file(path);
        it = loaded.insert(path, file.open(QIODevice::ReadOnly) ? file.readAll() : QByteArray());
    }
    return *it;
}

// The drawing with its colour and stroke filled in. The bundled files draw in
// "currentColor" with a stroke of 2 on the root element.
QByteArray tinted(const QByteArray& svg, const QColor& color, const SymbolSource& source, FontWeight weight) {
    QByteArray out = svg;
    out.replace("currentColor", color.name(QColor::HexRgb).toLatin1());
    if (!source.filled) {
        const qreal strokeUnits = strokePerSize(weight) * kGrid / kBoxPerSize;
        const QByteArray stroke = QByteArray("stroke-width=\"") + QByteArray::number(strokeUnits, 'f', 3) + '"';
        out.replace("stroke-width=\"2\"", stroke);
    }
    return out;
}

}  // namespace

qreal Symbols::boxSide(qreal size) {
    return size * kBoxPerSize;
}

QImage Symbols::image(const QString& name, const QColor& color, qreal size, FontWeight weight,
                      qreal devicePixelRatio) {
    const qreal side = boxSide(size);
    const int pixels = std::max(1, static_cast<int>(std::ceil(side * devicePixelRatio)));
    QImage image(pixels, pixels, QImage::Format_ARGB32_Premultiplied);
    image.fill(Qt::transparent);
    const SymbolSource source = sourceFor(name);
    // Drawn opaque, then laid down with the colour's alpha, so crossing strokes
    // do not show darker where they overlap.
    QSvgRenderer renderer(tinted(drawing(source.path), QColor(color.red(), color.green(), color.blue()), source,
                                 weight));
    if (renderer.isValid()) {
        QPainter painter(&image);
        painter.setRenderHint(QPainter::Antialiasing);
        renderer.render(&painter, QRectF(0, 0, pixels, pixels));
    }
    image.setDevicePixelRatio(devicePixelRatio);
    return image;
}

void Symbols::paint(QPainter& painter, const QRectF& area, const QString& name, const QColor& color, qreal size,
                    FontWeight weight) {
    if (color.alpha() == 0 || size <= 0)
        return;
    const qreal ratio = painter.device() != nullptr ? painter.device()->devicePixelRatioF() : 1.0;
    const QString key = QStringLiteral("od-symbol:%1:%2:%3:%4:%5")
                            .arg(name, color.name(QColor::HexRgb))
                            .arg(size)
                            .arg(static_cast<int>(weight))
                            .arg(ratio);
    QPixmap pixmap;
    if (!QPixmapCache::find(key, &pixmap)) {
        pixmap = QPixmap::fromImage(image(name, color, size, weight, ratio));
        QPixmapCache::insert(key, pixmap);
    }
    // Whole device pixels, so the image is laid down unscaled and stays sharp.
    const qreal side = pixmap.width() / ratio;
    const QPointF corner = area.center() - QPointF(side / 2, side / 2);
    const QRectF box(QPointF(std::round(corner.x() * ratio) / ratio, std::round(corner.y() * ratio) / ratio),
                     QSizeF(side, side));
    painter.save();
    painter.setOpacity(painter.opacity() * color.alphaF());
    painter.setRenderHint(QPainter::SmoothPixmapTransform);
    painter.drawPixmap(box, pixmap, QRectF(pixmap.rect()));
    painter.restore();
}

}  // namespace design
