#include "imageimport/flow/ImageImportInput.h"

#include <QMimeData>
#include <QTemporaryDir>

#include <gtest/gtest.h>

#include <memory>

using namespace Qt::Literals::StringLiterals;
using imageimport::ImageDropHover;
using imageimport::ImageImportInput;

namespace {

std::unique_ptr<QMimeData> offering(std::initializer_list<std::pair<QString, QByteArray>> formats,
                                    const QList<QUrl>& urls = {}) {
    auto mime = std::make_unique<QMimeData>();
    if (!urls.isEmpty())
        mime->setUrls(urls);
    for (const auto& [format, bytes] : formats)
        mime->setData(format, bytes);
    return mime;
}

const QUrl kTicket = QUrl::fromLocalFile(u"/home/u/ticket.png"_s);
const QUrl kLetter = QUrl::fromLocalFile(u"/home/u/letter.docx"_s);

TEST(PastedImages, TheFirstFileDecidesAndImageDataBesideItIsNotLookedAt) {
    const auto files = offering({{u"image/png"_s, "png"}}, {kTicket, kLetter});
    EXPECT_EQ(ImageImportInput::fromPasteboard(*files), ImageImportInput::file(kTicket));
    EXPECT_TRUE(ImageImportInput::pasteboardHasImage(*files));

    const auto letter = offering({{u"image/png"_s, "png"}}, {kLetter, kTicket});
    EXPECT_EQ(ImageImportInput::fromPasteboard(*letter), ImageImportInput::unsupported(u"letter.docx"_s));
    EXPECT_FALSE(ImageImportInput::pasteboardHasImage(*letter));

    // An address that is no file does not count as one.
    const auto web = offering({{u"image/jpeg"_s, "jpeg"}}, {QUrl(u"https://example.com/a.png"_s)});
    EXPECT_EQ(ImageImportInput::fromPasteboard(*web), ImageImportInput::data("jpeg"));
}

TEST(PastedImages, BytesComeInTheirOrderOfPreference) {
    const auto all = offering({{u"application/pdf"_s, "pdf"},
                               {u"image/webp"_s, "webp"},
                               {u"image/jpeg"_s, "jpeg"},
                               {u"image/tiff"_s, "tiff"},
                               {u"image/png"_s, "png"}});
    EXPECT_EQ(ImageImportInput::fromPasteboard(*all), ImageImportInput::data("png"));
    // A paste prefers TIFF to JPEG, a drop the other way round.
    const auto photo = offering({{u"image/jpeg"_s, "jpeg"}, {u"image/tiff"_s, "tiff"}});
    EXPECT_EQ(ImageImportInput::fromPasteboard(*photo), ImageImportInput::data("tiff"));
    EXPECT_EQ(ImageImportInput::fromDrop(*photo), ImageImportInput::data("jpeg"));
    // Any other image type before a PDF.
    const auto webp = offering({{u"application/pdf"_s, "pdf"}, {u"image/webp"_s, "webp"}});
    EXPECT_EQ(ImageImportInput::fromPasteboard(*webp), ImageImportInput::data("webp"));
    const auto pdf = offering({{u"text/plain"_s, "hello"}, {u"application/pdf"_s, "pdf"}});
    EXPECT_EQ(ImageImportInput::fromPasteboard(*pdf), ImageImportInput::data("pdf"));
    EXPECT_TRUE(ImageImportInput::pasteboardHasImage(*pdf));
}

TEST(PastedImages, TextAloneIsNoImage) {
    const auto text = offering({{u"text/plain"_s, "Lunch 1pm"}});
    EXPECT_EQ(ImageImportInput::fromPasteboard(*text), std::nullopt);
    EXPECT_FALSE(ImageImportInput::pasteboardHasImage(*text));
    EXPECT_EQ(ImageImportInput::fromPasteboard(QMimeData()), std::nullopt);
}

TEST(DroppedImages, WhatIsNoImageIsRefusedWithItsName) {
    const auto letter = offering({}, {kLetter, kTicket});
    EXPECT_EQ(ImageImportInput::fromDrop(*letter), ImageImportInput::unsupported(u"letter.docx"_s));
    EXPECT_EQ(ImageImportInput::dropHover(*letter), ImageDropHover::notImage);

    const auto text = offering({{u"text/plain"_s, "hello"}});
    EXPECT_EQ(ImageImportInput::fromDrop(*text), ImageImportInput::unsupported());
    EXPECT_EQ(ImageImportInput::dropHover(*text), ImageDropHover::notImage);

    const auto link = offering({}, {QUrl(u"https://example.com/page.html"_s)});
    EXPECT_EQ(ImageImportInput::fromDrop(*link), ImageImportInput::unsupported(u"page.html"_s));
    EXPECT_EQ(ImageImportInput::fromDrop(QMimeData()), std::nullopt);
}

TEST(DroppedImages, FilesAndBytesOfImagesAreAccepted) {
    const auto files = offering({}, {kTicket, kLetter});
    EXPECT_EQ(ImageImportInput::fromDrop(*files), ImageImportInput::file(kTicket));
    EXPECT_EQ(ImageImportInput::dropHover(*files), ImageDropHover::image);

    const auto bytes = offering({{u"text/html"_s, "<img>"}, {u"image/png"_s, "png"}});
    EXPECT_EQ(ImageImportInput::fromDrop(*bytes), ImageImportInput::data("png"));
    EXPECT_EQ(ImageImportInput::dropHover(*bytes), ImageDropHover::image);

    // A file without an extension is judged by what it holds.
    const QTemporaryDir dir;
    QFile scan(dir.filePath(u"scan"_s));
    ASSERT_TRUE(scan.open(QIODevice::WriteOnly));
    scan.write("%PDF-1.4\n");
    scan.close();
    const auto unnamed = offering({}, {QUrl::fromLocalFile(scan.fileName())});
    EXPECT_EQ(ImageImportInput::dropHover(*unnamed), ImageDropHover::image);
}

}  // namespace
