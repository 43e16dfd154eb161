#pragma once

#include "design/values/FontWeight.h"

#include <QFont>
#include <QString>

namespace design {

// The kit's typefaces. Sizes are in device-independent pixels; a fractional size
// keeps its width (see setSize in the source), its height is the nearest pixel.
// Where a named face is missing a stand-in of about its width draws the text.
class ODFont {
public:
    ODFont() = delete;

    // Running text: the kit's text family at the weight's face, else its
    // stand-in at the same face, else the system font of that size and weight.
    static QFont body(qreal size, FontWeight weight = FontWeight::regular);
    // The same face for text fields and measuring menu text.
    static QFont nsBody(qreal size, FontWeight weight = FontWeight::regular);
    // Headings and the like: the display face, else a bold sans of about its
    // width when one is installed, else the bold system font.
    static QFont display(qreal size);
    // The system font's stand-in at that size and weight, else the desktop's own font.
    static QFont system(qreal size, FontWeight weight = FontWeight::regular);
    // The system's monospaced face at that size: its stand-in, else the desktop's fixed font.
    static QFont monospace(qreal size);

    // The face `family` at that size and weight when it is installed under exactly
    // that name; the system font otherwise, never a look-alike the font matcher
    // would substitute.
    static QFont faceOrSystem(const QString& family, qreal size, FontWeight weight);
    static bool isInstalled(const QString& family);

    static QFont::Weight qtWeight(FontWeight weight);
};

}  // namespace design
