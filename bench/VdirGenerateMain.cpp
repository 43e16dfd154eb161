// Writes a generated vdir for trying the store by hand: vdir_generate <folder> [files]
#include "VdirGenerator.h"

#include <QCoreApplication>
#include <QStringList>

#include <cstdio>

int main(int argc, char** argv) {
    QCoreApplication app(argc, argv);
    const QStringList args = app.arguments();
    if (args.size() < 2) {
        std::fprintf(stderr, "usage: vdir_generate <folder> [files]\n");
        return 2;
    }
    bench::VdirShape shape;
    if (args.size() > 2)
        shape.files = args.at(2).toInt();
    const int written = bench::generateVdir(args.at(1), core::Date::now(), shape);
    std::printf("%d files\n", written);
    return written == shape.files ? 0 : 1;
}
