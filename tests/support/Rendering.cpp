#include "Rendering.h"

#include "design/values/Theme.h"

#include <QAbstractAnimation>
#include <QCoreApplication>
#include <QDir>
#include <QFileInfo>
#include <QFontDatabase>
#include <QHash>
#include <QLayout>
#include <QPainter>
#include <QPointer>
#include <QWidget>

#include <cstdlib>

using namespace Qt::StringLiterals;

namespace testsupport {

QStringList missingFontFamilies(const QStringList& families) {
    // The Debian package of each face support/fonts.conf takes.
    static const QHash<QString, QString> packages{
        {u"DejaVu Sans"_s, u"fonts-dejavu-core"_s},
        {u"DejaVu Sans Mono"_s, u"fonts-dejavu-core"_s},
        {u"Liberation Sans"_s, u"fonts-liberation2"_s},
        {u"Liberation Mono"_s, u"fonts-liberation2"_s},
        {u"Noto Color Emoji"_s, u"fonts-noto-color-emoji"_s},
        {u"Lato"_s, u"fonts-lato"_s},
        {u"Inter"_s, u"fonts-inter"_s},
    };
    const QStringList available = QFontDatabase::families();
    QStringList missing;
    for (const QString& family : families)
        if (!available.contains(family, Qt::CaseInsensitive))
            missing << u"%1 (Debian package %2: install it with scripts/install-deps)"_s.arg(
                           family, packages.value(family, u"unknown"_s));
    return missing;
}

namespace {

// QWidget::render draws a widget cut by a mask from the corner of the mask's
// bounds (an arrowed pop-over keeps nothing of its top row): the offset that
// puts that corner back where it stands in the widget.
QPoint maskCorner(const QWidget& widget) {
    return widget.mask().boundingRect().topLeft();
}

void keep(const QImage& image, bool dark, const QString& name) {
    const QString folder = qEnvironmentVariable("ORBITDAY_SCREENSHOTS");
    if (!folder.isEmpty() && QDir().mkpath(folder))
        image.save(folder + u'/' + name + (dark ? QStringLiteral("-dark.png") : QStringLiteral("-light.png")));
}

QImage renderAtRest(QWidget& widget, int width, bool dark) {
    const design::Appearance before = design::Theme::appearance();
    design::Theme::setAppearance({.isDark = dark});
    // An ending motion may take others with it.
    QList<QPointer<QAbstractAnimation>> motions;
    for (QAbstractAnimation* motion : widget.findChildren<QAbstractAnimation*>())
        motions.append(motion);
    for (const QPointer<QAbstractAnimation>& motion : std::as_const(motions))
        if (motion && motion->state() == QAbstractAnimation::Running && motion->totalDuration() >= 0)
            motion->setCurrentTime(motion->totalDuration());
    QCoreApplication::processEvents();
    if (widget.layout())
        widget.layout()->activate();
    const int height = widget.hasHeightForWidth() ? widget.heightForWidth(width) : widget.sizeHint().height();
    widget.resize(width, height);
    if (widget.layout())
        widget.layout()->activate();
    QImage image(widget.size(), QImage::Format_ARGB32_Premultiplied);
    const core::Color surface = design::Theme::surface().resolve(design::Theme::appearance());
    image.fill(QColor(surface.red, surface.green, surface.blue));
    widget.render(&image, maskCorner(widget), QRegion(), QWidget::DrawChildren);
    design::Theme::setAppearance(before);
    return image;
}

}  // namespace

QImage renderOnSurface(QWidget& widget, int width, bool dark, const QString& name) {
    const QImage image = renderAtRest(widget, width, dark);
    keep(image, dark, name);
    return image;
}

QStringList seeThroughPixels(const QRegion& mask, QWidget& content) {
    QImage drawn(content.size(), QImage::Format_ARGB32_Premultiplied);
    drawn.fill(Qt::transparent);
    content.render(&drawn, maskCorner(content), QRegion(), QWidget::DrawChildren);
    QStringList seeThrough;
    for (const QRect& run : mask)
        for (int y = run.top(); y <= run.bottom(); ++y)
            for (int x = run.left(); x <= run.right(); ++x)
                if (qAlpha(drawn.pixel(x, y)) < 250)
                    seeThrough << QStringLiteral("(%1, %2)").arg(x).arg(y);
    return seeThrough;
}

QImage renderWithPopup(QWidget& screen, int width, QWidget& popup, bool dark, const QString& name) {
    const QImage below = renderAtRest(screen, width, dark);
    // A pop-up is a window of its own: it is drawn where it stands over the screen.
    const QPoint at = popup.mapToGlobal(QPoint(0, 0)) - screen.mapToGlobal(QPoint(0, 0));
    const QRect both = QRect(QPoint(0, 0), below.size()).united(QRect(at, popup.size()));
    QImage picture(both.size(), QImage::Format_ARGB32_Premultiplied);
    picture.fill(Qt::transparent);
    QPainter painter(&picture);
    painter.drawImage(-both.topLeft(), below);
    const design::Appearance before = design::Theme::appearance();
    design::Theme::setAppearance({.isDark = dark});
    popup.render(&painter, at - both.topLeft() + maskCorner(popup));
    design::Theme::setAppearance(before);
    painter.end();
    keep(picture, dark, name);
    return picture;
}

namespace {

// Levels per channel that anti-aliasing may move between runs of the same build.
constexpr int kChannelTolerance = 2;

bool sameWithin(QRgb a, QRgb b) {
    return std::abs(qRed(a) - qRed(b)) <= kChannelTolerance && std::abs(qGreen(a) - qGreen(b)) <= kChannelTolerance &&
           std::abs(qBlue(a) - qBlue(b)) <= kChannelTolerance && std::abs(qAlpha(a) - qAlpha(b)) <= kChannelTolerance;
}

QString keepFailure(const QImage& actual, const QImage& difference, const QString& name) {
    const QString folder = QStringLiteral(ORBITDAY_REFERENCE_FAILURES);
    if (!QDir().mkpath(folder))
        return QStringLiteral("(could not keep the picture in %1)").arg(folder);
    const QString actualPath = folder + u'/' + name + QStringLiteral(".png");
    actual.save(actualPath);
    if (difference.isNull())
        return actualPath;
    const QString differencePath = folder + u'/' + name + QStringLiteral("-difference.png");
    difference.save(differencePath);
    return actualPath + QStringLiteral(" and ") + differencePath;
}

}  // namespace

::testing::AssertionResult matchesReference(const QImage& rendered, const QString& name) {
    return matchesReferenceIn(QStringLiteral(ORBITDAY_REFERENCE_DIR), rendered, name);
}

::testing::AssertionResult matchesReferenceIn(const QString& folder, const QImage& rendered, const QString& name) {
    const QString path = folder + u'/' + name + QStringLiteral(".png");
    const QImage actual = rendered.convertToFormat(QImage::Format_ARGB32);
    if (qEnvironmentVariable("ORBITDAY_UPDATE_REFERENCES") == u"1"_s) {
        if (!QDir().mkpath(QFileInfo(path).absolutePath()) || !actual.save(path))
            return ::testing::AssertionFailure() << "could not write the reference " << path.toStdString();
        return ::testing::AssertionSuccess();
    }
    const QImage expected = QImage(path).convertToFormat(QImage::Format_ARGB32);
    if (expected.isNull())
        return ::testing::AssertionFailure()
               << "no reference " << path.toStdString() << "; the picture is in "
               << keepFailure(actual, {}, name).toStdString()
               << " (look at it, then run with ORBITDAY_UPDATE_REFERENCES=1 to keep it)";
    if (expected.size() != actual.size())
        return ::testing::AssertionFailure()
               << name.toStdString() << " is " << actual.width() << "x" << actual.height() << " px, the reference "
               << expected.width() << "x" << expected.height() << "; the picture is in "
               << keepFailure(actual, {}, name).toStdString();
    QImage difference(actual.size(), QImage::Format_ARGB32);
    difference.fill(Qt::white);
    qsizetype differing = 0;
    QRect where;
    for (int y = 0; y < actual.height(); ++y) {
        const auto* a = reinterpret_cast<const QRgb*>(actual.constScanLine(y));
        const auto* e = reinterpret_cast<const QRgb*>(expected.constScanLine(y));
        for (int x = 0; x < actual.width(); ++x) {
            if (sameWithin(a[x], e[x]))
                continue;
            ++differing;
            where |= QRect(x, y, 1, 1);
            difference.setPixel(x, y, qRgb(255, 0, 0));
        }
    }
    if (differing == 0)
        return ::testing::AssertionSuccess();
    return ::testing::AssertionFailure()
           << name.toStdString() << ": " << differing << " pixels differ from the reference, within (" << where.x()
           << ", " << where.y() << ") " << where.width() << "x" << where.height()
           << "; the picture and the differences are in " << keepFailure(actual, difference, name).toStdString();
}

::testing::AssertionResult rendersAsReference(QWidget& widget, int width, bool dark, const QString& name) {
    return matchesReference(renderOnSurface(widget, width, dark, name),
                            name + (dark ? QStringLiteral("-dark") : QStringLiteral("-light")));
}

}  // namespace testsupport
