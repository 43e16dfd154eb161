// orbitday-gallery: every control of the design kit in each appearance.
//   orbitday-gallery             a window, with a switch between the appearances
//   orbitday-gallery --png DIR   writes the PNGs into DIR and exits (no display needed)
#include "GalleryWindow.h"

#include <QApplication>
#include <QByteArray>
#include <QStringList>

#include <cstdio>

int main(int argc, char* argv[]) {
    QString pngFolder;
    for (int i = 1; i < argc; ++i) {
        if (QByteArray(argv[i]) == "--png" && i + 1 < argc)
            pngFolder = QString::fromLocal8Bit(argv[++i]);
    }
    // Pictures need no display.
    if (!pngFolder.isEmpty() && qEnvironmentVariableIsEmpty("QT_QPA_PLATFORM"))
        qputenv("QT_QPA_PLATFORM", "offscreen");
    QApplication application(argc, argv);
    if (!pngFolder.isEmpty()) {
        QString error;
        if (!gallery::writePngs(pngFolder, &error)) {
            std::fprintf(stderr, "orbitday-gallery: %s\n", qPrintable(error));
            return 1;
        }
        return 0;
    }
    gallery::GalleryWindow window;
    window.show();
    return QApplication::exec();
}
