#include "imageimport/flow/ImageFileDialog.h"

#include <QFileDialog>
#include <QLabel>

#include <gtest/gtest.h>

#include <memory>

using imageimport::ImageFileDialog;
using namespace Qt::Literals::StringLiterals;

namespace {

TEST(ImageFileDialogs, OfferImagesAndPdfsUnderTheImportsTitleAndSayNothingIsUploaded) {
    const QStringList patterns = ImageFileDialog::patterns();
    for (const QString& pattern : {u"*.png"_s, u"*.jpg"_s, u"*.jpeg"_s, u"*.heic"_s, u"*.tif"_s, u"*.tiff"_s,
                                   u"*.pdf"_s, u"*.webp"_s, u"*.gif"_s})
        EXPECT_TRUE(patterns.contains(pattern)) << pattern.toStdString();
    EXPECT_EQ(patterns.first(), u"*.png"_s);
    EXPECT_EQ(patterns.count(u"*.jpg"_s), 1);
    EXPECT_FALSE(patterns.contains(u"*.txt"_s));

    const std::unique_ptr<QFileDialog> dialog(ImageFileDialog::build());
    EXPECT_EQ(dialog->windowTitle(), u"New from Image"_s);
    EXPECT_EQ(dialog->labelText(QFileDialog::Accept), u"Read Image"_s);
    EXPECT_EQ(dialog->fileMode(), QFileDialog::ExistingFile);
    const auto* message = dialog->findChild<QLabel*>(u"ImageFileDialogMessage"_s);
    ASSERT_NE(message, nullptr);
    EXPECT_EQ(message->text(), u"Orbitday reads the date, time and place on this computer. Nothing is uploaded."_s);
}

}  // namespace
