#include "platform/images/QtImageLoader.h"

#include "platform/images/QtImages.h"

#include "TestImages.h"

#include <QProcess>
#include <QStandardPaths>
#include <QTemporaryDir>
#include <QtEndian>

#include <gtest/gtest.h>

using namespace Qt::Literals::StringLiterals;
using platform::ImageLoader;
using platform::LoadedImage;
using platform::QtImageLoader;
using Format = ImageLoader::Format;
using testsupport::encoded;
using testsupport::sidewaysJpeg;

namespace {

std::optional<QImage> decode(const QByteArray& bytes, Format format = Format::image) {
    const auto loaded = QtImageLoader().decode(bytes, format);
    if (!loaded)
        return std::nullopt;
    return platform::images::toQImage(*loaded);
}

// Red on the left half, blue on the right.
QImage twoColours(int width, int height) {
    QImage image(width, height, QImage::Format_RGB32);
    QPainter painter(&image);
    painter.fillRect(0, 0, width / 2, height, Qt::red);
    painter.fillRect(width / 2, 0, width - width / 2, height, Qt::blue);
    return image;
}

bool near(const QColor& a, const QColor& b) {
    return std::abs(a.red() - b.red()) < 40 && std::abs(a.green() - b.green()) < 40 && std::abs(a.blue() - b.blue()) < 40;
}

quint32 crc32(const QByteArray& bytes) {
    quint32 crc = 0xffffffffu;
    for (const char c : bytes) {
        crc ^= static_cast<quint8>(c);
        for (int k = 0; k < 8; ++k)
            crc = (crc >> 1) ^ (0xedb88320u & (0u - (crc & 1u)));
    }
    return ~crc;
}

QByteArray pngChunk(const QByteArray& type, const QByteArray& data) {
    const quint32 length = qToBigEndian(static_cast<quint32>(data.size()));
    const quint32 crc = qToBigEndian(crc32(type + data));
    return QByteArray(reinterpret_cast<const char*>(&length), 4) + type + data +
           QByteArray(reinterpret_cast<const char*>(&crc), 4);
}

// A PNG header that claims 60000 × 60000 pixels: 14 GB once decoded.
QByteArray pngBomb() {
    QByteArray header;
    const quint32 side = qToBigEndian(60000u);
    header += QByteArray(reinterpret_cast<const char*>(&side), 4) + QByteArray(reinterpret_cast<const char*>(&side), 4);
    header += QByteArray("\x08\x06\0\0\0", 5);
    return QByteArray("\x89PNG\r\n\x1a\n", 8) + pngChunk("IHDR", header) + pngChunk("IDAT", QByteArray("\x78\x9c\x03\0\0\0\0\x01", 8)) +
           pngChunk("IEND", {});
}

QByteArray pdfPage(QSizeF points) {
    // Nothing fills the page: what is not drawn is transparent.
    return testsupport::pdfPage(points, [](QPainter& painter) { painter.fillRect(QRectF(10, 10, 50, 20), Qt::black); });
}

TEST(ImageDecoding, PhotosAreScaledDownToTheLongerSideNeverUp) {
    const auto small = decode(encoded(twoColours(1200, 800), "JPEG"));
    ASSERT_TRUE(small);
    EXPECT_EQ(small->size(), QSize(1200, 800));
    const auto large = decode(encoded(twoColours(8000, 6000), "JPEG", 50));
    ASSERT_TRUE(large);
    EXPECT_EQ(large->size(), QSize(4096, 3072));
    EXPECT_TRUE(near(large->pixelColor(100, 100), Qt::red));
}

TEST(ImageDecoding, LargeScansWithinThePixelBoundAreRead) {
    // Decoded whole before scaling, each takes more than the readers' default
    // allocation limit of 128 MB: an A4 scan at 600 dpi in grey, and 16-bit colour.
    const auto a4 = decode(encoded(twoColours(4960, 7016).convertToFormat(QImage::Format_Grayscale8), "PNG", 80));
    ASSERT_TRUE(a4);
    EXPECT_EQ(a4->height(), 4096);
    const auto deep = decode(encoded(twoColours(4200, 4000).convertToFormat(QImage::Format_RGBA64), "PNG", 80));
    ASSERT_TRUE(deep);
    EXPECT_EQ(deep->width(), 4096);
    EXPECT_TRUE(near(deep->pixelColor(4000, 100), Qt::blue));
}

TEST(ImageDecoding, TheOrientationTagTurnsAPhotoUpright) {
    const auto upright = decode(sidewaysJpeg(twoColours(200, 100)));
    ASSERT_TRUE(upright);
    EXPECT_EQ(upright->size(), QSize(200, 100));
    EXPECT_TRUE(near(upright->pixelColor(40, 50), Qt::red));
    EXPECT_TRUE(near(upright->pixelColor(160, 50), Qt::blue));
}

TEST(ImageDecoding, AnyFormatTheReadersKnowWithItsTransparencyKept) {
    QImage clear(40, 30, QImage::Format_ARGB32);
    clear.fill(Qt::transparent);
    const auto png = decode(encoded(clear, "PNG"));
    ASSERT_TRUE(png);
    EXPECT_EQ(png->pixelColor(5, 5).alpha(), 0);
    for (const char* format : {"BMP", "TIFF", "WEBP", "PPM"})
        EXPECT_TRUE(decode(encoded(twoColours(40, 30), format))) << format;
}

TEST(ImageDecoding, APhotosOwnPixelsAndConvertedOnesMakeTheSameBitmap) {
    const QImage photo = twoColours(41, 7);
    const LoadedImage direct = platform::images::fromQImage(photo);
    EXPECT_EQ(direct, platform::images::fromQImage(photo.convertToFormat(QImage::Format_ARGB32)));
    EXPECT_TRUE(platform::images::isOpaque(direct));
    EXPECT_EQ(platform::images::view(direct).pixelColor(3, 3), QColor(Qt::red));

    QImage veiled(5, 5, QImage::Format_ARGB32);
    veiled.fill(QColor(0, 0, 255, 128));
    EXPECT_FALSE(platform::images::isOpaque(platform::images::fromQImage(veiled)));
}

TEST(ImageDecoding, APdfPageAtTwiceItsSizeOnWhite) {
    const auto letter = decode(pdfPage({612, 792}), Format::pdf);
    ASSERT_TRUE(letter);
    EXPECT_EQ(letter->size(), QSize(1224, 1584));
    EXPECT_EQ(letter->pixelColor(600, 1200), QColor(Qt::white));
    EXPECT_TRUE(near(letter->pixelColor(40, 40), Qt::black));
    const auto wide = decode(pdfPage({3000, 1000}), Format::pdf);
    ASSERT_TRUE(wide);
    EXPECT_EQ(wide->size(), QSize(4096, 1365));
    // Only the asked renderer reads the bytes.
    EXPECT_FALSE(decode(pdfPage({612, 792}), Format::image));
}

TEST(ImageDecoding, HeicThroughLibheif) {
    const QString encoder = QStandardPaths::findExecutable(u"heif-enc"_s);
    if (encoder.isEmpty())
        GTEST_SKIP() << "heif-enc (libheif-examples) is not installed";
    QTemporaryDir dir;
    const QString png = dir.filePath(u"in.png"_s);
    const QString heic = dir.filePath(u"out.heic"_s);
    ASSERT_TRUE(twoColours(640, 480).save(png));
    ASSERT_EQ(QProcess::execute(encoder, {u"-q"_s, u"90"_s, png, u"-o"_s, heic}), 0);
    QFile file(heic);
    ASSERT_TRUE(file.open(QIODevice::ReadOnly));
    const auto image = decode(file.readAll());
    ASSERT_TRUE(image);
    EXPECT_EQ(image->size(), QSize(640, 480));
    EXPECT_TRUE(near(image->pixelColor(100, 240), Qt::red));
    EXPECT_TRUE(near(image->pixelColor(540, 240), Qt::blue));
}

TEST(ImageDecoding, DamagedHostileOrOversizedInputDecodesToNothing) {
    const QByteArray png = encoded(twoColours(64, 64), "PNG");
    EXPECT_FALSE(decode(QByteArray()));
    EXPECT_FALSE(decode("not an image at all"));
    EXPECT_FALSE(decode(png.left(png.size() / 3)));
    EXPECT_FALSE(decode(pngBomb()));
    EXPECT_FALSE(decode(QByteArray(ImageLoader::kMaxInputBytes + 1, '\0')));
    EXPECT_FALSE(decode("%PDF-1.7 and then nothing", Format::pdf));
    EXPECT_FALSE(decode(png, Format::pdf));
}

}  // namespace
