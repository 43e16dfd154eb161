#pragma once

#include <QImage>
#include <QString>
#include <QStringList>

class QWidget;

namespace testsupport {

// Without fonts Qt silently draws boxes, so a test that looks at rendered text
// first checks that the families it relies on exist: returns the missing ones.
QStringList missingFontFamilies(const QStringList& families = {QStringLiteral("DejaVu Sans")});

// Lays the widget out `width` wide and as tall as it then wants, and renders it
// on the popover's surface in the light or the dark appearance, at rest: motion
// still under way in it is brought to its end first, so that a picture shows
// where the screen settles rather than some moment of getting there. With
// ORBITDAY_SCREENSHOTS naming a folder the picture is kept there, as
// <name>-light.png or <name>-dark.png, for looking at.
QImage renderOnSurface(QWidget& widget, int width, bool dark, const QString& name);

}  // namespace testsupport
