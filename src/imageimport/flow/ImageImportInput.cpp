#include "imageimport/flow/ImageImportInput.h"

#include "imageimport/flow/FileType.h"

using namespace Qt::Literals::StringLiterals;

namespace imageimport {

bool ImageImportInput::isAccepted(const QUrl& url) { return fileType(url) != FileType::other; }

QString ImageImportError::description() const {
    switch (m_kind) {
    case Kind::notAnImage:
        return u"Only images can be dropped here"_s;
    case Kind::unreadable:
        break;
    }
    return u"Orbitday couldn't open that image"_s;
}

}  // namespace imageimport
