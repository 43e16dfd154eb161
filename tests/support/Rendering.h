#pragma once

#include <QImage>
#include <QString>
#include <QStringList>

#include <gtest/gtest.h>

class QRegion;
class QWidget;

namespace testsupport {

// Without fonts Qt silently draws boxes, so a test that looks at rendered text
// first checks that the families it relies on exist: returns the missing ones,
// each with the package that brings it. The tests see only the fonts that
// support/fonts.conf lists, whatever else the machine has.
QStringList missingFontFamilies(const QStringList& families = {QStringLiteral("DejaVu Sans"), QStringLiteral("Lato"),
                                                               QStringLiteral("Inter"), QStringLiteral("Liberation Sans"),
                                                               QStringLiteral("DejaVu Sans Mono")});

// Lays the widget out `width` wide and as tall as it then wants, and renders it
// on the popover's surface in the light or the dark appearance, at rest: motion
// still under way in it is brought to its end first, so that a picture shows
// where the screen settles rather than some moment of getting there. With
// ORBITDAY_SCREENSHOTS naming a folder the picture is kept there, as
// <name>-light.png or <name>-dark.png, for looking at.
QImage renderOnSurface(QWidget& widget, int width, bool dark, const QString& name);
// The same with a pop-up window of the screen (a pop-over, a menu moved where it
// would open) drawn over it where it stands, the picture grown to hold both.
QImage renderWithPopup(QWidget& screen, int width, QWidget& popup, bool dark, const QString& name);

// The pixels of a window's mask that its content, drawn alone, leaves partly
// transparent, as "(x, y)": where no compositor blends the window each shows
// mixed with black, a dark dot at its edge.
QStringList seeThroughPixels(const QRegion& mask, QWidget& content);

// Compares a rendered picture with the reference kept in tests/reference/<name>.png, so
// that a changed size, padding or colour fails. Anti-aliasing may differ by a few levels
// per channel between runs of the same fonts and Qt; anything more, or another size, is a
// difference. On a difference the picture and a map of the differing pixels are written
// beside the build (the failure message names them). With ORBITDAY_UPDATE_REFERENCES=1
// the reference is written instead: look at the new picture beside the old one
// (`git show HEAD:<path>`) before committing it.
::testing::AssertionResult matchesReference(const QImage& image, const QString& name);
// The same against the references kept in another folder.
::testing::AssertionResult matchesReferenceIn(const QString& folder, const QImage& image, const QString& name);

// renderOnSurface() in one appearance, compared with the reference <name>-light or <name>-dark.
::testing::AssertionResult rendersAsReference(QWidget& widget, int width, bool dark, const QString& name);

}  // namespace testsupport
