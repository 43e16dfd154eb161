#include "imageimport/flow/FileType.h"

#include <QMimeDatabase>

#include <algorithm>

namespace imageimport {
namespace {

bool holdsControlCharacter(const QString& path) {
    return std::any_of(path.cbegin(), path.cend(), [](QChar c) { return c.category() == QChar::Other_Control; });
}

}  // namespace

FileType fileType(const QUrl& url) {
    const QString path = url.isLocalFile() ? url.toLocalFile() : url.path();
    if (path.isEmpty())
        return FileType::other;
    if (holdsControlCharacter(path))
        return FileType::unnamable;
    // Unknown files come out as plain data (the default type).
    const QMimeType type = QMimeDatabase().mimeTypeForFile(path);
    if (!type.isValid() || type.isDefault())
        return FileType::other;
    QStringList names = type.allAncestors();
    names.prepend(type.name());
    if (std::any_of(names.cbegin(), names.cend(), [](const QString& name) { return name.startsWith(u"image/"); }))
        return FileType::image;
    if (names.contains(QStringLiteral("application/pdf")))
        return FileType::pdf;
    return FileType::other;
}

}  // namespace imageimport
