#include "Rendering.h"

#include "design/Theme.h"

#include <QAbstractAnimation>
#include <QCoreApplication>
#include <QDir>
#include <QFontDatabase>
#include <QLayout>
#include <QPointer>
#include <QWidget>

namespace testsupport {

QStringList missingFontFamilies(const QStringList& families) {
    const QStringList available = QFontDatabase::families();
    QStringList missing;
    for (const QString& family : families)
        if (!available.contains(family, Qt::CaseInsensitive))
            missing << family;
    return missing;
}

QImage renderOnSurface(QWidget& widget, int width, bool dark, const QString& name) {
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
    widget.render(&image, QPoint(), QRegion(), QWidget::DrawChildren);
    design::Theme::setAppearance(before);
    const QString folder = qEnvironmentVariable("ORBITDAY_SCREENSHOTS");
    if (!folder.isEmpty() && QDir().mkpath(folder))
        image.save(folder + u'/' + name + (dark ? QStringLiteral("-dark.png") : QStringLiteral("-light.png")));
    return image;
}

}  // namespace testsupport
