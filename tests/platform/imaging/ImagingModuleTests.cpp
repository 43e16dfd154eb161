#include "platform/imaging/ImagingModule.h"
#include "platform/images/QtImages.h"

#include "TestImages.h"

#include <QFile>

#include <gtest/gtest.h>

using namespace Qt::Literals::StringLiterals;
using platform::TextPiece;

namespace {

bool loadedInThisProcess(const QByteArray& library) {
    QFile maps(u"/proc/self/maps"_s);
    return maps.open(QIODevice::ReadOnly) && maps.readAll().contains(library);
}

}  // namespace

// The start of the tray app pays for none of the image libraries; the first image
// (or the recognizer made ready) brings them in, and then reads as before.
TEST(ImagingModule, ItsLibrariesComeWithTheFirstRecognitionAndItReadsText) {
    const auto recognizer = platform::imaging::makeTextRecognizer();
    EXPECT_FALSE(loadedInThisProcess("libtesseract"));
    EXPECT_FALSE(loadedInThisProcess("libpoppler"));
    EXPECT_FALSE(loadedInThisProcess("libheif"));

    const auto result = recognizer->recognize(
        platform::images::fromQImage(testsupport::textImage({{u"Quarterly planning"_s, 20, true}})));
    ASSERT_TRUE(std::holds_alternative<std::vector<TextPiece>>(result));
    const auto& pieces = std::get<std::vector<TextPiece>>(result);
    ASSERT_EQ(pieces.size(), 1u);
    EXPECT_EQ(pieces.front().text, u"Quarterly planning"_s);
    EXPECT_TRUE(loadedInThisProcess("libtesseract"));
}
