#include "design/widgets/ODFont.h"

#include <QFontDatabase>
#include <QFontInfo>
#include <QHash>

#include <algorithm>
#include <cmath>

namespace design {

namespace {

const QString kBodyFamily = QStringLiteral("Avenir Next");
const QString kDisplayFamily = QStringLiteral("DIN Alternate");
// Where the display face is missing: a sans of about its width. The desktop's
// font is often far wider (DejaVu Sans by a third), and titles measured for the
// display face would be cut short.
const QString kNarrowDisplayFallback = QStringLiteral("Liberation Sans");

int pixelSize(qreal size) {
    return std::max(1, static_cast<int>(std::lround(size)));
}

// The family the desktop's general font really resolves to: the configured name
// may be an alias ("Sans Serif") that fontconfig maps to an installed face.
QString systemFamily() {
    static const QString family = QFontInfo(QFontDatabase::systemFont(QFontDatabase::GeneralFont)).family();
    return family;
}

}  // namespace

QFont::Weight ODFont::qtWeight(FontWeight weight) {
    switch (weight) {
        case FontWeight::ultraLight:
            return QFont::Thin;
        case FontWeight::thin:
            return QFont::ExtraLight;
        case FontWeight::light:
            return QFont::Light;
        case FontWeight::regular:
            return QFont::Normal;
        case FontWeight::medium:
            return QFont::Medium;
        case FontWeight::semibold:
            return QFont::DemiBold;
        case FontWeight::bold:
            return QFont::Bold;
        case FontWeight::heavy:
            return QFont::ExtraBold;
        case FontWeight::black:
            return QFont::Black;
    }
    return QFont::Normal;
}

bool ODFont::isInstalled(const QString& family) {
    static QHash<QString, bool> known;
    const auto it = known.constFind(family);
    if (it != known.constEnd())
        return *it;
    const bool installed = QFontDatabase::families().contains(family, Qt::CaseInsensitive);
    known.insert(family, installed);
    return installed;
}

QFont ODFont::system(qreal size, FontWeight weight) {
    QFont font(systemFamily());
    font.setPixelSize(pixelSize(size));
    font.setWeight(qtWeight(weight));
    return font;
}

QFont ODFont::faceOrSystem(const QString& family, qreal size, FontWeight weight) {
    if (!isInstalled(family))
        return system(size, weight);
    QFont font(family);
    font.setPixelSize(pixelSize(size));
    font.setWeight(qtWeight(weight));
    return font;
}

QFont ODFont::body(qreal size, FontWeight weight) {
    if (!isInstalled(kBodyFamily))
        return system(size, weight);
    // The family has four faces; every weight is drawn with the one its name gives.
    static const QHash<QString, FontWeight> faces{
        {QStringLiteral("AvenirNext-Regular"), FontWeight::regular},
        {QStringLiteral("AvenirNext-Medium"), FontWeight::medium},
        {QStringLiteral("AvenirNext-DemiBold"), FontWeight::semibold},
        {QStringLiteral("AvenirNext-Bold"), FontWeight::bold},
    };
    return faceOrSystem(kBodyFamily, size, faces.value(avenirName(weight), FontWeight::regular));
}

QFont ODFont::nsBody(qreal size, FontWeight weight) {
    return body(size, weight);
}

QFont ODFont::display(qreal size) {
    if (!isInstalled(kDisplayFamily) && isInstalled(kNarrowDisplayFallback))
        return faceOrSystem(kNarrowDisplayFallback, size, FontWeight::bold);
    return faceOrSystem(kDisplayFamily, size, FontWeight::bold);
}

}  // namespace design
