#include "PictureSamples.h"

#include "platform/images/QtImages.h"
#include "platform/textrecognition/TesseractRecognizer.h"

#include <QRegularExpression>

#include <gtest/gtest.h>

#include <iostream>

using namespace Qt::Literals::StringLiterals;
using platform::TesseractRecognizer;
using platform::TextPiece;
using testsupport::samples::Picture;

namespace {

class ReadingPictures : public ::testing::Test {
protected:
    QStringList read(const Picture& picture) const {
        auto result = recognizer.recognize(platform::images::fromQImage(picture.image));
        EXPECT_TRUE(std::holds_alternative<std::vector<TextPiece>>(result)) << picture.name.toStdString();
        QStringList texts;
        if (const auto* pieces = std::get_if<std::vector<TextPiece>>(&result)) {
            for (const TextPiece& piece : *pieces)
                texts.append(piece.text);
        }
        return texts;
    }

    // A must of one character ("ROW H") is found in many a word: it counts only as a word of its own.
    static bool holds(const QString& text, const QString& must) {
        if (must.size() > 1)
            return text.contains(must);
        return text.contains(QRegularExpression(u"(?<!\\w)"_s + QRegularExpression::escape(must) + u"(?!\\w)"_s));
    }

    // Every must of every picture read back word for word; the character error rate
    // of the kind goes to the log, where a change to the page preparation is weighed.
    void expectEveryMust(const std::vector<Picture>& pictures, const char* kind) const {
        qsizetype truthLength = 0;
        double errors = 0;
        for (const Picture& picture : pictures) {
            const QStringList found = read(picture);
            const QString joined = found.join(u'\n');
            for (const QString& must : picture.musts)
                EXPECT_TRUE(holds(joined, must)) << picture.name.toStdString() << ": no \"" << must.toStdString()
                                                   << "\" in " << found.join(u'|').toStdString();
            const QString truth = picture.lines.join(u'\n');
            errors += testsupport::samples::characterErrorRate(truth, joined) * static_cast<double>(truth.size());
            truthLength += truth.size();
        }
        std::cout << kind << ": character error rate " << errors / static_cast<double>(truthLength) << '\n';
    }

    TesseractRecognizer recognizer;
};

TEST_F(ReadingPictures, PhotosWithoutTextGiveNoPieces) {
    for (const Picture& photo : testsupport::samples::textlessPhotos())
        EXPECT_EQ(read(photo), QStringList()) << photo.name.toStdString();
}

TEST_F(ReadingPictures, LightColouredTextOnASaturatedGroundComesBack) {
    expectEveryMust(testsupport::samples::colouredFlyers(), "coloured flyers");
}

TEST_F(ReadingPictures, EveryLabelAndValueOfATicketsCellsComesBack) {
    expectEveryMust(testsupport::samples::ticketsAndPasses(), "tickets");
}

TEST_F(ReadingPictures, APhotographedPosterKeepsItsTimesAndItsAddress) {
    expectEveryMust(testsupport::samples::posterPhotos(), "poster photos");
}

}  // namespace
