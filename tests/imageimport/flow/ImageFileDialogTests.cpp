#include "imageimport/flow/ImageFileDialog.h"

#include <QCoreApplication>
#include <QFile>
#include <QFileDialog>
#include <QHeaderView>
#include <QFontMetrics>
#include <QImage>
#include <QStyle>
#include <QTemporaryDir>
#include <QTest>
#include <QTreeView>
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

TEST(ImageFileDialogs, OpenWithEveryColumnReadingWhole) {
    const QTemporaryDir folder;
    ASSERT_TRUE(folder.isValid());
    QImage flyer(8, 8, QImage::Format_RGB32);
    flyer.fill(Qt::white);
    ASSERT_TRUE(flyer.save(folder.filePath(u"flyer.png"_s)));
    // A scanned document of a hundred megabytes, without writing them.
    QFile scan(folder.filePath(u"scan.pdf"_s));
    ASSERT_TRUE(scan.open(QIODevice::WriteOnly) && scan.write("%PDF-1.7\n") > 0 && scan.resize(100 << 20));
    scan.close();

    const std::unique_ptr<QFileDialog> dialog(ImageFileDialog::build());
    dialog->setDirectory(folder.path());
    dialog->show();
    auto* files = dialog->findChild<QTreeView*>(u"treeView"_s);
    ASSERT_NE(files, nullptr);
    ASSERT_TRUE(QTest::qWaitFor([&] { return files->model()->rowCount(files->rootIndex()) == 2; }));
    QCoreApplication::processEvents();
    // A cell draws its text between margins of the style's focus frame, the name after its icon.
    const int margins = 2 * (files->style()->pixelMetric(QStyle::PM_FocusFrameHMargin, nullptr, files) + 1);
    const QFontMetrics metrics(files->font());
    for (int row = 0; row < 2; ++row) {
        for (int column = 0; column < files->header()->count(); ++column) {
            const QModelIndex cell = files->model()->index(row, column, files->rootIndex());
            const QString text = cell.data().toString();
            const int icon = column == 0 ? files->iconSize().width() + margins : 0;
            EXPECT_GE(files->header()->sectionSize(column), metrics.horizontalAdvance(text) + margins + icon)
                << text.toStdString() << " is cut";
        }
    }
}

}  // namespace
