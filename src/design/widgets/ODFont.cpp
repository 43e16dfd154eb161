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

// Where the named faces are missing, faces of about their widths stand in for
// them: the screens' widths were measured in those faces, and the desktop's font
// (DejaVu Sans on a stock system, a fifth wider) would cut the texts sized to
// fit. The user's desktop font is the last resort, never the first.
// The text family: Lato has the four faces the text family has (regular, medium,
// semibold, bold), so every weight keeps its own face.
const QString kBodyStandIn = QStringLiteral("Lato");
// The system font's texts (menus, the tray's pill): Inter, drawn for screens
// with the same tall lower case and open shapes.
const QString kSystemStandIn = QStringLiteral("Inter");
// The display face: a bold sans of about its width.
const QString kNarrowDisplayFallback = QStringLiteral("Liberation Sans");
// The system's monospaced face: the same advance, 0.6 of the size.
const QString kMonospaceStandIn = QStringLiteral("DejaVu Sans Mono");

// Qt loads fonts at whole pixel sizes only (a size in points is rounded to the
// pixel too), so a half size would widen its text by a pixel in every 26: the
// face is loaded at the nearest whole size and narrowed or widened to the
// widths of the size asked for.
void setSize(QFont& font, qreal size) {
    const int whole = std::max(1, static_cast<int>(std::lround(size)));
    font.setPixelSize(whole);
    const int stretch = static_cast<int>(std::lround(100.0 * size / whole));
    if (stretch != 100)
        font.setStretch(stretch);
}

QFont faceAt(const QString& family, qreal size, FontWeight weight) {
    QFont font(family);
    setSize(font, size);
    font.setWeight(ODFont::qtWeight(weight));
    return font;
}

// The family the desktop's general font really resolves to: the configured name
// may be an alias ("Sans Serif") that fontconfig maps to an installed face.
QString desktopFamily() {
    static const QString family = QFontInfo(QFontDatabase::systemFont(QFontDatabase::GeneralFont)).family();
    return family;
}

// The text family has four faces; every weight is drawn with the one its name gives.
FontWeight textFaceWeight(FontWeight weight) {
    static const QHash<QString, FontWeight> faces{
        {QStringLiteral("AvenirNext-Regular"), FontWeight::regular},
        {QStringLiteral("AvenirNext-Medium"), FontWeight::medium},
        {QStringLiteral("AvenirNext-DemiBold"), FontWeight::semibold},
        {QStringLiteral("AvenirNext-Bold"), FontWeight::bold},
    };
    return faces.value(avenirName(weight), FontWeight::regular);
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
    return faceAt(isInstalled(kSystemStandIn) ? kSystemStandIn : desktopFamily(), size, weight);
}

QFont ODFont::faceOrSystem(const QString& family, qreal size, FontWeight weight) {
    if (!isInstalled(family))
        return system(size, weight);
    return faceAt(family, size, weight);
}

QFont ODFont::body(qreal size, FontWeight weight) {
    if (isInstalled(kBodyFamily))
        return faceAt(kBodyFamily, size, textFaceWeight(weight));
    if (isInstalled(kBodyStandIn))
        return faceAt(kBodyStandIn, size, textFaceWeight(weight));
    return system(size, weight);
}

QFont ODFont::nsBody(qreal size, FontWeight weight) {
    return body(size, weight);
}

QFont ODFont::display(qreal size) {
    if (!isInstalled(kDisplayFamily) && isInstalled(kNarrowDisplayFallback))
        return faceOrSystem(kNarrowDisplayFallback, size, FontWeight::bold);
    return faceOrSystem(kDisplayFamily, size, FontWeight::bold);
}

QFont ODFont::monospace(qreal size) {
    if (isInstalled(kMonospaceStandIn))
        return faceAt(kMonospaceStandIn, size, FontWeight::regular);
    QFont font = QFontDatabase::systemFont(QFontDatabase::FixedFont);
    setSize(font, size);
    return font;
}

}  // namespace design
