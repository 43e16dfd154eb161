#pragma once

#include <QString>
#include <QStringList>

namespace testsupport {

// Without fonts Qt silently draws boxes, so a test that looks at rendered text
// first checks that the families it relies on exist: returns the missing ones.
QStringList missingFontFamilies(const QStringList& families = {QStringLiteral("DejaVu Sans")});

}  // namespace testsupport
