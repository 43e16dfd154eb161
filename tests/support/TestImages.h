#pragma once

#include <QBuffer>
#include <QFont>
#include <QImage>
#include <QPainter>
#include <QPdfWriter>
#include <QStringList>
#include <QtEndian>

#include <vector>

// Pictures and documents for the tests of image reading, made by the tests
// themselves; painted with QtGui, so only test binaries that link it include this.
namespace testsupport {

struct TextLine {
    QString text;
    int pixelSize = 13;
    bool bold = false;
};

// One text in DejaVu Sans with its baseline starting at `baseline`.
inline void paintText(QImage& image, QPoint baseline, const QString& text, int pixelSize = 20,
                      QColor ink = Qt::black) {
    QPainter painter(&image);
    QFont font(QStringLiteral("DejaVu Sans"));
    font.setPixelSize(pixelSize);
    painter.setFont(font);
    painter.setPen(ink);
    painter.drawText(baseline, text);
}

// Lines of text one under the other from the top-left corner, in DejaVu Sans.
inline void paintLines(QPainter& painter, const std::vector<TextLine>& lines, QColor ink) {
    painter.setPen(ink);
    int baseline = 40;
    for (const TextLine& line : lines) {
        QFont font(QStringLiteral("DejaVu Sans"));
        font.setPixelSize(line.pixelSize);
        font.setBold(line.bold);
        painter.setFont(font);
        baseline += line.pixelSize;
        painter.drawText(40, baseline, line.text);
        baseline += line.pixelSize;
    }
}

inline QImage textImage(const std::vector<TextLine>& lines, QSize size = {1280, 800},
                        QColor ink = QColor(0x22, 0x22, 0x22), QColor paper = QColor(0xfb, 0xfb, 0xfb)) {
    QImage image(size, QImage::Format_ARGB32_Premultiplied);
    image.fill(paper);
    QPainter painter(&image);
    paintLines(painter, lines, ink);
    return image;
}

inline QByteArray encoded(const QImage& image, const char* format, int quality = -1) {
    QByteArray bytes;
    QBuffer buffer(&bytes);
    buffer.open(QIODevice::WriteOnly);
    image.save(&buffer, format, quality);
    return bytes;
}

// A JPEG that stores its pixels turned a quarter to the left, as a camera held upright
// does, with the orientation tag (6) that turns them back.
inline QByteArray sidewaysJpeg(const QImage& upright) {
    const QByteArray jpeg = encoded(upright.transformed(QTransform().rotate(-90)), "JPEG", 95);
    QByteArray exif("Exif\0\0", 6);
    exif += QByteArray("MM\0\x2a\0\0\0\x08", 8);                    // big-endian TIFF header, first directory at 8
    exif += QByteArray("\0\x01", 2);                                // one entry
    exif += QByteArray("\x01\x12\0\x03\0\0\0\x01\0\x06\0\0", 12);  // Orientation, SHORT, 1 value: 6
    exif += QByteArray(4, '\0');                                    // no next directory
    const quint16 length = qToBigEndian(static_cast<quint16>(exif.size() + 2));
    const QByteArray segment = QByteArray("\xff\xe1", 2) + QByteArray(reinterpret_cast<const char*>(&length), 2) + exif;
    return jpeg.left(2) + segment + jpeg.mid(2);
}

// One PDF page of the given size in points; what `paint` leaves undrawn is transparent.
template <typename Paint>
QByteArray pdfPage(QSizeF points, Paint paint) {
    QByteArray bytes;
    QBuffer buffer(&bytes);
    buffer.open(QIODevice::WriteOnly);
    QPdfWriter writer(&buffer);
    writer.setResolution(72);
    writer.setPageSize(QPageSize(points, QPageSize::Point));
    writer.setPageMargins(QMarginsF());
    QPainter painter(&writer);
    paint(painter);
    painter.end();
    return bytes;
}

}  // namespace testsupport
