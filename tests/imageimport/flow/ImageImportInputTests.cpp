#include "imageimport/flow/ImageImportInput.h"
#include "imageimport/flow/ImageLoading.h"

#include "platform/images/FakeImageLoader.h"

#include <QDir>
#include <QFile>
#include <QTemporaryDir>

#include <gtest/gtest.h>

#include <sys/stat.h>

using namespace Qt::Literals::StringLiterals;
using imageimport::ImageImportError;
using imageimport::ImageImportInput;
using imageimport::ImageLoadResult;
using platform::FakeImageLoader;
using platform::LoadedImage;
using Format = platform::ImageLoader::Format;

namespace {

const QByteArray kPngSignature("\x89PNG\r\n\x1a\n", 8);

class ImportFiles : public ::testing::Test {
protected:
    QTemporaryDir dir;

    QUrl write(const QString& name, const QByteArray& bytes) const {
        QFile file(dir.filePath(name));
        EXPECT_TRUE(file.open(QIODevice::WriteOnly));
        file.write(bytes);
        return QUrl::fromLocalFile(file.fileName());
    }
    QUrl missing(const QString& name) const { return QUrl::fromLocalFile(dir.filePath(name)); }
};

TEST_F(ImportFiles, ImagesAndPdfsAreAcceptedByTypeOrExtension) {
    EXPECT_TRUE(ImageImportInput::isAccepted(missing(u"photo.JPG"_s)));
    EXPECT_TRUE(ImageImportInput::isAccepted(missing(u"scan.heic"_s)));
    EXPECT_TRUE(ImageImportInput::isAccepted(missing(u"ticket.pdf"_s)));
    // Without an extension the content tells.
    EXPECT_TRUE(ImageImportInput::isAccepted(write(u"pasted"_s, kPngSignature + QByteArray(64, '\0'))));
    EXPECT_FALSE(ImageImportInput::isAccepted(write(u"notes.txt"_s, "Dinner at 8")));
    EXPECT_FALSE(ImageImportInput::isAccepted(write(u"memo"_s, "Call the dentist\n")));
    EXPECT_FALSE(ImageImportInput::isAccepted(missing(u"nothing"_s)));
    EXPECT_FALSE(ImageImportInput::isAccepted(QUrl::fromLocalFile(dir.path())));
}

TEST(ImportErrors, TextsAndEquality) {
    EXPECT_EQ(ImageImportError::notAnImage(u"notes.txt"_s).description(), u"Only images can be dropped here"_s);
    EXPECT_EQ(ImageImportError::unreadable().description(), u"Orbitday couldn't open that image"_s);
    EXPECT_EQ(ImageImportError::notAnImage(), ImageImportError::notAnImage());
    EXPECT_NE(ImageImportError::notAnImage(), ImageImportError::notAnImage(u"a"_s));
    EXPECT_EQ(ImageImportError::notAnImage(u"a"_s), ImageImportError::notAnImage(u"a"_s));
    EXPECT_NE(ImageImportError::notAnImage(u"a"_s), ImageImportError::unreadable());
}

const LoadedImage kBitmap{2, 1, QByteArray(8, '\xff')};

ImageLoadResult load(const ImageImportInput& input, const FakeImageLoader& loader) {
    return imageimport::loadImage(input, loader);
}

TEST_F(ImportFiles, WhatIsNoImageIsRefusedByName) {
    const FakeImageLoader loader;
    EXPECT_EQ(load(ImageImportInput::unsupported(u"Clipping.textClipping"_s), loader),
              ImageLoadResult(ImageImportError::notAnImage(u"Clipping.textClipping"_s)));
    EXPECT_EQ(load(ImageImportInput::unsupported(), loader), ImageLoadResult(ImageImportError::notAnImage()));
    EXPECT_EQ(load(ImageImportInput::file(write(u"notes.txt"_s, "Dinner at 8")), loader),
              ImageLoadResult(ImageImportError::notAnImage(u"notes.txt"_s)));
    EXPECT_EQ(loader.lastFormat(), std::nullopt);
}

TEST_F(ImportFiles, TheFileTypeOrTheFirstBytesChooseThePdfRenderer) {
    FakeImageLoader loader;
    const QByteArray pdf = "%PDF-1.7 page";
    const QByteArray png = kPngSignature + "pixels";
    loader.add(pdf, Format::pdf, kBitmap);
    loader.add(png, Format::image, kBitmap);
    EXPECT_EQ(load(ImageImportInput::file(write(u"ticket.pdf"_s, pdf)), loader), ImageLoadResult(kBitmap));
    EXPECT_EQ(load(ImageImportInput::data(pdf), loader), ImageLoadResult(kBitmap));
    EXPECT_EQ(load(ImageImportInput::data(png), loader), ImageLoadResult(kBitmap));
    // A PDF pasted as bytes that do not begin with "%PDF" goes to the image decoders.
    EXPECT_EQ(load(ImageImportInput::data(" " + pdf), loader), ImageLoadResult(ImageImportError::unreadable()));
    EXPECT_EQ(loader.lastFormat(), Format::image);
    // A PDF file named like an image is decoded as an image.
    EXPECT_EQ(load(ImageImportInput::file(write(u"ticket.png"_s, pdf)), loader),
              ImageLoadResult(ImageImportError::unreadable()));
    EXPECT_EQ(loader.lastFormat(), Format::image);
}

TEST_F(ImportFiles, WhatCannotBeReadIsUnreadableNeverABlockOrACrash) {
    const FakeImageLoader loader;
    const auto unreadable = ImageLoadResult(ImageImportError::unreadable());
    EXPECT_EQ(load(ImageImportInput::file(missing(u"gone.png"_s)), loader), unreadable);
    EXPECT_EQ(load(ImageImportInput::file(write(u"empty.png"_s, QByteArray())), loader), unreadable);
    EXPECT_EQ(load(ImageImportInput::data(QByteArray()), loader), unreadable);
    EXPECT_EQ(load(ImageImportInput::file(QUrl(u"https://example.com/a.png"_s)), loader), unreadable);
    // A FIFO named like an image would block a read until someone wrote to it.
    const QString fifo = dir.filePath(u"pipe.png"_s);
    ASSERT_EQ(mkfifo(QFile::encodeName(fifo).constData(), 0600), 0);
    EXPECT_EQ(load(ImageImportInput::file(QUrl::fromLocalFile(fifo)), loader),
              ImageLoadResult(ImageImportError::notAnImage(u"pipe.png"_s)));
    EXPECT_EQ(loader.lastFormat(), std::nullopt);
}

TEST_F(ImportFiles, APathWithControlCharactersIsAcceptedButNeverLookedUpNorRead) {
    FakeImageLoader loader;
    // Cut at its first NUL, the path would name this file.
    const QByteArray png = kPngSignature + "pixels";
    loader.add(png, Format::image, kBitmap);
    write(u"a"_s, png);
    const QUrl nul(u"file://"_s + dir.path() + u"/a%00%00.d"_s);
    ASSERT_TRUE(nul.toLocalFile().contains(QChar(0)));
    const QUrl newline = write(u"b\n.png"_s, png);
    for (const QUrl& url : {nul, newline, QUrl::fromLocalFile(dir.filePath(u"c\x7f.png"_s))}) {
        EXPECT_TRUE(ImageImportInput::isAccepted(url)) << url.toString().toStdString();
        EXPECT_EQ(load(ImageImportInput::file(url), loader), ImageLoadResult(ImageImportError::unreadable()));
    }
    EXPECT_EQ(loader.lastFormat(), std::nullopt);
}

TEST_F(ImportFiles, InputsOver64MiBAreRefusedUnread) {
    FakeImageLoader loader;
    const QByteArray huge(platform::ImageLoader::kMaxInputBytes + 1, 'x');
    loader.add(huge, Format::image, kBitmap);
    EXPECT_EQ(load(ImageImportInput::data(huge), loader), ImageLoadResult(ImageImportError::unreadable()));
    EXPECT_EQ(load(ImageImportInput::file(write(u"huge.png"_s, huge)), loader),
              ImageLoadResult(ImageImportError::unreadable()));
    EXPECT_EQ(loader.lastFormat(), std::nullopt);
}

}  // namespace
