#pragma once

#include <QUrl>

namespace imageimport {

// What a file holds as far as an import cares, by its content type as the system
// knows it: by the name, and by the content when the name does not tell.
// `unnamable` is an address whose path holds a control character: a `%00` in a pasted
// address decodes to NUL, on which the system's type lookup crashes and which a file
// system call would cut the path at, naming another file. Nothing looks such a path up;
// the import takes it and fails as unreadable.
enum class FileType { other, image, pdf, unnamable };
FileType fileType(const QUrl& url);

}  // namespace imageimport
