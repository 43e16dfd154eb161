#pragma once

#include "GalleryEntries.h"

#include <QImage>
#include <QString>
#include <QWidget>

namespace gallery {

// An entry on the surface colour, with room round it for focus rings and tilts.
class EntryFrame : public QWidget {
    Q_OBJECT

public:
    static constexpr int kMargin = 16;

    explicit EntryFrame(QWidget* content, QWidget* parent = nullptr);

protected:
    void paintEvent(QPaintEvent* event) override;
};

// Every entry in one scrolling window, with a switch between the appearances.
class GalleryWindow : public QWidget {
    Q_OBJECT

public:
    explicit GalleryWindow(QWidget* parent = nullptr);

protected:
    void paintEvent(QPaintEvent* event) override;
};

// The entry drawn in the appearance now in effect, as shown on screen.
QImage renderEntry(const Entry& entry);

// Writes <entry>-<appearance>.png for every entry and appearance, and
// gallery-<appearance>.png with all entries, into `folder`. Leaves the
// appearance as it found it. On failure returns false and says why in `error`.
bool writePngs(const QString& folder, QString* error);

}  // namespace gallery
