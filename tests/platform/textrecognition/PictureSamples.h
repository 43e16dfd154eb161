#pragma once

#include <QImage>
#include <QString>
#include <QStringList>

#include <vector>

// Pictures like those people bring to the importer, painted here with their true
// text: what the recognizer is measured and held on. Each is made the same way on
// every run (fixed noise seeds), JPEG artefacts and tilt included where a camera
// would add them.
namespace testsupport::samples {

struct Picture {
    QString name;
    QImage image;
    // The lines as painted, top to bottom.
    QStringList lines;
    // What must come back word for word: each date, time, link and label/value pair.
    QStringList musts;
};

// Photos of skies, grass, gravel, bokeh, walls and wood: nothing to read.
std::vector<Picture> textlessPhotos();
// Flyers of light coloured text on saturated grounds that are nearly as light.
std::vector<Picture> colouredFlyers();
// Tickets and boarding passes: small grey labels over the values of their cells.
std::vector<Picture> ticketsAndPasses();
// Phone photos of posters: uneven light, a slight tilt, noise and compression.
std::vector<Picture> posterPhotos();

// Characters to change to turn `found` into `truth`, over the characters of `truth`.
double characterErrorRate(const QString& truth, const QString& found);

}  // namespace testsupport::samples
