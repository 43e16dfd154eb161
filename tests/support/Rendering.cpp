#include "Rendering.h"

#include <QFontDatabase>

namespace testsupport {

QStringList missingFontFamilies(const QStringList& families) {
    const QStringList available = QFontDatabase::families();
    QStringList missing;
    for (const QString& family : families)
        if (!available.contains(family, Qt::CaseInsensitive))
            missing << family;
    return missing;
}

}  // namespace testsupport
