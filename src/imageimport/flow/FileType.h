#pragma once

#include <QUrl>

namespace imageimport {

// What a file holds as far as an import cares, by its content type as the system
// knows it: by the name, and by the content when the name does not tell.
enum class FileType { other, image, pdf };
FileType fileType(const QUrl& url);

}  // namespace imageimport
