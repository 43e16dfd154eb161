#include "imageimport/flow/ImageFileDialog.h"

#include "state/PlatformWords.h"

#include <QDir>
#include <QFileDialog>
#include <QGridLayout>
#include <QHeaderView>
#include <QLabel>
#include <QMimeDatabase>
#include <QStandardPaths>
#include <QTreeView>

#include <memory>

namespace imageimport {

namespace {

void addGlobs(const QMimeType& type, QStringList& patterns) {
    for (const QString& glob : type.globPatterns())
        if (!patterns.contains(glob))
            patterns << glob;
}

// Where screenshots and photos usually are, else the home folder.
QString startFolder() {
    const QString pictures = QStandardPaths::writableLocation(QStandardPaths::PicturesLocation);
    return QDir(pictures).exists() ? pictures : QDir::homePath();
}

// The toolkit sizes the size, type and date columns for short samples of its own
// ("128.88 GB"), which cut what this system writes ("100.0 MiB", "PNG image"):
// they follow what they show, the name takes the rest, and the dialog opens wide
// enough for all four.
void fitColumns(QFileDialog& dialog) {
    constexpr QSize kSize(880, 520);
    dialog.resize(kSize);
    auto* files = dialog.findChild<QTreeView*>(QStringLiteral("treeView"));
    if (!files)
        return;
    QHeaderView* header = files->header();
    header->setStretchLastSection(false);
    header->setSectionResizeMode(0, QHeaderView::Stretch);
    for (int column = 1; column < header->count(); ++column)
        header->setSectionResizeMode(column, QHeaderView::ResizeToContents);
}

}  // namespace

QStringList ImageFileDialog::patterns() {
    const QMimeDatabase database;
    QStringList patterns;
    for (const char* name : {"image/png", "image/jpeg", "image/heic", "image/heif", "image/tiff", "application/pdf"})
        addGlobs(database.mimeTypeForName(QString::fromLatin1(name)), patterns);
    for (const QMimeType& type : database.allMimeTypes())
        if (type.name().startsWith(QLatin1String("image/")))
            addGlobs(type, patterns);
    return patterns;
}

QFileDialog* ImageFileDialog::build() {
    auto* dialog = new QFileDialog;
    dialog->setWindowTitle(QStringLiteral("New from Image"));
    dialog->setLabelText(QFileDialog::Accept, QStringLiteral("Read Image"));
    // The toolkit's own dialog, so that it can say what happens to the file.
    dialog->setOption(QFileDialog::DontUseNativeDialog);
    dialog->setFileMode(QFileDialog::ExistingFile);
    dialog->setAcceptMode(QFileDialog::AcceptOpen);
    dialog->setOption(QFileDialog::HideNameFilterDetails);
    dialog->setDirectory(startFolder());
    dialog->setNameFilter(QStringLiteral("Images and PDF documents (") + patterns().join(QLatin1Char(' ')) +
                          QLatin1Char(')'));
    fitColumns(*dialog);
    if (auto* grid = qobject_cast<QGridLayout*>(dialog->layout())) {
        auto* message = new QLabel(QStringLiteral("Orbitday reads the date, time and place on ") +
                                       app::words::thisComputer() + QStringLiteral(". Nothing is uploaded."),
                                   dialog);
        message->setObjectName(QStringLiteral("ImageFileDialogMessage"));
        message->setWordWrap(true);
        grid->addWidget(message, grid->rowCount(), 0, 1, grid->columnCount());
    }
    return dialog;
}

std::optional<QUrl> ImageFileDialog::choose() {
    std::unique_ptr<QFileDialog> dialog(build());
    dialog->show();
    dialog->raise();
    dialog->activateWindow();
    if (dialog->exec() != QDialog::Accepted || dialog->selectedUrls().isEmpty())
        return std::nullopt;
    return dialog->selectedUrls().constFirst();
}

}  // namespace imageimport
