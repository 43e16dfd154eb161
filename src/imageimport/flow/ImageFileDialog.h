#pragma once

#include <QString>
#include <QStringList>
#include <QUrl>

#include <optional>

class QFileDialog;

namespace imageimport {

// The chooser behind "New from Image…": one image or PDF document, picked in
// the toolkit's own file dialog.
class ImageFileDialog {
public:
    ImageFileDialog() = delete;

    // Shows the dialog modally, in front; the chosen file, or nothing when cancelled.
    static std::optional<QUrl> choose();
    // The dialog choose() shows, not yet shown: for tests and pictures.
    static QFileDialog* build();
    // The file-name patterns offered: PNG, JPEG, HEIC, TIFF and PDF first, then
    // every other image type the system knows.
    static QStringList patterns();
};

}  // namespace imageimport
